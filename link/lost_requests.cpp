#include "link/lost_requests.h"

#include <algorithm>

std::vector<BYTE> CLostRequests::Key(const CMessage& request) {
    const auto payload = request.Payload();
    std::vector<BYTE> key(2 + payload.size());
    key[0] = static_cast<BYTE>(request.command >> 8);
    key[1] = static_cast<BYTE>(request.command);
    std::copy(payload.begin(), payload.end(), key.begin() + 2);
    return key;
}

BOOL CLostRequests::Lost(const CMessage& request) {
    int& losses = m_losses[Key(request)];
    if (losses++ < kRetries) return TRUE;
    m_losses.erase(Key(request));
    return FALSE;
}

void CLostRequests::Answered(const CMessage& request) {
    if (!m_losses.empty()) m_losses.erase(Key(request));
}

#include "link/lost_requests.h"

std::vector<BYTE> CLostRequests::Key(const CMessage& request) {
    std::vector<BYTE> key{static_cast<BYTE>(request.command >> 8),
                          static_cast<BYTE>(request.command)};
    const auto payload = request.Payload();
    key.insert(key.end(), payload.begin(), payload.end());
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

#include "link/lost_requests.h"

std::string CLostRequests::Key(const CMessage& request) {
    const auto payload = request.Payload();
    std::string key{static_cast<char>(request.command >> 8), static_cast<char>(request.command)};
    key.append(payload.begin(), payload.end());
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

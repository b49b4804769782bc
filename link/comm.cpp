#include "link/comm.h"

#include "link/link_messages.h"
#include "link/link_result.h"

int CComm::Read(std::span<BYTE> buffer, std::size_t& count) {
    count = 0;
    int result = DoRead(buffer, count);
    if (result != LINK_TIMEOUT) PostActivity(true, result);
    return result;
}

int CComm::Write(std::span<const BYTE> bytes) {
    int result = DoWrite(bytes);
    PostActivity(false, result);
    return result;
}

void CComm::PostActivity(bool read, int result) {
    if (!m_notify) return;
    WPARAM kind = (read ? 1 : 0) | (result < 0 ? 2 : 0);
    m_notify->PostMessage(WM_LINK_ACTIVITY, kind, result);
}

#include "shell/io/device_search.h"

namespace {

constexpr WORD kSequenceMask = 0x7FF;

}  // namespace

int CDeviceSearch::Open(WORD answerPort) {
    int error = m_socket.Create();
    if (error == 0) error = m_socket.EnableBroadcast();
    if (error == 0) error = m_socket.Bind({0, answerPort});
    if (error != 0) m_socket.Close();
    return error;
}

void CDeviceSearch::SendSearch(std::span<const DWORD> targets, WORD requestPort) {
    m_wSequence = (m_wSequence + 1) & kSequenceMask;
    const auto request = BuildSearchRequest(
        m_bIntercomMode ? kCmdSearchIntercoms : kCmdSearchControllers, m_wSequence);
    for (DWORD target : targets)
        m_socket.SendTo(request, {target, requestPort});
}

CDeviceSearch::ReadResult CDeviceSearch::ReadAnswer(CFoundDevice& device) {
    std::size_t size = 0;
    CIPv4Endpoint from;
    if (!IsOpen() || m_socket.ReceiveFrom(m_datagram, size, from) != 0) return ReadResult::Nothing;
    // A datagram longer than the buffer would be read cut short.
    if (size > m_datagram.size()) return ReadResult::Dropped;
    CFoundDevice found;
    found.address = from.address;
    if (!UnframeSearchAnswer(std::span(m_datagram).first(size), m_payload) ||
        !ParseSearchAnswer(m_payload, found) || !found.SuitsMode(m_bIntercomMode))
        return ReadResult::Dropped;
    device = std::move(found);
    return ReadResult::Device;
}

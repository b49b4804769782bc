#include "link/comm_udp.h"

#include <algorithm>
#include <mutex>

#include "link/link_result.h"
#include "platform/io/host_address.h"

CCommUDP::~CCommUDP() {
    Close();
}

bool CCommUDP::Open(const CString& host, CString& error) {
    if (m_open) Close();
    if (int e = m_socket.Create(); e != 0) {
        error.Format(u"Could not create socket (%d).", e);
        return false;
    }
    if (int e = m_socket.Bind({}); e != 0) {
        m_socket.Close();
        error.Format(u"Error binding socket (%d).", e);
        return false;
    }
    DWORD address = 0;
    if (!ResolveHostAddress(host, address)) {
        m_socket.Close();
        error = u"Could not resolve host.";
        return false;
    }
    m_peerAddress = address;
    m_dataQueued.ResetEvent();
    if (!m_reader.Start([this] { ReadDatagrams(); })) {
        // Without its reader the socket would never deliver a reply.
        m_socket.Close();
        error.Format(u"Could not create socket (%d).", EAGAIN);
        return false;
    }
    m_open = true;
    return true;
}

void CCommUDP::Close() {
    if (!m_open) return;
    m_socket.Wake();
    m_reader.Join();
    m_socket.Close();
    std::lock_guard guard(m_queueLock);
    m_queue.clear();
    m_dataQueued.ResetEvent();
    m_open = false;
}

int CCommUDP::SetPeerAddress(DWORD& address) {
    if (!m_open) return 0;
    address = m_peerAddress.exchange(address);
    return 1;
}

int CCommUDP::DoWrite(std::span<const BYTE> bytes) {
    if (!m_open) return LINK_NOT_OPEN;
    int error = m_socket.SendTo(bytes, {m_peerAddress, m_peerPort});
    if (error == 0) return LINK_OK;
    // The negated error number, unless it would read as one of the link's own codes.
    return IsLinkResultCode(-error) ? LINK_IO_ERROR : -error;
}

int CCommUDP::DoRead(std::span<BYTE> buffer, std::size_t& count) {
    if (!m_open) return LINK_NOT_OPEN;
    if (!m_dataQueued.Wait(m_readTimeoutMs)) return LINK_TIMEOUT;
    Datagram datagram;
    {
        std::lock_guard guard(m_queueLock);
        if (m_queue.empty()) return LINK_TIMEOUT;
        datagram = std::move(m_queue.front());
        m_queue.pop_front();
        if (m_queue.empty()) m_dataQueued.ResetEvent();
    }
    if (datagram.size > buffer.size() || datagram.size > datagram.bytes.size())
        return LINK_OVERFLOW;
    std::copy(datagram.bytes.begin(), datagram.bytes.end(), buffer.begin());
    count = datagram.size;
    return LINK_OK;
}

void CCommUDP::ReadDatagrams() {
    std::vector<BYTE> buffer(kReceiveBufferSize);
    while (m_socket.WaitReadable() == CUdpSocket::WaitResult::Readable) {
        std::size_t size = 0;
        CIPv4Endpoint from;
        while (m_socket.ReceiveFrom(buffer, size, from) == 0) {
            if (from != CIPv4Endpoint{m_peerAddress, m_peerPort}) {
                ++m_strayDatagrams;
                continue;
            }
            Datagram datagram{{buffer.begin(), buffer.begin() + std::min(size, buffer.size())},
                              size};
            std::lock_guard guard(m_queueLock);
            m_queue.push_back(std::move(datagram));
            m_dataQueued.SetEvent();
        }
    }
}

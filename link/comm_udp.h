#pragma once

#include <atomic>
#include <deque>
#include <vector>

#include "link/comm.h"
#include "platform/base/critical_section.h"
#include "platform/base/cstring.h"
#include "platform/base/event.h"
#include "platform/base/thread.h"
#include "platform/io/udp_socket.h"

// The link over UDP: one frame per datagram, to and from one peer. A reader thread queues
// the peer's datagrams as they arrive; datagrams from anyone else are dropped and counted.
class CCommUDP : public CComm {
public:
    static constexpr WORD kDefaultPeerPort = 27410;
    static constexpr std::size_t kReceiveBufferSize = 7192;

    explicit CCommUDP(IMessageSink* notify, WORD peerPort = kDefaultPeerPort)
        : CComm(notify), m_peerPort(peerPort) {}
    ~CCommUDP() override;

    // Binds to any local port and starts the reader; on failure the error text says why.
    bool Open(const CString& host, CString& error);
    void Close();
    bool IsOpen() const { return m_open; }

    // Swaps the peer's IPv4 address (host byte order) with the one given: 1 when open,
    // 0 and nothing changed when closed.
    int SetPeerAddress(DWORD& address);
    void SetReadTimeout(DWORD ms) { m_readTimeoutMs = ms; }
    DWORD GetReadTimeout() const { return m_readTimeoutMs; }

    WORD GetLocalPort() const { return m_socket.LocalEndpoint().port; }
    // Datagrams dropped because they came from another address or port than the peer's.
    DWORD GetStrayDatagrams() const { return m_strayDatagrams; }

protected:
    int DoRead(std::span<BYTE> buffer, std::size_t& count) override;
    int DoWrite(std::span<const BYTE> bytes) override;

private:
    struct Datagram {
        std::vector<BYTE> bytes;
        std::size_t size;  // as sent, which may exceed what the reader could hold
    };
    void ReadDatagrams();

    const WORD m_peerPort;
    DWORD m_readTimeoutMs = 0;
    bool m_open = false;
    CUdpSocket m_socket;
    std::atomic<DWORD> m_peerAddress = 0;
    std::atomic<DWORD> m_strayDatagrams = 0;
    CThread m_reader;
    CCriticalSection m_queueLock;
    std::deque<Datagram> m_queue;
    CEvent m_dataQueued;
};

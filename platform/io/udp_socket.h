#pragma once

#include <cstddef>
#include <span>

#include "platform/base/win_types.h"

// An IPv4 address and port, both in host byte order.
struct CIPv4Endpoint {
    DWORD address = 0;
    WORD port = 0;
    bool operator==(const CIPv4Endpoint&) const = default;
};

constexpr DWORD kIPv4Loopback = 0x7F000001;

// A non-blocking datagram socket of the internet family. A waiting thread can be woken from
// any other thread; the wake holds until the socket is closed, so it works as a stop.
// Failures answer the system's error number, 0 meaning success.
class CUdpSocket {
public:
    enum class WaitResult { Readable, Woken, Failed };

    CUdpSocket() = default;
    ~CUdpSocket();
    CUdpSocket(const CUdpSocket&) = delete;
    CUdpSocket& operator=(const CUdpSocket&) = delete;

    int Create();
    int Bind(const CIPv4Endpoint& local);
    // Allows sending to broadcast addresses.
    int EnableBroadcast();
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    CIPv4Endpoint LocalEndpoint() const;
    // The descriptor, for a read notifier of the user interface; -1 when closed.
    int GetHandle() const { return m_fd; }

    int SendTo(std::span<const BYTE> bytes, const CIPv4Endpoint& peer);
    // Takes one datagram: copies what fits and sets size to its full length, which may be
    // larger than the buffer. EAGAIN when none is waiting.
    int ReceiveFrom(std::span<BYTE> buffer, std::size_t& size, CIPv4Endpoint& from);

    // Waits without time-out until a datagram is waiting or Wake was called.
    WaitResult WaitReadable();
    void Wake();

private:
    int m_fd = -1;
    int m_wakeFd = -1;
};

#include "platform/io/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace {

sockaddr_in ToSockAddr(const CIPv4Endpoint& endpoint) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(endpoint.port);
    sa.sin_addr.s_addr = htonl(endpoint.address);
    return sa;
}

}  // namespace

CUdpSocket::~CUdpSocket() {
    Close();
}

int CUdpSocket::Create() {
    Close();
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) return errno;
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        int error = errno;
        Close();
        return error;
    }
    return 0;
}

int CUdpSocket::Bind(const CIPv4Endpoint& local) {
    sockaddr_in sa = ToSockAddr(local);
    return ::bind(m_fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : errno;
}

int CUdpSocket::EnableBroadcast() {
    const int on = 1;
    return ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0 ? 0 : errno;
}

void CUdpSocket::Close() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_wakeFd >= 0) ::close(m_wakeFd);
    m_fd = m_wakeFd = -1;
}

CIPv4Endpoint CUdpSocket::LocalEndpoint() const {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (m_fd < 0 || getsockname(m_fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return {};
    return {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
}

int CUdpSocket::SendTo(std::span<const BYTE> bytes, const CIPv4Endpoint& peer) {
    sockaddr_in sa = ToSockAddr(peer);
    for (;;) {
        ssize_t n = ::sendto(m_fd, bytes.data(), bytes.size(), 0,
                             reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
        if (n >= 0) return 0;
        if (errno != EINTR) return errno;
    }
}

int CUdpSocket::ReceiveFrom(std::span<BYTE> buffer, std::size_t& size, CIPv4Endpoint& from) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    for (;;) {
        ssize_t n = ::recvfrom(m_fd, buffer.data(), buffer.size(), MSG_TRUNC,
                               reinterpret_cast<sockaddr*>(&sa), &len);
        if (n >= 0) {
            size = static_cast<std::size_t>(n);
            from = {ntohl(sa.sin_addr.s_addr), ntohs(sa.sin_port)};
            return 0;
        }
        if (errno != EINTR) return errno == EWOULDBLOCK ? EAGAIN : errno;
    }
}

CUdpSocket::WaitResult CUdpSocket::WaitReadable() {
    pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_fd, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) >= 0) break;
        if (errno != EINTR) return WaitResult::Failed;
    }
    if (fds[0].revents) return WaitResult::Woken;
    return fds[1].revents & (POLLIN | POLLERR) ? WaitResult::Readable : WaitResult::Failed;
}

void CUdpSocket::Wake() {
    if (m_wakeFd < 0) return;
    std::uint64_t one = 1;
    // Fails only when the counter is saturated, and then it is readable anyway.
    [[maybe_unused]] ssize_t n = ::write(m_wakeFd, &one, sizeof one);
}

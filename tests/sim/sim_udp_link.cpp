#include "tests/sim/sim_udp_link.h"

#include <pthread.h>
#include <time.h>

#include <stdexcept>

CSimUdpLink::CSimUdpLink(CSimController& controller, std::uint32_t address, std::uint16_t port)
    : m_controller(controller) {
    if (m_socket.Create() != 0 || m_socket.Bind({address, port}) != 0 || m_foreign.Create() != 0 ||
        m_foreign.Bind({address, 0}) != 0)
        throw std::runtime_error("simulated controller: no UDP port");
    m_port = m_socket.LocalEndpoint().port;
    m_thread = std::thread([this] { Run(); });
}

CSimUdpLink::~CSimUdpLink() {
    m_socket.Wake();
    m_thread.join();
}

void CSimUdpLink::SendBytes(std::span<const std::uint8_t> bytes) {
    std::lock_guard guard(m_clientLock);
    m_socket.SendTo(bytes, m_client);
}

double CSimUdpLink::CpuSeconds() {
    clockid_t clock;
    timespec spent{};
    if (pthread_getcpuclockid(m_thread.native_handle(), &clock) != 0 ||
        clock_gettime(clock, &spent) != 0)
        return 0;
    return static_cast<double>(spent.tv_sec) + static_cast<double>(spent.tv_nsec) / 1e9;
}

void CSimUdpLink::Run() {
    std::vector<std::uint8_t> buffer(65536);
    while (m_socket.WaitReadable() == CUdpSocket::WaitResult::Readable) {
        std::size_t size = 0;
        CIPv4Endpoint from;
        while (m_socket.ReceiveFrom(buffer, size, from) == 0) {
            {
                std::lock_guard guard(m_clientLock);
                m_client = from;
            }
            for (const SimWrite& w : m_controller.OnDatagram({buffer.data(), size})) {
                if (w.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(w.delayMs));
                (w.foreignSource ? m_foreign : m_socket).SendTo(w.bytes, from);
            }
        }
    }
}

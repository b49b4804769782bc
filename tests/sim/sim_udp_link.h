#pragma once

#include <mutex>
#include <thread>

#include "platform/io/udp_socket.h"
#include "tests/sim/sim_controller.h"

// The simulated controller on a UDP port (by default a free one on the loopback address).
// It answers whoever sent the request.
class CSimUdpLink {
public:
    explicit CSimUdpLink(CSimController& controller, std::uint32_t address = kIPv4Loopback,
                         std::uint16_t port = 0);
    ~CSimUdpLink();

    std::uint16_t Port() const { return m_port; }
    // Sends bytes as one datagram to the last client, unasked.
    void SendBytes(std::span<const std::uint8_t> bytes);
    // The processor time the controller has spent answering, so that a benchmark in the same
    // process can tell it from the program's.
    double CpuSeconds();

private:
    void Run();

    CSimController& m_controller;
    CUdpSocket m_socket;
    CUdpSocket m_foreign;
    std::uint16_t m_port = 0;
    std::mutex m_clientLock;
    CIPv4Endpoint m_client;
    std::thread m_thread;
};

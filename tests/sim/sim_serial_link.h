#pragma once

#include <string>
#include <thread>

#include "tests/sim/sim_controller.h"

// The simulated controller behind a pseudo-terminal: the client opens DevicePath() as its
// serial port.
class CSimSerialLink {
public:
    explicit CSimSerialLink(CSimController& controller);
    ~CSimSerialLink();

    const std::string& DevicePath() const { return m_path; }
    // Writes bytes onto the line, unasked.
    void SendBytes(std::span<const std::uint8_t> bytes);

private:
    void Run();
    void WriteAll(std::span<const std::uint8_t> bytes);

    CSimController& m_controller;
    int m_master = -1;
    // Held open so that the line stays up while no client has it open.
    int m_slave = -1;
    int m_stop = -1;
    std::string m_path;
    std::thread m_thread;
};

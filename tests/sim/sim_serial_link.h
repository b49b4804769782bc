#pragma once

#include <termios.h>

#include <string>
#include <thread>

#include "tests/sim/sim_controller.h"

// The simulated controller behind a pseudo-terminal: the client opens DevicePath() as its
// serial port. Given a name, the port is a link of that name to the pseudo-terminal, which
// can be pulled out and plugged in again as an adapter is.
class CSimSerialLink {
public:
    explicit CSimSerialLink(CSimController& controller, std::string name = {});
    ~CSimSerialLink();

    const std::string& DevicePath() const { return m_name.empty() ? m_path : m_name; }
    // Writes bytes onto the line, unasked.
    void SendBytes(std::span<const std::uint8_t> bytes);
    // The line hangs up on the client and the name goes; plugged in, it comes back under the
    // same name on another pseudo-terminal: raw, or as an adapter comes up, at the kernel's
    // settings (a cooked line at 9600 baud) until the client sets it.
    void Unplug();
    void PlugIn(bool kernelDefaults = false);
    // The line's settings as the client's side of it has them now.
    termios LineSettings() const;

private:
    void Run();
    void WriteAll(std::span<const std::uint8_t> bytes);

    CSimController& m_controller;
    int m_master = -1;
    // Held open so that the line stays up while no client has it open.
    int m_slave = -1;
    int m_stop = -1;
    std::string m_path;
    std::string m_name;
    std::thread m_thread;
};

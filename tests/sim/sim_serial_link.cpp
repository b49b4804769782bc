#include "tests/sim/sim_serial_link.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <utility>

CSimSerialLink::CSimSerialLink(CSimController& controller, std::string name)
    : m_controller(controller), m_name(std::move(name)) {
    m_stop = eventfd(0, EFD_CLOEXEC);
    PlugIn();
}

CSimSerialLink::~CSimSerialLink() {
    Unplug();
    close(m_stop);
}

void CSimSerialLink::PlugIn(bool kernelDefaults) {
    char name[128];
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0)
        throw std::runtime_error("simulated controller: no pseudo-terminal");
    m_path = name;
    m_slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    // Raw from the start unless asked: a cooked line would echo the client's bytes back to it.
    if (m_slave < 0 || tcgetattr(m_slave, &tio) != 0) throw std::runtime_error("pty slave");
    if (kernelDefaults) {
        cfsetspeed(&tio, B9600);
    } else {
        cfmakeraw(&tio);
    }
    tcsetattr(m_slave, TCSANOW, &tio);
    if (!m_name.empty() && symlink(m_path.c_str(), m_name.c_str()) != 0)
        throw std::runtime_error("simulated controller: no port name");
    m_thread = std::thread([this] { Run(); });
}

termios CSimSerialLink::LineSettings() const {
    termios tio{};
    if (m_slave < 0 || tcgetattr(m_slave, &tio) != 0) throw std::runtime_error("pty slave");
    return tio;
}

void CSimSerialLink::Unplug() {
    if (m_master < 0) return;
    std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(m_stop, &one, sizeof one);
    m_thread.join();
    n = read(m_stop, &one, sizeof one);
    if (!m_name.empty()) unlink(m_name.c_str());
    close(m_slave);
    close(m_master);
    m_master = m_slave = -1;
}

void CSimSerialLink::SendBytes(std::span<const std::uint8_t> bytes) {
    WriteAll(bytes);
}

// Waits while the client is slow to read, but never past the stop.
void CSimSerialLink::WriteAll(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(m_master, bytes.data(), bytes.size());
        if (n > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return;
        pollfd fds[2] = {{m_stop, POLLIN, 0}, {m_master, POLLOUT, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[0].revents) return;
    }
}

void CSimSerialLink::Run() {
    std::uint8_t buffer[4096];
    for (;;) {
        pollfd fds[2] = {{m_stop, POLLIN, 0}, {m_master, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[0].revents) return;
        if (!(fds[1].revents & POLLIN)) {
            // The line hung up or failed: wait a little rather than spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n <= 0) continue;
        for (const SimWrite& w :
             m_controller.OnSerialBytes({buffer, static_cast<std::size_t>(n)})) {
            if (w.delayMs) std::this_thread::sleep_for(std::chrono::milliseconds(w.delayMs));
            WriteAll(w.bytes);
        }
    }
}

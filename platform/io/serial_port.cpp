#include "platform/io/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace {

bool ParseComName(std::u16string_view name, unsigned& number) {
    if (name.size() < 4 || (name[0] | 0x20) != u'c' || (name[1] | 0x20) != u'o' ||
        (name[2] | 0x20) != u'm')
        return false;
    name.remove_prefix(3);
    if (name.back() == u':') name.remove_suffix(1);
    if (name.empty() || name.size() > 4) return false;
    number = 0;
    for (char16_t ch : name) {
        if (ch < u'0' || ch > u'9') return false;
        number = number * 10 + (ch - u'0');
    }
    return number > 0;
}

bool SpeedFor(DWORD baud, speed_t& speed) {
    static constexpr struct {
        DWORD baud;
        speed_t speed;
    } kSpeeds[] = {{110, B110},       {300, B300},      {600, B600},       {1200, B1200},
                   {2400, B2400},     {4800, B4800},    {9600, B9600},     {19200, B19200},
                   {38400, B38400},   {57600, B57600},  {115200, B115200}, {230400, B230400},
                   {460800, B460800}, {921600, B921600}};
    for (const auto& s : kSpeeds) {
        if (s.baud == baud) {
            speed = s.speed;
            return true;
        }
    }
    return false;
}

// Milliseconds left until the deadline, never negative.
int Remaining(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::string SerialDevicePath(const CString& portName) {
    std::u16string_view name = portName;
    if (!name.empty() && name[0] == u'/') {
        std::string path;
        for (char16_t ch : name) {
            if (ch == 0 || ch > 0x7F) return {};
            path += static_cast<char>(ch);
        }
        return path;
    }
    unsigned number = 0;
    if (!ParseComName(name, number)) return {};
    return "/dev/ttyS" + std::to_string(number - 1);
}

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(const std::string& devicePath) {
    if (IsOpen() || devicePath.empty()) return false;
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // The lock keeps out other openers of this program; TIOCEXCL keeps out other programs.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool CSerialPort::Close() {
    if (!IsOpen()) return false;
    ioctl(m_fd, TIOCNXCL);
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

bool CSerialPort::Configure(DWORD baud) {
    speed_t speed;
    termios tio{};
    if (!IsOpen() || !SpeedFor(baud, speed) || tcgetattr(m_fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // Reads wait in poll(), so the driver returns whatever it holds at once.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 ||
        tcsetattr(m_fd, TCSANOW, &tio) != 0)
        return false;
    int lines = TIOCM_DTR | TIOCM_RTS;
    // Pseudo-terminals and some adapters have no modem lines to raise.
    return ioctl(m_fd, TIOCMBIS, &lines) == 0 || errno == ENOTTY || errno == EINVAL;
}

CSerialPort::Status CSerialPort::ReadByte(BYTE& byte, int timeoutMs) {
    if (!IsOpen()) return Status::Failed;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd pfd{m_fd, POLLIN, 0};
        int ready = poll(&pfd, 1, Remaining(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Status::Failed;
        }
        if (ready == 0) return Status::TimedOut;
        if (!(pfd.revents & POLLIN)) return Status::Failed;
        ssize_t n = ::read(m_fd, &byte, 1);
        if (n == 1) return Status::Ok;
        // A hang-up reads as end of file; a spurious wake-up as "try again".
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) return Status::Failed;
    }
}

CSerialPort::Status CSerialPort::Write(std::span<const BYTE> bytes, int timeoutMs,
                                       std::size_t& written) {
    written = 0;
    if (!IsOpen()) return Status::Failed;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (written < bytes.size()) {
        ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return Status::Failed;
        pollfd pfd{m_fd, POLLOUT, 0};
        int ready = poll(&pfd, 1, Remaining(deadline));
        if (ready < 0 && errno != EINTR) return Status::Failed;
        if (ready == 0) return Status::TimedOut;
        if (ready > 0 && !(pfd.revents & POLLOUT)) return Status::Failed;
    }
    return Status::Ok;
}

#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// The device behind a port name of the settings: "COMn:" (any case, colon optional) is
// /dev/ttyS(n-1), a name starting with "/" is a device path. Empty when the name maps to none.
std::string SerialDevicePath(const CString& portName);

// A serial device opened for this program alone, in raw mode. Every wait is bounded by the
// caller's time-out in milliseconds.
class CSerialPort {
public:
    enum class Status { Ok, TimedOut, Failed };

    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // An existing terminal device only; fails when another opener holds it.
    bool Open(const std::string& devicePath);
    bool Close();
    bool IsOpen() const { return m_fd >= 0; }
    // Raw 8N1 at the rate, no flow control of either kind, DTR and RTS on.
    bool Configure(DWORD baud);

    // Reads one byte; TimedOut when none arrives within the time-out.
    Status ReadByte(BYTE& byte, int timeoutMs);
    // Writes the bytes within the time-out; written tells how many went out either way.
    Status Write(std::span<const BYTE> bytes, int timeoutMs, std::size_t& written);

private:
    int m_fd = -1;
};

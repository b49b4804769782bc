#pragma once

#include <atomic>

#include "link/comm.h"
#include "platform/base/cstring.h"
#include "platform/io/serial_port.h"

// The five port time-outs, in milliseconds. A read takes one byte at a time, so each byte
// waits up to the read total (multiplier + constant); the interval does not apply. A write
// of n bytes may take n * write multiplier + write constant.
struct CSerialTimeouts {
    DWORD readInterval = 0;
    DWORD readMultiplier = 0;
    DWORD readConstant = 0;
    DWORD writeMultiplier = 0;
    DWORD writeConstant = 0;
};

// The link over a serial port. A port whose read or write fails has hung up (an adapter
// pulled out): it is let go at once, so that its device can come back under the same name,
// and each write opens it again under that name, with its rate, until it is back.
class CCommSerial : public CComm {
public:
    explicit CCommSerial(IMessageSink* notify) : CComm(notify) {}
    ~CCommSerial() override;

    // Port names as the settings hold them ("COM1:", or a device path).
    int Open(const CString& portName);
    int SetBaudRate(DWORD baud);
    int SetTimeouts(const CSerialTimeouts& timeouts);
    // A port that cannot be opened now (its adapter pulled out) is waited for as one that hung
    // up: each write tries it under its name, with the rate and time-outs, until it is back.
    void AwaitPort(const CString& portName, DWORD baud, const CSerialTimeouts& timeouts);
    // For good: a port closed here is not opened again.
    int Close();
    bool IsOpen() const { return m_port.IsOpen(); }
    bool HasHungUp() const override { return m_hungUp; }

protected:
    int DoRead(std::span<BYTE> buffer, std::size_t& count) override;
    int DoWrite(std::span<const BYTE> bytes) override;

private:
    int HangUp();
    bool Reopen();

    CSerialPort m_port;
    CSerialTimeouts m_timeouts;
    CString m_portName;
    DWORD m_baud = 0;
    std::atomic<bool> m_hungUp{false};
};

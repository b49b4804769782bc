#include "link/comm_serial.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "link/link_result.h"

namespace {

int ToWait(std::uint64_t ms) {
    return static_cast<int>(std::min<std::uint64_t>(ms, INT_MAX));
}

}  // namespace

CCommSerial::~CCommSerial() {
    Close();
}

int CCommSerial::Open(const CString& portName) {
    if (IsOpen()) return LINK_NOT_OPEN;
    // The end byte needs no setting on the port: the read loop stops at it.
    if (!m_port.Open(SerialDevicePath(portName))) return LINK_SYSTEM_ERROR;
    m_portName = portName;
    m_baud = 0;
    m_hungUp = false;
    return LINK_OK;
}

void CCommSerial::AwaitPort(const CString& portName, DWORD baud, const CSerialTimeouts& timeouts) {
    if (IsOpen()) return;
    m_portName = portName;
    m_baud = baud;
    m_timeouts = timeouts;
    m_hungUp = true;
}

int CCommSerial::SetBaudRate(DWORD baud) {
    if (!IsOpen()) return LINK_NOT_OPEN;
    if (!m_port.Configure(baud)) return LINK_SYSTEM_ERROR;
    m_baud = baud;
    return LINK_OK;
}

int CCommSerial::SetTimeouts(const CSerialTimeouts& timeouts) {
    if (!IsOpen()) return LINK_NOT_OPEN;
    m_timeouts = timeouts;
    return LINK_OK;
}

int CCommSerial::Close() {
    m_hungUp = false;
    if (!IsOpen()) return LINK_NOT_OPEN;
    return m_port.Close() ? LINK_OK : LINK_SYSTEM_ERROR;
}

int CCommSerial::HangUp() {
    m_port.Close();
    m_hungUp = true;
    return LINK_IO_ERROR;
}

bool CCommSerial::Reopen() {
    if (!m_port.Open(SerialDevicePath(m_portName))) return false;
    if (m_baud != 0 && !m_port.Configure(m_baud)) {
        m_port.Close();
        return false;
    }
    m_hungUp = false;
    return true;
}

int CCommSerial::DoRead(std::span<BYTE> buffer, std::size_t& count) {
    if (m_hungUp) return LINK_IO_ERROR;
    if (!IsOpen()) return LINK_NOT_OPEN;
    const int endByte = GetEndByte();
    const int wait = ToWait(std::uint64_t{m_timeouts.readMultiplier} + m_timeouts.readConstant);
    while (count < buffer.size()) {
        BYTE byte = 0;
        switch (m_port.ReadByte(byte, wait)) {
            case CSerialPort::Status::Failed: return HangUp();
            case CSerialPort::Status::TimedOut:
                return endByte >= 0 || count == 0 ? LINK_TIMEOUT : LINK_OK;
            case CSerialPort::Status::Ok: break;
        }
        buffer[count++] = byte;
        if (byte == endByte) return LINK_OK;
    }
    return endByte >= 0 ? LINK_OVERFLOW : LINK_OK;
}

int CCommSerial::DoWrite(std::span<const BYTE> bytes) {
    if (m_hungUp && !Reopen()) return LINK_IO_ERROR;
    if (!IsOpen()) return LINK_NOT_OPEN;
    // A write that times out after some progress goes on with the rest.
    for (;;) {
        const int wait = ToWait(std::uint64_t{m_timeouts.writeMultiplier} * bytes.size() +
                                m_timeouts.writeConstant);
        std::size_t written = 0;
        switch (m_port.Write(bytes, wait, written)) {
            case CSerialPort::Status::Ok: return LINK_OK;
            case CSerialPort::Status::TimedOut:
                if (written == 0) return LINK_IO_ERROR;
                bytes = bytes.subspan(written);
                break;
            case CSerialPort::Status::Failed: return HangUp();
        }
    }
}

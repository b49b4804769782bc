#pragma once

// Result codes of the transports, the framers and the link engine. A network send failure
// answers its negated socket error number instead.
constexpr int LINK_OK = 0;
constexpr int LINK_OVERFLOW = -2;      // buffer full or message too long
constexpr int LINK_IO_ERROR = -3;      // input/output error
constexpr int LINK_NOT_OPEN = -4;      // transport not open
constexpr int LINK_SYSTEM_ERROR = -5;  // a system call failed
constexpr int LINK_TIMEOUT = -6;       // nothing arrived in time
constexpr int LINK_CHECKSUM = -101;    // checksum error
constexpr int LINK_FRAMING = -102;     // framing error

// True for the codes above, which a socket error number must never be mistaken for.
constexpr bool IsLinkResultCode(int result) {
    return result == LINK_OK || (result <= LINK_OVERFLOW && result >= LINK_TIMEOUT) ||
           result == LINK_CHECKSUM || result == LINK_FRAMING;
}

#pragma once

#include "link/comm_serial.h"

// Every time-out the link waits on, in one place: the program uses the defaults and tests
// shorten them.
struct CLinkTiming {
    DWORD udpReadTimeoutMs = 1000;
    // Longest wait for each byte of a serial reply, and the fixed part of a write's budget.
    DWORD serialByteTimeoutMs = 1100;
    DWORD serialByteTimeoutMsAt9600 = 2200;
    // Milliseconds per byte of a write are this divided by the baud rate.
    DWORD serialWriteBudget = 96000;

    CSerialTimeouts SerialTimeouts(DWORD baud) const {
        const DWORD constant = baud == 9600 ? serialByteTimeoutMsAt9600 : serialByteTimeoutMs;
        return {0xFFFFFFFF, 0, constant, baud ? serialWriteBudget / baud : 0, constant};
    }
};

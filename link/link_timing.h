#pragma once

#include <functional>

#include "link/comm_serial.h"
#include "platform/base/tick_count.h"

// Every time-out the link waits on, in one place: the program uses the defaults and tests
// shorten them.
struct CLinkTiming {
    // Where the link reads the time of its intervals; tests set the clock themselves.
    std::function<DWORD()> clock = GetTickCount;

    DWORD udpReadTimeoutMs = 1000;
    // Longest wait for each byte of a serial reply, and the fixed part of a write's budget.
    DWORD serialByteTimeoutMs = 1100;
    DWORD serialByteTimeoutMsAt9600 = 2200;
    // Milliseconds per byte of a write are this divided by the baud rate.
    DWORD serialWriteBudget = 96000;

    // The engine's idle wait: a poll goes out each time it runs out.
    DWORD engineWaitMs = 1000;
    // While the link is busy a presence poll still goes out at least this often.
    DWORD pollIntervalMs = 5000;
    // Before a serial request is sent again after an error other than a time-out.
    DWORD errorPauseMs = 500;
    // Before a refused request is sent again at the user's wish.
    DWORD nakRetryPauseMs = 1000;
    // After the controller has answered a second commit.
    DWORD commitAgainPauseMs = 500;
    // While the engine is busy, what it tells the window goes out together at this interval.
    DWORD noticeIntervalMs = 5;
    // Longest wait for the memory writes still out before the link closes for good.
    DWORD memoryWritesWaitMs = 5000;

    CSerialTimeouts SerialTimeouts(DWORD baud) const {
        const DWORD constant = baud == 9600 ? serialByteTimeoutMsAt9600 : serialByteTimeoutMs;
        return {0xFFFFFFFF, 0, constant, baud ? serialWriteBudget / baud : 0, constant};
    }
};

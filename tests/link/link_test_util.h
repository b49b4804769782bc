#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "link/link_messages.h"
#include "link/message.h"
#include "link/msg_frame.h"
#include "platform/base/codepage.h"
#include "tests/sim/sim_controller.h"
#include "tests/support/recording_sink.h"

using Bytes = std::vector<BYTE>;

inline CMessage MakeMessage(DWORD command, DWORD sequence, Bytes payload = {}) {
    CMessage m;
    m.command = command;
    m.sequence = sequence;
    m.SetPayload(payload);
    return m;
}

inline Bytes PayloadOf(const CMessage& m) {
    return {m.Payload().begin(), m.Payload().end()};
}

// Sends a request and reads the answer; the result of the read.
inline int Exchange(CMsgFrame& frame, const CMessage& request, CMessage& reply) {
    EXPECT_EQ(frame.Send(request), 0);
    return frame.Receive(reply);
}

// The activity reports posted since the sink was last cleared, as (wParam, lParam) pairs.
inline std::vector<std::pair<WPARAM, LPARAM>> TakeActivity(CRecordingSink& sink) {
    std::vector<std::pair<WPARAM, LPARAM>> out;
    for (const auto& m : sink.Messages()) {
        EXPECT_EQ(m.message, WM_LINK_ACTIVITY);
        EXPECT_FALSE(m.sent);
        out.emplace_back(m.wParam, m.lParam);
    }
    sink.Clear();
    return out;
}

inline long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

struct FaultCase {
    SimFault fault;
    int result;  // of the client's read
};

// Asks for a reply (command 70, scripted with an escaped end byte in it) that the controller
// spoils with the case's fault; checks the read's result and what a reply that came carries.
inline void ExpectSpoiltReply(CMsgFrame& frame, CSimController& sim, const FaultCase& c,
                              DWORD sequence) {
    const Bytes scripted{0x01, 0xDD, 0x02};
    sim.ScriptReply(70, scripted);
    sim.InjectFault(c.fault);
    CMessage reply;
    ASSERT_EQ(Exchange(frame, MakeMessage(70, sequence, {1}), reply), c.result);
    if (c.result != 0) return;
    EXPECT_EQ(PayloadOf(reply), scripted);
    EXPECT_EQ(bool(reply.nak), c.fault == SimFault::Nak);
    EXPECT_EQ(reply.sequence, c.fault == SimFault::WrongSequence ? sequence + 1 : sequence);
}

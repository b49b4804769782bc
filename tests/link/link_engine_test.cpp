#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "link/link_engine.h"
#include "link/link_result.h"
#include "tests/link/fake_comm.h"

using namespace std::chrono_literals;

namespace {

int Next(std::deque<int>& script) {
    if (script.empty()) return 0;
    const int next = script.front();
    script.pop_front();
    return next;
}

// Answers each request with a reply of its sequence, or with the next scripted result of a
// read or write; records the sequence of each write and whether it was framed. Scripts are
// set before the engine starts and the record read after it stopped.
class CEchoFrame : public CMsgFrame {
public:
    CEchoFrame() : CMsgFrame(std::make_unique<CFakeComm>()) {}

    int Send(const CMessage& message) override { return Written(message, true); }
    int SendRaw(const CMessage& message) override { return Written(message, false); }
    int Receive(CMessage& message) override {
        const int result = Next(reads);
        if (result == LINK_OK) message.sequence = sent.back().first;
        return result;
    }
    int GetMaxSequence() const override { return 4094; }

    std::deque<int> reads, writes;
    std::vector<std::pair<DWORD, bool>> sent;

private:
    int Written(const CMessage& message, bool framed) {
        sent.emplace_back(message.sequence, framed);
        return Next(writes);
    }
};

// Gives the request kind a script chooses by call, counts calls and the pairs it was handed.
class CScriptDevice : public ILinkDevice {
public:
    explicit CScriptDevice(std::function<int(int call)> kindOfCall)
        : m_kindOfCall(std::move(kindOfCall)) {}

    int GetNextRequest(CMessage&) override {
        std::lock_guard guard(m_lock);
        m_changed.notify_all();
        return m_kindOfCall(m_calls++);
    }
    void PutResponse(const CDualMessage&) override {
        std::lock_guard guard(m_lock);
        ++m_responses;
        m_changed.notify_all();
    }
    bool WaitForResponses(int responses) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, 20s, [&] { return m_responses == responses; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::function<int(int)> m_kindOfCall;
    int m_calls = 0;
    int m_responses = 0;
};

// Answers every hook call with the next scripted decision, recording what it was called for.
class CScriptHook : public CCallback {
public:
    explicit CScriptHook(std::deque<int> decisions) : m_decisions(std::move(decisions)) {}
    int OnError(const CMsgFail& failure) override {
        results.push_back(failure.result);
        return Next(m_decisions);
    }
    int AfterReceive(CDualMessage&) override {
        results.push_back(LINK_OK);
        return Next(m_decisions);
    }
    std::vector<int> results;

private:
    std::deque<int> m_decisions;
};

CLinkTiming LongWait() {
    CLinkTiming t;
    t.engineWaitMs = 60000;
    return t;
}

}  // namespace

TEST(LinkEngine, NumbersRequestsFromOneThenWrapsToTwo) {
    // Every 50th request is raw: it carries sequence 0 and leaves the count alone.
    constexpr int kRequests = 4200;
    CScriptDevice device([](int call) {
        if (call >= kRequests) return int{kRequestNone};
        return call % 50 == 49 ? int{kRequestRaw} : int{kRequestNumbered};
    });
    CEchoFrame frame;
    CLinkEngine engine(device, frame, nullptr, LongWait());
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitForResponses(kRequests));
    engine.Stop();

    DWORD expected = 1;
    for (auto [sequence, framed] : frame.sent) {
        ASSERT_EQ(sequence, framed ? expected : 0);
        if (framed) expected = expected == 4094 ? 2 : expected + 1;
    }
    EXPECT_EQ(expected, 2 + (kRequests - kRequests / 50 - 4094));  // past the wrap
    EXPECT_EQ(engine.GetCounter(CLinkEngine::kTxOk), kRequests);
    EXPECT_EQ(engine.GetCounter(CLinkEngine::kRxOk), kRequests);
}

TEST(LinkEngine, HooksDecideAndFailuresAreCounted) {
    CScriptDevice device([](int call) { return call == 0 ? int{kRequestNumbered} : kRequestNone; });
    CEchoFrame frame;
    // Write failure: sent again; time-out: read again; checksum: sent again; framing,
    // overflow and an input error: read again; the reply: read again, then accepted.
    frame.writes = {LINK_IO_ERROR};
    frame.reads = {LINK_TIMEOUT, LINK_CHECKSUM, LINK_FRAMING, LINK_OVERFLOW, LINK_IO_ERROR};
    CScriptHook sendError{{1}};
    CScriptHook receiveError{{-1, 1, -1, -1, -1}};
    CScriptHook afterReceive{{-1, 0}};
    CLinkEngine engine(device, frame, nullptr, LongWait());
    engine.SetHook(CLinkEngine::kSendError, &sendError);
    engine.SetHook(CLinkEngine::kReceiveError, &receiveError);
    engine.SetHook(CLinkEngine::kAfterReceive, &afterReceive);
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitForResponses(1));
    engine.Stop();

    EXPECT_EQ(sendError.results, std::vector<int>{LINK_IO_ERROR});
    EXPECT_EQ(receiveError.results, (std::vector<int>{LINK_TIMEOUT, LINK_CHECKSUM, LINK_FRAMING,
                                                      LINK_OVERFLOW, LINK_IO_ERROR}));
    EXPECT_EQ(afterReceive.results.size(), 2u);
    // The same numbered request each time: a failed write, two more after the resends.
    EXPECT_EQ(frame.sent, (std::vector<std::pair<DWORD, bool>>(3, {1, true})));
    int counters[CLinkEngine::kCounterCount];
    for (int c = 0; c < CLinkEngine::kCounterCount; ++c)
        counters[c] = engine.GetCounter(CLinkEngine::Counter(c));
    EXPECT_EQ(std::vector<int>(counters, counters + CLinkEngine::kCounterCount),
              (std::vector<int>{2, 2, 1, 1, 1, 1, 1, 0, 0}));
}

TEST(LinkEngine, WithoutAReceiveHookAFailedReadGivesTheRequestUp) {
    CScriptDevice device([](int call) { return call < 2 ? int{kRequestNumbered} : kRequestNone; });
    CEchoFrame frame;
    frame.reads = {LINK_TIMEOUT, LINK_OK};
    CLinkEngine engine(device, frame, nullptr, LongWait());
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitForResponses(1));
    engine.Stop();
    // The first request is not sent again: the second is answered.
    EXPECT_EQ(frame.sent, (std::vector<std::pair<DWORD, bool>>{{1, true}, {2, true}}));
}

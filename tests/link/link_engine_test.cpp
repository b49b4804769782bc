#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "link/link_engine.h"
#include "link/link_result.h"
#include "platform/base/codepage.h"
#include "tests/link/fake_comm.h"

using namespace std::chrono_literals;

namespace {

// Answers each request with a reply of the same command and sequence, or with the next
// scripted result of a read; records what was written and how.
class CEchoFrame : public CMsgFrame {
public:
    CEchoFrame() : CMsgFrame(std::make_unique<CFakeComm>()) {}

    int Send(const CMessage& message) override { return Written(message, true); }
    int SendRaw(const CMessage& message) override { return Written(message, false); }
    int Receive(CMessage& message) override {
        std::lock_guard guard(m_lock);
        int result = LINK_OK;
        if (!m_reads.empty()) {
            result = m_reads.front();
            m_reads.pop_front();
        }
        if (result == LINK_OK) {
            message.command = m_sent.back().command;
            message.sequence = m_sent.back().sequence;
        }
        return result;
    }
    int GetMaxSequence() const override { return 4094; }

    void ScriptReads(std::initializer_list<int> results) {
        std::lock_guard guard(m_lock);
        m_reads.insert(m_reads.end(), results);
    }
    void ScriptWrites(std::initializer_list<int> results) {
        std::lock_guard guard(m_lock);
        m_writes.insert(m_writes.end(), results);
    }
    // (sequence, framed) of each write.
    std::vector<std::pair<DWORD, bool>> Sent() const {
        std::lock_guard guard(m_lock);
        std::vector<std::pair<DWORD, bool>> out;
        for (std::size_t i = 0; i < m_sent.size(); ++i)
            out.emplace_back(m_sent[i].sequence, m_framed[i]);
        return out;
    }

private:
    int Written(const CMessage& message, bool framed) {
        std::lock_guard guard(m_lock);
        m_sent.push_back(message);
        m_framed.push_back(framed);
        if (m_writes.empty()) return LINK_OK;
        const int result = m_writes.front();
        m_writes.pop_front();
        return result;
    }

    mutable std::mutex m_lock;
    std::deque<int> m_reads;
    std::deque<int> m_writes;
    std::vector<CMessage> m_sent;
    std::vector<bool> m_framed;
};

// Gives the requests of a script, one kind per call, then nothing; counts calls and the pairs
// it was handed.
class CScriptDevice : public ILinkDevice {
public:
    explicit CScriptDevice(std::function<int(int call)> kindOfCall)
        : m_kindOfCall(std::move(kindOfCall)) {}

    int GetNextRequest(CMessage& request) override {
        std::lock_guard guard(m_lock);
        request.command = 10;
        const int kind = m_kindOfCall(m_calls++);
        m_changed.notify_all();
        return kind;
    }
    void PutResponse(const CDualMessage&) override {
        std::lock_guard guard(m_lock);
        ++m_responses;
        m_changed.notify_all();
    }
    bool WaitFor(const std::function<bool(int calls, int responses)>& condition) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, 20s, [&] { return condition(m_calls, m_responses); });
    }
    int Calls() {
        std::lock_guard guard(m_lock);
        return m_calls;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::function<int(int)> m_kindOfCall;
    int m_calls = 0;
    int m_responses = 0;
};

// Answers every hook call with the next scripted decision (0 when none is left).
class CScriptHook : public CCallback {
public:
    explicit CScriptHook(std::initializer_list<int> decisions) : m_decisions(decisions) {}
    int OnError(const CMsgFail& failure) override {
        results.push_back(failure.result);
        return Next();
    }
    int AfterReceive(const CDualMessage&) override {
        results.push_back(LINK_OK);
        return Next();
    }
    std::vector<int> results;

private:
    int Next() {
        if (m_decisions.empty()) return 0;
        const int d = m_decisions.front();
        m_decisions.pop_front();
        return d;
    }
    std::deque<int> m_decisions;
};

CLinkTiming WaitOf(DWORD ms) {
    CLinkTiming t;
    t.engineWaitMs = ms;
    return t;
}

}  // namespace

TEST(LinkEngine, NumbersRequestsFromOneThenWrapsToTwo) {
    // Every fifth request is raw: it carries sequence 0 and leaves the count alone.
    constexpr int kRequests = 4100;
    CScriptDevice device([](int call) {
        if (call >= kRequests) return int{kRequestNone};
        return call % 5 == 4 ? int{kRequestRaw} : int{kRequestNumbered};
    });
    CEchoFrame frame;
    CLinkEngine engine(device, frame, nullptr, WaitOf(10000));
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitFor([](int, int responses) { return responses == kRequests; }));
    engine.Stop();

    DWORD expected = 1;
    int numbered = 0;
    for (auto [sequence, framed] : frame.Sent()) {
        if (!framed) {
            EXPECT_EQ(sequence, 0u);
            continue;
        }
        ASSERT_EQ(sequence, expected) << "numbered request " << numbered;
        ++numbered;
        expected = expected == 4094 ? 2 : expected + 1;
    }
    EXPECT_EQ(numbered, kRequests - kRequests / 5);
    EXPECT_EQ(engine.GetCounter(CLinkEngine::kTxOk), kRequests);
    EXPECT_EQ(engine.GetCounter(CLinkEngine::kRxOk), kRequests);
}

TEST(LinkEngine, PollsGoOutOnlyWhenTheWaitRunsOut) {
    {
        // Woken at the start and once more: each time a poll is offered and not sent.
        CScriptDevice device([](int) { return int{kRequestFramedPoll}; });
        CEchoFrame frame;
        CLinkEngine engine(device, frame, nullptr, WaitOf(60000));
        ASSERT_TRUE(engine.Start());
        ASSERT_TRUE(device.WaitFor([](int calls, int) { return calls == 1; }));
        engine.Wake();
        ASSERT_TRUE(device.WaitFor([](int calls, int) { return calls == 2; }));
        engine.Stop();
        EXPECT_TRUE(frame.Sent().empty());
    }
    CScriptDevice device([](int) { return int{kRequestRawPoll}; });
    CEchoFrame frame;
    CLinkEngine engine(device, frame, nullptr, WaitOf(20));
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitFor([](int, int responses) { return responses >= 3; }));
    engine.Stop();
    // The poll offered on the start's wake stayed; the time-outs sent the others, raw.
    EXPECT_LT(frame.Sent().size(), static_cast<std::size_t>(device.Calls()));
    for (auto sent : frame.Sent())
        EXPECT_EQ(sent, std::make_pair(DWORD{0}, false));
}

TEST(LinkEngine, HoldIgnoresWakesUntilReleased) {
    CScriptDevice device([](int) { return int{kRequestNone}; });
    CEchoFrame frame;
    CLinkEngine engine(device, frame, nullptr, WaitOf(60000));
    engine.Hold();
    ASSERT_TRUE(engine.Start());
    for (int i = 0; i < 3; ++i) {
        engine.Wake();
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(device.Calls(), 0);
    engine.Release();
    EXPECT_TRUE(device.WaitFor([](int calls, int) { return calls == 1; }));
}

TEST(LinkEngine, HooksDecideAndFailuresAreCounted) {
    CScriptDevice device([](int call) { return call == 0 ? int{kRequestNumbered} : kRequestNone; });
    CEchoFrame frame;
    // Write failure: sent again; time-out: read again; checksum: sent again; framing,
    // overflow and an input error: read again; the reply: read again, then accepted.
    frame.ScriptWrites({LINK_IO_ERROR});
    frame.ScriptReads({LINK_TIMEOUT, LINK_CHECKSUM, LINK_FRAMING, LINK_OVERFLOW, LINK_IO_ERROR,
                       LINK_OK, LINK_OK});
    CScriptHook sendError{1};
    CScriptHook receiveError{-1, 1, -1, -1, -1};
    CScriptHook afterReceive{-1, 0};
    CLinkEngine engine(device, frame, nullptr, WaitOf(60000));
    engine.SetHook(CLinkEngine::kSendError, &sendError);
    engine.SetHook(CLinkEngine::kReceiveError, &receiveError);
    engine.SetHook(CLinkEngine::kAfterReceive, &afterReceive);
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitFor([](int, int responses) { return responses == 1; }));
    engine.Stop();

    EXPECT_EQ(sendError.results, std::vector<int>{LINK_IO_ERROR});
    EXPECT_EQ(receiveError.results, (std::vector<int>{LINK_TIMEOUT, LINK_CHECKSUM, LINK_FRAMING,
                                                      LINK_OVERFLOW, LINK_IO_ERROR}));
    EXPECT_EQ(afterReceive.results.size(), 2u);
    // The same numbered request each time: a failed write, two more after the resends.
    ASSERT_EQ(frame.Sent().size(), 3u);
    for (auto [sequence, framed] : frame.Sent())
        EXPECT_EQ(sequence, 1u);
    const int expected[CLinkEngine::kCounterCount] = {2, 2, 1, 1, 1, 1, 1, 0, 0};
    for (int c = 0; c < CLinkEngine::kCounterCount; ++c)
        EXPECT_EQ(engine.GetCounter(CLinkEngine::Counter(c)), expected[c])
            << ToUtf8(CLinkEngine::kCounterNames[c]);
    engine.ResetCounters();
    EXPECT_EQ(engine.GetCounter(CLinkEngine::kTxOk), 0);
}

TEST(LinkEngine, WithoutHooksAFailedExchangeIsDropped) {
    CScriptDevice device([](int call) { return call < 2 ? int{kRequestNumbered} : kRequestNone; });
    CEchoFrame frame;
    frame.ScriptReads({LINK_TIMEOUT});
    CLinkEngine engine(device, frame, nullptr, WaitOf(60000));
    ASSERT_TRUE(engine.Start());
    ASSERT_TRUE(device.WaitFor([](int calls, int responses) { return calls >= 3 && responses; }));
    engine.Stop();
    EXPECT_EQ(frame.Sent().size(), 2u);
    EXPECT_EQ(engine.GetCounter(CLinkEngine::kTimeouts), 1);
}

#include <gtest/gtest.h>

#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <thread>

#include "link/link_result.h"
#include "link/pellam_udp_frame.h"
#include "tests/link/fake_comm.h"
#include "tests/link/link_fixture.h"
#include "tests/support/recording_sink.h"

namespace {

int ThreadCount() {
    auto tasks = std::filesystem::directory_iterator("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

// The polls among the frames, as (sequence, tag) pairs.
std::vector<std::pair<unsigned, std::uint16_t>> Polls(const std::vector<SimFrame>& frames) {
    std::vector<std::pair<unsigned, std::uint16_t>> out;
    for (const SimFrame& f : frames)
        if (f.command == kCmdNetworkControl && f.payload == std::vector<std::uint8_t>{0x9E})
            out.emplace_back(f.sequence, f.tag);
    return out;
}

bool IsNakQuestion(const CLinkTestWindow::Message& m) {
    return m.sent && m.message == WM_LINK_ERROR && static_cast<int>(m.wParam) == LINK_ERROR_NAK;
}

std::vector<CLinkTestWindow::Message> NakQuestions(const CLinkTestWindow& window) {
    std::vector<CLinkTestWindow::Message> out;
    for (const auto& m : window.Messages())
        if (IsNakQuestion(m)) out.push_back(m);
    return out;
}

// Counts the engine's turns, so that a test can let some go by without a clock.
class CCountingDevice : public CTestDevice {
public:
    int GetNextRequest(CMessage& request) override {
        const int kind = CTestDevice::GetNextRequest(request);
        {
            std::lock_guard guard(m_turnLock);
            ++m_turns;
        }
        m_turned.notify_all();
        return kind;
    }
    // True once the condition holds at the end of a turn.
    bool WaitForTurn(const std::function<bool()>& condition) {
        std::unique_lock lock(m_turnLock);
        return m_turned.wait_for(lock, kPatience, condition);
    }
    bool WaitForTurns(int more) {
        std::unique_lock lock(m_turnLock);
        const int target = m_turns + more;
        return m_turned.wait_for(lock, kPatience, [&] { return m_turns >= target; });
    }

private:
    std::mutex m_turnLock;
    std::condition_variable m_turned;
    int m_turns = 0;
};

// A network transport whose controller answers the goodbye only after late answers to other
// requests, one of the goodbye's command and one of its sequence; one more datagram follows
// that is nobody's business. Counts the reads.
class CGoodbyeComm : public CFakeComm {
public:
    explicit CGoodbyeComm(int& reads) : CFakeComm(true), m_reads(reads) {}

protected:
    int DoWrite(std::span<const BYTE> bytes) override {
        auto sent = std::make_unique<CFakeComm>(true);
        sent->Deliver(std::vector<BYTE>(bytes.begin(), bytes.end()));
        CPellamUDPFrame decoder(std::move(sent));
        CMessage goodbye;
        if (decoder.Receive(goodbye) == LINK_OK && goodbye.command == kCmdNetworkControl) {
            Deliver(Framed(goodbye.command, goodbye.sequence % 32 + 1));
            Deliver(Framed(kCmdStandbyAddress, goodbye.sequence));
            Deliver(Framed(goodbye.command, goodbye.sequence));
            Deliver(Framed(goodbye.command, goodbye.sequence));
        }
        return CFakeComm::DoWrite(bytes);
    }
    int DoRead(std::span<BYTE> buffer, std::size_t& count) override {
        const int result = CFakeComm::DoRead(buffer, count);
        m_reads += result == LINK_OK;
        return result;
    }

private:
    static std::vector<BYTE> Framed(DWORD command, DWORD sequence) {
        auto out = std::make_unique<CFakeComm>(true);
        CFakeComm& written = *out;
        CPellamUDPFrame encoder(std::move(out));
        encoder.SetTag(7);
        CMessage reply;
        reply.command = command;
        reply.sequence = sequence;
        reply.SetPayload(std::vector<BYTE>{kReleaseSession});
        encoder.Send(reply);
        return written.Written().back();
    }

    int& m_reads;
};

}  // namespace

TEST_F(UdpLinkTest, ConnectAsksStandbyThenSessionThenPollsToComeUp) {
    EXPECT_FALSE(device.IsControllerPresent());
    ASSERT_NO_FATAL_FAILURE(Connect());
    // Searching for the controller on the network counts as present.
    EXPECT_TRUE(device.IsControllerPresent());
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_TRUE(device.IsControllerPresent());

    // Command, sequence and whether it came in a session.
    std::vector<std::tuple<unsigned, unsigned, bool>> first;
    for (const SimFrame& f : sim.Requests())
        first.emplace_back(f.command, f.sequence, f.tag != 0xFFFF);
    first.resize(3);
    EXPECT_EQ(first, (decltype(first){{61, 1, false}, {59, 2, false}, {60, 3, true}}));
    EXPECT_EQ(sim.Requests()[2].payload, std::vector<std::uint8_t>{0x9E});
    EXPECT_EQ(window.Count(WM_LINK_ERROR), 0);
}

TEST_F(SerialLinkTest, PollsAreRawBytes) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_FALSE(device.Dispatched().empty());
    EXPECT_EQ(device.Dispatched().front().command, kCmdStatus);
    const std::size_t before = sim.RawBytes().size();
    ASSERT_TRUE(Pump([&] { return sim.RawBytes().size() >= before + 3; }));
    for (std::uint8_t b : sim.RawBytes())
        EXPECT_EQ(b, 0x9E);
    EXPECT_TRUE(sim.Requests().empty());
}

// The clock of the poll interval stands still until the test moves it.
TEST_F(UdpLinkTest, PollsFollowTheWaitAndTheIntervalOfTheClock) {
    std::atomic<DWORD> now{0};
    timing.clock = [&] { return now.load(); };
    device.SetTiming(timing);
    auto numbered = [](const auto& polls) {
        return std::count_if(polls.begin(), polls.end(), [](auto p) { return p.first != 0; });
    };
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    // The presence poll and the first idle poll are numbered; each further idle poll goes
    // out when the engine's wait runs out, unnumbered, while the interval has not passed.
    ASSERT_TRUE(Pump([&] { return Polls(sim.Requests()).size() >= 5; }));
    auto polls = Polls(sim.Requests());
    EXPECT_EQ(numbered(polls), 2);
    EXPECT_NE(polls[1].first, 0u);
    std::size_t before = polls.size();
    now += timing.pollIntervalMs + 1;
    ASSERT_TRUE(Pump([&] {
        polls = Polls(sim.Requests());
        return polls.size() >= before + 3 && numbered(polls) == 3 && polls.back().first == 0;
    }));

    // Busy: requests back to back, and a poll only once the interval has passed, numbered.
    device.SetEndlessRequests([] { return Request(10); });
    device.WakeEngine();
    ASSERT_TRUE(Pump([&] { return CountCommand(sim.Requests(), 10) > 0; }));
    before = sim.Requests().size();
    ASSERT_TRUE(Pump([&] { return CountCommand(After(sim.Requests(), before), 10) >= 20; }));
    EXPECT_TRUE(Polls(After(sim.Requests(), before)).empty());
    now += timing.pollIntervalMs + 1;
    ASSERT_TRUE(Pump([&] {
        const auto busy = After(sim.Requests(), before);
        const auto poll = std::find_if(busy.begin(), busy.end(), [](const SimFrame& f) {
            return f.command == kCmdNetworkControl;
        });
        return poll != busy.end() && CountCommand({poll, busy.end()}, 10) >= 20;
    }));
    device.SetEndlessRequests(nullptr);
    const auto busyPolls = Polls(After(sim.Requests(), before));
    ASSERT_GE(busyPolls.size(), 1u);
    EXPECT_NE(busyPolls.front().first, 0u);
}

TEST_F(SerialLinkTest, ErrorsAreRetriedThenTheLinkIsLostAndFoundAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    // A spoilt reply is sent again after a pause; one that does not come at once.
    sim.InjectFault(SimFault::BadChecksum, 2, 10);
    sim.InjectFault(SimFault::DropReply, 1, 10);
    Ask(Request(10));
    ASSERT_TRUE(Pump([&] { return device.LastDispatched() == 10; }));
    auto requests = sim.Requests();
    ASSERT_EQ(CountCommand(requests, 10), 4);
    for (const SimFrame& f : requests)
        EXPECT_EQ(f.sequence, requests.front().sequence);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kChecksum), 2);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kTimeouts), 1);
    EXPECT_EQ(window.Count(WM_LINK_ERROR), 0);

    // Five writes without an answer: the link is lost and the poll starts again.
    sim.InjectFault(SimFault::DropReply, 5, 11);
    Ask(Request(11));
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR) > 0; }));
    EXPECT_EQ(CountCommand(sim.Requests(), 11), 5);
    EXPECT_EQ(window.Values(WM_LINK_ERROR).front(), kLinkPoll);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    ASSERT_TRUE(ReachState(kLinkUp));
}

TEST_F(SerialLinkTest, AnUnansweredPresencePollLosesTheLinkAtOnce) {
    sim.ChangeState([](CorvaneState& s) { s.silent = true; });
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR, kLinkPoll) >= 2; }));
    EXPECT_FALSE(device.IsControllerPresent());
    // One poll per report, and one more on its way at most: no retries.
    const std::size_t polls = sim.RawBytes().size();
    EXPECT_LE(polls, static_cast<std::size_t>(window.Count(WM_LINK_ERROR) + 1));
    sim.ChangeState([](CorvaneState& s) { s.silent = false; });
    EXPECT_TRUE(ReachState(kLinkUp));
}

// An adapter pulled out and plugged in again: the port is not open meanwhile, and the link
// opens it again under its name, and sets it again, as the adapter comes up at the kernel's
// settings.
TEST_F(SerialLinkTest, APortThatHungUpIsOpenedAgainUnderItsName) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    line.Unplug();
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR, kLinkPoll) > 0; }));
    EXPECT_TRUE(device.IsConnected() && !device.IsLinkOpen());
    line.PlugIn(true);
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_TRUE(device.IsLinkOpen());
    const termios tio = line.LineSettings();
    EXPECT_EQ(cfgetospeed(&tio), speed_t{B38400});
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t{CS8});
}

TEST_F(UdpLinkTest, TimeoutsAreRetriedThenTheSessionIsSetUpAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    const int sessions = CountCommand(sim.Requests(), 59);
    sim.InjectFault(SimFault::DropReply, 5, 10);
    Ask(Request(10));
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR) > 0; }));
    EXPECT_EQ(CountCommand(sim.Requests(), 10), 5);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kTimeouts), 5);
    EXPECT_EQ(window.Values(WM_LINK_ERROR), std::vector<int>{kLinkSetUp});
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_GT(CountCommand(sim.Requests(), 59), sessions);
}

TEST_F(UdpLinkTest, ACommandLineTimeOutIsReadAgainNotSentAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.SetLateReplyDelay(static_cast<int>(timing.udpReadTimeoutMs * 3 / 2));
    sim.InjectFault(SimFault::LateReply, 1, kCmdClp);
    Ask(Request(kCmdClp, {'V'}));
    ASSERT_TRUE(Pump([&] { return device.LastDispatched() == kCmdClp; }));
    EXPECT_EQ(CountCommand(sim.Requests(), kCmdClp), 1);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kTimeouts), 1);
}

// While the answer to the session request or to the presence poll waits for the window, the
// link does not ask again.
TEST_F(UdpLinkTest, ASessionAnswerWaitingIsNotAskedForAgain) {
    CCountingDevice counted;
    counted.SetTiming(timing);
    counted.SetUdpTarget(TRUE);
    CLinkTestWindow idle{counted};
    ASSERT_NO_FATAL_FAILURE(ConnectWith(counted, idle));
    ASSERT_TRUE(counted.WaitForTurn([&] {
        return counted.GetLinkState() == kLinkAwaitSession &&
               CountCommand(sim.Requests(), kCmdOpenSession) == 1;
    }));
    ASSERT_TRUE(counted.WaitForTurns(3));
    EXPECT_EQ(CountCommand(sim.Requests(), kCmdOpenSession), 1);
    ASSERT_TRUE(idle.PumpUntil([&] { return counted.GetLinkState() == kLinkUp; }, kPatience));
    counted.Disconnect();
}

// The controller answers the presence poll without its status: nothing brings the link up,
// and the link polls again rather than wait for ever.
TEST_F(UdpLinkTest, APollAnsweredWithoutAStatusIsAskedAgain) {
    sim.ScriptReply(kCmdNetworkControl, {kPresencePoll});
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_GE(Polls(sim.Requests()).size(), 2u);
}

// Only the wait for the status falls back to polling when nothing came: a link opened without
// a start stays closed and asks for nothing.
TEST_F(UdpLinkTest, ALinkOpenedWithoutAStartStaysClosed) {
    CCountingDevice counted;
    counted.SetTiming(timing);
    counted.SetUdpTarget(TRUE);
    CLinkTestWindow idle{counted};
    auto comm = std::make_unique<CCommUDP>(&idle, peer.Port());
    CString error;
    ASSERT_TRUE(comm->Open(app.m_ipAddress.Get(), error)) << ToUtf8(error);
    ASSERT_TRUE(counted.Connect(std::move(comm), &idle, FALSE));
    ASSERT_TRUE(counted.WaitForTurns(3));
    idle.PumpFor(100ms);
    EXPECT_EQ(counted.GetLinkState(), kLinkClosed);
    EXPECT_TRUE(sim.Requests().empty());
    counted.Disconnect();
}

TEST_F(SerialLinkTest, AStatusWaitingIsNotAskedForAgain) {
    CCountingDevice counted;
    counted.SetTiming(timing);
    CLinkTestWindow idle{counted};
    ASSERT_NO_FATAL_FAILURE(ConnectWith(counted, idle));
    ASSERT_TRUE(counted.WaitForTurn([&] { return counted.HasWaitingReplies(); }));
    ASSERT_TRUE(counted.WaitForTurns(3));
    EXPECT_EQ(sim.RawBytes().size(), 1u);
    ASSERT_TRUE(idle.PumpUntil([&] { return counted.GetLinkState() == kLinkUp; }, kPatience));
    counted.Disconnect();
}

// A reply is the answer to its request only when both its command and its sequence are the
// request's; any other is read past and counted.
TEST_F(UdpLinkTest, AReplyWithAnotherCommandOrSequenceIsSkipped) {
    sim.ChangeState([](CorvaneState& s) { s.standbyAddress = kStandbyLoopback; });
    sim.InjectFault(SimFault::WrongSequence, 1, kCmdStandbyAddress);
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    EXPECT_EQ(device.GetStandbyAddress(), 0u);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kMisc), 1);

    sim.SetHandler(kCmdAskControl, [](CorvaneState&, const SimFrame& request) {
        SimFrame reply = SimReplyTo(request);
        reply.command = kCmdOpenDownload;
        return std::optional<SimFrame>(reply);
    });
    ASSERT_TRUE(device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
    ASSERT_TRUE(Pump([&] { return device.GetEngineCounter(CLinkEngine::kMisc) == 2; }));
    EXPECT_EQ(device.GetLinkState(), kLinkAwaitControl);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
}

// A reply of another command with the request's sequence is no answer to it: an address in it
// is not taken for the standby controller's.
TEST_F(UdpLinkTest, AReplyOfAnotherCommandIsNotTakenForTheAnswer) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    const CString standby = app.m_standbyIP.Get();
    sim.SetHandler(10, [](CorvaneState&, const SimFrame& request) {
        SimFrame reply = SimReplyTo(request, {127, 0, 0, 2});
        reply.command = kCmdStandbyAddress;
        return std::optional<SimFrame>(reply);
    });
    const int skipped = device.GetEngineCounter(CLinkEngine::kMisc);
    Ask(Request(10));
    ASSERT_TRUE(Pump([&] { return device.GetEngineCounter(CLinkEngine::kMisc) > skipped; }));
    EXPECT_EQ(device.GetStandbyAddress(), 0u);
    EXPECT_EQ(app.m_standbyIP.Get(), standby);
}

TEST_F(UdpLinkTest, RefusalsAreSentAgainFourTimesThenTheUserIsAsked) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    window.ScriptNakAnswers({1, 0});
    const int naks = device.GetEngineCounter(CLinkEngine::kNaks);
    // Retry: after four resends the question; the fifth resend is answered.
    sim.InjectFault(SimFault::Nak, 5, 10);
    Ask(Request(10));
    ASSERT_TRUE(Pump([&] { return device.LastDispatched() == 10; }));
    EXPECT_EQ(CountCommand(sim.Requests(), 10), 6);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kNaks), naks + 5);
    EXPECT_EQ(window.Count(WM_LINK_ACTIVITY, LINK_ACTIVITY_READ_FAILED), 5);
    ASSERT_EQ(NakQuestions(window).size(), 1u);
    const auto* pair = reinterpret_cast<const CDualMessage*>(NakQuestions(window)[0].lParam);
    EXPECT_EQ(pair->reply.command, 10u);
    EXPECT_TRUE(pair->reply.nak);

    // Go on: the refused reply goes to the queue and is dropped there.
    const std::size_t dispatched = device.Dispatched().size();
    sim.InjectFault(SimFault::Nak, 5, 11);
    Ask(Request(11));
    ASSERT_TRUE(Pump([&] { return NakQuestions(window).size() == 2; }));
    window.PumpFor(300ms);
    EXPECT_EQ(CountCommand(sim.Requests(), 11), 5);
    for (std::size_t i = dispatched; i < device.Dispatched().size(); ++i)
        EXPECT_NE(device.Dispatched()[i].command, 11u);
}

TEST_F(UdpLinkTest, FailsOverToTheStandbyAndBack) {
    CSimController standby{true};
    CSimUdpLink standbyPeer{standby, kStandbyLoopback, peer.Port()};
    app.m_standbyIP.Set(u"127.0.0.2");
    sim.ChangeState([](CorvaneState& s) {
        s.standbyAddress = kStandbyLoopback;
        s.silent = true;
    });
    standby.ChangeState([](CorvaneState& s) { s.standbyAddress = kIPv4Loopback; });

    // The active controller does not answer the session request: it goes to the standby.
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_EQ(CountCommand(sim.Requests(), 59), 1);
    EXPECT_EQ(CountCommand(standby.Requests(), 59), 1);
    EXPECT_EQ(ToUtf8(app.m_ipAddress.Get()), "127.0.0.2");
    EXPECT_EQ(ToUtf8(app.m_standbyIP.Get()), "127.0.0.1");
    EXPECT_EQ(device.GetStandbyAddress(), kIPv4Loopback);
    EXPECT_TRUE(Pump([&] { return CountCommand(standby.Requests(), 60) > 0; }));

    // The standby stops answering and the first comes back: polls time out and fail over.
    sim.ChangeState([](CorvaneState& s) { s.silent = false; });
    standby.ChangeState([](CorvaneState& s) { s.silent = true; });
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR, kLinkSetUp) > 0; }));
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_EQ(ToUtf8(app.m_ipAddress.Get()), "127.0.0.1");
    EXPECT_EQ(ToUtf8(app.m_standbyIP.Get()), "127.0.0.2");
    EXPECT_EQ(device.GetStandbyAddress(), kStandbyLoopback);
    EXPECT_EQ(CountCommand(sim.Requests(), 59), 2);
}

// A refusal for want of a session asks for the standby address and a new session.
TEST_F(UdpLinkTest, ARefusalForWantOfASessionSetsOneUpAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    const int sessions = CountCommand(sim.Requests(), 59);
    sim.SetHandler(10, [](CorvaneState&, const SimFrame& request) {
        SimFrame reply = SimReplyTo(request);
        reply.nak = true;
        reply.tag = 0xFFFF;
        return std::optional(reply);
    });
    Ask(Request(10));
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR) > 0; }));
    EXPECT_EQ(window.Values(WM_LINK_ERROR), std::vector<int>{LINK_ERROR_NO_SESSION});
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_GT(CountCommand(sim.Requests(), 59), sessions);
}

// A refused session closes the link and says so, with the mode it had; it is asked for
// again only when the user wants it.
TEST_F(UdpLinkTest, ARefusedSessionWaitsClosedUntilItIsAskedForAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    app.SetMode(CAppState::kModeOnline);
    sim.ChangeState([](CorvaneState& s) {
        s.sessions.clear();
        s.refuseSessions = true;
    });
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_SESSION_REFUSED) > 0; }));
    EXPECT_EQ(window.Values(WM_LINK_SESSION_REFUSED), std::vector<int>{CAppState::kModeOnline});
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_TRUE(device.IsSessionRefused());
    EXPECT_FALSE(device.IsControllerPresent());
    const int sessions = CountCommand(sim.Requests(), 59);
    window.PumpFor(3 * std::chrono::milliseconds(timing.pollIntervalMs));
    EXPECT_EQ(CountCommand(sim.Requests(), 59), sessions);

    sim.ChangeState([](CorvaneState& s) { s.refuseSessions = false; });
    device.RetrySession();
    EXPECT_FALSE(device.IsSessionRefused());
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_EQ(CountCommand(sim.Requests(), 59), sessions + 1);
    EXPECT_EQ(window.Count(WM_LINK_SESSION_REFUSED), 1);
}

TEST_F(UdpLinkTest, StandbyMemoryIsReadFromTheStandbyControllerOnce) {
    CSimController standby{true};
    CSimUdpLink standbyPeer{standby, kStandbyLoopback, peer.Port()};
    sim.ChangeState([](CorvaneState& s) { s.standbyAddress = kStandbyLoopback; });
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_EQ(device.GetStandbyAddress(), kStandbyLoopback);
    const std::size_t before = sim.Requests().size();

    Ask(Request(kCmdReadMemory, {0, 1, 0, 0, 0x12, 0x00, 255}));
    ASSERT_TRUE(Pump([&] { return device.LastDispatched() == kCmdReadMemory; }));
    const auto read = standby.Requests();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].tag, 0xFFFF);
    EXPECT_EQ(read[0].payload, (std::vector<std::uint8_t>{0, 0, 0, 0, 0x12, 0x00, 255}));
    EXPECT_EQ(device.Dispatched().back().length, 255u);
    EXPECT_EQ(device.GetStandbyAddress(), kStandbyLoopback);

    // Afterwards the active controller, in the session, with one numbered poll.
    ASSERT_TRUE(Pump([&] { return !Polls(After(sim.Requests(), before)).empty(); }));
    const auto after = After(sim.Requests(), before);
    const SimFrame& poll = after.front();
    EXPECT_EQ(poll.command, kCmdNetworkControl);
    EXPECT_NE(poll.sequence, 0u);
    EXPECT_NE(poll.tag, 0xFFFF);
    EXPECT_EQ(CountCommand(after, kCmdReadMemory), 0);
}

TEST_F(UdpLinkTest, TheClockIsFilledJustBeforeSending) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    Ask(Request(kCmdSetClock, std::vector<BYTE>(6, 0)));
    ASSERT_TRUE(Pump([&] { return CountCommand(sim.Requests(), kCmdSetClock) > 0; }));
    std::vector<std::uint8_t> sent;
    sim.ChangeState([&](CorvaneState& s) { sent = s.setRequests.at(0).payload; });
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0], local.tm_year & 0xFF);
    EXPECT_EQ(sent[1], local.tm_mon + 1);
    EXPECT_GE(sent[2], 1);
    EXPECT_LE(sent[2], 31);
}

TEST_F(UdpLinkTest, PausedPollingSendsOnlyPolls) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    device.PausePolling();
    Ask(Request(10));
    const std::size_t polls = Polls(sim.Requests()).size();
    ASSERT_TRUE(Pump([&] { return Polls(sim.Requests()).size() >= polls + 2; }));
    EXPECT_EQ(CountCommand(sim.Requests(), 10), 0);
    device.ResumePolling();
    ASSERT_TRUE(Pump([&] { return CountCommand(sim.Requests(), 10) == 1; }));

    // The user-interface side changing flags and waking the engine while it is busy.
    device.SetEndlessRequests([] { return Request(10); });
    for (int i = 0; i < 200; ++i) {
        device.PausePolling();
        device.WakeEngine();
        EXPECT_TRUE(device.IsControllerPresent());
        device.ResumePolling();
        device.ResetEngineCounters();
    }
    device.SetEndlessRequests(nullptr);
}

// A pause longer than any test: a lock held over it would stop the call below.
TEST_F(SerialLinkTest, TheErrorPauseHoldsNoLock) {
    timing.errorPauseMs = 600000;
    device.SetTiming(timing);
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.InjectFault(SimFault::BadChecksum, 1, 10);
    Ask(Request(10));
    ASSERT_TRUE(Pump([&] { return device.GetEngineCounter(CLinkEngine::kChecksum) == 1; }));
    EXPECT_TRUE(device.IsControllerPresent());
}

TEST_F(UdpLinkTest, DisconnectEndsAWaitForTheUsersAnswer) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.InjectFault(SimFault::Nak, 5, 10);
    Ask(Request(10));
    // Nobody answers: the window is not pumped.
    ASSERT_TRUE(window.WaitForMessage(IsNakQuestion, kPatience));
    device.Disconnect();
    EXPECT_FALSE(device.IsConnected());
    // Going on, the link said goodbye to the controller.
    const auto requests = sim.Requests();
    EXPECT_EQ(requests.back().command, kCmdNetworkControl);
    EXPECT_EQ(requests.back().payload, std::vector<std::uint8_t>{0x1A});
    EXPECT_GE(requests.back().sequence, 1u);
    EXPECT_LE(requests.back().sequence, 32u);
}

TEST_F(UdpLinkTest, NoThreadOutlivesItsLink) {
    // One round first, so threads the runtime starts once (the sanitizer's own) are counted.
    ASSERT_NO_FATAL_FAILURE(Connect());
    device.Disconnect();
    const int threads = ThreadCount();
    for (int i = 0; i < 10; ++i) {
        ASSERT_NO_FATAL_FAILURE(Connect());
        device.Disconnect();
    }
    {
        CTestDevice other;
        other.SetUdpTarget(TRUE);
        auto comm = std::make_unique<CCommUDP>(&window, peer.Port());
        CString error;
        ASSERT_TRUE(comm->Open(u"127.0.0.1", error));
        ASSERT_TRUE(other.Connect(std::move(comm), &window, TRUE));
    }
    EXPECT_EQ(ThreadCount(), threads);
}

// The goodbye reads past answers to other requests, and no further than its own.
TEST(DeviceLinkClosed, TheGoodbyeWaitsForItsOwnAnswerOnly) {
    CMemoryProfile profile;
    CAppState app{profile};
    CRecordingSink sink;
    CTestDevice device;
    device.SetUdpTarget(TRUE);
    int reads = 0;
    ASSERT_TRUE(device.Connect(std::make_unique<CGoodbyeComm>(reads), &sink, FALSE));
    device.Disconnect();
    EXPECT_EQ(reads, 3);
}

TEST(DeviceLinkClosed, EveryRequestIsHarmless) {
    CMemoryProfile profile;
    CAppState app{profile};
    CTestDevice device;
    class CountedSource : public CSendAll {
    public:
        explicit CountedSource(bool& destroyed) : m_destroyed(destroyed) {}
        ~CountedSource() override { m_destroyed = true; }
        void Reset() override {}
        BOOL BuildNext(CMessage&) override { return FALSE; }

    private:
        bool& m_destroyed;
    };
    bool destroyed = false;
    EXPECT_FALSE(
        device.StartSendAll(CLinkSession::Now(), std::make_unique<CountedSource>(destroyed)));
    EXPECT_TRUE(destroyed);
    device.WakeEngine();
    device.ResetEngineCounters();
    device.AddToEngineCounter(CLinkEngine::kMisc, 1);
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kMisc), 0);
    device.PausePolling();
    device.ResumePolling();
    device.BeginSendQueue();
    device.EndSendQueue();
    device.Abort();
    EXPECT_EQ(device.PullFromSource(-1), 0);
    device.OnResponse(nullptr);
    EXPECT_FALSE(device.IsControllerPresent());
    EXPECT_EQ(device.GetLinkState(), kLinkClosed);
    device.Disconnect();
}

#include <gtest/gtest.h>

#include <atomic>
#include <deque>

#include "link/link_result.h"
#include "link/retry_hooks.h"
#include "tests/link/link_fixture.h"

namespace {

constexpr unsigned kSetTrunks = CSetRequestSource::kCommand;

// The commands of the send procedure that reached the controller, polls left out.
std::vector<unsigned> SendCommands(const std::vector<SimFrame>& frames) {
    std::vector<unsigned> out;
    for (const SimFrame& f : frames)
        if (f.command != kCmdNetworkControl) out.push_back(f.command);
    return out;
}

std::vector<unsigned> Procedure(int sets, std::vector<unsigned> commit = {3}) {
    std::vector<unsigned> out{25, 4};
    out.insert(out.end(), static_cast<std::size_t>(sets), kSetTrunks);
    out.insert(out.end(), commit.begin(), commit.end());
    out.push_back(26);
    return out;
}

template <class Fixture>
class SendTest : public Fixture {
protected:
    // Starts a send of count set requests and handles the window's messages until it ends.
    bool Send(int count) {
        m_start = this->sim.Requests().size();
        const int done = this->window.Count(WM_LINK_SEND_DONE);
        return this->device.StartSendAll(CLinkSession::Now(),
                                         std::make_unique<CSetRequestSource>(count)) &&
               this->Pump([&] { return this->window.Count(WM_LINK_SEND_DONE) > done; });
    }
    std::vector<unsigned> Sent() const {
        return SendCommands(After(this->sim.Requests(), m_start));
    }
    CorvaneState Controller() {
        CorvaneState state;
        this->sim.ChangeState([&](CorvaneState& s) { state = s; });
        return state;
    }
    // The send fails for the lost link, and the link comes back.
    void LoseTheLinkInASend() {
        m_start = this->sim.Requests().size();
        this->sim.InjectFault(SimFault::DropReply, 5, kSetTrunks);
        ASSERT_TRUE(
            this->device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(3)));
        ASSERT_TRUE(this->Pump([&] {
            return this->window.Count(WM_LINK_SEND_FAILED) == 1 &&
                   this->device.GetLinkState() == kLinkUp;
        }));
        for (const auto& m : this->window.Messages()) {
            if (m.message != WM_LINK_SEND_FAILED) continue;
            EXPECT_EQ(m.wParam, WPARAM{kSendLostLink});
            EXPECT_EQ(m.lParam, LINK_TIMEOUT);
        }
    }

    // Once the controller has answered the commit the changes are in: a link lost on the
    // release ends the send as done, and the release is asked for once the link is back.
    void LoseTheLinkOnTheReleaseOfACommittedSend() {
        ASSERT_NO_FATAL_FAILURE(this->ConnectAndComeUp());
        this->sim.InjectFault(SimFault::DropReply, 1 + CDCError::kTries, kCmdReleaseControl);
        ASSERT_TRUE(
            this->device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(2)));
        ASSERT_TRUE(this->Pump([&] {
            return this->window.Count(WM_LINK_SEND_DONE) + this->window.Count(WM_LINK_SEND_FAILED) >
                       0 &&
                   Controller().releases == 2;
        }));
        EXPECT_EQ(this->window.Count(WM_LINK_SEND_FAILED), 0);
        EXPECT_EQ(this->window.Count(WM_LINK_SEND_DONE), 1);
        EXPECT_EQ(Controller().commits, 1);
        // The owed release's answer ends nothing; the next send runs as usual.
        ASSERT_TRUE(this->ReachState(kLinkUp));
        ASSERT_TRUE(Send(1));
        EXPECT_EQ(Sent(), Procedure(1));
        EXPECT_EQ(this->window.Count(WM_LINK_SEND_DONE), 2);
        EXPECT_EQ(Controller().releases, 3);
    }

    // A second link beside the fixture's own, for an engine the test holds in one state.
    void ConnectHeld(CTestDevice& held, CLinkTestWindow& win) {
        held.SetTiming(this->timing);
        held.SetUdpTarget(TRUE);
        ASSERT_NO_FATAL_FAILURE(this->ConnectWith(held, win));
        ASSERT_TRUE(win.PumpUntil([&] { return held.GetLinkState() == kLinkUp; }, kPatience));
    }

    std::size_t m_start = 0;
};

// Holds the link in one state: the engine asks for nothing there until the hold ends.
class CHeldDevice : public CTestDevice {
public:
    int GetNextRequest(CMessage& request) override {
        if (GetLinkState() == m_held) return kRequestNone;
        return CTestDevice::GetNextRequest(request);
    }
    void Hold(int state) { m_held = state; }

private:
    std::atomic<int> m_held{-1};
};

using UdpSendTest = SendTest<UdpLinkTest>;
using SerialSendTest = SendTest<SerialLinkTest>;

}  // namespace

TEST_F(UdpSendTest, GrantedSendRunsEveryStepInOrder) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_TRUE(Send(30));
    EXPECT_EQ(Sent(), Procedure(30));
    const CorvaneState controller = Controller();
    ASSERT_EQ(controller.setRequests.size(), 30u);
    for (std::size_t i = 0; i < 30; ++i)
        EXPECT_EQ(controller.setRequests[i].payload, (std::vector<std::uint8_t>{0, BYTE(i)}));
    EXPECT_EQ(controller.commits, 1);
    EXPECT_EQ(controller.releases, 1);
    EXPECT_EQ(window.Values(WM_LINK_QUEUE_FILLED), std::vector<int>{30});
    std::vector<int> left(30);
    for (int n = 0; n < 30; ++n)
        left[static_cast<std::size_t>(n)] = 29 - n;
    EXPECT_EQ(window.Values(WM_LINK_SEND_PROGRESS), left);
    EXPECT_EQ(window.Count(WM_LINK_QUEUE_SENT), 1);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    EXPECT_EQ(device.GetLinkState(), kLinkUp);
    EXPECT_FALSE(device.IsSendRunning());

    // A send only starts from the up state; the next one runs like the first.
    ASSERT_TRUE(device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
    EXPECT_FALSE(device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_SEND_DONE) == 2; }));
}

TEST_F(SerialSendTest, GrantedSendOverTheSerialPort) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_TRUE(Send(5));
    EXPECT_EQ(Sent(), Procedure(5));
    EXPECT_EQ(Controller().setRequests.size(), 5u);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
}

TEST_F(UdpSendTest, TheWaitAfterASecondCommitHoldsNoLock) {
    // A wait longer than any test: the link answers meanwhile, and the release waits for it.
    timing.commitAgainPauseMs = 600000;
    device.SetTiming(timing);
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.ChangeState([](CorvaneState& s) { s.commitStatuses = {3}; });
    ASSERT_TRUE(device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(2)));
    ASSERT_TRUE(Pump([&] { return device.LastDispatched() == kCmdCommitAgain; }));
    EXPECT_EQ(device.GetLinkState(), kLinkRelease);
    EXPECT_TRUE(device.IsControllerPresent());
    EXPECT_EQ(CountCommand(sim.Requests(), kCmdReleaseControl), 0);
}

TEST_F(UdpSendTest, LostControlEndsTheSendWithTheRequestInFlight) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.InjectFault(SimFault::Ctrl, 1, kCmdOpenDownload);
    ASSERT_TRUE(Send(4));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 4, 26}));
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kCtrl), 1);

    // Lost on the first set request, the rest refused: no further set request goes out, so
    // nobody is asked about a refusal. The window waits until the engine has gone on.
    sim.InjectFault(SimFault::Ctrl, 1, kSetTrunks);
    sim.InjectFault(SimFault::Nak, 5, kSetTrunks);
    window.SetObserver([&](const CLinkTestWindow::Message& m) {
        if (m.message != WM_LINK_QUEUE_FILLED) return;
        sim.WaitForRequests(
            [](const std::vector<SimFrame>& frames) {
                return CountCommand(frames, kCmdReleaseControl) == 2 ||
                       CountCommand(frames, kSetTrunks) == 2;
            },
            kPatience);
    });
    ASSERT_TRUE(Send(4));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 4, 9, 26}));
    EXPECT_EQ(window.Values(WM_LINK_SEND_FAILED),
              (std::vector<int>{kSendLostControl, kSendLostControl}));
    EXPECT_EQ(window.Count(WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_NAK)), 0);
    EXPECT_EQ(Controller().setRequests.size(), 1u);
}

TEST_F(SerialSendTest, ControlOfASendLostWithTheLinkIsReleasedOnceTheLinkIsBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    // The release after the link is back gets no answer either: the link is lost again,
    // the send's failure is not told again and the release is not asked again.
    sim.InjectFault(SimFault::DropReply, 5, kCmdReleaseControl);
    ASSERT_NO_FATAL_FAILURE(LoseTheLinkInASend());
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_ERROR) == 2; }));
    ASSERT_TRUE(ReachState(kLinkUp));
    const std::size_t polls = sim.RawBytes().size();
    ASSERT_TRUE(Pump([&] { return sim.RawBytes().size() > polls + 2; }));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 4, 9, 9, 9, 9, 9, 26, 26, 26, 26, 26}));
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 1);
    EXPECT_EQ(window.Count(WM_LINK_SEND_DONE), 0);
}

TEST_F(UdpSendTest, ControlOfASendLostWithTheLinkIsReleasedOnceTheLinkIsBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_NO_FATAL_FAILURE(LoseTheLinkInASend());
    ASSERT_TRUE(Pump([&] { return Controller().releases == 1; }));
    const auto sent = Sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 3u), 0);
    EXPECT_EQ(sent.back(), 26u);
    // Its answer ends nothing: the failed send stays failed, and the next runs as usual.
    ASSERT_TRUE(Send(2));
    EXPECT_EQ(Sent(), Procedure(2));
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 1);
    EXPECT_EQ(window.Count(WM_LINK_SEND_DONE), 1);
}

TEST_F(UdpSendTest, ACommittedSendIsDoneThoughTheReleaseIsLost) {
    LoseTheLinkOnTheReleaseOfACommittedSend();
}

TEST_F(SerialSendTest, ACommittedSendIsDoneThoughTheReleaseIsLost) {
    LoseTheLinkOnTheReleaseOfACommittedSend();
}

TEST_F(UdpSendTest, ACommittedSendIsDoneThoughTheSessionIsLostBeforeTheRelease) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.SetHandler(kCmdCommit, [](CorvaneState& s, const SimFrame& request) {
        ++s.commits;
        s.sessions.clear();
        return SimReplyTo(request, {0});
    });
    ASSERT_TRUE(device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
    ASSERT_TRUE(Pump([&] { return Controller().releases == 1; }));
    EXPECT_EQ(window.Values(WM_LINK_SEND_DONE), std::vector<int>{0});
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    EXPECT_EQ(window.Count(WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_SESSION_LOST)), 1);
}

// A commit status counts while the link commits, commits again or waits for the commit's
// answer; in any other state it ends the send as corrupted.
TEST_F(UdpSendTest, ACommitStatusCountsOnlyWhileCommitting) {
    CHeldDevice held;
    CLinkTestWindow win{held};
    ASSERT_NO_FATAL_FAILURE(ConnectHeld(held, win));
    struct Case {
        int state;
        std::deque<std::uint8_t> statuses;
        bool done;
    };
    for (const Case& c : {Case{kLinkCommit, {}, true}, Case{kLinkCommitAgain, {3}, true},
                          Case{kLinkAskControl, {}, false}}) {
        SCOPED_TRACE(c.state);
        sim.ChangeState([&](CorvaneState& s) { s.commitStatuses = c.statuses; });
        const int ended = win.Count(WM_LINK_SEND_DONE) + win.Count(WM_LINK_SEND_FAILED);
        held.Hold(c.state);
        ASSERT_TRUE(held.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
        ASSERT_TRUE(win.PumpUntil([&] { return held.GetLinkState() == c.state; }, kPatience));
        CDualMessage status;
        status.request.command = status.reply.command = kCmdCommit;
        status.reply.SetPayload(std::vector<BYTE>{0});
        held.PutResponse(status);
        ASSERT_TRUE(win.PumpUntil([&] { return held.GetLinkState() != c.state; }, kPatience));
        held.Hold(-1);
        held.WakeEngine();
        ASSERT_TRUE(win.PumpUntil(
            [&] {
                return win.Count(WM_LINK_SEND_DONE) + win.Count(WM_LINK_SEND_FAILED) > ended &&
                       held.GetLinkState() == kLinkUp;
            },
            kPatience));
        const std::vector<int> failed = win.Values(WM_LINK_SEND_FAILED);
        EXPECT_EQ(failed, c.done ? std::vector<int>{} : std::vector<int>{kSendCorrupted});
    }
    held.Disconnect();
}

// A commit status the link does not know ends the send as corrupted; control is released.
TEST_F(UdpSendTest, AnUnknownCommitStatusEndsTheSendAsCorrupted) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.ChangeState([](CorvaneState& s) { s.commitStatuses = {4}; });
    ASSERT_TRUE(Send(1));
    EXPECT_EQ(Sent(), Procedure(1));
    EXPECT_EQ(window.Values(WM_LINK_SEND_FAILED), std::vector<int>{kSendCorrupted});
    EXPECT_EQ(device.GetLinkState(), kLinkUp);
    EXPECT_FALSE(device.IsSendRunning());
}

// A release answered while the link was coming back is not owed any more: no second release
// follows once the link is up.
TEST_F(UdpSendTest, AnAnsweredReleaseIsNotOwedAgain) {
    CHeldDevice held;
    CLinkTestWindow win{held};
    ASSERT_NO_FATAL_FAILURE(ConnectHeld(held, win));
    // The link is lost in the send and held before it is set up again.
    held.Hold(kLinkSetUp);
    sim.InjectFault(SimFault::DropReply, 1 + CDCError::kTries, kSetTrunks);
    ASSERT_TRUE(held.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
    ASSERT_TRUE(win.PumpUntil(
        [&] { return win.Count(WM_LINK_SEND_FAILED) == 1 && !held.IsSendRunning(); }, kPatience));
    ASSERT_EQ(held.GetLinkState(), kLinkSetUp);
    CDualMessage released;
    released.request.command = released.reply.command = kCmdReleaseControl;
    held.PutResponse(released);
    ASSERT_TRUE(win.PumpUntil([&] { return !held.HasWaitingReplies(); }, kPatience));
    held.Hold(-1);
    held.WakeEngine();
    ASSERT_TRUE(win.PumpUntil([&] { return held.GetLinkState() == kLinkUp; }, kPatience));
    const std::size_t up = sim.Requests().size();
    ASSERT_TRUE(win.PumpUntil(
        [&] { return CountCommand(After(sim.Requests(), up), kCmdNetworkControl) >= 2; },
        kPatience));
    EXPECT_EQ(Controller().releases, 0);
    held.Disconnect();
}

TEST_F(UdpSendTest, UserAbortReleasesControlOnlyWhenItWasAskedFor) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    // Before exclusive control is asked for there is nothing to release.
    device.PausePolling();
    const std::size_t before = sim.Requests().size();
    ASSERT_TRUE(device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(1)));
    device.Abort();
    EXPECT_EQ(device.GetLinkState(), kLinkUp);
    EXPECT_FALSE(device.IsSendRunning());
    device.ResumePolling();
    ASSERT_TRUE(Pump([&] { return CountCommand(After(sim.Requests(), before), 60) >= 2; }));
    EXPECT_TRUE(SendCommands(After(sim.Requests(), before)).empty());

    // The user aborts when the first set request has gone.
    bool aborted = false;
    window.SetObserver([&](const CLinkTestWindow::Message& m) {
        if (m.message == WM_LINK_SEND_PROGRESS && !std::exchange(aborted, true)) device.Abort();
    });
    ASSERT_TRUE(Send(50));
    const auto sent = Sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 3u), 0);
    EXPECT_EQ(sent.back(), 26u);
    window.SetObserver(nullptr);

    // Aborted from the refusal question: the refused request goes on and control is released.
    window.ScriptNakAnswers({-1});
    sim.InjectFault(SimFault::Nak, 5, kSetTrunks);
    ASSERT_TRUE(Send(1));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 4, 9, 9, 9, 9, 9, 26}));
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    EXPECT_EQ(Controller().commits, 0);
}

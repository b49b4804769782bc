#include <gtest/gtest.h>

#include "link/cv_data_send_all.h"
#include "link/link_result.h"
#include "model/kelvardin_doc.h"
#include "tests/link/link_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

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
        const std::size_t before = this->sim.Requests().size();
        if (!this->device.StartSendAll(std::make_unique<CSetRequestSource>(count))) return false;
        m_start = before;
        return this->Pump([&] { return this->window.Count(WM_LINK_SEND_DONE) > m_done; }) &&
               (++m_done, true);
    }
    std::vector<unsigned> Sent() const {
        return SendCommands(After(this->sim.Requests(), m_start));
    }
    CorvaneState Controller() {
        CorvaneState state;
        this->sim.ChangeState([&](CorvaneState& s) { state = s; });
        return state;
    }

    std::size_t m_start = 0;
    int m_done = 0;
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
    std::vector<int> left;
    for (int n = 29; n >= 0; --n)
        left.push_back(n);
    EXPECT_EQ(window.Values(WM_LINK_SEND_PROGRESS), left);
    EXPECT_EQ(window.Count(WM_LINK_QUEUE_SENT), 1);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    EXPECT_EQ(device.GetLinkState(), kLinkUp);
    EXPECT_FALSE(device.IsSendRunning());

    // A send only starts from the up state; the next one runs like the first.
    ASSERT_TRUE(device.StartSendAll(std::make_unique<CSetRequestSource>(1)));
    EXPECT_FALSE(device.StartSendAll(std::make_unique<CSetRequestSource>(1)));
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_SEND_DONE) == 2; }));
}

TEST_F(UdpSendTest, OnlyTheSendOfSetupChangesMayClearTheChangeFlags) {
    CKelvardinDoc doc;
    ASSERT_TRUE(doc.ResetToDefaultSetup());
    doc.SetTrunkFixed(TRUE, TRUE, 4);
    doc.SetIcomBaudRate(2, TRUE, 1);
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_TRUE(device.StartSendAll(std::make_unique<CCVDataSendAll>([&] { return &doc; })));
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_SEND_DONE) == 1; }));
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    EXPECT_EQ(Commands(Controller().setRequests), (std::vector<unsigned>{9, 16}));
    EXPECT_TRUE(device.SendClearsChanges());

    m_done = 1;
    ASSERT_TRUE(Send(1));
    EXPECT_FALSE(device.SendClearsChanges());
}

TEST_F(SerialSendTest, GrantedSendOverTheSerialPort) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    ASSERT_TRUE(Send(5));
    EXPECT_EQ(Sent(), Procedure(5));
    EXPECT_EQ(Controller().setRequests.size(), 5u);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
}

TEST_F(UdpSendTest, DeniedControlIsAskedForAgainOrGivenUp) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.ChangeState([](CorvaneState& s) { s.denyControl = 2; });
    ASSERT_TRUE(Send(3));
    EXPECT_EQ(dialogs.Denials(), 2);
    auto expected = Procedure(3);
    expected.insert(expected.begin(), {25, 25});
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);

    // Given up: reason 0, and the release that the abort asks for.
    sim.ChangeState([](CorvaneState& s) { s.denyControl = 1; });
    dialogs.ScriptDenialAnswers({ILinkDialogs::kAbort});
    ASSERT_TRUE(Send(3));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 26}));
    EXPECT_EQ(window.Values(WM_LINK_SEND_FAILED), std::vector<int>{kSendDenied});
    EXPECT_EQ(device.GetLinkState(), kLinkUp);
}

TEST_F(UdpSendTest, CommitAgainWaitsWithoutHoldingTheLink) {
    timing.commitAgainPauseMs = 1500;
    device.SetTiming(timing);
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.ChangeState([](CorvaneState& s) { s.commitStatuses = {3}; });
    ASSERT_TRUE(device.StartSendAll(std::make_unique<CSetRequestSource>(2)));
    ASSERT_TRUE(Pump([&] { return device.LastDispatched() == kCmdCommitAgain; }));
    const auto answered = Clock::now();
    EXPECT_EQ(device.GetLinkState(), kLinkRelease);
    EXPECT_LT(Clock::now() - answered, 700ms);
    ASSERT_TRUE(Pump([&] { return window.Count(WM_LINK_SEND_DONE) == 1; }));
    EXPECT_GE(Clock::now() - answered, 700ms);
    EXPECT_EQ(SendCommands(sim.Requests()).back(), 26u);
    EXPECT_EQ(Controller().commits, 1);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
}

TEST_F(UdpSendTest, EepromFailureEndsTheSendAndReleasesControl) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.ChangeState([](CorvaneState& s) { s.commitStatuses = {2}; });
    ASSERT_TRUE(Send(2));
    EXPECT_EQ(Sent(), Procedure(2));
    EXPECT_EQ(window.Values(WM_LINK_SEND_FAILED), std::vector<int>{kSendEepromFailure});
    EXPECT_EQ(Controller().commits, 0);
    EXPECT_EQ(Controller().releases, 1);
}

TEST_F(UdpSendTest, LostControlEndsTheSend) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.InjectFault(SimFault::Ctrl, 1, kCmdOpenDownload);
    ASSERT_TRUE(Send(4));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 4, 26}));
    EXPECT_EQ(window.Values(WM_LINK_SEND_FAILED), std::vector<int>{kSendLostControl});
    EXPECT_EQ(device.GetEngineCounter(CLinkEngine::kCtrl), 1);
    EXPECT_TRUE(Controller().setRequests.empty());
}

TEST_F(UdpSendTest, LostLinkEndsTheSendOnceAndTheLinkComesBack) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    sim.InjectFault(SimFault::DropReply, 5, kSetTrunks);
    const std::size_t before = sim.Requests().size();
    ASSERT_TRUE(device.StartSendAll(std::make_unique<CSetRequestSource>(3)));
    ASSERT_TRUE(Pump(
        [&] { return window.Count(WM_LINK_SEND_FAILED) > 0 && window.Count(WM_LINK_ERROR) > 0; }));
    const auto messages = window.Messages();
    const auto failed = std::find_if(messages.begin(), messages.end(),
                                     [](auto& m) { return m.message == WM_LINK_SEND_FAILED; });
    EXPECT_EQ(failed->wParam, WPARAM{kSendLostLink});
    EXPECT_EQ(failed->lParam, LINK_TIMEOUT);
    EXPECT_EQ(window.Values(WM_LINK_ERROR), std::vector<int>{kLinkSetUp});

    // No release goes over the lost link: the session is set up again and the link is up,
    // with the send given up.
    ASSERT_TRUE(ReachState(kLinkUp));
    EXPECT_FALSE(device.IsSendRunning());
    window.PumpFor(300ms);
    const auto sent = SendCommands(After(sim.Requests(), before));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 26u), 0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 3u), 0);
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 1);
    EXPECT_EQ(device.GetLinkState(), kLinkUp);
    ASSERT_TRUE(Send(2));
    EXPECT_EQ(Sent(), Procedure(2));
}

TEST_F(UdpSendTest, UserAbortReleasesControlWithoutCommit) {
    ASSERT_NO_FATAL_FAILURE(ConnectAndComeUp());
    // The user aborts when the first set request has gone.
    bool aborted = false;
    window.SetObserver([&](const CLinkTestWindow::Message& m) {
        if (m.message == WM_LINK_SEND_PROGRESS && !std::exchange(aborted, true)) device.Abort();
    });
    ASSERT_TRUE(Send(50));
    const auto sent = Sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 3u), 0);
    EXPECT_EQ(sent.back(), 26u);
    EXPECT_EQ(Controller().commits, 0);
    window.SetObserver(nullptr);

    // Aborted from the refusal question: the refused request goes on and control is released.
    window.ScriptNakAnswers({-1});
    sim.InjectFault(SimFault::Nak, 5, kSetTrunks);
    ASSERT_TRUE(Send(1));
    EXPECT_EQ(Sent(), (std::vector<unsigned>{25, 4, 9, 9, 9, 9, 9, 26}));
    EXPECT_EQ(window.Count(WM_LINK_SEND_FAILED), 0);
    EXPECT_EQ(Controller().commits, 0);
}

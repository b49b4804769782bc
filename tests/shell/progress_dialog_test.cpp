#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <optional>

#include "link/command_codes.h"
#include "link/cv_data_send_all.h"
#include "shell/dlg_comm_status.h"
#include "shell/dlg_save_as_online_progress.h"
#include "shell/dlg_send_progress.h"
#include "shell/kelvardin_list_ctrl.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_udp_link.h"

namespace {

constexpr DWORD kPatienceMs = 20000;

QString Status(const QDialog& dlg) {
    return dlg.findChild<QLabel*>("ctl1045")->text();
}
QPushButton* Button(const QDialog& dlg) {
    return dlg.findChild<QPushButton*>("ctl2");
}
QProgressBar* Bar(const QDialog& dlg) {
    return dlg.findChild<QProgressBar*>("ctl1040");
}

// Stands in for the main window: each of the link's progress messages goes to the running
// operation's dialog first, then the link gets the main window's answer. The user's answer to
// a refusal is Abort, and a lost link gives a running upload up. While held, the messages wait
// until the test's user is at the send dialog, so that no dialog the link opens runs first.
class CRelayFrame : public CFakeMainFrame {
public:
    IMessageSink* GetLinkSink() override { return &m_relay; }
    void Release() {
        hold = false;
        for (; !m_held.empty(); m_held.pop_front())
            Relay(m_held.front()[0], m_held.front()[1], LPARAM(m_held.front()[2]));
    }

    bool hold = false;
    IOperationDialog* operation = nullptr;
    std::vector<LRESULT> finishAnswers;
    // Acts as the user would once the dialog has seen the message.
    std::function<void(UINT, QDialog&)> afterRelay;

private:
    LRESULT Relay(UINT message, WPARAM wParam, LPARAM lParam) {
        if (hold) {
            m_held.push_back({message, wParam, WPARAM(lParam)});
            return 0;
        }
        CCVDataMgr& link = GetKelvardinApp().GetDataMgr();
        const bool progress = (message >= WM_LINK_PULL && message <= WM_LINK_QUEUE_SENT) ||
                              message == WM_LINK_UPLOAD_PROGRESS;
        const LRESULT answer =
            operation && progress ? operation->OnLinkMessage(message, wParam, lParam) : 0;
        if (operation && progress && afterRelay)
            afterRelay(message, dynamic_cast<QDialog&>(*operation));
        switch (message) {
            case WM_LINK_PULL: link.PullFromSource(-1); break;
            case WM_LINK_QUEUE_FILLED: link.BeginSendQueue(); break;
            case WM_LINK_SEND_FAILED: link.Abort(); break;
            case WM_LINK_QUEUE_SENT: link.EndSendQueue(); break;
            case WM_LINK_REPLIES: link.OnResponse(doc); break;
            case WM_LINK_SEND_DONE:
                if (!operation) break;
                finishAnswers.push_back(answer);
                if (answer == 0) doc->ClearAllChanges();
                break;
            case WM_LINK_ERROR:
                if (!operation) break;
                if (static_cast<int>(wParam) == LINK_ERROR_NAK) {
                    link.Abort();
                    operation->OnLinkMessage(WM_LINK_SEND_FAILED, kSendUserAbort, 0);
                } else if (dynamic_cast<CDlgSaveAsOnlineProgress*>(operation)) {
                    operation->OnLinkMessage(WM_LINK_UPLOAD_PROGRESS, WPARAM(LINK_UPLOAD_LOST), 0);
                }
                break;
        }
        return 0;
    }

    std::deque<std::array<WPARAM, 3>> m_held;
    CWindowMessageSink m_relay{[this](UINT m, WPARAM w, LPARAM l) { return Relay(m, w, l); }};
};

class ProgressDialogTest : public ShellTest {
protected:
    ProgressDialogTest() {
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 500;
        timing.engineWaitMs = 100;
        timing.pollIntervalMs = 500;
        link.SetTiming(timing);
        auto owned = std::make_unique<CRelayFrame>();
        frame = owned.get();
        frame->doc = &doc;
        app.SetMainFrame(std::move(owned));
        app.SetPeerPort(peer.Port());
        app.SetMode(CAppState::kModeOnline);
        EXPECT_TRUE(app.OpenComm(u"net:", 38400, u"127.0.0.1", u""));
        EXPECT_TRUE(Idle());
        env.SetTimeScale(0.01);
    }
    ~ProgressDialogTest() override { link.Disconnect(); }

    // ONLINE, the link up with no send and nothing asked of the controller.
    bool Idle() {
        app.PumpWaitingMessages();
        return PumpWaitingMessages(
            [&] {
                return app.GetMode() == CAppState::kModeOnline && link.GetLinkState() == kLinkUp &&
                       !link.IsSendRunning() && link.GetPendingTotal() == 0;
            },
            kPatienceMs);
    }
    CorvaneState Controller() {
        CorvaneState state;
        sim.ChangeState([&](CorvaneState& s) { state = s; });
        return state;
    }
    // The action waits until the dialog has ended, or shows a failure (and has answered the
    // finish when one is due), then presses its button if it is still open.
    void Expect(const char* dialog, std::function<void(QDialog&)> check, size_t answers = 1) {
        script.ExpectDialog(dialog, [this, check, answers](QDialog& dlg) {
            frame->Release();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return !dlg.isVisible() || (Status(dlg).startsWith("FAILED") &&
                                                frame->finishAnswers.size() >= answers);
                },
                kPatienceMs));
            if (check) check(dlg);
            if (dlg.isVisible()) Button(dlg)->click();
            return 0;
        });
    }
    int RunSend() {
        frame->finishAnswers.clear();
        CDlgSendProgress dlg(std::make_unique<CCVDataSendAll>([this] { return &doc; }), 2247, 2248);
        frame->operation = &dlg;
        frame->hold = true;
        const int result = dlg.DoModal();
        frame->operation = nullptr;
        return result;
    }

    CCVDataMgr& link = app.GetDataMgr();
    CKelvardinDoc doc;
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CModalScript script{env};
    CRelayFrame* frame;
};

TEST_F(ProgressDialogTest, ASendShowsHowItEndsAndOnlyASuccessClearsTheChanges) {
    using State = std::function<void(CorvaneState&)>;
    const struct {
        State state;
        std::optional<SimFault> fault;  // on the command, once for CTRL, else five times
        DWORD command;
        std::vector<UINT> denials;  // IDOK: the count-down runs out
        const char16_t* failure;
    } cases[] = {
        {{}, {}, 0, {}, nullptr},
        {[](CorvaneState& s) { s.denyControl = 1; }, {}, 0, {IDOK}, nullptr},
        {[](CorvaneState& s) {
             s.commitStatuses = {3, 0};
         },
         {},
         0,
         {},
         nullptr},
        {[](CorvaneState& s) { s.denyControl = 1; },
         {},
         0,
         {IDCANCEL},
         u"FAILED:  Kelvardin was denied exclusive control"},
        {[](CorvaneState& s) { s.commitStatuses = {2}; },
         {},
         0,
         {},
         u"FAILED:  EEPROM failure in Corvane"},
        {{},
         SimFault::Ctrl,
         kCmdOpenDownload,
         {},
         u"FAILED:  Kelvardin has lost exclusive control"},
        {{},
         SimFault::Nak,
         kCmdSetTrunkDefs,
         {},
         u"FAILED:  the operation was aborted by the user"},
        {{},
         SimFault::DropReply,
         kCmdSetTrunkDefs,
         {},
         u"FAILED:  lost communication with the Corvane"},
    };
    std::vector<UINT> beeps;
    env.SetBeepListener([&](UINT type) { beeps.push_back(type); });
    BOOL fixed = TRUE;
    for (const auto& c : cases) {
        const CString failure = c.failure ? c.failure : u"";
        SCOPED_TRACE(ToQString(failure).toStdString());
        ASSERT_TRUE(Idle());
        for (int trunk : {2, 40, 80})
            doc.SetTrunkFixed(fixed, TRUE, trunk);
        fixed = !fixed;
        if (c.state) sim.ChangeState(c.state);
        // A send given up with the link lost is never reported ended.
        const size_t finishes = c.fault == SimFault::DropReply ? 0 : 1;
        if (c.fault) sim.InjectFault(*c.fault, c.fault == SimFault::Ctrl ? 1 : 5, c.command);
        Expect(
            "dlg158",
            [&](QDialog& dlg) {
                EXPECT_EQ(dlg.windowTitle(), "Send Progress");
                EXPECT_EQ(dlg.findChild<QLabel*>("ctl1044")->text(),
                          "Please wait while the changes are being sent to the Corvane.");
                if (!c.failure) return;
                EXPECT_EQ(Status(dlg), ToQString(failure));
                EXPECT_EQ(Button(dlg)->text(), "OK");
                EXPECT_TRUE(Button(dlg)->isVisible() && Button(dlg)->isEnabled());
            },
            finishes);
        for (UINT denial : c.denials) {
            script.ExpectDialog("dlg169", [denial](QDialog& retry) {
                EXPECT_EQ(retry.findChild<QLabel*>("ctl1061")->text(),
                          "Trying again in 10 seconds...");
                if (denial == IDCANCEL) retry.findChild<QPushButton*>("ctl2")->click();
                EXPECT_TRUE(QTest::qWaitFor([&] { return !retry.isVisible(); }, kPatienceMs));
                return 0;
            });
        }
        EXPECT_EQ(RunSend(), c.failure ? IDCANCEL : IDOK);
        // Once failed, the dialog stays open when the link reports the end.
        EXPECT_EQ(frame->finishAnswers, std::vector<LRESULT>(finishes, c.failure ? 1 : 0));
        EXPECT_EQ(doc.FindModifiedTrunk(), c.failure ? 2 : -1);
    }
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONSTOP, MB_ICONSTOP}));
}

TEST_F(ProgressDialogTest, TheBarFollowsTheQueueAndCancelReleasesControl) {
    for (int trunk : {2, 40, 80})
        doc.SetTrunkFixed(TRUE, TRUE, trunk);
    struct Seen {
        UINT message;
        QString status;
        bool button;
        int value, maximum;
    };
    std::vector<Seen> seen;
    frame->afterRelay = [&](UINT message, QDialog& dlg) {
        seen.push_back({message, Status(dlg), Button(dlg)->isVisible(), Bar(dlg)->value(),
                        Bar(dlg)->maximum()});
    };
    Expect("dlg158", {});
    ASSERT_EQ(RunSend(), IDOK);
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(seen.front().status, "Initializing...");
    const auto progress = std::find_if(
        seen.begin(), seen.end(), [](const Seen& s) { return s.message == WM_LINK_SEND_PROGRESS; });
    ASSERT_NE(progress, seen.end());
    EXPECT_EQ(std::prev(progress)->status, "Sending Changes...");
    EXPECT_EQ(progress->value, 1);
    const Seen& sent = seen[seen.size() - 2];
    EXPECT_EQ(sent.message, WM_LINK_QUEUE_SENT);
    EXPECT_EQ(sent.status, "Waiting...");
    EXPECT_FALSE(sent.button);
    EXPECT_EQ(sent.value, sent.maximum);

    // Cancel as soon as the queue is filled: no change goes out, control is released, the
    // changes stay.
    doc.SetTrunkFixed(FALSE, TRUE, 2);
    ASSERT_TRUE(Idle());
    const CorvaneState before = Controller();
    frame->afterRelay = [](UINT message, QDialog& dlg) {
        if (message == WM_LINK_QUEUE_FILLED) Button(dlg)->click();
    };
    Expect("dlg158", {});
    EXPECT_EQ(RunSend(), IDCANCEL);
    ASSERT_TRUE(Idle());
    EXPECT_EQ(Controller().setRequests.size(), before.setRequests.size());
    EXPECT_EQ(Controller().releases, before.releases + 1);
    EXPECT_EQ(doc.FindModifiedTrunk(), 2);
}

TEST_F(ProgressDialogTest, AnUploadEndsFailsOrIsCancelled) {
    auto runUpload = [&] {
        link.StartUpload();
        CDlgSaveAsOnlineProgress dlg;
        frame->operation = &dlg;
        const int result = dlg.DoModal();
        frame->operation = nullptr;
        if (result == IDOK) {
            EXPECT_EQ(Bar(dlg)->value(), Bar(dlg)->maximum());
        }
        link.ClearPendingRequests();
        return result;
    };
    std::vector<int> shown;
    frame->afterRelay = [&](UINT, QDialog& dlg) { shown.push_back(Bar(dlg)->value()); };
    Expect("dlg155", [](QDialog& dlg) { EXPECT_EQ(dlg.windowTitle(), "Uploading..."); });
    EXPECT_EQ(runUpload(), IDOK);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));

    ASSERT_TRUE(Idle());
    frame->afterRelay = {};
    script.ExpectDialog("dlg155", [](QDialog& dlg) {
        Button(dlg)->click();
        return 0;
    });
    EXPECT_EQ(runUpload(), IDCANCEL);

    ASSERT_TRUE(Idle());
    sim.InjectFault(SimFault::DropReply, 5, kCmdTrunkDefs);
    Expect(
        "dlg155",
        [](QDialog& dlg) {
            EXPECT_EQ(Status(dlg), "FAILED:  lost communication with the Corvane");
            EXPECT_EQ(Button(dlg)->text(), "OK");
            EXPECT_EQ(Bar(dlg)->value(), 0);
        },
        0);
    EXPECT_EQ(runUpload(), IDCANCEL);
}

TEST_F(ProgressDialogTest, TheStatusWindowFollowsTheCountersAndResetZeroesThem) {
    QPointer<CDlgCommStatus> open;
    CDlgCommStatus* status = CDlgCommStatus::Show(open, nullptr);
    EXPECT_EQ(CDlgCommStatus::Show(open, nullptr), status);
    auto* list = status->findChild<CKelvardinListCtrl*>("ctl1056");
    ASSERT_EQ(list->GetItemCount(), CDlgCommStatus::kRows);
    EXPECT_EQ(list->GetItemText(9, 0), u"Disconnects");
    auto shown = [&](int row) { return ToQString(list->GetItemText(row, 1)).toInt(); };

    QTest::qWait(30);
    const int before = shown(CLinkEngine::kTxOk);
    doc.SetTrunkFixed(TRUE, TRUE, 7);
    Expect("dlg158", {});
    ASSERT_EQ(RunSend(), IDOK);
    // 25, 4, the change, 3 and 26 at least.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown(CLinkEngine::kTxOk) >= before + 5; }, 5000));

    app.m_nDisconnects = 3;
    status->findChild<QPushButton*>("ctl1057")->click();
    // The engine may have written one poll since.
    EXPECT_LE(shown(CLinkEngine::kTxOk), 1);
    EXPECT_EQ(shown(9), 0);

    link.Disconnect();
    app.m_nDisconnects = 2;
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown(9) == 2; }, 5000));
    for (int row = 0; row < CLinkEngine::kCounterCount; ++row)
        EXPECT_EQ(shown(row), 0) << row;
    status->findChild<QPushButton*>("ctl1057")->click();
    EXPECT_EQ(shown(9), 0);

    QTest::keyClick(status, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return open.isNull(); }, 5000));
}

}  // namespace

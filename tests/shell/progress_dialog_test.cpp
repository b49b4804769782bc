#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <optional>

#include "link/command_codes.h"
#include "link/cv_data_send_all.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/link_dialogs/dlg_comm_status.h"
#include "shell/link_dialogs/dlg_save_as_online_progress.h"
#include "shell/link_dialogs/dlg_send_progress.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_udp_link.h"

namespace {

constexpr DWORD kPatienceMs = 20000;

QString Status(const QWidget& dlg) {
    return Ctl<QLabel>(dlg, 1045)->text();
}
// The status line and, while shown, the button.
QString Shown(const QWidget& dlg) {
    auto* button = Ctl<QPushButton>(dlg, IDCANCEL);
    return Status(dlg) + (button->isVisible() ? " [" + button->text() + "]" : "");
}

// Stands in for the main window: each of the link's progress messages goes to the running
// operation's dialog first, then the link gets the main window's answer. A lost link gives a
// running upload up. While held, the messages wait
// until the test's user is at the dialog, so that no dialog the link opens runs first.
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
    // Sees each progress message after the dialog, as the user would.
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
                if (dynamic_cast<CDlgSaveAsOnlineProgress*>(operation))
                    operation->OnLinkMessage(WM_LINK_UPLOAD_PROGRESS, WPARAM(LINK_UPLOAD_LOST), 0);
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
        const BOOL idle = PumpWaitingMessages(
            [&] {
                return app.GetMode() == CAppState::kModeOnline && link.GetLinkState() == kLinkUp &&
                       !link.IsSendRunning() && link.GetPendingTotal() == 0;
            },
            kPatienceMs);
        // The link posts its last word on a send as it turns idle: taken now, it cannot reach
        // the next send's dialog.
        QCoreApplication::processEvents();
        return idle != FALSE;
    }
    CorvaneState Controller() {
        CorvaneState state;
        sim.ChangeState([&](CorvaneState& s) { state = s; });
        return state;
    }
    // Runs the dialog as the running operation. The test's user waits until it has ended, or
    // shows a failure (and has answered the finish when one is due), then presses its button.
    template <class Dialog>
    int Run(Dialog& dlg, bool hold, size_t finishes = 1, std::function<void(QDialog&)> check = {}) {
        frame->finishAnswers.clear();
        frame->operation = &dlg;
        frame->hold = hold;
        script.ExpectDialog(dlg.objectName().toStdString(), [&](QDialog& shown) {
            frame->Release();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return !shown.isVisible() || (Status(shown).startsWith("FAILED") &&
                                                  frame->finishAnswers.size() >= finishes);
                },
                kPatienceMs));
            if (check) check(shown);
            // A failed dialog closes on Enter.
            if (shown.isVisible())
                QTest::keyClick(Ctl<QPushButton>(shown, IDCANCEL), Qt::Key_Return);
            return 0;
        });
        const int result = dlg.DoModal();
        frame->operation = nullptr;
        return result;
    }
    int RunSend(size_t finishes = 1, std::function<void(QDialog&)> check = {}) {
        CDlgSendProgress dlg(CLinkSession::Now(),
                             std::make_unique<CCVDataSendAll>([this] { return &doc; }), 2247, 2248);
        return Run(dlg, true, finishes, check);
    }

    CCVDataMgr& link = app.GetDataMgr();
    CKelvardinDoc doc;
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CModalScript script{env};
    CRelayFrame* frame;
};

TEST_F(ProgressDialogTest, ASendShowsHowItEndedAndOnlyASuccessClearsTheChanges) {
    const struct {
        const char16_t* reason = nullptr;  // of a failure
        bool cancel = false;               // as soon as the queue is filled
    } cases[] = {{}, {.cancel = true}, {u"EEPROM failure in Corvane"}};
    QStringList seen;
    BOOL fixed = TRUE;
    for (const auto& c : cases) {
        const QString failure = c.reason ? "FAILED:  " + ToQString(c.reason) : QString();
        SCOPED_TRACE(failure.toStdString() + (c.cancel ? "cancel" : ""));
        ASSERT_TRUE(Idle());
        for (int trunk : {2, 40, 80})
            doc.SetTrunkFixed(fixed, TRUE, trunk);
        fixed = !fixed;
        if (c.reason) sim.ChangeState([](CorvaneState& s) { s.commitStatuses = {2}; });
        seen.clear();
        frame->afterRelay = [&](UINT message, QDialog& dlg) {
            auto* bar = Ctl<QProgressBar>(dlg, 1040);
            seen << QStringLiteral("%1/%2 ").arg(bar->value()).arg(bar->maximum()) + Shown(dlg);
            // While the send runs, Enter on the button gives nothing up; a click does.
            if (message == WM_LINK_PULL)
                QTest::keyClick(Ctl<QPushButton>(dlg, IDCANCEL), Qt::Key_Return);
            if (c.cancel && message == WM_LINK_QUEUE_FILLED)
                Ctl<QPushButton>(dlg, IDCANCEL)->click();
        };
        const size_t releases = Controller().releases, sets = Controller().setRequests.size();
        const int result = RunSend(!c.cancel, [&](QDialog& dlg) {
            if (c.reason) {
                EXPECT_EQ(Shown(dlg), failure + " [OK]");
            }
        });
        EXPECT_EQ(result, c.reason || c.cancel ? IDCANCEL : IDOK);
        // Once failed, the dialog stays open when the link reports the end, and says so.
        EXPECT_EQ(frame->finishAnswers, std::vector<LRESULT>(!c.cancel, c.reason ? 1 : 0));
        EXPECT_EQ(doc.FindModifiedTrunk(), c.reason || c.cancel ? 2 : -1);
        if (c.cancel) {
            ASSERT_TRUE(Idle());
            EXPECT_EQ(Controller().setRequests.size(), sets);
            EXPECT_EQ(Controller().releases, releases + 1);
        }
        if (&c == cases) {
            EXPECT_EQ(
                seen,
                QStringList({"0/1 Initializing... [Cancel]", "0/1 Sending Changes... [Cancel]",
                             "1/2 Sending Changes... [Cancel]", "2/2 Sending Changes... [Cancel]",
                             "2/2 Waiting...", "2/2 Waiting..."}));
        }
    }
}

TEST_F(ProgressDialogTest, AnUploadEndsIsCancelledOrFails) {
    std::vector<int> shown;
    frame->afterRelay = [&](UINT, QDialog& dlg) {
        shown.push_back(Ctl<QProgressBar>(dlg, 1040)->value());
    };
    auto upload = [&](std::function<void(QDialog&)> check) {
        link.StartUpload();
        CDlgSaveAsOnlineProgress dlg;
        const int result = Run(dlg, false, 0, check);
        link.ClearPendingRequests();
        return result;
    };
    EXPECT_EQ(upload([](QDialog& dlg) {
                  auto* bar = Ctl<QProgressBar>(dlg, 1040);
                  EXPECT_EQ(bar->value(), bar->maximum());
              }),
              IDOK);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));

    ASSERT_TRUE(Idle());
    link.StartUpload();
    CDlgSaveAsOnlineProgress cancelled;
    frame->operation = &cancelled;
    frame->hold = true;  // the user cancels before the first progress shows
    script.ExpectDialog("dlg155", [&](QDialog& dlg) {
        Ctl<QPushButton>(dlg, IDCANCEL)->click();
        // The upload's end, come before the dialog's loop has ended, leaves the cancel.
        cancelled.OnLinkMessage(WM_LINK_UPLOAD_PROGRESS, 1, 0);
        return 0;
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    frame->operation = nullptr;
    frame->Release();
    link.ClearPendingRequests();

    ASSERT_TRUE(Idle());
    sim.InjectFault(SimFault::DropReply, 5, kCmdTrunkDefs);
    EXPECT_EQ(upload([](QDialog& dlg) {
                  EXPECT_EQ(Status(dlg), "FAILED:  lost communication with the Corvane");
                  EXPECT_EQ(Ctl<QPushButton>(dlg, IDCANCEL)->text(), "OK");
                  EXPECT_EQ(Ctl<QProgressBar>(dlg, 1040)->value(), 0);
              }),
              IDCANCEL);
}

TEST_F(ProgressDialogTest, TheStatusWindowFollowsTheCountersAndResetZeroesThem) {
    QPointer<CDlgCommStatus> open;
    CDlgCommStatus* status = CDlgCommStatus::Show(open, nullptr);
    EXPECT_EQ(CDlgCommStatus::Show(open, nullptr), status);
    auto* list = Ctl<CKelvardinListCtrl>(*status, 1056);
    ASSERT_EQ(list->GetItemCount(), CDlgCommStatus::kRows);
    EXPECT_EQ(list->GetItemText(9, 0), u"Disconnects");
    EXPECT_GE(list->columnWidth(1), list->fontMetrics().horizontalAdvance(QStringLiteral("Value")));
    auto shown = [&](int row) { return ToQString(list->GetItemText(row, 1)).toInt(); };

    const int before = shown(CLinkEngine::kTxOk);
    doc.SetTrunkFixed(TRUE, TRUE, 7);
    ASSERT_EQ(RunSend(1,
                      [](QDialog& dlg) {
                          EXPECT_EQ(
                              dlg.windowTitle() + ": " + Ctl<QLabel>(dlg, 1044)->text(),
                              "Send Progress: Please wait while the changes are being sent to the "
                              "Corvane.");
                      }),
              IDOK);
    // 25, 4, the change, 3 and 26 at least.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown(CLinkEngine::kTxOk) >= before + 5; }, 5000));
    app.m_nDisconnects = 3;
    Ctl<QPushButton>(*status, 1057)->click();
    EXPECT_LE(shown(CLinkEngine::kTxOk), 1);  // the engine may have written a poll since
    EXPECT_EQ(shown(9), 0);

    // Without a link the engine's rows read 0, and Reset still zeroes the disconnects.
    link.Disconnect();
    app.m_nDisconnects = 2;
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown(9) == 2; }, 5000));
    for (int row = 0; row < CLinkEngine::kCounterCount; ++row)
        EXPECT_EQ(shown(row), 0) << row;
    Ctl<QPushButton>(*status, 1057)->click();
    EXPECT_EQ(shown(9), 0);
    // A send that cannot start says so at once.
    EXPECT_EQ(
        RunSend(0, [](QDialog& dlg) { EXPECT_EQ(Shown(dlg), "FAILED:  reason unknown [OK]"); }),
        IDCANCEL);
    QTest::keyClick(status, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return open.isNull(); }, 5000));
}

}  // namespace

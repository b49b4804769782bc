#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "link/command_codes.h"
#include "link/cv_data_send_all.h"
#include "link/maint_mode_send_all.h"
#include "model/partial_save_selection.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "shell/io/setup_file_drivers.h"
#include "shell/link_dialogs/dlg_send_progress.h"
#include "shell/main_frame/main_frame_window.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_udp_link.h"

namespace {

constexpr DWORD kPatienceMs = 30000;
// Long enough for the window to have heard a notice posted.
constexpr DWORD kNoticeMs = 100;

bool Until(const std::function<bool()>& done) {
    return PumpWaitingMessages(done, kPatienceMs) != FALSE;
}
QString Text(const QWidget& dlg, int id) {
    return dlg.findChild<QLabel*>(QStringLiteral("ctl%1").arg(id))->text();
}
void Click(const QWidget& dlg, int id) {
    dlg.findChild<QAbstractButton*>(QStringLiteral("ctl%1").arg(id))->click();
}
bool Closes(const QWidget& dlg) {
    return QTest::qWaitFor([&] { return !dlg.isVisible(); }, kPatienceMs);
}

// The one screen takes the Error Information command before the window would show it.
int g_errorInfos = 0;
struct CErrorInfoView : CView {
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override {
        g_errorInfos += id == ID_ERROR_INFO && !update;
        return id == ID_ERROR_INFO;
    }
};
CScreenTable OneScreen() {
    CScreenTable table = ScreenTable();
    for (CScreenDesc& screen : table)
        screen.createView = screen.createPane = nullptr;
    table[1].createView = [](CMainFrame&, QWidget* parent) -> std::unique_ptr<CView> {
        auto view = std::make_unique<CErrorInfoView>();
        view->Create(WS_CHILD, CRect(0, 0, 100, 100), parent, 0);
        return view;
    };
    return table;
}

// The main window over the simulated controller on the network, ten times faster.
class LinkEventsTest : public ShellTest {
protected:
    LinkEventsTest() {
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 300;
        timing.engineWaitMs = timing.nakRetryPauseMs = 100;
        timing.pollIntervalMs = 500;
        link.SetTiming(timing);
        app.SetPeerPort(peer.Port());
        app.SetMainFrame(std::unique_ptr<IMainFrame>(frame = new CMainFrame(app, screens)));
        env.SetTimeScale(0.1);
    }
    ~LinkEventsTest() override { link.Disconnect(); }

    // Connecting once the controller answers, as the Connect command does.
    bool Online() {
        if (!link.IsConnected() && !app.OpenComm(u"net:", 38400, u"127.0.0.1", u"")) return false;
        if (app.GetMode() != CAppState::kModeOnline) {
            if (!Until([&] { return link.GetLinkState() == kLinkUp; })) return false;
            app.SetMode(CAppState::kModeConnecting);
        }
        const bool idle = Until([&] {
            return app.GetMode() == CAppState::kModeOnline && link.GetLinkState() == kLinkUp &&
                   !link.IsSendRunning() && link.GetPendingTotal() == 0;
        });
        // The link posts its last word on a send as it turns idle: taken now, it cannot reach
        // the next send's dialog.
        QCoreApplication::processEvents();
        return idle;
    }
    size_t Requests(unsigned command) const {
        const auto all = sim.Requests();
        return size_t(std::count_if(all.begin(), all.end(),
                                    [&](const SimFrame& f) { return f.command == command; }));
    }
    // Trunk 3 changed, then sent as the running operation; the user waits until the send ends
    // or has failed. The dialog the send brings up comes after it.
    int Send(QString& shown, const char* nested, CModalScript::DialogAction action,
             bool maintenance = false) {
        Doc().SetTrunkFixed(!Doc().GetTrunkFixed(3), TRUE, 3);
        std::unique_ptr<CSendAll> source = std::make_unique<CCVDataSendAll>([&] { return &Doc(); });
        if (maintenance) {
            link.SendMaintMode(CLinkSession::Now(), 8);
            source = std::make_unique<CMaintModeSendAll>(link);
        }
        CDlgSendProgress dlg(CLinkSession::Now(), std::move(source), 2247, 2248, frame);
        script.ExpectDialog("dlg158", [&](QDialog& d) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return !d.isVisible() || Text(d, 1045).startsWith("FAILED"); }, kPatienceMs));
            shown = Text(d, 1045);
            if (d.isVisible()) Click(d, IDCANCEL);
            return 0;
        });
        if (nested) script.ExpectDialog(nested, std::move(action));
        return frame->RunOperation(dlg);
    }
    CKelvardinDoc& Doc() { return *frame->GetActiveDocument(); }

    const CScreenTable screens = OneScreen();
    CMainFrame* frame = nullptr;
    CCVDataMgr& link = app.GetDataMgr();
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CModalScript script{env};
};

TEST_F(LinkEventsTest, ALostControllerIsWaitedForUntilItAnswersOrTheUserTakesFileMode) {
    for (bool comesBack : {true, false}) {
        ASSERT_TRUE(Online());
        const int disconnects = app.m_nDisconnects;
        QString before, after;
        script.ExpectDialog("dlg173", [&](QDialog& dlg) {
            before = Text(dlg, 175);
            EXPECT_EQ(app.m_nDisconnects, disconnects + 1);
            // Told of over the dialog, a command not done is named once the dialog is over,
            // and the next one is told of too.
            link.NoteUndone(CUndoneCommand{CUndoneCommand::kClearIcomErrors});
            PumpWaitingMessages([] { return false; }, kNoticeMs);
            if (comesBack) sim.ChangeState([](CorvaneState& s) { s.silent = false; });
            // Cancel is the one button while the link is down: Enter never says it is back.
            if (!comesBack) QTest::keyClick(&dlg, Qt::Key_Return);
            EXPECT_TRUE(Closes(dlg));
            after = Text(dlg, 175);
            return 0;
        });
        script.ExpectMessageBox(u"been done:\n\nClear Communication Errors\n", IDOK, [&] {
            EXPECT_FALSE(after.isEmpty()) << "shown while the dialog was open";
        });
        sim.ChangeState([](CorvaneState& s) { s.silent = true; });
        ASSERT_TRUE(Until([&] { return !after.isEmpty() && script.AllAnswered(); }));
        EXPECT_EQ(before, ToQString(LoadResString(2433)));
        EXPECT_EQ(after, ToQString(LoadResString(comesBack ? 2367 : 2433)));
        EXPECT_EQ(app.GetMode(), comesBack ? CAppState::kModeOnline : CAppState::kModeFile);
        EXPECT_EQ(frame->windowTitle() == "Kelvardin - [Untitled]", !comesBack);
        sim.ChangeState([](CorvaneState& s) { s.silent = false; });
    }
    // A menu of the menu bar, opened with the mouse, is waited for as well: the box would close
    // it. It comes once the menu has closed.
    frame->show();
    QMenuBar* bar = frame->menuBar();
    QAction* first = bar->actions().front();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(first).center());
    const QMenu* menu = first->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, kPatienceMs));
    script.ExpectMessageBox(u"been done:\n\nClear Communication Errors\n", IDOK,
                            [&] { EXPECT_FALSE(menu->isVisible()) << "shown over the open menu"; });
    link.NoteUndone(CUndoneCommand{CUndoneCommand::kClearIcomErrors});
    PumpWaitingMessages([] { return false; }, kNoticeMs);
    EXPECT_FALSE(script.AllAnswered());
    QWidget* open = QApplication::activePopupWidget();
    ASSERT_NE(open, nullptr);
    QTest::keyClick(open, Qt::Key_Escape);
    EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));

    // A reply for a session the controller forgot sets a new one up, without a word.
    ASSERT_TRUE(Online());
    const size_t sessions = Requests(kCmdOpenSession);
    sim.ChangeState([](CorvaneState& s) { s.sessions.clear(); });
    EXPECT_TRUE(Until([&] { return Requests(kCmdOpenSession) > sessions; }));
    EXPECT_TRUE(Online());
}

// The controller refuses the session while the user, leaving the lost controller, is asked about
// the unsent changes or saves them. The link has left for FILE mode meanwhile: whatever the
// answer, the setup and its changes stay, untitled, and a save given up asks nothing more.
TEST_F(LinkEventsTest, ASessionRefusedWhileLeavingALostControllerEndsTheWaitWithTheChanges) {
    const auto refuse = [&] {
        sim.ChangeState([](CorvaneState& s) {
            s.sessions.clear();
            s.refuseSessions = true;
            s.silent = false;
        });
        EXPECT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeFile; }));
    };
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        SCOPED_TRACE(answer);
        if (answer != IDYES) {
            sim.ChangeState([](CorvaneState& s) { s.refuseSessions = false; });
            script.ExpectMessageBox(u"You are about to enter ONLINE mode.", IDOK);
            frame->OnCommand(ID_CONNECT);
        }
        ASSERT_TRUE(Online());
        app.SetSetupDirectory(FromQString(dir.path()));
        Doc().SetTrunkFixed(!Doc().GetTrunkFixed(3), TRUE, 3);
        const std::u16string question =
            u"There are changes that have not been sent to the Corvane;";
        script.ExpectDialog("dlg173", [](QDialog& dlg) {
            Click(dlg, IDCANCEL);
            return 0;
        });
        if (answer == IDYES) {
            script.ExpectMessageBox(question, IDYES);
            script.ExpectDialog("FileSave", [&](QDialog& dlg) {
                refuse();
                dlg.reject();
                return IDCANCEL;
            });
        } else {
            script.ExpectMessageBox(question, answer, refuse);
        }
        script.ExpectMessageBox(u"Could not establish an ethernet connection", IDOK);
        sim.ChangeState([](CorvaneState& s) { s.silent = true; });
        ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
        PumpWaitingMessages([] { return false; }, 200);
        EXPECT_EQ(frame->windowTitle(), "Kelvardin - [Untitled]");
        EXPECT_EQ(Doc().FindModifiedTrunk(), 3);
        sim.ChangeState([](CorvaneState& s) { s.silent = false; });
        frame->UpdateCommandUI();
    }
}

TEST_F(LinkEventsTest, LeavingALostControllerWithUnsentChangesAsksAndMaySaveThemFirst) {
    ASSERT_TRUE(Online());
    app.SetSetupDirectory(FromQString(dir.path()));
    const QString saved = dir.filePath("unsent.kvd");
    Doc().SetTrunkFixed(!Doc().GetTrunkFixed(3), TRUE, 3);
    const auto cancel = [](QDialog& dlg) {
        Click(dlg, IDCANCEL);
        return 0;
    };
    const std::u16string question = u"There are changes that have not been sent to the Corvane;";
    // Cancel at the question: back to waiting, still ONLINE with the changes.
    script.ExpectDialog("dlg173", cancel);
    script.ExpectMessageBox(question, IDCANCEL);
    script.ExpectDialog("dlg173", [&](QDialog& dlg) {
        EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
        EXPECT_TRUE(Doc().HasModifications());
        return cancel(dlg);
    });
    // A save given up asks again; the one made lets the setup go.
    script.ExpectMessageBox(question, IDYES);
    script.ExpectDialog("FileSave", [](QDialog& dlg) {
        dlg.reject();
        return IDCANCEL;
    });
    script.ExpectMessageBox(question, IDYES);
    script.ExpectDialog("FileSave", [&](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "Partial Save (Online setup)");
        static_cast<QFileDialog&>(dlg).selectFile(saved);
        dlg.accept();
        return IDOK;
    });
    sim.ChangeState([](CorvaneState& s) { s.silent = true; });
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeFile; }));
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(frame->windowTitle(), "Kelvardin - [Untitled]");
    EXPECT_FALSE(Doc().HasModifications());

    // The file holds the changed trunk alone; loaded, it is a change again.
    CPartialSaveSelection held;
    ASSERT_EQ(ReadSetupFileContents(FromQString(saved), held), 1);
    const CBitArray& trunks = *held.GetSectionSet(CObjSpec::kTrunk);
    EXPECT_EQ(trunks.FindNext(0), 3);
    EXPECT_EQ(trunks.FindNext(4), -1);
    EXPECT_EQ(held.GetSectionSet(CObjSpec::kIntercom)->FindNext(0), -1);
    const BOOL fixed = Doc().GetTrunkFixed(3);
    ASSERT_EQ(LoadSetupFile(Doc(), FromQString(saved), 1, held), 1);
    EXPECT_NE(Doc().GetTrunkFixed(3), fixed);
    EXPECT_GE(Doc().FindModifiedTrunk(), 0);
    sim.ChangeState([](CorvaneState& s) { s.silent = false; });
}

TEST_F(LinkEventsTest, RefusalsDuringASendAreAnsweredByTheUserOrTheCountDown) {
    // A button of 0: the count-down runs out.
    const struct {
        const char* dialog;
        int button;
        const char* ending;
    } cases[] = {
        {"dlg170", 0, "Waiting..."},
        {"dlg170", IDCANCEL, "Waiting..."},  // Ignore: go on without it
        {"dlg170", IDOK, "FAILED:  the operation was aborted by the user"},
        {"dlg169", IDOK, "Waiting..."},
        {"dlg169", IDCANCEL, "FAILED:  Kelvardin was denied exclusive control"},
        {nullptr, 0, "Waiting..."},  // trunk modes, which leave the setup's changes marked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ending);
        ASSERT_TRUE(Online());
        const bool nak = c.dialog && QString(c.dialog) == "dlg170";
        if (nak) sim.InjectFault(SimFault::Nak, 5, kCmdSetTrunkDefs);
        if (c.dialog && !nak) sim.ChangeState([](CorvaneState& s) { s.denyControl = 1; });
        QString question, shown;
        const int result = Send(
            shown, c.dialog,
            [&](QDialog& dlg) {
                if (nak) question = Text(dlg, 1062);
                if (c.button) Click(dlg, c.button);
                EXPECT_TRUE(Closes(dlg));
                return 0;
            },
            !c.dialog);
        const bool failed = QString(c.ending).startsWith("FAILED");
        EXPECT_EQ(result, failed ? IDCANCEL : IDOK);
        EXPECT_EQ(shown, c.ending);
        EXPECT_EQ(Doc().FindModifiedTrunk() == 3, failed || !c.dialog);
        EXPECT_EQ(question.section(QChar(10), 0, 0),
                  nak ? "A NAK was received for message type 9 (0x09)." : "");
        Doc().ClearAllChanges();
    }
}

// The controller forgets the session in the middle of a send: the send ends at once as lost
// communication rather than waiting for an answer that cannot come.
TEST_F(LinkEventsTest, ASessionLostDuringASendEndsItAsLostCommunication) {
    ASSERT_TRUE(Online());
    sim.SetHandler(kCmdSetTrunkDefs, [](CorvaneState& s, const SimFrame& request) {
        s.sessions.clear();
        return std::optional(SimReplyTo(request));
    });
    const size_t standbyQueries = Requests(kCmdStandbyAddress);
    const size_t sessions = Requests(kCmdOpenSession);
    QString shown;
    EXPECT_EQ(Send(shown, nullptr, {}), IDCANCEL);
    EXPECT_EQ(shown.toStdString(), "FAILED:  lost communication with the Corvane");
    EXPECT_EQ(Doc().FindModifiedTrunk(), 3);
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(Until([&] { return Requests(kCmdOpenSession) > sessions; }));
    EXPECT_TRUE(Online());
    // The new session asks for the standby's address. An idle link has taken the question
    // from its queue, but the controller may not have read it yet: it is waited for.
    EXPECT_TRUE(Until([&] { return Requests(kCmdStandbyAddress) > standbyQueries; }));
}

// The link engine waits for the answer to a refusal; should the link close or the program end
// meanwhile, the question goes away at once, answered "go on", and nothing waits for anyone.
TEST_F(LinkEventsTest, ClosingTheLinkOrTheProgramWithdrawsTheNakQuestion) {
    for (bool quit : {false, true}) {
        ASSERT_TRUE(Online());
        sim.InjectFault(SimFault::Nak, 5, kCmdSetTrunkDefs);
        const size_t sets = Requests(kCmdSetTrunkDefs);
        int answer = -1;
        QString shown;
        Send(shown, "dlg170", [&](QDialog& dlg) {
            if (quit) script.ExpectMessageBox(u"not been sent to the Corvane", IDNO);
            quit ? void(frame->close()) : link.Disconnect();
            EXPECT_TRUE(Closes(dlg));
            answer = dlg.result();
            // Without a link the send goes nowhere.
            if (!quit) frame->findChild<QDialog*>("dlg158")->reject();
            return 0;
        });
        EXPECT_EQ(answer, 0);
        EXPECT_EQ(Requests(kCmdSetTrunkDefs), sets + 5);  // never sent again
    }
    app.ExitInstance();
}

TEST_F(LinkEventsTest, TheControllersWarningsShowUntilSuppressedAndAFailedConnectEndsInFileMode) {
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int error;
        const char16_t* text;
    } warnings[] = {
        {WM_LINK_ICOM_WARNING, 4, 0, 34, u"visible to intercom #5.\n"},
        {WM_LINK_TRUNK_WARNING, 11, 0, 35, u"Trunk #12 specifies"},
        {WM_LINK_LOG_ELSEWHERE, 0x100, 0, 36, u"connected via the serial port."},
        {WM_LINK_LOG_ELSEWHERE, 1, 0x0A010203, 36, u"at IP address 10.1.2.3.\n"},
    };
    std::vector<UINT> beeps;
    env.SetBeepListener([&](UINT type) { beeps.push_back(type); });
    for (const auto& w : warnings) {
        g_errorInfos = 0;
        frame->WindowProc(w.message, w.wParam, w.lParam);
        EXPECT_TRUE(Until([] { return g_errorInfos == 1; }));
        EXPECT_EQ(app.m_nLastError, w.error);
        EXPECT_NE(app.GetValidationErrorText().str().find(w.text), std::u16string::npos);
        // Once the user ticked "Suppress this message" only the bell rings.
        app.SetErrorSuppressed(w.error, true);
        frame->WindowProc(w.message, w.wParam, w.lParam);
        PumpWaitingMessages([] { return false; }, 50);
        EXPECT_EQ(g_errorInfos, 1);
        EXPECT_EQ(std::exchange(beeps, {}), std::vector<UINT>{MB_ICONSTOP});
        app.SetErrorSuppressed(w.error, false);
    }

    // A link that never came up: the message, then FILE mode.
    script.ExpectMessageBox(u"Unable to contact a Corvane, entering FILE mode.", IDOK);
    app.SetMode(CAppState::kModeConnecting);
    EXPECT_EQ(frame->WindowProc(WM_LINK_ERROR, 3, 0), 0);
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
}

TEST_F(LinkEventsTest, AFailedConnectAsksBeforeItDropsChangesMadeMeanwhile) {
    for (int answer : {IDCANCEL, IDNO}) {
        Doc().SetTrunkFixed(!Doc().GetTrunkFixed(3), TRUE, 3);
        script.ExpectMessageBox(u"Unable to contact a Corvane, entering FILE mode.", IDOK);
        script.ExpectMessageBox(u"There are changes that have not been sent", answer);
        app.SetMode(CAppState::kModeConnecting);
        frame->WindowProc(WM_LINK_ERROR, 3, 0);
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
        // Kept, they are an untitled setup's changes; let go, the setup is the default one.
        EXPECT_EQ(Doc().FindModifiedTrunk() == 3, answer == IDCANCEL) << answer;
        EXPECT_EQ(frame->windowTitle(), "Kelvardin - [Untitled]");
    }
}

}  // namespace

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "link/command_codes.h"
#include "link/device_comm.h"
#include "link/link_messages.h"
#include "model/snmp_config.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/ui_environment.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_ids.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "screens/memory/memory_dump_view.h"
#include "screens/memory/memory_filter_view.h"
#include "screens/popups/cool_edit.h"
#include "screens/popups/popup_list.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/nav/kelvardin_nav_view.h"
#include "shell/nav/nav_palette_group.h"
#include "shell/sheets/kelvardin_sheet.h"
#include "shell/sheets/partial_save_sheet.h"
#include "shell/sheets/preferences_sheet.h"
#include "shell/sheets/ps_list_drag_page.h"
#include "tests/shell/program_fixture.h"
#include "tests/sim/sim_handlers.h"
#include "tests/sim/sim_serial_link.h"
#include "tests/sim/sim_udp_link.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/file_size_limit.h"

namespace {

// The program against the simulated controller on a free UDP port.
class OnlineTest : public ProgramTest {
protected:
    OnlineTest() {
        startLater = true;
        app.SetPeerPort(peer.Port());
    }
    ~OnlineTest() override { app.ExitInstance(); }

    // Starts the program, which connects at once to a controller of twelve named intercoms.
    void Connect(std::uint8_t flags = 0x04 | 0x08 | 0x40,
                 std::uint32_t capabilities = SimSetup().capabilities) {
        sim.ChangeState([flags, capabilities](CorvaneState& state) {
            SimSetup setup;
            setup.flags = flags;
            setup.capabilities = capabilities;
            for (int i = 0; i < setup.intercoms; ++i)
                setup.names[i] = {"IC" + std::to_string(10 + i), "ICOM", "INTERCOM", "NAME"};
            state.UseSetup(setup);
        });
        Start(u"NET:", true);
        ASSERT_TRUE(Until([&] { return !Name(11).IsEmpty(); }));
    }
    // The codes of the requests the controller saw from the index on, of those given.
    std::vector<unsigned> Seen(size_t from, const std::set<unsigned>& codes) {
        std::vector<unsigned> seen;
        for (const std::vector<SimFrame> frames = sim.Requests(); from < frames.size(); ++from) {
            if (codes.contains(frames[from].command)) seen.push_back(frames[from].command);
        }
        return seen;
    }
    // The link asks for the names again: it is not paused.
    bool Polls() {
        const size_t from = sim.Requests().size();
        frame->OnCommand(ID_REFRESH_ALPHAS);
        return Until([&] { return !Seen(from, {kCmdNames}).empty(); });
    }
    // A progress dialog left to run: it ends by itself, or shows a failure, which is read and
    // then closed as the user would.
    static CModalScript::DialogAction RunToEnd(QString& failure) {
        return [&failure](QDialog& dialog) {
            const auto* text = dialog.findChild<QLabel*>("ctl1045");
            const auto failed = [text] { return text->text().startsWith("FAILED"); };
            Until([&] { return !dialog.isVisible() || failed(); });
            failure = failed() ? text->text() : QString();
            if (dialog.isVisible()) dialog.reject();
            return IDCANCEL;
        };
    }
    // The send list's rows, read as the user reads them, and the list answered.
    static CModalScript::DialogAction ReadRows(QStringList& rows, int answer) {
        return [&rows, answer](QDialog& dialog) {
            const auto* list = dialog.findChild<CKelvardinListCtrl*>("ctl1019");
            for (int row = 0; row < list->GetItemCount(); ++row)
                rows.push_back(
                    ToQString(list->GetItemText(row, 0) + u": " + list->GetItemText(row, 1)));
            return answer;
        };
    }
    // Send Changes through its list and progress dialog: the failure shown, if any.
    QString SendChanges(const std::function<void()>& during = {}) {
        QString failure;
        script.ExpectDialog("dlg160", Ok);
        script.ExpectDialog("dlg158", RunToEnd(failure));
        if (during) during();
        frame->OnCommand(ID_SEND_CHANGES);
        // No user is as quick as a script: the link's last word on a send comes before the
        // next command.
        Until([&] { return !app.GetDataMgr().IsSendRunning(); });
        QCoreApplication::processEvents();
        return failure;
    }

    // Saves the controller's setup as S.kvd and goes on in FILE mode with it.
    void SaveAndLeaveOnline() {
        QString failure;
        script.ExpectDialog("FileSave", Choose(Path("S.kvd"), "Save (Online setup)"));
        script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDNO);
        script.ExpectDialog("dlg155", RunToEnd(failure));
        frame->OnCommand(ID_FILE_SAVE);
    }

    // The memory screen shown with writes allowed, once its cells take typing.
    CMemoryDumpView& ShowMemory() {
        app.m_bAllowMemoryPoke = TRUE;
        frame->SwitchToView(kScreenMemory);
        auto* memory = dynamic_cast<CMemoryDumpView*>(frame->GetScreenView(kScreenMemory));
        EXPECT_NE(memory, nullptr);
        EXPECT_TRUE(Until([&] { return !MemoryCell(*memory).IsReadOnly(); }));
        return *memory;
    }
    // A processor chosen in the memory screen's selector, as a click in its list chooses it;
    // the standby is offered as it is once the link knows a standby controller.
    void ChooseProcessor(DWORD cpu) {
        auto& pane = dynamic_cast<CMemoryFilterView&>(*frame->GetCurrentPane());
        CPopupList& list = *pane.GetCpuEdit().GetPopupList();
        if (list.GetItemCount() < 2) list.InsertItem(-1, u"Standby", 1);
        pane.GetCpuEdit().SelectByData(cpu);
    }
    static CKelvardinGridCell& MemoryCell(CMemoryDumpView& memory) {
        return dynamic_cast<CKelvardinGridCell&>(*memory.GetGrid()->GetCell(0, 2));
    }
    // Exit, with OK to write the memory bytes, and a long wait for the writes: the window
    // shows, taking no command, while it waits, and something settles the writes well before
    // the wait runs out.
    // told: how the writes that did not go well are told, while the window still shows.
    void ExitBeforeTheWaitRunsOut(const char16_t* told = nullptr) {
        const DWORD waitMs = 600000;
        CLinkTiming timing = app.GetDataMgr().GetTiming();
        timing.memoryWritesWaitMs = waitMs;
        app.GetDataMgr().SetTiming(timing);
        script.ExpectMessageBox(u"There are changes to memory that have not been written.", IDOK);
        if (told) script.ExpectMessageBox(told, IDOK);
        // How the window looks each time the loop turns: shown, and taking commands.
        std::set<std::pair<bool, bool>> looks;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            looks.insert({frame->isVisible(), frame->isEnabled()});
        });
        watch.start(1);
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(frame->close());
        EXPECT_LT(clock.elapsed(), ScaledInterval(waitMs) / 2);
        EXPECT_EQ(looks, (std::set<std::pair<bool, bool>>{{true, false}}));
        EXPECT_FALSE(frame->isVisible());
    }

    CSimController sim{true};
    CSimUdpLink peer{sim};
};

TEST_F(OnlineTest, ConnectOverASerialLineAfterTheChangeQuestion) {
    CSimController serial{false};
    serial.ChangeState([](CorvaneState& state) {
        state.setup.names[0] = {"IC10", "ICOM", "INTERCOM", "NAME"};
    });
    CSimSerialLink line{serial};
    Start(CString::FromUtf8(line.DevicePath()));
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
    Rename(0, u"ALFA");
    for (int answer : {IDCANCEL, IDOK}) {
        script.ExpectMessageBox(u"You are about to enter ONLINE mode.", answer);
        frame->OnCommand(ID_CONNECT);
        EXPECT_EQ(app.GetMode(),
                  answer == IDOK ? CAppState::kModeConnecting : CAppState::kModeFile);
    }
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
    // The edit let go is no longer a change: the controller's name replaces it.
    EXPECT_FALSE(Doc().HasModifications());
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
    EXPECT_TRUE(Until([&] { return Name(0) == u"IC10"; })) << ToQString(Name(0)).toStdString();
}

TEST_F(OnlineTest, NoControllerARefusedSessionAndABadPortLeaveFileMode) {
    app.SetPeerPort(CSimUdpLink(sim).Port());  // a port nobody answers on
    script.ExpectMessageBox(u"Unable to contact a Corvane, entering FILE mode.", IDOK);
    Start(u"NET:", true);
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);

    app.SetPeerPort(peer.Port());
    sim.ChangeState([](CorvaneState& state) { state.refuseSessions = true; });
    script.ExpectMessageBox(u"Could not establish an ethernet connection to the Corvane.", IDOK);
    // The first link, still trying the silent port, may leave a last word in the window's
    // queue as it is closed; it is not the new link's and is not read as such.
    frame->GetLinkSink()->PostMessage(WM_LINK_ERROR, kLinkSetUp, 0);
    ASSERT_TRUE(app.OpenComm(u"NET:", 38400, u"127.0.0.1", u""));
    app.SetMode(CAppState::kModeConnecting);
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);

    script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
    EXPECT_FALSE(app.OpenComm(FromQString(Path("no-such-port")), 38400, u"", u""));
}

TEST_F(OnlineTest, PollingComesBackAfterEverySaveAndTheUploadedFileLoadsAndSends) {
    Connect();
    // Polling paused for a save resumes on every way out: the sheet, the picker, the
    // question and the upload given up.
    script.ExpectDialog("sheet2407", Cancel);
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    EXPECT_TRUE(Polls());
    script.ExpectDialog("FileSave", Cancel);
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(Polls());
    for (bool upload : {false, true}) {
        script.ExpectDialog("FileSave", Choose(Path("S.kvd"), "Save (Online setup)"));
        script.ExpectMessageBox(u"Do you wish to stay ONLINE after the upload is complete?",
                                upload ? IDYES : IDCANCEL);
        if (upload) script.ExpectDialog("dlg155", Cancel);
        frame->OnCommand(ID_FILE_SAVE);
        EXPECT_TRUE(Polls());
    }
    EXPECT_FALSE(QFile::exists(Path("S.kvd")));

    // The upload, then the file: it holds what the controller holds, and the edit not sent.
    QString failure;
    sim.ChangeState([](CorvaneState& state) { state.setup.records[{11, 0}] = {0, 42}; });
    Rename(1, u"ZULU");
    script.ExpectDialog("FileSave", Choose(Path("S.kvd"), "Save (Online setup)"));
    script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
    script.ExpectDialog("dlg155", RunToEnd(failure));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
    EXPECT_TRUE(Doc().HasModifications());
    CKelvardinDoc file;
    CPartialSaveSelection held;
    ASSERT_EQ(ReadSetupFileContents(FromQString(Path("S.kvd")), held), 1);
    ASSERT_EQ(LoadSetupFile(file, FromQString(Path("S.kvd")), 0, held), 1);
    EXPECT_EQ(file.GetAllocationTimeout(), 42u);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(file.GetObjectText(CIcomSpec(i, CIntercom::kFieldName)), Name(i));

    // Dropped changes, once the question is answered with OK; the file loaded marks them
    // again; Send File sends them.
    for (int answer : {IDCANCEL, IDOK}) {
        script.ExpectMessageBox(u"All changes that have not been sent to the Corvane will be lost.",
                                answer);
        frame->OnCommand(ID_ABORT_CHANGES);
        EXPECT_EQ(Doc().HasModifications(), answer == IDCANCEL);
    }
    script.ExpectDialog("FileOpen", Choose(Path("S.kvd"), "Load File"));
    script.ExpectDialog("dlg148", Ok);
    frame->OnCommand(ID_FILE_LOAD);
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));
    // Sent; the list cancelled: the setup as it was before, with the change made before; the
    // send failed: the file's differences stay marked, to be sent again.
    const auto marked = [&](int icom) {
        return Doc().IsModified(CIcomSpec(icom, CIntercom::kFieldName)) != 0;
    };
    for (int way : {IDOK, IDCANCEL, IDABORT}) {
        if (way == IDCANCEL) Rename(2, u"KEEP");
        if (way == IDABORT) Rename(1, u"OLD");
        script.ExpectMessageBox(u"You are about to send an existing file to the Corvane", IDOK);
        sim.ChangeState([way](CorvaneState& state) {
            if (way == IDABORT) state.commitStatuses = {2};
        });
        script.ExpectDialog("FileOpen", Choose(Path("S.kvd"), "Send"));
        script.ExpectDialog("dlg148", Ok);
        script.ExpectDialog("dlg160", way == IDCANCEL ? Cancel : Ok);
        if (way != IDCANCEL) script.ExpectDialog("dlg158", RunToEnd(failure));
        frame->OnCommand(ID_FILE_SEND);
        EXPECT_TRUE(script.AllAnswered()) << way;
        EXPECT_EQ(failure, way == IDABORT ? "FAILED:  EEPROM failure in Corvane" : "") << way;
        EXPECT_EQ(Doc().HasModifications(), way != IDOK) << way;
        EXPECT_EQ(marked(2) && Name(2) == u"KEEP", way == IDCANCEL) << way;
        EXPECT_EQ(marked(1) && Name(1) == u"ZULU", way == IDABORT) << way;
        EXPECT_EQ(frame->IsStackEmpty(IMainFrame::Stack::kUndo), way != IDCANCEL) << way;
        EXPECT_EQ(sim.Setup().names.at(1)[0], "ZULU") << way;
    }

    // Leaving: the controller hears the session end.
    script.ExpectMessageBox(u"There are changes that have not been sent", IDNO);
    EXPECT_TRUE(frame->close());
    app.ExitInstance();
    sim.ChangeState([](CorvaneState& state) { EXPECT_TRUE(state.sessions.empty()); });
}

// A memory write the closing link leaves unanswered may not have been done. The window shows,
// taking no command, while the exit waits for the write's answer; the link lost meanwhile gives
// the write back, which ends the wait, and offers no way back to the controller.
TEST_F(OnlineTest, AMemoryWriteTheClosingLinkLeavesUnansweredIsToldOfAtExit) {
    Connect();
    CMemoryDumpView& memory = ShowMemory();
    ASSERT_TRUE(MemoryCell(memory).SetValueText(u"bb"));
    sim.InjectFault(SimFault::DropReply, 1000, kCmdWriteMemory);
    // The lost link's report finds the program closing, the screen puts no write back, and the
    // write is told of before the window goes.
    ExitBeforeTheWaitRunsOut(
        u"The Corvane had not answered the changes to memory at 00000000 when");
    EXPECT_TRUE(script.AllAnswered());
    app.ExitInstance();
    EXPECT_TRUE(script.AllAnswered());
}

// A lost link shows no recovery while the exit asks; the exit given up, its next report does.
// A memory byte the lost link cannot write is offered to be let go with the program, and a
// write the controller refuses at exit ends the wait at once and is told of.
TEST_F(OnlineTest, AMemoryWriteRefusedAtExitIsToldAndAskingToExitHoldsTheLinkRecovery) {
    Connect();
    app.m_bConfirmExit = TRUE;
    CMemoryDumpView& memory = ShowMemory();
    ASSERT_TRUE(MemoryCell(memory).SetValueText(u"cc"));
    const std::u16string exit = u"You are about to exit the Kelvardin application.";
    const auto lose = [&] {
        sim.ChangeState([](CorvaneState& state) { state.silent = true; });
        EXPECT_TRUE(Until([&] { return app.m_nControllerPresent == 0; }));
    };
    const auto recover = [&](QDialog& dialog) {
        sim.ChangeState([](CorvaneState& state) { state.silent = false; });
        EXPECT_TRUE(Until([&] { return !dialog.isVisible(); }));
        return IDOK;
    };
    script.ExpectMessageBox(exit, IDOK, lose);
    script.ExpectMessageBox(u"There are changes to memory that cannot be written", IDCANCEL);
    script.ExpectDialog("dlg173", recover);
    EXPECT_FALSE(frame->close());
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(app.GetDataMgr().HasUnwrittenMemory());
    // Lost while the memory question is open, the write chosen cannot go: the exit asks
    // whether to let the bytes go, rather than giving up without a word or calling them kept.
    script.ExpectMessageBox(exit, IDOK);
    script.ExpectMessageBox(u"There are changes to memory that have not been written.", IDOK, lose);
    script.ExpectMessageBox(u"There are changes to memory that cannot be written", IDCANCEL);
    script.ExpectDialog("dlg173", recover);
    EXPECT_FALSE(frame->close());
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_TRUE(app.GetDataMgr().HasUnwrittenMemory());

    sim.InjectFault(SimFault::Nak, 1000, kCmdWriteMemory);
    script.ExpectMessageBox(exit, IDOK);
    ExitBeforeTheWaitRunsOut(u"The Corvane refused the changes to memory at 00000000:");
    EXPECT_TRUE(script.AllAnswered());
    app.ExitInstance();
    EXPECT_TRUE(script.AllAnswered());
}

// A byte typed on the processor no longer shown is asked about as any: with the link lost,
// choosing the other processor says it is kept, and Exit asks whether to let it go. A second
// close while that question is open asks nothing and closes nothing; Cancel stays, OK exits.
TEST_F(OnlineTest, AMemoryByteOfTheProcessorNotShownIsAskedAboutAtExit) {
    Connect();
    CMemoryDumpView& memory = ShowMemory();
    ASSERT_TRUE(MemoryCell(memory).SetValueText(u"dd"));
    script.ExpectDialog("dlg173", Cancel);
    sim.ChangeState([](CorvaneState& state) { state.silent = true; });
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeFile; }));
    script.ExpectMessageBox(u"The changes to memory could not be written", IDOK);
    ChooseProcessor(1);
    EXPECT_EQ(app.GetDataMgr().GetMemoryCpu(), 1);
    const std::u16string lost = u"There are changes to memory that cannot be written";
    script.ExpectMessageBox(lost, IDCANCEL, [&] {
        QCloseEvent again;
        QCoreApplication::sendEvent(frame, &again);
        EXPECT_FALSE(again.isAccepted());
    });
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    script.ExpectMessageBox(lost, IDOK);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(OnlineTest, LeavingOnlineForTheFileTheSetupCameFromShowsTheFileInTheTitle) {
    Connect();
    const QString file = Title().replace("[ONLINE]", "[" + Path("S.kvd") + "]");
    for (bool again : {false, true}) {
        if (again) {
            frame->OnCommand(ID_CONNECT);
            ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
            EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
        }
        QString failure;
        script.ExpectDialog("FileSave", Choose(Path("S.kvd"), "Save (Online setup)"));
        if (again) script.ExpectMessageBox(u"S.kvd already exists.", IDYES);
        script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDNO);
        script.ExpectDialog("dlg155", RunToEnd(failure));
        frame->OnCommand(ID_FILE_SAVE);
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
        EXPECT_EQ(Title(), file) << again;
    }
}

TEST_F(OnlineTest, TheMenusFollowTheControllersFeatures) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowMaintenanceMode", 1);
    const auto trunkMenu = [&] {
        QStringList items;
        for (QAction* menu : frame->menuBar()->actions()) {
            if (menu->text() != "&Trunk") continue;
            for (QAction* item : menu->menu()->actions())
                items.push_back(item->isSeparator() ? "-" : item->text());
        }
        return items.join('|');
    };
    const QString withMaintenance =
        "&Definitions|&Summary|&Inspect|Allocation &Options|-|&Clear Allocations...|-|"
        "Set &Maintenance Mode...|Clear Maintenance Mod&e...";
    const QString without = withMaintenance.section('|', 0, 5);
    // A first connection to a controller with trunk supervision: its items come.
    Connect();
    ASSERT_TRUE(Until([&] { return trunkMenu() == withMaintenance; })) << trunkMenu().toStdString();

    // The controller loses the feature: its items go, and the keys of the window stay
    // there once.
    sim.ChangeState([](CorvaneState& state) {
        SimSetup setup = state.setup;
        setup.flags &= ~0x04;
        state.UseSetup(setup);
    });
    ASSERT_TRUE(Until([&] { return trunkMenu() == without; })) << trunkMenu().toStdString();
    const QList<QAction*> actions = frame->findChildren<QAction*>();
    EXPECT_EQ(std::count_if(actions.begin(), actions.end(),
                            [](const QAction* action) {
                                return action->shortcut() == QKeySequence("Ctrl+PgDown");
                            }),
              1);
}

TEST_F(OnlineTest, AFailedOpenSaysWhyAndKeepsTheOnlineSetup) {
    Connect();
    // A file of other counts, so that it is described first, spoilt before it is read.
    const WORD groups = app.GetConfig().m_wNumGroups;
    app.GetConfig().m_wNumGroups = groups - 1;
    ASSERT_TRUE(SaveSetupFile(Doc(), FromQString(Path("C.kvd")), FALSE, FALSE));
    app.GetConfig().m_wNumGroups = groups;
    const CString name = Name(11);
    script.ExpectMessageBox(u"You are about to exit ONLINE mode and open a file.", IDOK);
    script.ExpectDialog("FileOpen", Choose(Path("C.kvd"), "Open"));
    script.ExpectDialog("dlg148", [&](QDialog&) { return QFile(Path("C.kvd")).resize(5), IDOK; });
    script.ExpectMessageBox(u"The file is not a setup file:\n" + FromQString(Path("C.kvd")).str(),
                            IDOK);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
    EXPECT_EQ(Name(11), name);
    EXPECT_EQ(app.GetConfig().m_wNumGroups, groups);
    EXPECT_TRUE(Polls());
}

TEST_F(OnlineTest, AFailedLoadOrSaveKeepsTheUnsentChangesAndNeverNamesTheFileOpenBefore) {
    Connect();
    // The setup was a named file before it became the controller's again.
    SaveAndLeaveOnline();
    frame->OnCommand(ID_CONNECT);
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
    EXPECT_FALSE(frame->IsPathFile());
    Rename(3, u"EDIT");
    const auto kept = [&] {
        EXPECT_TRUE(script.AllAnswered());
        EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
        EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
        EXPECT_EQ(Name(3), u"EDIT");
        EXPECT_TRUE(Doc().IsModified(CIcomSpec(3, CIntercom::kFieldName)));
        EXPECT_FALSE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
        EXPECT_TRUE(Polls());
    };

    // A Load of a file that turns out to be none.
    const QString held = Path("Held.kvd");
    ASSERT_TRUE(QFile::copy(Path("S.kvd"), held));
    script.ExpectMessageBox(u"You are about to load an existing file on top", IDOK);
    script.ExpectDialog("FileOpen", Choose(held, "Load File"));
    script.ExpectDialog("dlg148", [&](QDialog&) { return QFile(held).resize(5), IDOK; });
    script.ExpectMessageBox(u"The file is not a setup file:", IDOK);
    frame->OnCommand(ID_FILE_LOAD);
    kept();

    // A save that leaves ONLINE, on a full disk.
    QString failure;
    script.ExpectDialog("FileSave", Choose(Path("F.kvd"), "Save (Online setup)"));
    script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDNO);
    script.ExpectDialog("dlg155", RunToEnd(failure));
    script.ExpectMessageBox(u"Could not write to file:", IDOK);
    {
        CFileSizeLimit limit(512);
        frame->OnCommand(ID_FILE_SAVE);
    }
    kept();

    // Save asks for a name, with or without the confirmation, and S.kvd is left as it was.
    QFile file(Path("S.kvd"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    for (BOOL confirm : {TRUE, FALSE}) {
        app.m_bConfirmFileName = confirm;
        script.ExpectDialog("FileSave", Cancel);
        frame->OnCommand(ID_FILE_SAVE);
        EXPECT_TRUE(script.AllAnswered()) << confirm;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// A group of the short messages with wide names: 12 UTF-16 characters and the member mask.
std::vector<std::uint8_t> WideGroup(const std::string& name) {
    std::vector<std::uint8_t> record(28, 0);
    for (size_t i = 0; i < name.size(); ++i)
        record[2 * i + 1] = static_cast<std::uint8_t>(name[i]);
    return record;
}

TEST_F(OnlineTest, ThePartialSaveSheetListsTheGroupAndIntercomNamesOfTheController) {
    Connect();
    sim.ChangeState([](CorvaneState& state) {
        for (int group = 0; group < state.setup.groups; ++group)
            state.setup.records[{SimSetup::RecordKey(kCmdGroups), group}] =
                WideGroup("TEAM" + std::to_string(group));
        state.setup.names[3][0] = "NEW3";
    });
    // The names of a page's rows, both lists.
    const auto names = [](QDialog& sheet, const char* page) {
        QStringList texts;
        for (UINT id : {1019, 1020}) {
            auto* list = sheet.findChild<QWidget*>(page)->findChild<CKelvardinListCtrl*>(
                QStringLiteral("ctl%1").arg(id));
            for (int row = 0; row < list->GetItemCount(); ++row)
                texts << ToQString(list->GetItemText(row, 1));
        }
        return texts;
    };
    CPartialSaveSheet::SetLastPage(2);
    script.ExpectDialog("sheet2407", [&](QDialog& sheet) {
        auto& pages = static_cast<CKelvardinSheet&>(sheet);
        pages.SetActivePage(0);
        pages.SetActivePage(4);
        pages.SetActivePage(2);
        const auto* between = sheet.findChild<QWidget*>("dlg152")->findChild<QComboBox*>("ctl1042");
        const auto* tree = sheet.findChild<QWidget*>("dlg150")->findChild<QTreeWidget*>("ctl1027");
        EXPECT_GE(between->findText("IC13"), 0);
        // Shown at first as the setup had them, then as the controller names them.
        EXPECT_TRUE(Until([&] { return names(sheet, "dlg149").contains("TEAM5"); }));
        pages.SetActivePage(1);
        EXPECT_TRUE(Until([&] { return names(sheet, "dlg154").contains("NEW3"); }));
        // The other pages that name intercoms show the same names once the replies are in.
        EXPECT_TRUE(Until([&] { return between->findText("NEW3") >= 0; }));
        EXPECT_LT(between->findText("IC13"), 0);
        EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), "NEW3");
        return IDCANCEL;
    });
    app.m_bAllowAlphasInPartialSave = TRUE;
    Doc().StoreAlpha(CAssign(3, 0, 0), u"PP");
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    EXPECT_TRUE(script.AllAnswered());
    CPartialSaveSheet::SetLastPage(0);
    EXPECT_TRUE(Polls());
}

// A trunk definition record with the two ends at the first ports of two intercoms.
std::vector<std::uint8_t> TrunkBetween(std::uint8_t from, std::uint8_t to) {
    std::vector<std::uint8_t> record(13, 0);
    record[0] = from;
    record[3] = to;
    return record;
}

// What the partial-save sheet shows, read as the user reads it.
class SheetReader {
public:
    explicit SheetReader(QDialog& sheet) : m_sheet(sheet) {}
    QWidget* Page(const char* name) const { return m_sheet.findChild<QWidget*>(name); }
    CKelvardinListCtrl* List(const char* page, UINT id) const {
        return Page(page)->findChild<CKelvardinListCtrl*>(QStringLiteral("ctl%1").arg(id));
    }
    QString Text(const char* page, UINT id) const {
        return Page(page)->findChild<QLabel*>(QStringLiteral("ctl%1").arg(id))->text();
    }
    QComboBox* Combo(const char* page, UINT id) const {
        return Page(page)->findChild<QComboBox*>(QStringLiteral("ctl%1").arg(id));
    }
    // The text of a column in the row of an object, in either list; empty when not listed.
    QString Cell(const char* page, LPARAM data, int column) const {
        for (UINT id : {1019, 1020}) {
            const CKelvardinListCtrl* list = List(page, id);
            const int row = list->FindItemByData(data);
            if (row >= 0) return ToQString(list->GetItemText(row, column));
        }
        return {};
    }
    // Whether the range selection of the trunks page can be used.
    bool RangeEnabled() const {
        const QWidget* page = Page("dlg152");
        for (UINT id : {1026, 1042, 1043, 1068, 1069})
            if (!page->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id))->isEnabled())
                return false;
        return true;
    }

private:
    QDialog& m_sheet;
};

TEST_F(OnlineTest, ThePartialSaveSheetOpenedBeforeTheSetupCameFollowsItsSizeAndNames) {
    sim.ChangeState([](CorvaneState& state) {
        SimSetup setup;
        for (int i = 0; i < setup.intercoms; ++i)
            setup.names[i] = {"IC" + std::to_string(10 + i), "ICOM", "INTERCOM", "NAME"};
        setup.records[{SimSetup::RecordKey(kCmdTrunkDefs), 1}] = TrunkBetween(2, 5);
        setup.records[{SimSetup::RecordKey(kCmdGroups), 5}] = WideGroup("TEAM5");
        state.UseSetup(setup);
    });
    Start(u"NET:");
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
    // The settings hold a controller of another size than the one that answers.
    const int fileTrunks = app.GetConfig().m_wNumTrunks;
    const int fileIcoms = app.GetConfig().m_wNumIntercoms;
    const int trunks = SimSetup().trunks;
    ASSERT_NE(fileTrunks, trunks);
    ASSERT_GT(fileIcoms, 20);
    app.m_bAllowAlphasInPartialSave = TRUE;
    Doc().StoreAlpha(CAssign(20, 0, 0), u"PP");
    script.ExpectDialog("sheet2407", [&](QDialog& dialog) {
        auto& pages = static_cast<CKelvardinSheet&>(dialog);
        const SheetReader sheet(dialog);
        for (int page : {1, 2, 4, 0})
            pages.SetActivePage(page);
        EXPECT_EQ(sheet.Text("dlg150", 1050), "(1 of 1 alphas selected)");
        EXPECT_EQ(sheet.Text("dlg152", 1050),
                  QStringLiteral("(0 of %1 trunks selected)").arg(fileTrunks));
        EXPECT_FALSE(sheet.RangeEnabled());
        // Chosen before the setup came: one intercom the controller has, one it lacks.
        CKelvardinListCtrl& available = *sheet.List("dlg154", 1019);
        for (LPARAM icom : {3, 20})
            available.topLevelItem(available.FindItemByData(icom))->setSelected(true);
        static_cast<CPSListDragPage*>(sheet.Page("dlg154"))
            ->MoveItems(available, *sheet.List("dlg154", 1020));

        frame->OnCommand(ID_CONNECT);
        EXPECT_TRUE(Until([&] {
            return app.GetMode() == CAppState::kModeOnline && sheet.Cell("dlg152", 1, 2) == "IC15";
        }));
        EXPECT_EQ(sheet.Text("dlg152", 1050),
                  QStringLiteral("(0 of %1 trunks selected)").arg(trunks));
        EXPECT_EQ(sheet.Cell("dlg152", 1, 1), "IC12");
        EXPECT_TRUE(sheet.RangeEnabled());
        EXPECT_GE(sheet.Combo("dlg152", 1042)->findText("IC21"), 0);
        EXPECT_EQ(sheet.Text("dlg154", 1050), "(0 of 11 intercoms selected)");
        EXPECT_EQ(sheet.Text("dlg154", 1051), "(1 of 1 intercoms selected)");
        EXPECT_EQ(sheet.Cell("dlg154", 3, 1), "IC13");
        EXPECT_TRUE(Doc().FindObject(CIcomSpec(3, 1))->GetFlags() & CCVObject::kPartialChoice);
        // The alphas went with the setup they belonged to.
        EXPECT_EQ(sheet.Text("dlg150", 1050), "(0 of 0 alphas selected)");
        EXPECT_EQ(sheet.Text("dlg149", 1050),
                  QStringLiteral("(0 of %1 groups selected)").arg(SimSetup().groups));
        // Groups are read only when asked for.
        EXPECT_TRUE(Until([&] { return sheet.Cell("dlg149", 5, 1) == "TEAM5"; }));
        return IDCANCEL;
    });
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(OnlineTest, ThePartialSaveSheetOpenedWhileConnectingShowsTheNamesThatCome) {
    Connect();
    // Back to a file of the controller's size whose intercoms have no names yet.
    SaveAndLeaveOnline();
    ASSERT_EQ(app.GetMode(), CAppState::kModeFile);
    const int icoms = app.GetConfig().m_wNumIntercoms;
    for (int i = 0; i < icoms; ++i)
        Rename(i, u"");
    sim.ChangeState([](CorvaneState& state) {
        state.setup.records[{SimSetup::RecordKey(kCmdTrunkDefs), 4}] = TrunkBetween(7, 1);
    });

    script.ExpectMessageBox(u"You are about to enter ONLINE mode.", IDOK);
    frame->OnCommand(ID_CONNECT);
    ASSERT_EQ(app.GetMode(), CAppState::kModeConnecting);
    script.ExpectDialog("sheet2407", [&](QDialog& dialog) {
        const SheetReader sheet(dialog);
        static_cast<CKelvardinSheet&>(dialog).SetActivePage(0);
        EXPECT_TRUE(Until([&] {
            return sheet.RangeEnabled() && sheet.Cell("dlg152", 4, 1) == "IC17" &&
                   sheet.Cell("dlg152", 4, 2) == "IC11";
        }));
        EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
        EXPECT_EQ(sheet.Combo("dlg152", 1042)->count(), icoms);
        EXPECT_EQ(sheet.Combo("dlg152", 1043)->count(), icoms + 1);
        return IDCANCEL;
    });
    frame->OnCommand(ID_FILE_PARTIAL_SAVE);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(OnlineTest, SendChangesInStepOrderAndEveryWayASendCanFail) {
    Connect();
    const std::set<unsigned> bracket = {3, 4, 6, 23, 25, 26, 33};
    const CObjSpec group(CGroupSpec(0, CGroup::kFieldName));
    size_t from = sim.Requests().size();
    Rename(0, u"ZULU");
    Doc().SetObjectField(group, u"TEAM", TRUE);
    for (int trunk : {1, 2, 9})
        Doc().SetModified(CTrunkSpec(trunk, CTrunk::kFieldEnd1), TRUE);
    for (DWORD option : {1619, 1620, 1622})
        Doc().SetModified(COptionSpec(option), TRUE);
    Doc().SetModified(CIcomSpec(3, CIntercom::kFieldComPort), TRUE);
    Doc().SetModified(CIcomSpec(4, CIntercom::kFieldBaudRate), TRUE);
    QStringList rows;
    script.ExpectDialog("dlg160", ReadRows(rows, IDCANCEL));
    frame->OnCommand(ID_SEND_CHANGES);
    EXPECT_EQ(rows, (QStringList{"Trunk Definitions: 2-3, 10", "Allocation Timeout (min): 1",
                                 "Auto Clear Allocations: 1", "Wait for Talk Key Mode: 1",
                                 "Intercom Names: 1", "Intercom Ports: 4", "Intercom Baud Rates: 5",
                                 "Intercom Groups: 1"}));
    EXPECT_EQ(SendChanges(), "");
    EXPECT_EQ(Seen(from, bracket), (std::vector<unsigned>{25, 4, 6, 33, 3, 26}));
    // Each set message in step order, by its code and its leading bytes: the range and the
    // bitmap of the records changed.
    const std::set<unsigned> sets = {6, 9, 12, 16, 28, 33, 47, 51, 65, 69, 71, 82, 85};
    QStringList heads;
    for (const std::vector<SimFrame> frames = sim.Requests(); from < frames.size(); ++from) {
        if (!sets.contains(frames[from].command)) continue;
        const auto& payload = frames[from].payload;
        const QByteArray bytes(reinterpret_cast<const char*>(payload.data()),
                               qsizetype(payload.size()));
        heads << QString::number(frames[from].command) + " " + bytes.left(6).toHex().toUpper();
    }
    EXPECT_EQ(heads.join(" | "),
              "9 000100090301 | 6 70000001015A | 16 04010101 | 28 030101FF | "
              "12 010001 | 47 0100 | 51 0100 | 33 008101005400");
    EXPECT_FALSE(Doc().HasModifications());
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));

    // Control refused, then given on Retry; the controller asks for the commit again.
    from = sim.Requests().size();
    Rename(0, u"YANK");
    sim.ChangeState([](CorvaneState& state) {
        state.denyControl = 1;
        state.commitStatuses = {3};
    });
    SendChanges([&] { script.ExpectDialog("dlg169", Ok); });
    EXPECT_EQ(Seen(from, bracket), (std::vector<unsigned>{25, 25, 4, 6, 3, 23, 26}));
    EXPECT_FALSE(Doc().HasModifications());

    // Failures keep the changes: the EEPROM, lost control; a refusal (NAK) retried and then
    // ignored lets the send end well, one aborted does not.
    Rename(0, u"XRAY");
    sim.ChangeState([](CorvaneState& state) { state.commitStatuses = {2}; });
    EXPECT_EQ(SendChanges(), "FAILED:  EEPROM failure in Corvane");
    EXPECT_TRUE(Doc().HasModifications());
    sim.InjectFault(SimFault::Ctrl, 1, kCmdSetNames);
    EXPECT_EQ(SendChanges(), "FAILED:  Kelvardin has lost exclusive control");
    sim.InjectFault(SimFault::Nak, 100, kCmdSetNames);
    EXPECT_EQ(SendChanges([&] {
                  script.ExpectDialog("dlg170", [](QDialog&) { return IDRETRY; });
                  script.ExpectDialog("dlg170", Cancel);  // Ignore
              }),
              "");
    Doc().SetObjectField(group, u"CREW", TRUE);
    sim.InjectFault(SimFault::Nak, 100, kCmdSetGroups);
    EXPECT_EQ(SendChanges([&] { script.ExpectDialog("dlg170", Ok); }),  // Abort
              "FAILED:  the operation was aborted by the user");
    EXPECT_TRUE(Doc().IsModified(group));

    // The controller falls silent in the send: given up, the program is in FILE mode.
    sim.SetHandler(kCmdSetGroups, [](CorvaneState& state, const SimFrame&) {
        state.silent = true;
        return std::optional<SimFrame>();
    });
    // The change the send could not deliver is let go when asked.
    EXPECT_EQ(SendChanges([&] {
                  script.ExpectDialog("dlg173", Cancel);
                  script.ExpectMessageBox(u"have not been sent to the Corvane;", IDNO);
              }),
              "FAILED:  lost communication with the Corvane");
    // The connection-status dialog can come after the send dialog has shown the failure.
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
}

TEST_F(OnlineTest, TheSendListShowsWhatIsSentAndANothingToSendIsSaid) {
    // A controller that is not extended but takes cascade costs.
    Connect(0x04 | 0x08 | 0x40, SimSetup().capabilities | CCVConfig::kCascadeCosts);
    const std::set<unsigned> control = {25};
    const size_t from = sim.Requests().size();
    const std::u16string nothing = u"There are no changes that can be sent to the Corvane.";
    // No change at all, then only a name of a length this controller does not keep.
    for (bool uncarried : {false, true}) {
        if (uncarried) Doc().SetModified(CIcomSpec(1, CIntercom::kFieldName6), TRUE);
        script.ExpectMessageBox(nothing, IDOK);
        frame->OnCommand(ID_SEND_CHANGES);
        EXPECT_TRUE(script.AllAnswered()) << uncarried;
    }
    EXPECT_TRUE(Doc().HasModifications());
    EXPECT_TRUE(Seen(from, control).empty());

    // A cascade cost is listed and sent.
    Doc().SetModified(CIcomSpec(2, CIntercom::kFieldCascadeCost), TRUE);
    QStringList rows;
    QString failure;
    script.ExpectDialog("dlg160", ReadRows(rows, IDOK));
    script.ExpectDialog("dlg158", RunToEnd(failure));
    frame->OnCommand(ID_SEND_CHANGES);
    ASSERT_TRUE(Until([&] { return !app.GetDataMgr().IsSendRunning(); }));
    EXPECT_EQ(rows, QStringList{"Intercom Cascade Cost: 3"});
    EXPECT_EQ(failure, "");
    EXPECT_EQ(Seen(from, {25, kCmdSetIcomCost}), (std::vector<unsigned>{25, kCmdSetIcomCost}));

    // A partial file that holds nothing the controller takes has nothing to send either.
    QCoreApplication::processEvents();
    ASSERT_TRUE(app.SaveSetupFile(FromQString(Path("N.kvd")), FALSE, TRUE));
    script.ExpectDialog("FileOpen", Choose(Path("N.kvd"), "Send"));
    script.ExpectDialog("dlg148", Ok);
    script.ExpectMessageBox(nothing, IDOK);
    frame->OnCommand(ID_FILE_SEND);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(Seen(from, control).size(), 1u);
    EXPECT_FALSE(Doc().HasModifications());
}

TEST_F(OnlineTest, MaintenanceModeAndClearAllocations) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowMaintenanceMode", 1);
    Connect();
    QString failure;
    script.ExpectDialog("dlg156", [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Set Maintenance Mode");
        return dialog.findChild<QComboBox*>("ctl1042")->setCurrentIndex(2), IDOK;
    });
    script.ExpectDialog("dlg158", RunToEnd(failure));
    frame->OnCommand(ID_MAINT_MODE);
    EXPECT_EQ(sim.Setup().trunkModes.size(), 1u);
    EXPECT_NE(sim.Setup().trunkModes.at(2), 0);
    EXPECT_TRUE(Until([&] { return Doc().IsTrunkInMaintenance(2) != 0; }));  // the state polls
    script.ExpectDialog("dlg156", Ok);                                       // "All Trunks"
    script.ExpectDialog("dlg158", RunToEnd(failure));
    frame->OnCommand(ID_NORMAL_MODE);
    EXPECT_EQ(sim.Setup().trunkModes.size(), 96u);
    EXPECT_EQ(sim.Setup().trunkModes.at(2), 0);
    EXPECT_TRUE(Until([&] { return Doc().IsTrunkInMaintenance(2) == 0; }));

    const size_t from = sim.Requests().size();
    script.ExpectDialog("dlg156", Ok);
    frame->OnCommand(ID_CLEAR_ALLOCATIONS);
    EXPECT_TRUE(Until([&] { return !Seen(from, {kCmdClearAllocationsEx}).empty(); }));
}

TEST_F(OnlineTest, TheConfigurationSheetLeavesTheControllerOnlyForNewSettingsAndAsksFirst) {
    Connect();
    Rename(1, u"ZULU");
    // The General page changed and closed with OK; the questions it raises answered.
    const auto apply = [&](const std::function<void(QWidget&)>& change,
                           std::vector<std::pair<std::u16string, int>> answers = {}) {
        CPreferencesSheet::SetLastPage(CPreferencesSheet::kGeneral);
        script.ExpectDialog("sheet2406", [&](QDialog& sheet) {
            change(*sheet.findChild<QWidget*>("dlg153"));
            sheet.accept();
            return sheet.result();
        });
        for (auto& [question, answer] : answers)
            script.ExpectMessageBox(question, answer);
        frame->OnCommand(ID_CONFIGURATION);
    };
    // The controller's partner, learnt in a session set up again while the page is open, is
    // no change of the page's: the link stays, and the partner learnt is the one stored.
    size_t sessions = 0;
    apply([&](QWidget& page) {
        page.findChild<QCheckBox*>("ctl1038")->toggle();
        sim.ChangeState([](CorvaneState& state) {
            state.standbyAddress = 0x7F000009;
            state.sessions.clear();
        });
        EXPECT_TRUE(Until([&] { return app.m_standbyIP.Get() == u"127.0.0.9"; }));
        sessions = Seen(0, {kCmdOpenSession}).size();
    });
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(Polls());
    EXPECT_EQ(Seen(0, {kCmdOpenSession}).size(), sessions);
    EXPECT_EQ(profile.GetProfileString(u"Settings\\Communication", u"StandbyIP", u""),
              u"127.0.0.9");

    // Another address: Cancel keeps the controller, the changes and the stored address.
    const auto elsewhere = [](QWidget& page) {
        page.findChild<QLineEdit*>("ctl1047")->setText("127.0.0.2");
    };
    // The question says what happens and what each answer does.
    const std::u16string question =
        u"To use the new communication settings, Kelvardin leaves the Corvane it is ONLINE "
        u"with.\nThere are changes that have not been sent to that Corvane;";
    apply(elsewhere, {{question, IDCANCEL}});
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_EQ(app.m_ipAddress.Get(), u"127.0.0.1");
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));
    EXPECT_TRUE(Polls());

    // No: the changes go, and the address nobody answers at asks nothing more. Of two edits
    // let go, an Undo meanwhile does not bring the first back.
    Rename(1, u"YANK");
    apply(elsewhere,
          {{u"To save them to a partial setup file first, choose Yes.\nTo let them go, choose "
            u"No.\nTo keep the old communication settings and stay ONLINE, choose Cancel.",
            IDNO},
           {u"Unable to contact a Corvane, entering FILE mode.", IDOK}});
    EXPECT_FALSE(Doc().HasModifications());
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(Doc().HasModifications());
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
}

TEST_F(OnlineTest, NewOpenAndExitLeaveUnsentChangesOnlyWhenLetGoOrSaved) {
    Connect();
    Rename(1, u"ZULU");
    script.ExpectMessageBox(u"You are about to exit ONLINE mode and edit a default", IDCANCEL);
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    script.ExpectMessageBox(u"There are changes that have not been sent", IDCANCEL);
    EXPECT_FALSE(frame->close());

    // Yes writes them first; the picker given up stays with the controller.
    script.ExpectMessageBox(u"You are about to exit ONLINE mode and open a file.", IDYES);
    script.ExpectDialog("FileSave", Choose(Path("U.kvd"), "Partial Save (Online setup)"));
    script.ExpectDialog("FileOpen", Cancel);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));
    CPartialSaveSelection held;
    ASSERT_EQ(ReadSetupFileContents(FromQString(Path("U.kvd")), held), 1);
    EXPECT_EQ(held.GetSectionSet(CObjSpec::kIntercom)->FindNext(0), 1);

    // A save that cannot be written asks again.
    const std::u16string leave = u"You are about to exit ONLINE mode and edit a default";
    script.ExpectMessageBox(leave, IDYES);
    script.ExpectDialog("FileSave", Choose(Path("F.kvd"), "Partial Save (Online setup)"));
    script.ExpectMessageBox(u"Could not write to file:", IDOK);
    script.ExpectMessageBox(leave, IDCANCEL);
    {
        CFileSizeLimit limit(300);
        frame->OnCommand(ID_FILE_NEW);
    }
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));

    script.ExpectMessageBox(leave, IDNO);
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");

    // A memory byte typed and not written stays pending, unasked, when New or the lost link
    // leaves ONLINE and when Connect comes back; back ONLINE its cell takes typing again.
    frame->OnCommand(ID_CONNECT);
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
    CMemoryDumpView& memory = ShowMemory();
    ASSERT_TRUE(MemoryCell(memory).SetValueText(u"aa"));
    for (const bool lost : {false, true}) {
        if (lost) {
            script.ExpectDialog("dlg173", Cancel);
            sim.ChangeState([](CorvaneState& state) { state.silent = true; });
        } else {
            script.ExpectMessageBox(u"You are about  to exit ONLINE mode", IDOK);
            frame->OnCommand(ID_FILE_NEW);
        }
        ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
        EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
        EXPECT_TRUE(Until([&] { return MemoryCell(memory).IsReadOnly() != FALSE; })) << lost;
        EXPECT_TRUE(app.GetDataMgr().HasUnwrittenMemory()) << lost;
        if (lost) {
            // Nothing can write the byte now: Exit asks whether to let it go with the program.
            script.ExpectMessageBox(u"There are changes to memory that cannot be written",
                                    IDCANCEL);
            EXPECT_FALSE(frame->close());
            EXPECT_TRUE(script.AllAnswered());
            EXPECT_TRUE(app.GetDataMgr().HasUnwrittenMemory());
        }
        sim.ChangeState([](CorvaneState& state) { state.silent = false; });
        ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
        frame->OnCommand(ID_CONNECT);
        ASSERT_TRUE(Until([&] {
            return app.GetMode() == CAppState::kModeOnline && !MemoryCell(memory).IsReadOnly();
        })) << lost;
        EXPECT_EQ(memory.GetGrid()->GetItemText(0, 2), u"aa") << lost;
        EXPECT_EQ(MemoryCell(memory).GetBackClr(), app.m_clrChangedBackground) << lost;
    }

    // Exit asks as leaving the screen does, and what OK writes goes before the link closes,
    // while the window shows, taking no command, the wait for the answer counted as a nested
    // loop; nothing is then said to be unwritten.
    sim.SetLateReplyDelay(50);
    sim.InjectFault(SimFault::LateReply, 1, kCmdWriteMemory);
    bool nested = false;
    QTimer::singleShot(0, [&] { nested = IsNestedLoopRunning(); });
    ExitBeforeTheWaitRunsOut();
    EXPECT_TRUE(nested);
    const size_t boxes = script.MessageBoxes().size();
    app.ExitInstance();
    EXPECT_EQ(script.MessageBoxes().size(), boxes);
    const std::vector<SimFrame> frames = sim.Requests();
    const auto write = std::find_if(frames.begin(), frames.end(),
                                    [](const SimFrame& f) { return f.command == kCmdWriteMemory; });
    ASSERT_NE(write, frames.end());
    EXPECT_EQ(write->payload.back(), 0xaa);
}

// ONLINE with a saved default smaller than the controller and without one of its abilities:
// the default chosen in Open is the one the file is read with, and nothing the controller's
// status is compared with. Polled while the picker is open, the controller is found unchanged;
// the default stays the user's.
TEST_F(OnlineTest, TheDefaultChosenInOpenIsNoControllerChangeAndStaysTheDefault) {
    Connect();
    const WORD groups = app.GetConfig().m_wNumGroups;
    const DWORD lacking = CCVConfig::kOOSTrunks;
    ASSERT_TRUE(app.GetConfig().HasCapability(lacking));
    const auto saveDefault = [&] {
        CCVConfig smaller = app.GetConfig();
        smaller.m_wNumGroups = groups / 2;
        smaller.m_dwCapabilities &= ~lacking;
        smaller.RefreshCapabilitySet();
        smaller.SaveToRegistry(app.GetProfile());
    };
    const auto savedGroups = [&] {
        return profile.GetProfileInt(u"Corvane\\Configuration", u"NumGroups", 0);
    };
    const auto chooseDefault = [](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>("ctl1010")->click();
        dialog.accept();
        return IDOK;
    };
    // A file of the default's size, made by New; the connect after it stores the controller's
    // configuration as the default, so the smaller one is saved again.
    saveDefault();
    script.ExpectMessageBox(u"You are about  to exit ONLINE mode", IDOK);
    script.ExpectDialog("dlg165", chooseDefault);
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(app.GetConfig().m_wNumGroups, groups / 2);
    Rename(0, u"ALFA");
    script.ExpectDialog("FileSave", Choose(Path("D.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);
    frame->OnCommand(ID_CONNECT);
    ASSERT_TRUE(Until([&] {
        return app.GetMode() == CAppState::kModeOnline && app.GetConfig().m_wNumGroups == groups;
    }));
    saveDefault();

    Rename(1, u"ZULU");
    script.ExpectMessageBox(u"You are about to exit ONLINE mode and open a file.", IDNO);
    script.ExpectDialog("dlg165", chooseDefault);
    script.ExpectDialog("FileOpen", [&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(Path("D.kvd"));
        const size_t polled = sim.Requests().size();
        EXPECT_TRUE(Until([&] { return Seen(polled, {kCmdNetworkControl}).size() >= 3; }));
        EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
        EXPECT_EQ(app.GetConfig().m_wNumGroups, groups);
        EXPECT_TRUE(app.GetConfig().HasCapability(lacking));
        EXPECT_EQ(Name(1), u"ZULU");
        EXPECT_EQ(savedGroups(), groups / 2u);
        // The file is of the configuration chosen: its description does not show.
        dialog.accept();
        return IDOK;
    });
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [" + Path("D.kvd") + "]");
    EXPECT_EQ(app.GetConfig().m_wNumGroups, groups / 2);
    EXPECT_FALSE(app.GetConfig().HasCapability(lacking));
    EXPECT_EQ(savedGroups(), groups / 2u);
}

// Names come 128 a reply: the palette's stored intercom 200 is not in its list after the first
// reply of a 255-intercom controller. It shows once its name came, and stays stored throughout.
TEST_F(OnlineTest, ThePaletteKeepsItsStoredIntercomUntilItsNameComes) {
    const char16_t* section = u"Windows\\NavBars\\AlphaPalette";
    profile.WriteProfileInt(u"Settings\\Restrictions", u"EnableAlphaPalette", 1);
    profile.WriteProfileInt(section, u"Intercom", 200);
    sim.ChangeState([](CorvaneState& state) {
        SimSetup setup;
        setup.intercoms = 255;
        for (int i = 0; i < setup.intercoms; ++i)
            setup.names[i] = {"I" + std::to_string(i), "ICOM", "INTERCOM", "NAME"};
        state.UseSetup(setup);
    });
    Start(u"NET:", true);
    const auto* nav = dynamic_cast<const CKelvardinNavView*>(frame->GetNavView());
    ASSERT_TRUE(nav && nav->GetPalette());
    std::set<unsigned> stored;
    EXPECT_TRUE(Until([&] {
        stored.insert(profile.GetProfileInt(section, u"Intercom", 0));
        return nav->GetPalette()->GetCurrentIntercom() == 200;
    }));
    EXPECT_EQ(nav->GetPalette()->GetIcomField()->GetValueText(), CString(u"I200"));
    EXPECT_EQ(stored, std::set<unsigned>{200});
}

TEST_F(OnlineTest, AControllerOfAnotherSizeOffersTheUnsentChangesBeforeItsDefaultSetup) {
    Connect();
    // The controller now reports fewer trunks: the program takes a default setup of its size.
    int trunks = SimSetup().trunks;
    const auto shrink = [&] {
        trunks -= 8;
        sim.ChangeState([trunks](CorvaneState& state) {
            state.setup.trunks = trunks;
            state.status = state.setup.Status();
        });
        return Until([&] { return app.GetConfig().m_wNumTrunks == trunks; });
    };
    const std::u16string question = u"The Corvane's configuration has changed";

    // Yes: the change is written to a partial file before the reset takes it.
    Rename(1, u"ZULU");
    script.ExpectMessageBox(question, IDYES);
    script.ExpectDialog("FileSave", Cancel);
    script.ExpectMessageBox(question, IDYES);
    script.ExpectDialog("FileSave", Choose(Path("C.kvd"), "Partial Save (Online setup)"));
    ASSERT_TRUE(shrink());
    EXPECT_TRUE(script.AllAnswered());
    CPartialSaveSelection held;
    ASSERT_EQ(ReadSetupFileContents(FromQString(Path("C.kvd")), held), 1);
    EXPECT_EQ(held.GetSectionSet(CObjSpec::kIntercom)->FindNext(0), 1);
    EXPECT_EQ(held.GetSectionSet(CObjSpec::kIntercom)->FindNext(2), -1);
    EXPECT_FALSE(Doc().HasModifications());
    // Nothing of the setup that went is undone into the new one.
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(Until([&] { return Name(1) == u"IC11"; }));

    // No: the change goes with the setup.
    Rename(2, u"YANK");
    script.ExpectMessageBox(question, IDNO);
    ASSERT_TRUE(shrink());
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_FALSE(Doc().HasModifications());
    EXPECT_TRUE(Until([&] { return Name(2) == u"IC12"; }));

    // Without changes nothing asks.
    ASSERT_TRUE(shrink());
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
}

// The controller reports eight trunks fewer as the upload of a save asks it for its first
// data, and answers that request late: the next presence poll, which comes before the rest of
// the upload, tells of the change.
TEST_F(OnlineTest, AnUploadEndedByAChangedControllerFailsAndWritesNothing) {
    Connect();
    const auto shrinkOnUpload = [&] {
        auto once = std::make_shared<bool>(true);
        sim.SetHandler(kCmdTimeoutMinutes, [once](CorvaneState& state, const SimFrame& request) {
            if (std::exchange(*once, false)) {
                state.setup.trunks -= 8;
                state.status = state.setup.Status();
            }
            return SimDefaultHandlers().at(kCmdTimeoutMinutes)(state, request);
        });
        sim.InjectFault(SimFault::DropReply, 1, kCmdTimeoutMinutes);
    };
    const auto save = [&](const char* name, const std::function<void()>& during = {}) {
        QString failure;
        shrinkOnUpload();
        script.ExpectDialog("FileSave", Choose(Path(name), "Save (Online setup)"));
        script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
        script.ExpectDialog("dlg155", RunToEnd(failure));
        if (during) during();
        frame->OnCommand(ID_FILE_SAVE);
        EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));
        return failure;
    };
    const QString changed = "FAILED:  the Corvane's configuration has changed";

    // Without changes the setup becomes the changed controller's at once.
    EXPECT_EQ(save("S.kvd"), changed);
    EXPECT_FALSE(QFile::exists(Path("S.kvd")));
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, SimSetup().trunks - 8);
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");

    // With a change not sent, the reset waits for the question; the save has failed anyway.
    ASSERT_TRUE(Until([&] { return Name(11) == u"IC21"; }));
    Rename(1, u"ZULU");
    EXPECT_EQ(
        save("T.kvd",
             [&] { script.ExpectMessageBox(u"The Corvane's configuration has changed", IDNO); }),
        changed);
    EXPECT_FALSE(QFile::exists(Path("T.kvd")));
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, SimSetup().trunks - 16);
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");

    // Changed while the file is chosen: the upload has ended before its dialog shows.
    QString failure;
    script.ExpectDialog("FileSave", [&](QDialog& picker) {
        sim.ChangeState([](CorvaneState& state) {
            state.setup.trunks -= 8;
            state.status = state.setup.Status();
        });
        Until([&] { return app.GetConfig().m_wNumTrunks == SimSetup().trunks - 24; });
        QCoreApplication::processEvents();  // the upload's end, told to nobody
        return Choose(Path("U.kvd"), "Save (Online setup)")(picker);
    });
    script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
    script.ExpectDialog("dlg155", RunToEnd(failure));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(failure, changed);
    EXPECT_FALSE(QFile::exists(Path("U.kvd")));
    EXPECT_TRUE(Polls());
}

// The controller grows as the upload of a save asks it for its first data: every reply still
// fits, and no presence poll comes on the way. The status asked after the last record tells.
TEST_F(OnlineTest, AnUploadFromAControllerThatChangedUnseenFailsAndWritesNothing) {
    CLinkTiming timing = app.GetDataMgr().GetTiming();
    timing.clock = [] { return DWORD{0}; };
    timing.engineWaitMs = 60000;
    app.GetDataMgr().SetTiming(timing);
    Connect();
    auto once = std::make_shared<bool>(true);
    sim.SetHandler(kCmdTimeoutMinutes, [once](CorvaneState& state, const SimFrame& request) {
        if (std::exchange(*once, false)) {
            state.setup.trunks += 8;
            state.status = state.setup.Status();
        }
        return SimDefaultHandlers().at(kCmdTimeoutMinutes)(state, request);
    });
    QString failure;
    script.ExpectDialog("FileSave", Choose(Path("V.kvd"), "Save (Online setup)"));
    script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
    script.ExpectDialog("dlg155", RunToEnd(failure));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(failure, "FAILED:  the Corvane's configuration has changed");
    EXPECT_FALSE(QFile::exists(Path("V.kvd")));
}

// Exclusive control is refused; while the user is asked whether to try again, the controller
// reports another size. The send built for the setup that goes ends once the change is read.
TEST_F(OnlineTest, ASendRunningWhenTheControllerChangesEndsAndIsNotDelivered) {
    Connect();
    Rename(0, u"ZULU");
    sim.ChangeState([](CorvaneState& state) { state.denyControl = 1; });
    size_t from = 0;
    const QString failure = SendChanges([&] {
        script.ExpectDialog("dlg169", [&](QDialog&) {
            from = sim.Requests().size();
            sim.ChangeState([](CorvaneState& state) {
                state.setup.trunks -= 8;
                state.status = state.setup.Status();
            });
            // A presence poll has read the change; its answer waits for this question.
            Until([&] { return !Seen(from, {kCmdNetworkControl}).empty(); });
            from = sim.Requests().size();
            return IDOK;  // Retry now
        });
        script.ExpectMessageBox(u"The Corvane's configuration has changed", IDNO);
    });
    EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(failure, "FAILED:  the Corvane's configuration has changed");
    EXPECT_EQ(Seen(from, {kCmdOpenDownload, kCmdSetNames, kCmdCommit, kCmdCommitAgain}),
              std::vector<unsigned>{});
    EXPECT_EQ(sim.Setup().names.at(0)[0], "IC10");
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, SimSetup().trunks - 8);
    EXPECT_TRUE(Polls());
}

// The controller takes the whole send and its commit, and reports another size before the
// window has heard that exclusive control was released: whether the commit reached the
// controller the send was built for is unknown, so the send ends as failed and says so, and
// its changes stay marked for the controller-change question.
TEST_F(OnlineTest, ASendWhoseControllerChangesRightAfterTheCommitSaysItFailed) {
    Connect();
    Rename(0, u"ZULU");
    sim.SetHandler(kCmdReleaseControl, [](CorvaneState& state, const SimFrame& request) {
        state.setup.trunks -= 8;
        state.status = state.setup.Status();
        return SimDefaultHandlers().at(kCmdReleaseControl)(state, request);
    });
    sim.SetLateReplyDelay(200);
    sim.InjectFault(SimFault::LateReply, 1, kCmdReleaseControl);
    const size_t from = sim.Requests().size();
    // Polls after the release: the first one's answer has been taken by the link once the
    // next one goes out.
    const auto pollsAfterRelease = [from](const std::vector<SimFrame>& frames) {
        int polls = -1;
        for (size_t i = from; i < frames.size(); ++i) {
            if (frames[i].command == kCmdReleaseControl) polls = 0;
            if (polls >= 0 && frames[i].command == kCmdNetworkControl) ++polls;
        }
        return polls >= 2;
    };
    QString failure;
    script.ExpectDialog("dlg160", Ok);
    script.ExpectDialog("dlg158", [&](QDialog& dialog) {
        // The commit's answer is taken; the release's comes late enough for the window to
        // stop first.
        Until([&] { return app.GetDataMgr().GetLinkState() >= kLinkRelease; });
        // The window takes nothing meanwhile, as a busy one would not.
        EXPECT_TRUE(sim.WaitForRequests(pollsAfterRelease, std::chrono::seconds(20)));
        return RunToEnd(failure)(dialog);
    });
    // The question comes only while the change is still marked.
    script.ExpectMessageBox(u"The Corvane's configuration has changed", IDNO);
    frame->OnCommand(ID_SEND_CHANGES);
    EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(failure, "FAILED:  the Corvane's configuration has changed");
    EXPECT_EQ(Seen(from, {kCmdCommit}).size(), 1u);
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, SimSetup().trunks - 8);
    EXPECT_TRUE(Polls());
}

TEST_F(OnlineTest, ARefusedSessionLeavesAnUntitledSetupAndConnectAsksAgain) {
    Connect();
    // The setup was a named file before it became the controller's again.
    SaveAndLeaveOnline();
    frame->OnCommand(ID_CONNECT);
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
    ASSERT_EQ(Title(), "Kelvardin - [ONLINE]");

    sim.ChangeState([](CorvaneState& state) {
        state.sessions.clear();
        state.refuseSessions = true;
    });
    script.ExpectMessageBox(u"Could not establish an ethernet connection to the Corvane.", IDOK);
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_TRUE(Until([&] { return Title() == "Kelvardin - [Untitled]"; }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    // Save asks for a name rather than writing over the file.
    script.ExpectDialog("FileSave", Cancel);
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_TRUE(script.AllAnswered());

    // Nothing asked of the controller left goes out in the next session: the user is told.
    const size_t from = sim.Requests().size();
    script.ExpectMessageBox(u"been done:\n\nClear Allocations (All Intercoms)\n", IDOK);
    EXPECT_FALSE(app.GetDataMgr().ClearAllocations(CLinkSession::Now(), -1));
    EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));

    sim.ChangeState([](CorvaneState& state) { state.refuseSessions = false; });
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->GetAction(ID_CONNECT)->isEnabled());
    frame->OnCommand(ID_CONNECT);
    EXPECT_TRUE(Until([&] {
        return app.GetMode() == CAppState::kModeOnline && app.GetDataMgr().GetPendingTotal() == 0;
    }));
    EXPECT_EQ(Seen(from, {kCmdClearAllocations, kCmdClearAllocationsEx}), std::vector<unsigned>{});
}

// Send File given up in its picker puts back the edit it let go, marked and undoable, and no
// more: what the controller sent meanwhile stays, its COM port range too, and so does a mode the
// link set.
TEST_F(OnlineTest, SendFileGivenUpKeepsWhatTheControllerSentOrSetWhileItsPickerWasOpen) {
    // A controller of the kind that reports its COM port range: an older one has a fixed range,
    // which its every status would find changed.
    Connect(0x04 | 0x08 | 0x10 | 0x40);
    const auto giveUp = [&](const std::function<void()>& meanwhile) {
        Rename(3, u"EDIT");
        script.ExpectMessageBox(u"You are about to send an existing file", IDOK);
        script.ExpectDialog("FileOpen", [&](QDialog&) {
            meanwhile();
            return IDCANCEL;
        });
        frame->OnCommand(ID_FILE_SEND);
        EXPECT_TRUE(script.AllAnswered());
    };
    const auto expectEditBack = [&] {
        EXPECT_EQ(Name(3), u"EDIT");
        EXPECT_TRUE(Doc().IsModified(CIcomSpec(3, CIntercom::kFieldName)));
        EXPECT_FALSE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
    };
    giveUp([&] {
        sim.ChangeState([](CorvaneState& state) {
            state.setup.records[{kCmdTimeoutMinutes, 0}] = {0, 42};
            state.setup.names[3][0] = "CTL3";
            state.setup.names[5][0] = "CTL5";
        });
        sim.SetHandler(kCmdComPortRange, [](CorvaneState&, const SimFrame& request) {
            return std::optional(SimReplyTo(request, {4, 9}));
        });
        app.GetDataMgr().RefreshOptions();
        app.GetDataMgr().RefreshIcomNames();
        app.GetDataMgr().RequestComPortRange();
        EXPECT_TRUE(Until([&] {
            return Doc().GetAllocationTimeout() == 42 && Name(3) == u"CTL3" && Name(5) == u"CTL5" &&
                   app.GetConfig().m_nLastComPort == 12;
        }));
        // The statuses that follow find the same controller.
        const size_t polled = sim.Requests().size();
        EXPECT_TRUE(Until([&] { return Seen(polled, {kCmdNetworkControl}).size() >= 3; }));
    });
    expectEditBack();
    EXPECT_EQ(app.GetConfig().m_nFirstComPort, 4);
    EXPECT_EQ(app.GetConfig().m_nLastComPort, 12);
    EXPECT_EQ(Doc().GetAllocationTimeout(), 42u);
    EXPECT_EQ(Doc().IsAllocTimeoutModified(), 0u);
    EXPECT_EQ(Name(5), u"CTL5");

    // The controller refuses the session: FILE mode stays.
    giveUp([&] {
        script.ExpectMessageBox(u"Could not establish an ethernet connection", IDOK);
        sim.ChangeState([](CorvaneState& state) {
            state.sessions.clear();
            state.refuseSessions = true;
        });
        EXPECT_TRUE(Until([&] { return script.AllAnswered() && Title().endsWith("[Untitled]"); }));
    });
    expectEditBack();
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
}

// A send's list, its file's description or picker, or its trunk or intercom picker stays open
// while the controller refuses the session, is lost and left for a default setup, is lost and
// comes back, forgets the session, or reports another size: the command then ends as Cancel
// would. Nothing reaches the controller, then or
// in the next session, and nothing of the file is left marked as a change.
TEST_F(OnlineTest, ASendWhoseControllerWasLeftWhileItsDialogWasOpenSendsNothing) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowMaintenanceMode", 1);
    // A controller with SNMP: its configuration is one of the dialogs left.
    Connect(0x04 | 0x08 | 0x40, SimSetup().capabilities | CCVConfig::kSNMPSupport);
    // A file whose one name differs from the controller's.
    QString failure;
    Rename(1, u"ZULU");
    script.ExpectDialog("FileSave", Choose(Path("S.kvd"), "Save (Online setup)"));
    script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
    script.ExpectDialog("dlg155", RunToEnd(failure));
    frame->OnCommand(ID_FILE_SAVE);
    ASSERT_TRUE(script.AllAnswered());
    Doc().ClearAllChanges();
    frame->OnCommand(ID_REFRESH_ALPHAS);
    ASSERT_TRUE(Until([&] { return Name(1) == u"IC11"; }));
    // Or the controller forgets the session as SNMP Configuration reads its record, and the
    // link reads it again in the next one.
    enum Leave { kRefused, kLost, kResized, kRestored, kForgotten, kReadForgotten };
    const struct {
        UINT command;
        std::string leftIn;
        Leave way;
    } cases[] = {
        {ID_SEND_CHANGES, "dlg160", kRefused},      {ID_FILE_SEND, "dlg160", kLost},
        {ID_FILE_SEND, "FileOpen", kRefused},       {ID_MAINT_MODE, "dlg156", kRefused},
        {ID_CLEAR_ALLOCATIONS, "dlg156", kRefused}, {ID_NORMAL_MODE, "dlg156", kLost},
        {ID_SEND_CHANGES, "dlg160", kResized},      {ID_FILE_SEND, "dlg148", kResized},
        {ID_FILE_SEND, "dlg160", kResized},         {ID_MAINT_MODE, "dlg156", kResized},
        {ID_CLEAR_ALLOCATIONS, "dlg156", kResized}, {ID_CLEAR_ALLOCATIONS, "dlg156", kRestored},
        {ID_SEND_CHANGES, "dlg160", kRestored},     {ID_CLEAR_ALLOCATIONS, "dlg156", kForgotten},
        {ID_SEND_CHANGES, "dlg160", kForgotten},    {ID_NORMAL_MODE, "dlg156", kForgotten},
        {ID_SNMP_CONFIG, "dlg180", kResized},       {ID_SNMP_CONFIG, "dlg180", kForgotten},
        {ID_SNMP_CONFIG, "dlg180", kReadForgotten},
    };
    const std::set<unsigned> sends = {kCmdAskControl, kCmdSetNames, kCmdClearAllocations,
                                      kCmdClearAllocationsEx, kCmdSetSNMPConfig};
    // The controller's SNMP record, read as the SNMP Configuration dialog opens.
    CSNMPConfig held;
    held.SetName(u"Sud", FALSE);
    std::vector<std::uint8_t> snmp(CSNMPConfig::kRecordSize);
    held.Encode(snmp.data(), FALSE);
    std::atomic<bool> forgetInRead = false;
    sim.SetHandler(kCmdSNMPConfig,
                   [snmp, &forgetInRead](CorvaneState& state, const SimFrame& request) {
                       SimFrame reply = SimReplyTo(request, snmp);
                       if (forgetInRead.exchange(false)) {
                           state.sessions.clear();
                           reply = SimReplyTo(request);
                           reply.tag = kUnknownSessionTag;
                       }
                       return std::optional(reply);
                   });
    // What the user is told was not done, once the command is over.
    const std::map<UINT, std::u16string> notDone = {
        {ID_SEND_CHANGES, u"been done:\n\nSend Changes\n"},
        {ID_FILE_SEND, u"been done:\n\nSend File\n"},
        {ID_MAINT_MODE, u"been done:\n\nSet Maintenance Mode (Trunk #"},
        {ID_NORMAL_MODE, u"been done:\n\nClear Maintenance Mode ("},
        {ID_CLEAR_ALLOCATIONS, u"been done:\n\nClear Allocations ("},
        {ID_SNMP_CONFIG, u"been done:\n\nSNMP Configuration\n"}};
    const size_t start = sim.Requests().size();
    // ONLINE again, with nothing more to ask of the controller.
    const auto online = [&] {
        if (app.GetMode() != CAppState::kModeOnline) {
            sim.ChangeState([](CorvaneState& state) {
                state.refuseSessions = false;
                state.silent = false;
            });
            ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
            if (Doc().HasModifications())
                script.ExpectMessageBox(u"You are about to enter ONLINE mode.", IDOK);
            frame->OnCommand(ID_CONNECT);
        }
        ASSERT_TRUE(Until([&] {
            return app.GetMode() == CAppState::kModeOnline &&
                   app.GetDataMgr().GetPendingTotal() == 0 && Name(11) == u"IC21";
        }));
    };
    int trunks = SimSetup().trunks;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << c.leftIn << c.way);
        online();
        Rename(2, u"EDIT");
        const size_t from = sim.Requests().size();
        forgetInRead = c.way == kReadForgotten;
        // The read waits at its own pace for the session that follows.
        if (c.way == kReadForgotten) env.SetTimeScale(1.0);
        // The controller is left while the dialog is open; the user then goes on in it.
        const auto leave = [&, way = c.way, command = c.command](QDialog& dialog) {
            auto* picker = qobject_cast<QFileDialog*>(&dialog);
            if (picker) picker->selectFile(Path("S.kvd"));
            if (way == kResized) {
                trunks -= 8;
                sim.ChangeState([trunks](CorvaneState& state) {
                    state.setup.trunks = trunks;
                    state.status = state.setup.Status();
                });
                EXPECT_TRUE(Until([&] { return app.GetConfig().m_wNumTrunks == trunks; }));
            } else if (way == kReadForgotten) {
                EXPECT_FALSE(forgetInRead);
            } else if (way == kRestored || way == kForgotten) {
                // The link opens another session and the program stays ONLINE.
                const size_t sessions = Seen(0, {kCmdOpenSession}).size();
                sim.ChangeState([way](CorvaneState& state) {
                    state.sessions.clear();
                    state.silent = way == kRestored;
                });
                EXPECT_TRUE(Until([&] {
                    return script.AllAnswered() && Seen(0, {kCmdOpenSession}).size() > sessions &&
                           app.GetDataMgr().GetLinkState() == kLinkUp;
                }));
                EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
            } else {
                sim.ChangeState([way](CorvaneState& state) {
                    state.sessions.clear();
                    state.refuseSessions = way == kRefused;
                    state.silent = way == kLost;
                });
                EXPECT_TRUE(Until([&] {
                    return app.GetMode() == CAppState::kModeFile && Title().endsWith("[Untitled]");
                }));
            }
            if (picker) dialog.accept();
            if (auto* list = dialog.findChild<QComboBox*>("ctl1042")) list->setCurrentIndex(2);
            script.ExpectMessageBox(notDone.at(command), IDOK);
            // SNMP Configuration: a name typed, then Apply, which ends the dialog.
            if (auto* apply = dialog.findChild<QPushButton*>("ctl2994")) {
                QTest::keyClicks(dialog.findChild<QLineEdit*>("ctl1046"), "NEW");
                EXPECT_TRUE(apply->isEnabled());
                apply->click();
                EXPECT_FALSE(dialog.isVisible());
            }
            return IDOK;
        };
        if (c.command == ID_FILE_SEND) {
            script.ExpectMessageBox(u"You are about to send an existing file", IDOK);
            if (c.leftIn != "FileOpen")
                script.ExpectDialog("FileOpen", Choose(Path("S.kvd"), "Send"));
            if (c.leftIn == "dlg160") script.ExpectDialog("dlg148", Ok);
        }
        script.ExpectDialog(c.leftIn.c_str(), leave);
        if (c.way == kRefused) {
            script.ExpectMessageBox(u"Could not establish an ethernet connection", IDOK);
        } else if (c.way == kLost) {
            script.ExpectDialog("dlg173", Cancel);
            script.ExpectMessageBox(u"There are changes that have not been sent", IDNO);
        } else if (c.way == kRestored) {
            script.ExpectDialog("dlg173", [&](QDialog& dialog) {
                sim.ChangeState([](CorvaneState& state) { state.silent = false; });
                EXPECT_TRUE(Until([&] { return !dialog.isVisible(); }));
                return 0;
            });
        } else if (c.way == kResized && c.leftIn != "dlg148") {
            // Send File let the edit go before its description showed.
            script.ExpectMessageBox(u"The Corvane's configuration has changed", IDNO);
        }
        frame->OnCommand(c.command);
        EXPECT_TRUE(Until([&] { return script.AllAnswered(); }));
        env.SetTimeScale(kTimeScale);
        // The SNMP record stays as read, the edit not applied gone with the dialog.
        if (c.command == ID_SNMP_CONFIG) {
            EXPECT_EQ(app.GetSnmpConfig().GetName(), CString(u"Sud"));
            EXPECT_FALSE(app.GetSnmpConfig().IsModified());
        }
        if (c.way == kResized) online();
        EXPECT_EQ(Seen(from, sends), std::vector<unsigned>{});
        const bool left = c.way == kRefused || c.way == kLost;
        EXPECT_EQ(app.GetMode(), left ? CAppState::kModeFile : CAppState::kModeOnline);
        EXPECT_FALSE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));
        // Refused or in another session, the setup is kept as it was before the command; left,
        // it is the default, and resized, the new controller's without the changes let go.
        const bool kept = c.way != kLost && c.way != kResized;
        EXPECT_EQ(frame->IsStackEmpty(IMainFrame::Stack::kUndo), !kept);
        EXPECT_EQ(Doc().HasModifications(), kept);
    }
    online();
    EXPECT_EQ(Seen(start, sends), std::vector<unsigned>{});
}

TEST_F(OnlineTest, WithoutTheFeaturesMaintenanceModeIsNotRunAndNoAlphasOfTypesMissingAreAsked) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowMaintenanceMode", 1);
    // A controller that is not extended, holds no IFBSL alphas and counts its alpha changes:
    // the counters that moved ask for the alphas of the types it holds, never of the others.
    Connect(0x08 | 0x40, kSimAlphaCounters | kSimOutOfServiceTrunks);
    const auto kinds = [&](unsigned command) {
        std::set<unsigned> seen;
        for (const SimFrame& f : sim.Requests()) {
            if (f.command == command) seen.insert(command == kCmdNames ? SimU16(f, 1) >> 12 : 0);
        }
        return seen;
    };
    const auto settled = [&](size_t from) {
        return Until([&] {
            return Seen(from, {kCmdNetworkControl}).size() >= 2 &&
                   app.GetDataMgr().GetPendingTotal() == 0;
        });
    };
    ASSERT_TRUE(Until([&] { return !kinds(kCmdAlphaCounters).empty(); }));
    // Two polls later the counters' reply has long been taken in, and what it asked for.
    ASSERT_TRUE(settled(sim.Requests().size()));
    EXPECT_EQ(kinds(kCmdNames), (std::set<unsigned>{0, 1, 2, 3, 4, 5, 7}));
    frame->OnCommand(ID_MAINT_MODE);
    frame->OnCommand(ID_NORMAL_MODE);
}

}  // namespace

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>

#include <algorithm>

#include "link/command_codes.h"
#include "model/partial_save_selection.h"
#include "res/command_ids.h"
#include "shell/setup_file_drivers.h"
#include "tests/shell/program_fixture.h"
#include "tests/sim/sim_serial_link.h"
#include "tests/sim/sim_udp_link.h"

namespace {

// The program against the simulated controller on a free UDP port: twelve intercoms, one
// name of each length each.
class OnlineTest : public ProgramTest {
protected:
    OnlineTest() {
        startLater = true;
        app.SetPeerPort(peer.Port());
    }
    ~OnlineTest() override { app.ExitInstance(); }

    // Starts the program, which connects at once, with the controller's flags.
    void Connect(std::uint8_t flags = 0x04 | 0x08 | 0x40) {
        sim.ChangeState([flags](CorvaneState& state) {
            SimSetup setup;
            setup.flags = flags;
            setup.capabilities = 0x01000000;
            for (int i = 0; i < setup.intercoms; ++i) {
                const std::string n = std::to_string(10 + i);
                setup.names[i] = {"IC" + n, "ICOM" + n, "INTERC" + n, "INTERCOM" + n};
            }
            state.UseSetup(setup);
        });
        Start(u"NET:", true);
        ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
        ASSERT_TRUE(Until([&] { return !Name(11).IsEmpty(); }));
    }
    CString Name(int icom) { return Doc().GetObjectText(CIcomSpec(icom, CIntercom::kFieldName)); }
    void Rename(int icom, const CString& name) {
        Doc().SetObjectField(CIcomSpec(icom, CIntercom::kFieldName), name, TRUE);
    }
    size_t Count(unsigned command) {
        const std::vector<SimFrame> frames = sim.Requests();
        return static_cast<size_t>(std::count_if(
            frames.begin(), frames.end(), [&](const SimFrame& f) { return f.command == command; }));
    }
    // The link asks for the names again: it is not paused.
    bool Polls() {
        const size_t before = Count(kCmdNames);
        frame->OnCommand(ID_REFRESH_ALPHAS);
        return Until([&] { return Count(kCmdNames) > before; });
    }
    // A progress dialog left to run: it ends by itself (no failure to read), or shows a
    // failure, which is read and then closed as the user would.
    static CModalScript::DialogAction RunToEnd(QString& status) {
        return [&status](QDialog& dialog) {
            const auto* text = dialog.findChild<QLabel*>("ctl1045");
            const auto failed = [text] { return text->text().startsWith("FAILED"); };
            Until([&] { return !dialog.isVisible() || failed(); });
            status = failed() ? text->text() : QString();
            if (dialog.isVisible()) dialog.reject();
            return IDCANCEL;
        };
    }
    // Send Changes through its list and progress dialog; the progress dialog's last status.
    QString SendChanges(const std::function<void()>& during = {}) {
        QString status;
        script.ExpectDialog("dlg160", Ok);
        script.ExpectDialog("dlg158", RunToEnd(status));
        if (during) during();
        frame->OnCommand(ID_SEND_CHANGES);
        // The user is never as quick as a script: the link has released the controller and
        // its last word has come before the next command.
        Until([&] { return !app.GetDataMgr().IsSendRunning(); });
        QCoreApplication::processEvents();
        return status;
    }
    // The link's bracket around a send, and its sets, in the order the controller saw them.
    std::vector<unsigned> Sent(size_t from) {
        std::vector<unsigned> codes;
        const std::vector<SimFrame> frames = sim.Requests();
        for (size_t i = from; i < frames.size(); ++i) {
            const unsigned c = frames[i].command;
            if (c == 3 || c == 4 || c == 6 || c == 23 || c == 25 || c == 26 || c == 33)
                codes.push_back(c);
        }
        return codes;
    }

    CSimController sim{true};
    CSimUdpLink peer{sim};
};

TEST_F(OnlineTest, ConnectOverASerialLineAfterTheChangeQuestion) {
    CSimController serial{false};
    serial.ChangeState([](CorvaneState& state) { state.UseSetup(SimSetup()); });
    CSimSerialLink line{serial};
    Start(CString::FromUtf8(line.DevicePath()));
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    Rename(0, u"ALFA");
    script.ExpectMessageBox(u"You are about to enter ONLINE mode.", IDCANCEL);
    frame->OnCommand(ID_CONNECT);
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    script.ExpectMessageBox(u"You are about to enter ONLINE mode.", IDOK);
    frame->OnCommand(ID_CONNECT);
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kUndo));
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
}

TEST_F(OnlineTest, NoControllerARefusedSessionAndABadPortLeaveFileMode) {
    app.SetPeerPort(CSimUdpLink(sim).Port());  // a port nobody answers on
    script.ExpectMessageBox(u"Unable to contact a Corvane, entering FILE mode.", IDOK);
    Start(u"NET:", true);
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);

    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");

    app.SetPeerPort(peer.Port());
    sim.ChangeState([](CorvaneState& state) { state.refuseSessions = true; });
    script.ExpectMessageBox(u"Could not establish an ethernet connection to the Corvane.", IDOK);
    ASSERT_TRUE(app.OpenComm(u"NET:", 38400, u"127.0.0.1", u""));
    app.SetMode(CAppState::kModeConnecting);
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);

    script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
    EXPECT_FALSE(app.OpenComm(FromQString(Path("no-such-port")), 38400, u"", u""));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
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
    QString status;
    sim.ChangeState([](CorvaneState& state) { state.setup.records[{11, 0}] = {0, 42}; });
    Rename(1, u"ZULU");
    script.ExpectDialog("FileSave", Choose(Path("S.kvd"), "Save (Online setup)"));
    script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
    script.ExpectDialog("dlg155", RunToEnd(status));
    frame->OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
    EXPECT_TRUE(Doc().HasModifications());
    CKelvardinDoc file;
    CPartialSaveSelection held;
    ASSERT_EQ(ReadSetupFileContents(FromQString(Path("S.kvd")), held), 1);
    ASSERT_EQ(LoadSetupFile(file, FromQString(Path("S.kvd")), 0, held), 1);
    EXPECT_EQ(file.GetAllocationTimeout(), 42u);
    for (int i = 0; i < 12; ++i) {
        const CObjSpec name(CIcomSpec(i, CIntercom::kFieldName));
        EXPECT_EQ(file.GetObjectText(name), Doc().GetObjectText(name));
    }
    EXPECT_EQ(file.GetObjectText(CIcomSpec(1, CIntercom::kFieldName)), u"ZULU");

    // Dropped changes; the file loaded marks them again; Send File sends them.
    script.ExpectMessageBox(u"All changes that have not been sent to the Corvane will be lost.",
                            IDOK);
    frame->OnCommand(ID_ABORT_CHANGES);
    EXPECT_FALSE(Doc().HasModifications());
    script.ExpectDialog("FileOpen", Choose(Path("S.kvd"), "Load File"));
    script.ExpectDialog("dlg148", Ok);
    frame->OnCommand(ID_FILE_LOAD);
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(1, CIntercom::kFieldName)));
    script.ExpectMessageBox(u"You are about to send an existing file to the Corvane", IDOK);
    script.ExpectDialog("FileOpen", Choose(Path("S.kvd"), "Send"));
    script.ExpectDialog("dlg148", Ok);
    script.ExpectDialog("dlg160", Ok);
    script.ExpectDialog("dlg158", RunToEnd(status));
    frame->OnCommand(ID_FILE_SEND);
    EXPECT_FALSE(Doc().HasModifications());
    const SimSetup sent = sim.Setup();
    const auto& names = sent.names.at(1);
    EXPECT_NE(std::find(names.begin(), names.end(), "ZULU"), names.end());

    // A send file whose list is cancelled keeps no changes either.
    script.ExpectDialog("FileOpen", Choose(Path("S.kvd"), "Send"));
    script.ExpectDialog("dlg148", Ok);
    script.ExpectDialog("dlg160", Cancel);
    frame->OnCommand(ID_FILE_SEND);
    EXPECT_FALSE(Doc().HasModifications());

    // Leaving: the controller hears the session end.
    EXPECT_TRUE(frame->close());
    app.ExitInstance();
    size_t sessions = 99;
    sim.ChangeState([&](CorvaneState& state) { sessions = state.sessions.size(); });
    EXPECT_EQ(sessions, 0u);
}

TEST_F(OnlineTest, SendChangesInStepOrderAndEveryWayASendCanFail) {
    Connect();
    const CObjSpec group(CGroupSpec(0, CGroup::kFieldName));
    size_t from = sim.Requests().size();
    Rename(0, u"ZULU");
    Doc().SetObjectField(group, u"TEAM", TRUE);
    EXPECT_EQ(SendChanges(), "");
    EXPECT_EQ(Sent(from), (std::vector<unsigned>{25, 4, 6, 33, 3, 26}));
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
    EXPECT_EQ(Sent(from), (std::vector<unsigned>{25, 25, 4, 6, 3, 23, 26}));
    EXPECT_FALSE(Doc().HasModifications());

    // Failures keep the changes: the EEPROM, lost control, and a NAK the user aborts after a
    // Retry and an Ignore.
    Rename(0, u"XRAY");
    sim.ChangeState([](CorvaneState& state) { state.commitStatuses = {2}; });
    EXPECT_EQ(SendChanges(), "FAILED:  EEPROM failure in Corvane");
    EXPECT_TRUE(Doc().HasModifications());
    sim.InjectFault(SimFault::Ctrl, 1, kCmdSetNames);
    EXPECT_EQ(SendChanges(), "FAILED:  Kelvardin has lost exclusive control");
    sim.InjectFault(SimFault::Nak, 100, kCmdSetNames);
    EXPECT_EQ(SendChanges([&] {
                  script.ExpectDialog("dlg170", [](QDialog&) { return IDRETRY; });
                  script.ExpectDialog("dlg170", [](QDialog&) { return IDCANCEL; });  // Ignore
              }),
              "");
    Doc().SetObjectField(group, u"CREW", TRUE);
    sim.InjectFault(SimFault::Nak, 100, kCmdSetGroups);
    EXPECT_EQ(SendChanges([&] { script.ExpectDialog("dlg170", Ok); }),
              "FAILED:  the operation was aborted by the user");
    EXPECT_TRUE(Doc().IsModified(group));

    // The controller falls silent after exclusive control: given up, the program is in FILE
    // mode and the send failed for lost communication.
    sim.SetHandler(kCmdSetGroups, [](CorvaneState& state, const SimFrame&) {
        state.silent = true;
        return std::optional<SimFrame>();
    });
    EXPECT_EQ(SendChanges([&] { script.ExpectDialog("dlg173", Cancel); }),
              "FAILED:  lost communication with the Corvane");
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(Title(), "Kelvardin - [Untitled]");
}

TEST_F(OnlineTest, MaintenanceModeAndClearAllocationsFollowTheFeature) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowMaintenanceMode", 1);
    Connect();
    script.ExpectDialog("dlg156", [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Set Maintenance Mode");
        dialog.findChild<QComboBox*>("ctl1042")->setCurrentIndex(2);
        return IDOK;
    });
    QString status;
    script.ExpectDialog("dlg158", RunToEnd(status));
    frame->OnCommand(ID_MAINT_MODE);
    EXPECT_EQ(sim.Setup().trunkModes.size(), 1u);
    EXPECT_NE(sim.Setup().trunkModes.at(2), 0);
    script.ExpectDialog("dlg156", Ok);  // "All Trunks"
    script.ExpectDialog("dlg158", RunToEnd(status));
    frame->OnCommand(ID_NORMAL_MODE);
    EXPECT_EQ(sim.Setup().trunkModes.size(), 96u);
    EXPECT_EQ(sim.Setup().trunkModes.at(2), 0);

    script.ExpectDialog("dlg156", Ok);
    frame->OnCommand(ID_CLEAR_ALLOCATIONS);
    EXPECT_TRUE(Until([&] { return Count(kCmdClearAllocationsEx) == 1; }));
}

TEST_F(OnlineTest, WithoutTheFeatureMaintenanceModeIsNeitherOfferedNorRun) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowMaintenanceMode", 1);
    Connect(0x08 | 0x40);
    EXPECT_FALSE(app.IsCommandEnabled(ID_MAINT_MODE));
    frame->OnCommand(ID_MAINT_MODE);
    frame->OnCommand(ID_NORMAL_MODE);
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace

// The technician's flows through the whole program against the simulated controller, where
// the other program tests leave a step out: connecting by hand and a controller whose
// configuration changes, a failed upload, SNMP, the device searches, the link's counters and
// sessions, request logging and exit.
#include <QAbstractButton>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "link/command_codes.h"
#include "model/snmp_config.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/intercoms/icom_setup_view.h"
#include "screens/log_viewer/log_view.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/controls/kelvardin_tree_ctrl.h"
#include "shell/dialogs/dlg_snmp_config.h"
#include "shell/link_dialogs/dlg_comm_status.h"
#include "shell/link_dialogs/timed_ari_dlg.h"
#include "shell/main_frame/zub_status_bar.h"
#include "shell/search/dlg_search_for_icom.h"
#include "shell/search/found_device_tree.h"
#include "shell/sheets/preferences_sheet.h"
#include "tests/shell/program_fixture.h"
#include "tests/sim/sim_handlers.h"
#include "tests/sim/sim_search_responder.h"
#include "tests/sim/sim_udp_link.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kOutOfService = 0x10000;
constexpr std::uint32_t kSnmp = 0x4000000;
constexpr std::uint32_t kEthernet = 0x8000000;
constexpr std::uint32_t kTwoControllers = 0x20000000;  // remote trunking
constexpr std::uint32_t kLogToken = 0x80000000;

void Click(QWidget& dialog, int id) {
    dialog.findChild<QAbstractButton*>(QStringLiteral("ctl%1").arg(id))->click();
}

class FlowsTest : public ProgramTest {
protected:
    FlowsTest() {
        startLater = true;
        app.SetPeerPort(peer.Port());
    }
    ~FlowsTest() override { app.ExitInstance(); }

    // A controller of named intercoms with these capabilities.
    void UseController(std::uint32_t capabilities, int intercoms = 12) {
        sim.ChangeState([=](CorvaneState& state) {
            SimSetup setup;
            setup.flags = 0x04 | 0x08 | 0x40;
            setup.capabilities = capabilities;
            setup.intercoms = intercoms;
            for (int i = 0; i < intercoms; ++i)
                setup.names[i] = {"IC" + std::to_string(10 + i), "ICOM", "INTERCOM", "NAME"};
            state.UseSetup(setup);
        });
    }
    // The program started on it, ONLINE once the names have come.
    void Connect(std::uint32_t capabilities = kOutOfService) {
        UseController(capabilities);
        Start(u"NET:", true);
        ASSERT_TRUE(Until([&] { return !Name(11).IsEmpty(); }));
    }
    // The payloads of the requests with this command, from the index on.
    // A request sent again after a time-out (same sequence number and payload) counts once;
    // the release at exit takes a random low sequence number that an earlier poll may have
    // had, and is a request of its own.
    std::vector<Bytes> Sent(unsigned command, size_t from = 0) {
        std::vector<Bytes> sent;
        std::optional<unsigned> last;
        for (const std::vector<SimFrame> frames = sim.Requests(); from < frames.size(); ++from) {
            const SimFrame& frame = frames[from];
            if (frame.command != command) continue;
            if (frame.sequence == last && frame.payload == sent.back()) continue;
            sent.push_back(frame.payload);
            last = frame.sequence;
        }
        return sent;
    }
    CString Pane(int pane) {
        frame->UpdateCommandUI();
        return frame->GetStatusBar().GetPaneText(pane);
    }
    // A request log record of today as the controller words it, with its line end.
    static std::string LogLine(const char* text) {
        std::string line = QDate::currentDate().toString("yyMMdd").toStdString() + text;
        line.resize(70, '.');
        return line + "\r\n";
    }
    // Today's day file of the request log, its 16-bit code units read back as 8-bit text.
    std::string DayFile() const {
        QFile file(dir.filePath(QDate::currentDate().toString("yyyyMMdd") + ".CVL"));
        if (!file.open(QIODevice::ReadOnly)) return {};
        const QByteArray units = file.readAll();
        const QString text(reinterpret_cast<const QChar*>(units.constData()), units.size() / 2);
        return text.toLatin1().toStdString();
    }
    int Saved(const char16_t* name) {
        return static_cast<int>(profile.GetProfileInt(u"Corvane\\Configuration", name, 0));
    }

    // A progress dialog left to run until it ends or shows a failure, which is kept.
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

    CSimController sim{true};
    CSimUdpLink peer{sim};
};

TEST_F(FlowsTest, ConnectingByHandAndAControllerWhoseConfigurationChanges) {
    UseController(kOutOfService);
    sim.ChangeState([](CorvaneState& state) { state.silent = true; });
    Start(u"NET:", false);
    // A file of the configuration the program starts with, before any controller.
    script.ExpectDialog("FileSave", Choose(Path("Default.kvd"), "Save"));
    frame->OnCommand(ID_FILE_SAVE);

    // Connect waits for a controller that answers.
    ASSERT_TRUE(sim.WaitForRequests([](const auto& frames) { return frames.size() > 2; },
                                    std::chrono::seconds(30)));
    EXPECT_FALSE(app.IsCommandEnabled(ID_CONNECT));
    sim.ChangeState([](CorvaneState& state) { state.silent = false; });
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    frame->OnCommand(ID_CONNECT);
    EXPECT_EQ(Pane(4), u"Connecting...");
    ASSERT_TRUE(Until([&] { return !Name(11).IsEmpty(); }));
    EXPECT_EQ(Pane(4), u"ONLINE");
    EXPECT_EQ(Title(), "Kelvardin - [ONLINE]");
    EXPECT_FALSE(app.IsCommandEnabled(ID_CONNECT));
    EXPECT_TRUE(app.IsCommandEnabled(ID_CV_VERSION));
    EXPECT_FALSE(app.IsCommandEnabled(ID_SNMP_CONFIG));
    EXPECT_EQ(Saved(u"NumIntercoms"), 12);
    // The summary screen's poll: records of all five counts, the standard controller's
    // maintenance count left out.
    frame->OnCommand(ID_VIEW_TRUNK_SUMMARY);
    ASSERT_TRUE(Until([&] { return app.GetConfig().GetSummary(3).m_counts[4] != 0; }));
    EXPECT_EQ(app.GetConfig().GetSummary(3).m_counts,
              (std::array<DWORD, 5>{0x303, 0x303, 0x303, 0, 0x303}));

    // Twenty intercoms now: a fresh setup of that size, which the saved default follows, and
    // the controller's names for it; the edit not sent is let go when asked.
    Rename(0, u"ALFA");
    script.ExpectMessageBox(u"The Corvane's configuration has changed", IDNO);
    UseController(kOutOfService, 20);
    ASSERT_TRUE(Until([&] { return app.GetConfig().m_wNumIntercoms == 20; }));
    EXPECT_FALSE(Doc().HasModifications());
    EXPECT_EQ(Saved(u"NumIntercoms"), 20);
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    ASSERT_TRUE(Until([&] { return !Name(19).IsEmpty(); }));

    // So New asks nothing about it; a file of another configuration brings that one, and
    // the next New asks which to keep.
    script.ExpectMessageBox(u"You are about  to exit ONLINE mode", IDOK);
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    script.ExpectDialog("FileOpen", Choose(Path("Default.kvd"), "Open"));
    script.ExpectDialog("dlg148", Ok);
    frame->OnCommand(ID_FILE_OPEN);
    EXPECT_NE(app.GetConfig().m_wNumIntercoms, 20);
    script.ExpectDialog("dlg165", [](QDialog& dialog) {
        Click(dialog, 1010);  // the default
        dialog.accept();
        return IDOK;
    });
    frame->OnCommand(ID_FILE_NEW);
    EXPECT_EQ(app.GetConfig().m_wNumIntercoms, 20);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(FlowsTest, AnUploadRefusedOrLostWritesNoFile) {
    Connect();
    frame->OnCommand(ID_VIEW_LOG_FILE);
    ASSERT_TRUE(Until([&] { return app.GetDataMgr().GetPendingTotal() == 0; }));
    std::atomic<bool> shown = false;
    // Refused by the controller, lost, or lost and then the session refused.
    for (int way : {0, 2, 1}) {
        const bool lost = way != 0;
        if (app.GetMode() != CAppState::kModeOnline) {
            sim.SetHandler(kCmdTrunkDefs, SimDefaultHandlers().at(kCmdTrunkDefs));
            sim.ChangeState([](CorvaneState& state) { state.refuseSessions = false; });
            ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
            frame->OnCommand(ID_CONNECT);
            ASSERT_TRUE(Until([&] {
                return app.GetMode() == CAppState::kModeOnline &&
                       app.GetDataMgr().GetPendingTotal() == 0;
            }));
        }
        QString failure;
        script.ExpectDialog("FileSave", Choose(Path("U.kvd"), "Save (Online setup)"));
        script.ExpectMessageBox(u"Do you wish to stay ONLINE", IDYES);
        shown = false;
        script.ExpectDialog("dlg155", [&](QDialog& dialog) {
            shown = true;
            return RunToEnd(failure)(dialog);
        });
        // The controller falls silent, or refuses the trunk definitions (which only the upload
        // asks for on this screen) once the upload shows: its question comes in its dialog.
        sim.SetHandler(kCmdTrunkDefs, [lost, &shown](CorvaneState& state, const SimFrame& request) {
            for (int wait = 0; !lost && !shown && wait < 1000; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            state.silent = lost;
            return lost ? std::optional<SimFrame>() : std::optional(SimRefusal(request));
        });
        if (way == 2) {
            script.ExpectDialog("dlg173", [&](QDialog& dialog) {
                sim.ChangeState([](CorvaneState& state) {
                    state.sessions.clear();
                    state.refuseSessions = true;
                    state.silent = false;
                });
                EXPECT_TRUE(Until([&] { return !dialog.isVisible(); }));
                return IDCANCEL;
            });
            script.ExpectMessageBox(u"Could not establish an ethernet connection", IDOK);
        } else if (lost) {
            script.ExpectDialog("dlg173", Cancel);
        } else {
            script.ExpectDialog("dlg170", [&](QDialog&) {
                sim.SetHandler(kCmdTrunkDefs, SimDefaultHandlers().at(kCmdTrunkDefs));
                return CTimedARIDlg::kAbort;
            });
        }
        frame->OnCommand(ID_FILE_SAVE);
        // The link's loss may be told after the dialog showed the failure.
        ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
        EXPECT_EQ(failure, lost ? "FAILED:  lost communication with the Corvane"
                                : "FAILED:  the operation was aborted by the user");
        EXPECT_FALSE(QFile::exists(Path("U.kvd")));
        EXPECT_EQ(app.GetMode(), lost ? CAppState::kModeFile : CAppState::kModeOnline);
    }
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(FlowsTest, SnmpIsReadAppliedAndReadBackAndOnlyReadInFileMode) {
    std::mutex lock;
    CSNMPConfig held;
    held.SetName(u"Corvane Sud", FALSE);
    Bytes stored(CSNMPConfig::kRecordSize);
    held.Encode(stored.data(), TRUE);
    sim.SetHandler(kCmdSNMPConfig, [&](CorvaneState&, const SimFrame& request) {
        std::lock_guard guard(lock);
        return std::optional(SimReplyTo(request, stored));
    });
    sim.SetHandler(kCmdSetSNMPConfig, [&](CorvaneState&, const SimFrame& request) {
        std::lock_guard guard(lock);
        stored = request.payload;
        return std::optional(SimReplyTo(request));
    });
    UseController(kOutOfService | kSnmp);
    Start(u"NET:", false);
    EXPECT_FALSE(app.IsCommandEnabled(ID_SNMP_CONFIG));  // the default configuration's
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
    frame->OnCommand(ID_CONNECT);
    ASSERT_TRUE(Until([&] { return !Name(11).IsEmpty(); }));
    ASSERT_TRUE(app.IsCommandEnabled(ID_SNMP_CONFIG));

    script.ExpectDialog("dlg180", [&](QDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>("ctl1046");
        EXPECT_EQ(name->text(), "Corvane Sud");
        EXPECT_EQ(Sent(kCmdSNMPConfig).size(), 1u);
        name->clear();
        QTest::keyClicks(name, "Corvane Nord");
        Click(dialog, CDlgSNMPConfig::kApply);
        {
            std::lock_guard guard(lock);
            CSNMPConfig applied;
            EXPECT_TRUE(applied.Decode(stored.data(), FALSE));
            EXPECT_EQ(applied.GetName(), CString(u"Corvane Nord"));
        }
        EXPECT_EQ(Sent(kCmdSNMPConfig).size(), 2u);  // read back after the set

        env.SetTimeScale(kTimeScale);  // the silent set's wait runs out sooner
        sim.SetHandler(kCmdSetSNMPConfig,
                       [](CorvaneState&, const SimFrame&) { return std::optional<SimFrame>(); });
        QTest::keyClicks(name, " Ost");
        script.ExpectMessageBox(u"The changes may not have been applied!", IDOK);
        Click(dialog, CDlgSNMPConfig::kApply);
        EXPECT_TRUE(dialog.findChild<QWidget*>("ctl2994")->isEnabled());
        return IDCANCEL;
    });
    // The reads and the first set wait at their own pace: a busy machine may take longer to
    // answer than a shortened wait allows.
    env.SetTimeScale(1.0);
    frame->OnCommand(ID_SNMP_CONFIG);
    // The link gives the silent set up after the dialog told of it, and the connection is lost
    // until the next status: no more is said of the set.
    script.ExpectDialog("dlg173", [&](QDialog& dialog) {
        EXPECT_TRUE(Until([&] { return !dialog.isVisible(); }));
        return 0;
    });
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    const size_t restored = sim.Requests().size();
    ASSERT_TRUE(Until([&] { return Sent(kCmdNetworkControl, restored).size() >= 2; }));

    // In FILE mode the dialog edits without a controller to apply to.
    script.ExpectMessageBox(u"You are about  to exit ONLINE mode", IDOK);
    frame->OnCommand(ID_FILE_NEW);
    const size_t reads = Sent(kCmdSNMPConfig).size();
    script.ExpectDialog("dlg180", [](QDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("ctl1046"), " West");
        EXPECT_FALSE(dialog.findChild<QWidget*>("ctl2994")->isEnabled());
        return IDCANCEL;
    });
    frame->OnCommand(ID_SNMP_CONFIG);
    EXPECT_EQ(Sent(kCmdSNMPConfig).size(), reads);

    // Opened while connecting, the dialog holds what the program held, not the controller's
    // record: it applies nothing, even once ONLINE.
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }));
    frame->OnCommand(ID_CONNECT);
    ASSERT_EQ(app.GetMode(), CAppState::kModeConnecting);
    const size_t connected = sim.Requests().size();
    script.ExpectDialog("dlg180", [&](QDialog& dialog) {
        auto* name = dialog.findChild<QLineEdit*>("ctl1046");
        EXPECT_EQ(name->text(), "Corvane Nord Ost");
        QTest::keyClicks(name, " Sud");
        EXPECT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
        QTest::keyClicks(name, "west");
        const auto* apply = dialog.findChild<QWidget*>("ctl2994");
        EXPECT_FALSE(apply->isEnabled());
        EXPECT_TRUE(apply->toolTip().startsWith("This SNMP configuration was not read"));
        Click(dialog, CDlgSNMPConfig::kApply);
        return IDCANCEL;
    });
    frame->OnCommand(ID_SNMP_CONFIG);
    EXPECT_TRUE(Sent(kCmdSNMPConfig, connected).empty());
    EXPECT_TRUE(Sent(kCmdSetSNMPConfig, connected).empty());
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(FlowsTest, TheDeviceSearchesFillTheAddressesOfThePairChosen) {
    // A controller pair at .2 and .3, answering twice; intercoms (intercom 1's pair at .5 and .9),
    // an unknown type and a spoilt answer that the controller search drops.
    CSimSearchResponder devices;
    const std::uint32_t lo = kIPv4Loopback - 1;
    // Found by address: where a pair's halves go in the tree depends on which answers first.
    const auto ItemOf = [](QTreeWidget& tree, std::uint32_t address) {
        QTreeWidgetItem* found = nullptr;
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if (CFoundDeviceTree::ValueOf(*it) == address) found = *it;
        return found;
    };
    devices.AddDevice(2, {SimSearchDatagram({1, true, "CV Nord", lo + 3, 0, 0, ""}),
                          SimSearchDatagram({1, true, "CV Nord", lo + 3, 0, 0, "Rack 4"})});
    devices.AddDevice(3, {SimSearchDatagram({8, false, "CV Nord", lo + 2, 0, 0, ""})});
    devices.AddDevice(4, {SimSearchDatagram({2, true, "Medlow"})});
    devices.AddDevice(5, {SimSearchDatagram({3, true, "IC10", lo + 9})});
    devices.AddDevice(9, {SimSearchDatagram({3, false, "IC10", lo + 5})});
    devices.AddDevice(6, {SimSearchDatagram({6, true, "Quillnet", 0, 0, 2})});
    devices.AddDevice(7, {SimSearchDatagram({7, true, "CV Sud"})});
    devices.AddDevice(8, {{0xD5, 0x12, 0x34, 0xD1, 0x00, 0x01, 0x04, 0xDD}});
    CSearchNetwork network;
    network.requestPort = devices.Port();
    network.answerPort = 0;
    network.targets = devices.Addresses();
    app.SetSearchNetwork(network);
    Connect(kOutOfService | kEthernet);

    CPreferencesSheet::SetLastPage(CPreferencesSheet::kGeneral);
    script.ExpectDialog("sheet2406", [&](QDialog& sheet) {
        script.ExpectDialog("dlg486", [&](QDialog& found) {
            auto& search = static_cast<CDlgSearchForIcom&>(found);
            auto* ok = found.findChild<QAbstractButton*>("ctl1");
            EXPECT_EQ(found.windowTitle(), "Available Corvanes");
            EXPECT_TRUE(Until([&] {
                return search.GetDevices().size() == 2 &&
                       search.GetDevices().at(lo + 2).description == u"Rack 4";
            }));
            QTest::qWait(100);  // time for anything else to come, which is dropped
            EXPECT_EQ(search.GetDevices().size(), 2u);
            EXPECT_EQ(search.GetTree().topLevelItemCount(), 2);
            EXPECT_FALSE(ok->isEnabled());  // nothing selected yet
            search.GetTree().setCurrentItem(ItemOf(search.GetTree(), lo + 3));  // the standby
            EXPECT_EQ(found.findChild<QLabel*>("ctl2572")->text(), " CV-8800");
            ok->click();
            return 0;
        });
        // Every page is made when the sheet opens: the ids are the General page's.
        QWidget& general = *sheet.findChild<QWidget*>("dlg153");
        Click(general, 1021);
        EXPECT_EQ(general.findChild<QLineEdit*>("ctl1047")->text(), "127.0.0.3");
        EXPECT_EQ(general.findChild<QLineEdit*>("ctl1046")->text(), "127.0.0.2");
        return int(IDCANCEL);
    });
    frame->OnCommand(ID_CONFIGURATION);
    EXPECT_TRUE(script.AllAnswered());

    // The intercom search of the intercom setup screen: the intercom takes the pair's addresses.
    script.ExpectMenu([](QMenu&) { return int(ID_ICOM_BROWSE_ADDRESS); });
    script.ExpectDialog("dlg486", [&](QDialog& found) {
        auto& search = static_cast<CDlgSearchForIcom&>(found);
        EXPECT_TRUE(Until([&] { return search.GetDevices().size() == 4; }));
        search.GetTree().setCurrentItem(ItemOf(search.GetTree(), lo + 9));  // the standby
        found.findChild<QAbstractButton*>("ctl1")->click();
        return 0;
    });
    frame->OnCommand(ID_VIEW_ICOM_SETUP);
    auto* view = dynamic_cast<CIcomSetupView*>(frame->GetScreenView(4));
    ASSERT_NE(view, nullptr);
    view->GetGrid()->SetSelectedRange(1, 1, 1, 1);
    NM_GRIDVIEW cell;
    cell.iRow = cell.iColumn = 1;
    view->OnGridRClick(&cell);
    EXPECT_EQ(Doc().GetObjectText(CIcomSpec(0, CIntercom::kFieldPrimaryIP)), u"127.0.0.9");
    EXPECT_EQ(Doc().GetObjectText(CIcomSpec(0, CIntercom::kFieldBackupIP)), u"127.0.0.5");
}

TEST_F(FlowsTest, ALostLinkIsCountedAndAForgottenSessionIsSetUpAgain) {
    Connect();
    frame->OnCommand(ID_COMM_STATUS);
    auto* status = frame->findChild<CDlgCommStatus*>("dlg168");
    ASSERT_NE(status, nullptr);
    auto* counters = status->findChild<CKelvardinListCtrl*>();
    ASSERT_NE(counters, nullptr);
    const auto disconnects = [&] { return counters->GetItemText(CDlgCommStatus::kRows - 1, 1); };
    EXPECT_EQ(disconnects(), u"0");

    script.ExpectDialog("dlg173", [&](QDialog& dialog) {
        sim.ChangeState([](CorvaneState& state) { state.silent = false; });
        EXPECT_TRUE(Until([&] { return !dialog.isVisible(); }));  // restored, closes itself
        return 0;
    });
    sim.ChangeState([](CorvaneState& state) { state.silent = true; });
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_TRUE(Until([&] { return disconnects() == u"1"; }));

    // The controller forgot the session: its replies say so, and the link opens another.
    const size_t sessions = Sent(kCmdOpenSession).size();
    sim.ChangeState([](CorvaneState& state) { state.sessions.clear(); });
    EXPECT_TRUE(Until([&] { return Sent(kCmdOpenSession).size() > sessions; }));
    // The names asked for again leave the user's edit as it is.
    Rename(0, u"ALFA");
    const size_t from = sim.Requests().size();
    frame->OnCommand(ID_REFRESH_ALPHAS);
    EXPECT_TRUE(Until([&] {
        return Sent(kCmdNames, from).size() >= 4 && app.GetDataMgr().GetPendingTotal() == 0;
    }));
    EXPECT_EQ(Name(0), u"ALFA");
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(0, CIntercom::kFieldName)));
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    EXPECT_EQ(disconnects(), u"1");
}

TEST_F(FlowsTest, RequestLoggingRunsThroughTheControllerIntoDayFiles) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowLog", 1);
    profile.WriteProfileString(u"Settings\\Files and Directories", u"LogFileDirectory",
                               FromQString(dir.path() + "/"));
    // Another session at 10.1.2.3 has the controller's log.
    sim.ScriptReply(kCmdTakeLogDirection, {0, 1, 10, 1, 2, 3});
    script.ExpectMessageBox(
        u"Log messages are currently being redirected to the Kelvardin session at IP address "
        u"10.1.2.3",
        IDOK);
    Connect(kOutOfService | kTwoControllers | kLogToken);
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));

    // Intercom 1's remote trunk ports now hold the end of trunk 1 (as the controller makes
    // trunk definitions up from the trunk's number, 0 throughout).
    script.ExpectMessageBox(u"Trunk #1 specifies an an assignment", IDOK);
    sim.SetHandler(kCmdRemoteTrunking, [](CorvaneState&, const SimFrame& request) {
        return std::optional(SimReplyTo(request, {0, 0, 8, 0xFF}));
    });
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));

    // The controller holds two records dated today; nothing asks for them while logging is off.
    sim.ChangeState([](CorvaneState& state) {
        state.logRecords = {LogLine(" 09:16 TRUNK 4 TO 7"), LogLine(" 09:17 TRUNK 5 TO 7")};
    });
    size_t from = sim.Requests().size();
    ASSERT_TRUE(Until([&] { return app.IsCommandEnabled(ID_LOGGING_ENABLE) != FALSE; }));
    EXPECT_TRUE(Sent(kCmdLogRecord).empty());
    frame->OnCommand(ID_LOGGING_ENABLE);
    // The status timer asks for the logging state too.
    EXPECT_TRUE(Until([&] {
        return !Sent(kCmdLoggingOnOff, from).empty() && !Sent(kCmdLoggingState, from).empty();
    }));
    EXPECT_EQ(Sent(kCmdLoggingOnOff, from), std::vector<Bytes>{{1}});
    EXPECT_EQ(Pane(2), u"LOG");

    // Switched on, the link fetches them, one request each, into the day file as they came.
    EXPECT_TRUE(Until([&] {
        return DayFile() == LogLine(" 09:16 TRUNK 4 TO 7") + LogLine(" 09:17 TRUNK 5 TO 7");
    }));
    sim.ChangeState([](CorvaneState& state) { EXPECT_TRUE(state.logRecords.empty()); });
    for (const Bytes& request : Sent(kCmdLogRecord, from))
        EXPECT_EQ(request, Bytes{1});

    frame->OnCommand(ID_VIEW_LOG_FILE);
    auto* view = dynamic_cast<CLogView*>(frame->GetScreenView(11));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Until([&] { return view->GetRecordCount() == 2; }));
    // A record the controller logs later comes with a later status reply.
    sim.ChangeState(
        [](CorvaneState& state) { state.logRecords.push_back(LogLine(" 09:18 TRUNK 6 TO 7")); });
    EXPECT_TRUE(Until([&] { return view->GetRecordCount() == 3; }));

    // Switched off, the status replies ask for no more.
    frame->OnCommand(ID_LOGGING_DISABLE);
    EXPECT_TRUE(Until([&] { return Sent(kCmdLoggingOnOff, from).size() == 2; }));
    sim.ChangeState(
        [](CorvaneState& state) { state.logRecords.push_back(LogLine(" 09:19 TRUNK 7 TO 7")); });
    from = sim.Requests().size();
    EXPECT_TRUE(Until([&] { return Sent(kCmdNetworkControl, from).size() >= 3; }));
    EXPECT_TRUE(Sent(kCmdLogRecord, from).empty());
    EXPECT_EQ(view->GetRecordCount(), 3);
}

TEST_F(FlowsTest, LoggingSwitchedOnAtStartCollectsTheControllersRecords) {
    profile.WriteProfileInt(u"Settings\\Restrictions", u"AllowLog", 1);
    profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"AutoLog", 1);
    profile.WriteProfileString(u"Settings\\Files and Directories", u"LogFileDirectory",
                               FromQString(dir.path() + "/"));
    sim.ChangeState([](CorvaneState& state) {
        state.logRecords = {LogLine(" 07:00 TRUNK 1 TO 2"), LogLine(" 07:01 TRUNK 3 TO 2")};
    });
    Connect(kOutOfService);
    EXPECT_TRUE(Until([&] {
        return DayFile() == LogLine(" 07:00 TRUNK 1 TO 2") + LogLine(" 07:01 TRUNK 3 TO 2");
    }));
    EXPECT_EQ(Sent(kCmdLoggingOnOff), std::vector<Bytes>{{1}});
    EXPECT_EQ(Pane(2), u"LOG");
    frame->OnCommand(ID_VIEW_LOG_FILE);
    auto* view = dynamic_cast<CLogView*>(frame->GetScreenView(11));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Until([&] { return view->GetRecordCount() == 2; }));
}

TEST_F(FlowsTest, LeavingWithUnsentChangesAsksThenEndsTheSessionAndKeepsThePlacement) {
    Connect();
    frame->resize(900, 640);
    Rename(0, u"ZULU");
    for (int answer : {IDCANCEL, IDNO}) {
        script.ExpectMessageBox(u"There are changes that have not been sent to the Corvane;",
                                answer);
        EXPECT_EQ(frame->close(), answer == IDNO);
    }
    app.ExitInstance();
    EXPECT_EQ(Sent(kCmdNetworkControl).back(), Bytes{0x1A});
    sim.ChangeState([](CorvaneState& state) { EXPECT_TRUE(state.sessions.empty()); });
    const int left = static_cast<int>(profile.GetProfileInt(u"Windows\\Application", u"x1", -1));
    const int right = static_cast<int>(profile.GetProfileInt(u"Windows\\Application", u"x2", -1));
    EXPECT_EQ(right - left, 900);
}

}  // namespace

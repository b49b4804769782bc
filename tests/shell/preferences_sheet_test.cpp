#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <filesystem>
#include <map>

#include "link/link_timing.h"
#include "platform/ui/spin_button_ctrl.h"
#include "res/command_ids.h"
#include "shell/main_frame/file_mode_host.h"
#include "shell/sheets/preferences_sheet.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_serial_link.h"
#include "tests/sim/sim_udp_link.h"

namespace {

// The main window's way out of ONLINE mode: it starts a default setup.
class CFakeFileModeHost : public IFileModeHost {
public:
    explicit CFakeFileModeHost(CKelvardinDoc& doc) : m_doc(doc) {}
    void EnterFileMode() override {
        ++calls;
        m_doc.ResetToDefaultSetup();
    }
    bool LeaveController() override {
        ++leaves;
        return letGo;
    }
    int calls = 0;
    int leaves = 0;
    bool letGo = true;

private:
    CKelvardinDoc& m_doc;
};

class PreferencesTest : public ShellTest {
protected:
    PreferencesTest() {
        doc.OnNewDocument();
        doc.SetOptionTimeout(9, TRUE);  // an edit not yet saved
        app.AttachFrame()->doc = &doc;
        app.m_strComPort = u"NUL:";
    }
    ~PreferencesTest() override { app.GetDataMgr().Disconnect(); }

    // Runs the sheet from the page given; the action acts on it and answers.
    int Run(int page, const std::function<int(QDialog&)>& action) {
        CPreferencesSheet::SetLastPage(page);
        CPreferencesSheet sheet(nullptr, &host);
        script.ExpectDialog("sheet2406", action);
        return sheet.DoModal();
    }
    template <class Control>
    static Control* Ctl(QDialog& sheet, const char* page, UINT id) {
        return sheet.findChild<QWidget*>(page)->findChild<Control*>(
            QStringLiteral("ctl%1").arg(id));
    }
    // OK as the user presses it: the pages are applied.
    static int Ok(QDialog& sheet) {
        sheet.accept();
        return sheet.result();
    }
    CString Stored(const char16_t* section, const char16_t* key) {
        return profile.GetProfileString(section, key, u"?");
    }

    CKelvardinDoc doc;
    CFakeFileModeHost host{doc};
    CModalScript script{env};
};

TEST_F(PreferencesTest, TheGeneralPageRefusesABadHostAndOpensTheLinkWithoutLosingTheSetup) {
    CSimController sim(true);
    CSimUdpLink peer(sim);
    app.SetPeerPort(peer.Port());
    app.m_strComPort = u"COM7:";
    app.m_nBaudRate = 57600;
    app.m_ipAddress.Set(u"10.0.0.1");
    const int answer = Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        auto* connection = Ctl<QComboBox>(sheet, "dlg153", 1042);
        auto* baud = Ctl<QComboBox>(sheet, "dlg153", 1043);
        auto* mainIP = Ctl<QLineEdit>(sheet, "dlg153", 1047);
        QStringList entries;
        for (int i = 0; i < connection->count(); ++i)
            entries << connection->itemText(i);
        EXPECT_EQ(entries, QStringList({"COM1:", "COM2:", "COM3:", "COM4:", "COM7:", "NET:"}));
        EXPECT_EQ(connection->currentText(), "COM7:");
        EXPECT_EQ(baud->currentText(), "57600");
        EXPECT_TRUE(baud->isVisible() && !mainIP->isVisible());

        connection->setEditText("net");
        EXPECT_TRUE(!baud->isVisible() && mainIP->isVisible());
        connection->setEditText("NET:");
        mainIP->setText("");
        EXPECT_EQ(Ctl<QLineEdit>(sheet, "dlg153", 1046)->text(), "n/a");
        script.ExpectMessageBox(u"Host name is invalid.", IDOK);
        static_cast<CPreferencesSheet&>(sheet).accept();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(app.m_strComPort, u"COM7:");  // nothing of the page was kept

        mainIP->setText("127.0.0.1");
        Ctl<QCheckBox>(sheet, "dlg153", 1035)->setChecked(false);
        return Ok(sheet);
    });
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(Stored(u"Settings\\Communication", u"ComPort"), u"NET:");
    EXPECT_EQ(Stored(u"Settings\\Communication", u"StandbyIP"), u"0.0.0.0");
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Startup and Shutdown", u"AutoLog", 0), ~0u);
    EXPECT_TRUE(PumpWaitingMessages([&] { return app.m_nControllerPresent == 1; }, 20000));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(host.calls, 0);
    EXPECT_EQ(doc.FindModifiedOptions(), 0);
}

TEST_F(PreferencesTest, NoLinkLeavesOnlineModeButKeepsAFileModeSetup) {
    const auto noLink = [&](QDialog& sheet) {
        Ctl<QComboBox>(sheet, "dlg153", 1042)->setEditText("NUL:");
        return Ok(sheet);
    };
    Run(CPreferencesSheet::kGeneral, noLink);
    EXPECT_EQ(host.calls, 0);
    EXPECT_EQ(doc.FindModifiedOptions(), 0);

    // Staying with the controller at the question about its unsent changes keeps the sheet
    // open on the General page, with nothing of the page kept; letting them go leaves it.
    app.SetMode(CAppState::kModeOnline);
    app.m_strComPort = u"COM9:";
    const BOOL confirmExit = app.m_bConfirmExit;
    host.letGo = false;
    Run(CPreferencesSheet::kGeneral, [&](QDialog& dialog) {
        auto& sheet = static_cast<CPreferencesSheet&>(dialog);
        Ctl<QCheckBox>(sheet, "dlg153", 1037)->setChecked(!confirmExit);
        Ctl<QComboBox>(sheet, "dlg153", 1042)->setEditText("NUL:");
        sheet.SetActivePage(CPreferencesSheet::kAdvanced);
        sheet.accept();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.GetActiveIndex(), CPreferencesSheet::kGeneral);
        EXPECT_EQ(app.m_strComPort, u"COM9:");
        EXPECT_EQ(app.m_bConfirmExit, confirmExit);
        host.letGo = true;
        return noLink(sheet);
    });
    EXPECT_EQ(host.leaves, 2);
    EXPECT_EQ(host.calls, 1);
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
}

// In FILE mode with a setup larger than the stored controller: a port that does not open
// keeps what the user chose on the page, and the setup keeps its size.
TEST_F(PreferencesTest, APortThatDoesNotOpenKeepsTheOtherSettingsAndTheSizeOfTheSetup) {
    app.SaveSettings();
    app.GetConfig().m_wNumIntercoms = 64;
    doc.ResetToDefaultSetup();
    const CObjSpec beyond(CIcomSpec(40, CIntercom::kFieldName));
    ASSERT_TRUE(doc.SetObjectField(beyond, u"FAR", TRUE));
    std::map<UINT, bool> chosen;
    Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        Ctl<QComboBox>(sheet, "dlg153", 1042)->setEditText("/dev/kelvardin-no-such-port");
        for (UINT box : {1034u, 1073u, 1035u, 1038u, 1039u, 1036u, 1037u}) {
            auto* check = Ctl<QCheckBox>(sheet, "dlg153", box);
            check->setChecked(!check->isChecked());
            chosen[box] = check->isChecked();
        }
        script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
        return Ok(sheet);
    });
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(app.m_strComPort, u"NUL:");
    EXPECT_EQ(Stored(u"Settings\\Communication", u"ComPort"), u"NUL:");
    const std::map<UINT, bool> kept = {{1034u, app.m_bAutoConnect != FALSE},
                                       {1073u, app.m_nRequestLogging != 0},
                                       {1035u, app.m_nAutoLog == 1},
                                       {1038u, app.m_bCreateBAKFiles != FALSE},
                                       {1039u, app.m_bConfirmFileName != FALSE},
                                       {1036u, app.m_bSavePosition != FALSE},
                                       {1037u, app.m_bConfirmExit != FALSE}};
    EXPECT_EQ(kept, chosen);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Files and Directories", u"CreateBAKFiles", 9),
              chosen[1038u] ? 1u : 0u);
    EXPECT_EQ(app.GetConfig().m_wNumIntercoms, 64);
    EXPECT_EQ(doc.GetObjectText(beyond), u"FAR");
    EXPECT_EQ(host.calls, 0);
}

// The same port with another baud rate, or the same address with another partner, is another
// link: it is opened, and what was chosen is stored.
TEST_F(PreferencesTest, ABaudRateOrPartnerOfItsOwnOpensTheLinkAgain) {
    CSimController serial(false);
    CSimSerialLink line(serial);
    CSimController sim(true);
    CSimUdpLink peer(sim);
    app.SetPeerPort(peer.Port());
    ASSERT_TRUE(app.OpenComm(CString::FromUtf8(line.DevicePath()), 9600, u"", u""));
    Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        auto* baud = Ctl<QComboBox>(sheet, "dlg153", 1043);
        baud->setCurrentIndex(baud->findData(19200));
        return Ok(sheet);
    });
    EXPECT_EQ(app.m_nBaudRate, 19200);
    EXPECT_EQ(Stored(u"Settings\\Communication", u"BaudRate"), u"19200");

    ASSERT_TRUE(app.OpenComm(u"NET:", 38400, u"127.0.0.1", u"127.0.0.5"));
    // The link fails over to the partner while the page is open: the addresses the page shows
    // are not the user's, and OK keeps the link's.
    Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        app.m_ipAddress.Set(u"127.0.0.5");
        app.m_standbyIP.Set(u"127.0.0.1");
        Ctl<QCheckBox>(sheet, "dlg153", 1037)->toggle();
        return Ok(sheet);
    });
    EXPECT_EQ(Stored(u"Settings\\Communication", u"IPAddress"), u"127.0.0.5");
    EXPECT_EQ(Stored(u"Settings\\Communication", u"StandbyIP"), u"127.0.0.1");
    Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        // Editing the main address lets the partner go, even when it ends as it was.
        auto* mainIP = Ctl<QLineEdit>(sheet, "dlg153", 1047);
        mainIP->setText("127.0.0.9");
        mainIP->setText("127.0.0.1");
        return Ok(sheet);
    });
    EXPECT_EQ(app.m_standbyIP.Get(), u"0.0.0.0");
    EXPECT_EQ(Stored(u"Settings\\Communication", u"StandbyIP"), u"0.0.0.0");
    app.GetDataMgr().Disconnect();
}

// A mistyped port brings back the link that worked, ready for Connect. A link that is not open
// (an adapter plugged in after the start) is opened by OK on the page as it stands; one that
// is open is left as it is.
TEST_F(PreferencesTest, OkOpensTheLinkOfThePageUnlessItIsOpenAlready) {
    CSimController sim(true);
    CSimUdpLink peer(sim);
    app.SetPeerPort(peer.Port());
    ASSERT_TRUE(app.OpenComm(u"NET:", 38400, u"127.0.0.1", u""));
    app.SetMode(CAppState::kModeOnline);
    Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        Ctl<QComboBox>(sheet, "dlg153", 1042)->setEditText("/dev/kelvardin-no-such-port");
        script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
        return Ok(sheet);
    });
    EXPECT_TRUE(
        PumpWaitingMessages([&] { return app.IsCommandEnabled(ID_CONNECT) != FALSE; }, 20000));

    CSimController serial(false);
    CSimSerialLink line(serial);
    const std::filesystem::path later = dir.filePath("ttyLater").toStdString();
    app.GetDataMgr().Disconnect();
    script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
    EXPECT_FALSE(app.OpenComm(CString::FromUtf8(later.string()), 9600, u"", u""));
    std::filesystem::create_symlink(line.DevicePath(), later);
    Run(CPreferencesSheet::kGeneral, Ok);
    EXPECT_TRUE(PumpWaitingMessages([&] { return app.m_nControllerPresent == 1; }, 20000));
    Run(CPreferencesSheet::kGeneral, Ok);
    EXPECT_EQ(app.m_nControllerPresent, 1);  // not opened again
    app.GetDataMgr().Disconnect();

    // An adapter pulled out is no longer open: OK on the page as it stands tries it again, and
    // while it is still out the link goes on waiting for it.
    CSimSerialLink adapter(serial, dir.filePath("ttyUSB").toStdString());
    ASSERT_TRUE(app.OpenComm(CString::FromUtf8(adapter.DevicePath()), 9600, u"", u""));
    adapter.Unplug();
    ASSERT_TRUE(PumpWaitingMessages([&] { return !app.GetDataMgr().IsLinkOpen(); }, 20000));
    Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
        script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
        return Ok(sheet);
    });
    adapter.PlugIn();
    EXPECT_TRUE(PumpWaitingMessages([&] { return app.m_nControllerPresent == 1; }, 20000));
    EXPECT_TRUE(app.GetDataMgr().IsLinkOpen());
    app.GetDataMgr().Disconnect();

    // A first start names no controller yet: nothing to open, nothing to complain of.
    app.m_strComPort = u"NET:";
    app.m_ipAddress.Set(u"");
    Run(CPreferencesSheet::kGeneral, Ok);
    EXPECT_EQ(script.MessageBoxes().size(), 3u);
}

TEST_F(PreferencesTest, TheAdvancedPageChecksItsCountsAndSetsTheConfigurationOutsideOnline) {
    const auto checks = [&](QDialog& sheet, std::initializer_list<UINT> ids) {
        QString state;
        for (UINT id : ids)
            state += Ctl<QWidget>(sheet, "dlg163", id)->isEnabled() ? '1' : '0';
        return state;
    };
    Run(CPreferencesSheet::kAdvanced, [&](QDialog& sheet) {
        auto& prefs = static_cast<CPreferencesSheet&>(sheet);
        auto* intercoms = Ctl<QLineEdit>(sheet, "dlg163", 1046);
        auto* alphaSize = Ctl<QComboBox>(sheet, "dlg163", 1042);
        EXPECT_EQ(intercoms->text(), "31");  // no more than the controller has
        EXPECT_EQ(alphaSize->currentText() + checks(sheet, {1038, 1042}), "410");

        intercoms->setText("1");
        script.ExpectMessageBox(u"Enter an integer between 2 and 255.", IDOK);
        prefs.SetActivePage(CPreferencesSheet::kPreferences);
        EXPECT_EQ(prefs.GetActiveIndex(), CPreferencesSheet::kAdvanced);
        intercoms->setText("254");
        auto* spin = Ctl<CSpinButtonCtrl>(sheet, "dlg163", 1048);
        spin->Step(1);
        spin->Step(1);
        EXPECT_EQ(intercoms->text(), "255");

        Ctl<QLineEdit>(sheet, "dlg163", 1047)->setText("10001");
        script.ExpectMessageBox(u"Enter an integer between 1 and 10000.", IDOK);
        prefs.accept();
        Ctl<QLineEdit>(sheet, "dlg163", 1047)->setText("500");
        Ctl<QCheckBox>(sheet, "dlg163", 1038)->click();
        Ctl<QCheckBox>(sheet, "dlg163", 1039)->click();
        alphaSize->setCurrentIndex(alphaSize->findText("8W"));
        return Ok(sheet);
    });
    const CCVConfig& config = app.GetConfig();
    EXPECT_EQ(config.m_wFlags & 0x14, 0x14);
    EXPECT_EQ(config.m_nAlphaSize, 16);
    EXPECT_EQ(app.GetDataMgr().GetLinkConfig().alphaSize, 16);  // the link follows
    EXPECT_EQ(Stored(u"Settings\\Configuration", u"VisibleIntercoms"), u"255");
    EXPECT_EQ(Stored(u"Settings\\Configuration", u"VisibleTrunks"), u"500");

    // ONLINE the controller's own configuration stays; the sheet opens where it was left.
    app.SetMode(CAppState::kModeOnline);
    CPreferencesSheet sheet(nullptr, &host);
    script.ExpectDialog("sheet2406", [&](QDialog& dialog) {
        EXPECT_EQ(sheet.GetActiveIndex(), CPreferencesSheet::kAdvanced);
        EXPECT_EQ(checks(dialog, {1038, 1039, 1042}), "001");
        return Ok(dialog);
    });
    sheet.DoModal();
    EXPECT_EQ(config.m_wFlags & 0x14, 0x14);
}

TEST_F(PreferencesTest, TheAdvancedPageClearsOnlyTheFeatureWhoseBoxWasCleared) {
    CCVConfig& config = app.GetConfig();
    for (UINT box : {1038u, 1039u}) {
        config.m_wFlags = 0x5C;
        Run(CPreferencesSheet::kAdvanced, [&](QDialog& sheet) {
            auto* cleared = Ctl<QCheckBox>(sheet, "dlg163", box);
            EXPECT_TRUE(cleared->isChecked());
            cleared->click();
            return Ok(sheet);
        });
        EXPECT_EQ(config.m_wFlags, box == 1038u ? 0x4C : 0x58) << box;
    }
}

TEST_F(PreferencesTest, TheGeneralPageResolvesTheMainAddressOnlyForTheNetworkWhenItChanged) {
    CSimController sim(true);
    CSimUdpLink peer(sim);
    app.SetPeerPort(peer.Port());
    app.m_ipAddress.Set(u"localhost");
    const auto apply = [&](const char* port, const char* address) {
        Run(CPreferencesSheet::kGeneral, [&](QDialog& sheet) {
            Ctl<QComboBox>(sheet, "dlg153", 1042)->setEditText(port);
            if (address) Ctl<QLineEdit>(sheet, "dlg153", 1047)->setText(address);
            return Ok(sheet);
        });
        return Stored(u"Settings\\Communication", u"IPAddress");
    };
    // The name kept as it stands: the link looks it up each time it opens.
    EXPECT_EQ(apply("NET:", nullptr), u"localhost");
    // A serial port never reads the address, whatever it is.
    EXPECT_EQ(apply("NUL:", "no host here"), u"no host here");
    EXPECT_EQ(apply("NET:", "localhost"), u"127.0.0.1");
}

TEST_F(PreferencesTest, TheVisibleCountsAreStoredOnlyWhenTheUserChangedThem) {
    app.m_nVisibleIntercoms = 255;
    app.m_nVisibleTrunks = 10000;
    app.GetConfig().m_wNumIntercoms = 12;
    app.GetConfig().m_wNumTrunks = 96;
    const auto run = [&](const char* intercoms, const char* trunks) {
        Run(CPreferencesSheet::kAdvanced, [&](QDialog& sheet) {
            EXPECT_EQ(Ctl<QLineEdit>(sheet, "dlg163", 1046)->text(), "12");
            EXPECT_EQ(Ctl<QLineEdit>(sheet, "dlg163", 1047)->text(), "96");
            if (intercoms) Ctl<QLineEdit>(sheet, "dlg163", 1046)->setText(intercoms);
            if (trunks) Ctl<QLineEdit>(sheet, "dlg163", 1047)->setText(trunks);
            return Ok(sheet);
        });
        return Stored(u"Settings\\Configuration", u"VisibleIntercoms") + u" " +
               Stored(u"Settings\\Configuration", u"VisibleTrunks");
    };
    // OK on what the page shows keeps the settings for a larger controller.
    EXPECT_EQ(run(nullptr, nullptr), u"255 10000");
    EXPECT_EQ(run(nullptr, "50"), u"255 50");
    EXPECT_EQ(app.m_nVisibleIntercoms, 255);
    app.m_nVisibleTrunks = 10000;
    EXPECT_EQ(run("8", nullptr), u"8 10000");
}

TEST_F(PreferencesTest, ThePreferencesAndDirectoriesPagesStoreTheirSettings) {
    const QString logs = dir.filePath("logs");
    Run(CPreferencesSheet::kPreferences, [&](QDialog& sheet) {
        auto* seconds = Ctl<QCheckBox>(sheet, "dlg164", 1074);
        EXPECT_FALSE(seconds->isVisible());  // the controller cannot take seconds
        Ctl<QCheckBox>(sheet, "dlg164", 1034)->setChecked(true);

        static_cast<CPreferencesSheet&>(sheet).SetActivePage(CPreferencesSheet::kDirectories);
        auto* setups = Ctl<QLineEdit>(sheet, "dlg181", 1046);
        // A page made after the sheet's buttons still comes before them with Tab.
        auto* ok = sheet.findChild<QPushButton*>(QStringLiteral("ctl%1").arg(IDOK));
        QWidget* next = sheet.findChild<QTabBar*>()->nextInFocusChain();
        while (next != setups && next != ok)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, setups);
        setups->clear();
        QTest::keyClicks(setups, dir.filePath("setups/"));
        script.ExpectDialog("FolderBrowser", [&](QDialog& browser) {
            static_cast<QFileDialog&>(browser).selectFile(logs);
            return int(QDialog::Accepted);
        });
        Ctl<QPushButton>(sheet, "dlg181", 1022)->click();
        EXPECT_EQ(Ctl<QLineEdit>(sheet, "dlg181", 1047)->text(), logs);
        return Ok(sheet);
    });
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Preferences", u"IncludeAlphasInSetupFiles", 0), 1u);
    EXPECT_EQ(Stored(u"Settings\\Files and Directories", u"SetupFileDirectory"),
              FromQString(dir.filePath("setups")));
    EXPECT_EQ(Stored(u"Settings\\Files and Directories", u"LogFileDirectory"),
              FromQString(logs + "/"));

    app.GetConfig().m_dwCapabilities |= CCVConfig::kMinSecTimeout;
    Run(CPreferencesSheet::kPreferences, [&](QDialog& sheet) {
        auto* seconds = Ctl<QCheckBox>(sheet, "dlg164", 1074);
        EXPECT_TRUE(seconds->isVisible() && !seconds->isEnabled());  // the options have changes
        return int(IDCANCEL);
    });
}

}  // namespace

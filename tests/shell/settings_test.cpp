#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <functional>

#include "platform/base/codepage.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/modal_script.h"

namespace {

class SettingsTest : public ShellTest {
protected:
    static void SetUpTestSuite() { QStandardPaths::setTestModeEnabled(true); }
};

TEST_F(SettingsTest, StoredValuesAreClampedAsTheyAreRead) {
    constexpr const char16_t* kComm = u"Settings\\Communication";
    constexpr const char16_t* kStart = u"Settings\\Startup and Shutdown";
    constexpr const char16_t* kConfig = u"Settings\\Configuration";
    constexpr const char16_t* kCorvane = u"Corvane\\Configuration";
    struct Case {
        const char16_t* section;
        const char16_t* key;
        const char16_t* value;
        std::function<bool(const CTestApp&)> check;
    } cases[] = {
        {kComm, u"BaudRate", u"57600", [](auto& a) { return a.m_nBaudRate == 38400; }},
        {kComm, u"BaudRate", u"19200", [](auto& a) { return a.m_nBaudRate == 19200; }},
        {kComm, u"BaudRate", u"fast", [](auto& a) { return a.m_nBaudRate == 38400; }},
        {kComm, u"ComPort", u"net:", [](auto& a) { return a.m_bNetwork && !a.m_nRequestLogging; }},
        {kComm, u"ComPort", u"COM2:", [](auto& a) { return !a.m_bNetwork && a.m_nRequestLogging; }},
        {kStart, u"AutoLog", u"2", [](auto& a) { return a.m_nAutoLog == -1; }},
        {kStart, u"AutoLog", u"1", [](auto& a) { return a.m_nAutoLog == 1; }},
        {u"Settings\\Restrictions", u"AllowMemoryPeek", u"7",
         [](auto& a) { return a.m_bAllowMemoryPeek == TRUE; }},
        {kConfig, u"VisibleIntercoms", u"0", [](auto& a) { return a.m_nVisibleIntercoms == 255; }},
        {kConfig, u"VisibleTrunks", u"10001", [](auto& a) { return a.m_nVisibleTrunks == 10000; }},
        {kConfig, u"SyncCorvaneClock", u"0", [](auto& a) { return !a.m_bSyncCorvaneClock; }},
        // A controller of no intercoms or trunks leaves nothing to work on: as if not stored.
        {kCorvane, u"NumIntercoms", u"0", [](auto& a) { return a.GetVisibleIcomCount() == 31; }},
        {kCorvane, u"NumTrunks", u"0", [](auto& a) { return a.GetVisibleTrunkCount() == 999; }},
    };
    for (const Case& c : cases) {
        profile.WriteProfileString(c.section, c.key, c.value);
        app.LoadSettings();
        EXPECT_TRUE(c.check(app)) << ToUtf8(c.key) << " = " << ToUtf8(c.value);
        profile.WriteProfileString(c.section, c.key, u"");  // reads as its default again
    }
    // The counts of the oldest controllers, once stored as the visible counts, mean all.
    const std::pair<int, int> pairs[][2] = {{{31, 999}, {255, 10000}}, {{31, 1000}, {31, 1000}}};
    for (const auto& [stored, read] : pairs) {
        profile.WriteProfileInt(kConfig, u"VisibleIntercoms", std::uint32_t(stored.first));
        profile.WriteProfileInt(kConfig, u"VisibleTrunks", std::uint32_t(stored.second));
        app.LoadSettings();
        EXPECT_EQ(std::pair(app.m_nVisibleIntercoms, app.m_nVisibleTrunks), read);
    }
}

TEST_F(SettingsTest, SuppressedErrorsAndDirectoriesKeepTheirForm) {
    profile.WriteProfileBinary(u"Settings\\Configuration", u"SuppressedErrors", {0xFF, 0xFF});
    profile.WriteProfileString(u"Settings\\Files and Directories", u"LogFileDirectory",
                               u"/data/logs");
    profile.WriteProfileString(u"Settings\\Files and Directories", u"SetupFileDirectory",
                               u"/data/./setups/old/../");
    profile.WriteProfileString(u"Settings\\Files and Directories", u"SNMPConfigDirectory", u"/");
    app.LoadSettings();
    EXPECT_TRUE(app.IsErrorSuppressed(0) && app.IsErrorSuppressed(15));
    EXPECT_FALSE(app.IsErrorSuppressed(16) || app.IsErrorSuppressed(37) ||
                 app.IsErrorSuppressed(38));
    EXPECT_EQ(app.GetLogDirectory(), u"/data/logs/");
    EXPECT_EQ(app.GetSetupDirectory(), u"/data/setups");
    EXPECT_EQ(app.GetSNMPDirectory(), u"/");
    // A setter writes at once.
    app.SetSetupDirectory(u"/srv/setups/");
    EXPECT_EQ(
        profile.GetProfileString(u"Settings\\Files and Directories", u"SetupFileDirectory", {}),
        u"/srv/setups");

    app.SetErrorSuppressed(37, true);
    app.SetErrorSuppressed(40, true);
    app.SaveSettings();
    EXPECT_EQ(profile.GetProfileBinary(u"Settings\\Configuration", u"SuppressedErrors"),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0, 0, 0x20}));

    const CString made = FromQString(dir.filePath("Logs/2024"));
    EXPECT_TRUE(CKelvardinApp::PrepareDirectory(made));
    EXPECT_TRUE(QDir(ToQString(made)).exists());
}

TEST_F(SettingsTest, ACopyWritesOnlyTheSettingsItChangedAndKeepsAnothersChanges) {
    constexpr const char16_t* kStart = u"Settings\\Startup and Shutdown";
    app.LoadSettings();
    app.SaveSettings();
    // Another copy of the program, running at the same time, turns the exit question off.
    {
        CIniProfile other(IniPath());
        other.WriteProfileInt(kStart, u"ConfirmExit", 0);
        other.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"10.1.1.1");
        ASSERT_TRUE(other.Flush());
    }
    app.m_nAutoLog = 1;
    app.SaveSettings();
    CIniProfile after(IniPath());
    EXPECT_EQ(after.GetProfileInt(kStart, u"ConfirmExit", 7), 0u);
    EXPECT_EQ(after.GetProfileString(u"Settings\\Communication", u"IPAddress", {}),
              CString(u"10.1.1.1"));
    EXPECT_EQ(after.GetProfileInt(kStart, u"AutoLog", 7), 1u);
}

TEST_F(SettingsTest, SettingsThatCannotBeSavedAreReportedOnceWithTheFile) {
    CModalScript script(env);
    app.LoadSettings();
    app.SaveSettings();
    // A folder where the file should be: the file cannot be written, even by the superuser.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Kelvardin.ini.blocked")));
    QFile::remove(ToQString(IniPath()));
    ASSERT_TRUE(
        QDir(dir.path())
            .rename(QStringLiteral("Kelvardin.ini.blocked"), QStringLiteral("Kelvardin.ini")));
    script.ExpectMessageBox(u"The settings could not be saved to " + IniPath().str(), IDOK);
    app.m_bConfirmExit = FALSE;
    app.SaveSettings();
    app.m_bAutoConnect = FALSE;
    app.ExitInstance();
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(script.MessageBoxes().size(), 1u);
}

}  // namespace

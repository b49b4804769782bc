#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "model/file_error.h"
#include "model/validation_report.h"
#include "res/command_ids.h"
#include "shell/about_dlg.h"
#include "shell/kelvardin_dialog.h"
#include "shell/wp_saver.h"
#include "tests/shell/shell_fixture.h"

namespace {

std::vector<CString> Args(std::initializer_list<const char16_t*> args) {
    return {args.begin(), args.end()};
}

TEST_F(ShellTest, AValidationErrorIsShownOrOnlyBeepsWhenTheUserSuppressedIt) {
    CFakeMainFrame* frame = app.AttachFrame();
    app.SetErrorSuppressed(8, true);

    ReportValidationError(8, u"Name too long", TRUE);
    ReportValidationError(8, u"Name too long", FALSE);
    EXPECT_EQ(frame->beeps, std::vector<UINT>{MB_ICONSTOP});
    EXPECT_TRUE(frame->posted.empty());

    ReportValidationError(9, u"Port in use", TRUE);
    ASSERT_EQ(frame->posted.size(), 1u);
    EXPECT_EQ(frame->posted[0], (std::pair<UINT, WPARAM>(WM_COMMAND, ID_ERROR_INFO)));
    app.m_nLastError = 9;
    EXPECT_EQ(app.GetValidationErrorText(), u"Port in use");

    ReportValidationError(38, u"out of range", TRUE);
    EXPECT_EQ(frame->posted.size(), 1u);
    app.m_nLastError = 38;
    EXPECT_EQ(app.GetValidationErrorText(), u"");
}

TEST_F(ShellTest, StartUpRunsInOrderAndExitWritesTheSettingsBack) {
    profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NUL:");
    profile.WriteProfileString(u"Settings\\Configuration", u"VisibleIntercoms", u"31");
    profile.WriteProfileString(u"Settings\\Configuration", u"VisibleTrunks", u"999");

    ASSERT_TRUE(app.InitInstance(Args({u"-nologo"})));
    // Every setting exists at once, with its value as read.
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Configuration", u"VisibleIntercoms", 0), 255u);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Restrictions", u"AllowLog", 9), 1u);
    QWidget* window = app.GetMainFrame()->GetWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMaximized());  // no placement was saved
    EXPECT_TRUE(window->acceptDrops());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);  // "NUL:" opens no link
    EXPECT_TRUE(app.GetCommandLine().HasOption(u"nologo"));

    app.m_bConfirmExit = FALSE;
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Startup and Shutdown", u"ConfirmExit", 9), 0u);
    EXPECT_EQ(app.GetMainFrame(), nullptr);
}

TEST_F(ShellTest, StartUpRestoresASavedPlacementAndFailsWithoutAMainWindow) {
    profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NUL:");
    const int saved[] = {0, SW_SHOWNORMAL, 40, 30, 440, 330};
    const char16_t* keys[] = {u"flags", u"showCmd", u"x1", u"y1", u"x2", u"y2"};
    for (int i = 0; i < 6; ++i)
        profile.WriteProfileInt(u"Windows\\Application", keys[i], std::uint32_t(saved[i]));
    ASSERT_TRUE(app.InitInstance(Args({u"/nologo"})));
    QWidget* window = app.GetMainFrame()->GetWindow();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(400, 300));
    app.ExitInstance();

    app.makeFrame = false;
    EXPECT_FALSE(app.InitInstance(Args({u"-nologo"})));
}

TEST(CommandLine, SwitchesTakeTheParameterThatFollowsThem) {
    CCommandLineInfoEx info;
    info.ParseCommandLine(Args({u"/nologo", u"-port", u"COM2:", u"/home/me/site.kvd"}));
    EXPECT_EQ(info.GetOption(u"port"), u"COM2:");
    EXPECT_EQ(info.GetOption(u"nologo"), u"TRUE");
    EXPECT_EQ(info.m_strFileName, u"COM2:");            // the framework reads every plain parameter
    EXPECT_FALSE(info.HasOption(u"home/me/site.kvd"));  // a path is no switch

    CCommandLineInfoEx capitals;
    capitals.ParseCommandLine(Args({u"-NOLOGO"}));
    EXPECT_FALSE(capitals.HasOption(u"nologo"));
    CCommandLineInfoEx embedded;
    embedded.ParseCommandLine(Args({u"-Embedding"}));
    EXPECT_FALSE(embedded.m_bShowSplash);
}

// A dialog with one edit, which ends itself before it shows when asked to.
class CTestDialog : public CKelvardinDialog {
public:
    explicit CTestDialog(bool endAtOnce) : CKelvardinDialog(160), m_endAtOnce(endAtOnce) {
        auto* layout = new QVBoxLayout(this);
        edit = new QLineEdit;
        edit->setObjectName("ctl1019");
        layout->addWidget(edit);
    }
    QLineEdit* edit;

protected:
    void OnInitDialog() override {
        if (m_endAtOnce) EndDialog(IDCANCEL);
    }

private:
    bool m_endAtOnce;
};

TEST_F(ShellTest, ADialogEndedByItsInitialisationNeverShows) {
    CModalScript script(env);  // any dialog that showed would be unexpected
    CTestDialog dialog(true);
    EXPECT_EQ(dialog.objectName(), "dlg160");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);

    CTestDialog shown(false);
    script.ExpectDialog("dlg160", [](QDialog& d) {
        QTest::keyClick(&d, Qt::Key_Escape);
        return 0;
    });
    EXPECT_EQ(shown.DoModal(), IDCANCEL);
}

TEST_F(ShellTest, HelpNamesTheDialogOrWithShiftTheControl) {
    CModalScript script(env);
    app.m_bPopupHelpID = TRUE;
    CTestDialog dialog(false);
    dialog.show();
    dialog.edit->setFocus();

    script.ExpectMessageBox(u"Help ID: 200a0 - Style: 1", IDOK);
    QTest::keyClick(dialog.edit, Qt::Key_F1);
    script.ExpectMessageBox(u"Help ID: 80a003fb - Style: 8", IDOK);
    QTest::keyClick(dialog.edit, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(app.helpCalls, (std::vector<std::pair<DWORD, UINT>>{{0x200A0, 1}, {0x80A003FB, 8}}));

    app.m_bPopupHelpID = FALSE;
    app.m_bLaunchHelp = FALSE;
    QTest::keyClick(dialog.edit, Qt::Key_F1);
    EXPECT_EQ(app.helpCalls.size(), 2u);
}

TEST_F(ShellTest, TheAboutBoxNamesTheProgramItsMakerAndItsBuild) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Kelvardin");
    auto line = [&](UINT id) {
        return about.findChild<QLabel*>(QStringLiteral("ctl%1").arg(id))->text();
    };
    EXPECT_TRUE(line(CAboutDlg::kVersionLine).startsWith("Kelvardin 1."));
    EXPECT_TRUE(line(CAboutDlg::kLegalLine).endsWith(" Ostrum"));
    EXPECT_TRUE(line(CAboutDlg::kBuildDateLine)
                    .contains(QRegularExpression("^Build Date: [A-Z][a-z]{2} [ 0-9]\\d \\d{4}$")));
}

TEST_F(ShellTest, TheFolderChooserReplacesTheDirectoryOnlyOnOk) {
    CModalScript script(env);
    const QString chosen = dir.filePath("setups");
    QDir().mkpath(chosen);
    script.ExpectDialog("FolderBrowser", [&](QDialog& browser) {
        static_cast<QFileDialog&>(browser).selectFile(chosen);
        browser.accept();
        return 0;
    });
    CString folder = FromQString(dir.path());
    EXPECT_TRUE(app.ChooseFolder(folder, u"Setup File Directory"));
    EXPECT_EQ(ToQString(folder), chosen);

    script.ExpectDialog("FolderBrowser", [](QDialog&) { return int(QDialog::Rejected); });
    EXPECT_FALSE(app.ChooseFolder(folder, u"Setup File Directory"));
    EXPECT_EQ(ToQString(folder), chosen);
}

TEST_F(ShellTest, AFileErrorNamesTheFileAndItsCause) {
    CModalScript script(env);
    script.ExpectMessageBox(u"Could not open file:\n/tmp/site.kvd\nThe file was not found.", IDOK);
    ReportFileError(2153, u"/tmp/site.kvd", CFileException(CFileException::fileNotFound));
}

}  // namespace

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "model/validation_report.h"
#include "res/command_ids.h"
#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/main_frame/wp_saver.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/modal_script.h"

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

TEST(HostAddress, OnlyIPv4AddressesAreTaken) {
    DWORD address = 0;
    EXPECT_TRUE(CKelvardinApp::ResolveHostAddress(u" 10.1.2.3 ", address));
    EXPECT_EQ(address, 0x0A010203u);
    EXPECT_TRUE(CKelvardinApp::ResolveHostAddress(u"localhost", address));
    EXPECT_EQ(address, 0x7F000001u);
    EXPECT_FALSE(CKelvardinApp::ResolveHostAddress(u"::1", address));
    EXPECT_FALSE(CKelvardinApp::ResolveHostAddress(u"  ", address));
    EXPECT_EQ(address, 0x7F000001u);
    // Four numbers are decimal whatever their leading zeros; other number forms are no
    // address and no name.
    EXPECT_TRUE(CKelvardinApp::ResolveHostAddress(u"127.000.000.010", address));
    EXPECT_EQ(address, 0x7F00000Au);
    for (const char16_t* number : {u"127.1", u"0x7f.0.0.1", u"2130706433", u"10.0.0.256"})
        EXPECT_FALSE(CKelvardinApp::ResolveHostAddress(number, address));
    EXPECT_EQ(address, 0x7F00000Au);
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
    EXPECT_TRUE(window->isVisible() && window->isMaximized());  // no placement was saved
    EXPECT_TRUE(window->acceptDrops());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);  // "NUL:" opens no link
    EXPECT_EQ(app.GetCommandLine().GetOption(u"nologo"), u"TRUE");
    app.m_bConfirmExit = FALSE;
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Startup and Shutdown", u"ConfirmExit", 9), 0u);
    EXPECT_EQ(app.GetMainFrame(), nullptr);

    const int saved[] = {0, SW_SHOWNORMAL, 40, 30, 440, 330};
    const char16_t* keys[] = {u"flags", u"showCmd", u"x1", u"y1", u"x2", u"y2"};
    for (int i = 0; i < 6; ++i)
        profile.WriteProfileInt(u"Windows\\Application", keys[i], std::uint32_t(saved[i]));
    ASSERT_TRUE(app.InitInstance(Args({u"/nologo"})));
    window = app.GetMainFrame()->GetWindow();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(400, 300));
    app.ExitInstance();

    app.makeFrame = false;
    EXPECT_FALSE(app.InitInstance(Args({u"-nologo"})));
}

TEST_F(ShellTest, AFirstStartWithoutAControllerAddressOpensOnFilesWithoutAWord) {
    CModalScript script(env);
    ASSERT_TRUE(app.InitInstance(Args({u"-nologo"})));  // the defaults: "NET:", no address
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    app.m_bConfirmExit = FALSE;
    app.ExitInstance();
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

TEST_F(ShellTest, ADialogEndedByItsInitialisationNeverShowsAndHelpNamesItsControls) {
    CModalScript script(env);  // a dialog that showed would be unexpected
    EXPECT_EQ(CTestDialog(true).DoModal(), IDCANCEL);

    app.m_bPopupHelpID = TRUE;
    CTestDialog dialog(false);
    EXPECT_EQ(dialog.objectName(), "dlg160");
    dialog.show();
    dialog.edit->setFocus();
    script.ExpectMessageBox(u"Help ID: 200a0 - Style: 1", IDOK);
    QTest::keyClick(dialog.edit, Qt::Key_F1);
    script.ExpectMessageBox(u"Help ID: 80a003fb - Style: 8", IDOK);
    QTest::keyClick(dialog.edit, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(app.helpCalls, (std::vector<std::pair<DWORD, UINT>>{{0x200A0, 1}, {0x80A003FB, 8}}));
}

}  // namespace

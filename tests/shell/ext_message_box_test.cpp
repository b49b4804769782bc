#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/ui/qt_convert.h"
#include "shell/dialogs/ext_message_box.h"
#include "tests/shell/shell_fixture.h"

namespace {

QCheckBox* CheckBox(QDialog& box) {
    return Ctl<QCheckBox>(box, kExtBoxCheckId);
}

TEST(ExtMessageBoxPlan, EachStyleGetsItsButtonsDefaultAndCheckBox) {
    struct Row {
        UINT style;
        std::vector<int> buttons;
        int defaultButton;
        DWORD checkBox;
        bool preChecked;
    } rows[] = {
        {MB_YESNOCANCEL | MB_YES_TO_ALL | MB_NO_TO_ALL | MB_DEFBUTTON3,
         {IDYES, IDYESTOALL, IDNO, IDNOTOALL, IDCANCEL},
         IDNO,
         0,
         false},
        {MB_OKCANCEL | MB_YES_TO_ALL, {IDOK, IDCANCEL}, IDOK, 0, false},
        {MB_OK | MB_HELP | MB_DEFBUTTON2, {IDOK, IDHELP_BUTTON}, IDHELP_BUTTON, 0, false},
        {MB_OK | MB_DONT_ASK_AGAIN | MB_DONT_DISPLAY_AGAIN | MB_DEFAULT_CHECKED,
         {IDOK},
         IDOK,
         kDontAskAgainChecked,
         true},
        {MB_YESNO | MB_DONT_DISPLAY_AGAIN, {IDYES, IDNO}, IDYES, kSuppressChecked, false},
    };
    for (const Row& row : rows) {
        const CExtBoxPlan plan = PlanExtMessageBox(row.style);
        EXPECT_EQ(plan.buttons, row.buttons) << std::hex << row.style;
        EXPECT_EQ(plan.defaultButton, row.defaultButton) << std::hex << row.style;
        EXPECT_EQ(plan.checkBox, row.checkBox) << std::hex << row.style;
        EXPECT_EQ(plan.preChecked, row.preChecked) << std::hex << row.style;
    }
    EXPECT_EQ(ExtBoxCaption(2348, true), u"Don't tell me again");
}

TEST_F(ShellTest, TheBoxAnswersItsButtonWithTheCheckBoxAndKeepsEscapeToItsRules) {
    CModalScript script(env);
    std::vector<UINT> beeps;
    env.SetBeepListener([&](UINT type) { beeps.push_back(type); });

    // A ticked "Suppress this message" adds its bit to the button.
    script.ExpectDialog("ExtMessageBox", [](QDialog& box) {
        EXPECT_EQ(box.findChild<QLabel*>("ctl1001")->text(), "Bad port");
        EXPECT_NE(box.findChild<QLabel*>("ctl1000"), nullptr);
        EXPECT_EQ(CheckBox(box)->text(), "&Suppress this message");
        CheckBox(box)->setChecked(true);
        Ctl<QPushButton>(box, IDYES)->click();
        return 0;
    });
    EXPECT_EQ(ExtMessageBox(u"Bad port", 0, nullptr,
                            MB_YESNO | MB_ICONEXCLAMATION | MB_DONT_DISPLAY_AGAIN),
              DWORD(IDYES) | kSuppressChecked);

    // Yes/No cannot be escaped or closed: only a button ends it.
    script.ExpectDialog("ExtMessageBox", [](QDialog& box) {
        EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
        QTest::keyClick(&box, Qt::Key_Escape);
        box.close();
        EXPECT_TRUE(box.isVisible());
        Ctl<QPushButton>(box, IDNO)->click();
        return 0;
    });
    EXPECT_EQ(ExtMessageBox(u"Go on?", 0, nullptr, MB_YESNO | MB_NOSOUND), DWORD(IDNO));

    // A lone OK escaped answers OK without the check box, even ticked.
    script.ExpectDialog("ExtMessageBox", [](QDialog& box) {
        EXPECT_TRUE(CheckBox(box)->isChecked());
        QTest::keyClick(&box, Qt::Key_Escape);
        return 0;
    });
    EXPECT_EQ(ExtMessageBox({}, 0, nullptr, MB_OK | MB_DONT_ASK_AGAIN | MB_DEFAULT_CHECKED),
              DWORD(IDOK));
    // With Cancel, Escape is Cancel; Help asks for the help id and leaves the box open.
    app.m_bLaunchHelp = TRUE;
    script.ExpectDialog("ExtMessageBox", [](QDialog& box) {
        Ctl<QPushButton>(box, IDHELP_BUTTON)->click();
        EXPECT_TRUE(box.isVisible());
        QTest::keyClick(&box, Qt::Key_Escape);
        return 0;
    });
    EXPECT_EQ(ExtMessageBox(u"Send?", 0x30008, nullptr, MB_OKCANCEL | MB_HELP), DWORD(IDCANCEL));
    EXPECT_EQ(app.helpCalls, (std::vector<std::pair<DWORD, UINT>>{{0x30008, 1}}));

    // The stop icon with system modality is the platform's plain box.
    script.ExpectMessageBox(u"Fatal", IDOK);
    EXPECT_EQ(ExtMessageBox(u"Fatal", 0, nullptr, MB_ICONSTOP | MB_SYSTEMMODAL), DWORD(IDOK));

    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION, 0, 0}));
}

}  // namespace

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/ui/modal.h"
#include "platform/ui/nested_loop.h"
#include "platform/ui/title_fit.h"
#include "platform/ui/ui_environment.h"
#include "tests/support/modal_script.h"

namespace {

// A dialog that keeps what was typed when OK is pressed.
class CNameDialog : public QDialog {
public:
    CNameDialog() {
        setObjectName("dlg900");
        auto* layout = new QVBoxLayout(this);
        m_edit = new QLineEdit(this);
        m_edit->setObjectName("ctl1000");
        layout->addWidget(m_edit);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            m_name = m_edit->text();
            accept();
        });
        layout->addWidget(buttons);
    }
    QString m_name;

private:
    QLineEdit* m_edit;
};

TEST(ModalSeam, ScriptedAnswersReachTheirQuestionsInOrder) {
    CUiEnvironment env;
    CModalScript script(env);
    // Each runs as a loop nested in the handling of a message, answered or not.
    script.ExpectMessageBox(u"Save changes", IDNO, [] { EXPECT_TRUE(IsNestedLoopRunning()); });
    script.ExpectDialog("dlg900", [](QDialog& dialog) {
        EXPECT_TRUE(IsNestedLoopRunning());
        dialog.findChild<QLineEdit*>("ctl1000")->setText("Frame 7");
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return QDialog::Rejected;  // ignored: the dialog ended itself
    });
    script.ExpectMenu([](QMenu& menu) {
        EXPECT_TRUE(IsNestedLoopRunning());
        return menu.actions().at(1)->data().toInt();
    });

    EXPECT_EQ(ModalMessageBox(u"Save changes to the setup?", MB_YESNOCANCEL), IDNO);
    CNameDialog dialog;
    EXPECT_EQ(ExecModalDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.m_name, "Frame 7");
    QMenu menu;
    menu.addAction("First")->setData(32771);
    menu.addAction("Second")->setData(32772);
    EXPECT_EQ(ExecPopupMenu(menu, CPoint(10, 10)), 32772);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_FALSE(IsNestedLoopRunning());
}

// A message queued before a dialog opens may open another over it, as a link reply can: the
// script acts on the first dialog first, and the second ends on its own answer.
TEST(ModalSeam, ADialogThatAQueuedMessageOpensOverAScriptedOneEnds) {
    CUiEnvironment env;
    CModalScript script(env);
    CNameDialog outer;
    CNameDialog inner;
    inner.setObjectName("dlg901");
    int innerResult = -1;
    QTimer::singleShot(0, &outer, [&] { innerResult = ExecModalDialog(inner); });
    script.ExpectDialog("dlg900", [&](QDialog&) {
        return QTest::qWaitFor([&] { return innerResult == QDialog::Rejected; }) ? 1 : 0;
    });
    script.ExpectDialog("dlg901", [](QDialog&) { return QDialog::Rejected; });
    EXPECT_EQ(ExecModalDialog(outer), QDialog::Accepted);
}

TEST(ModalSeam, AnUnexpectedModalFailsTheTestAndIsCancelled) {
    CUiEnvironment env;
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            CModalScript script(env);
            answer = ModalMessageBox(u"Surprise", MB_OKCANCEL);
        },
        "unexpected message box: Surprise");
    EXPECT_EQ(answer, IDCANCEL);

    EXPECT_NONFATAL_FAILURE(
        {
            CModalScript script(env);
            script.ExpectMessageBox(u"never shown", IDOK);
        },
        "never came");
}

// No user can press a button the box does not show: such an answer fails the test, and the
// box is left as a user who backs out would leave it.
TEST(ModalSeam, AnAnswerTheBoxDoesNotOfferFailsTheTest) {
    CUiEnvironment env;
    const std::pair<UINT, int> boxes[] = {
        {MB_OK, IDOK}, {MB_YESNO, IDNO}, {MB_OKCANCEL, IDCANCEL}, {MB_ABORTRETRYIGNORE, IDABORT}};
    for (const auto& [style, backOut] : boxes) {
        int answer = 0;
        EXPECT_NONFATAL_FAILURE(
            {
                CModalScript script(env);
                script.ExpectMessageBox(u"Lose", style == MB_OKCANCEL ? IDYES : IDCANCEL);
                answer = ModalMessageBox(u"Lose the changes?", style | MB_ICONEXCLAMATION);
            },
            "is not offered by the box");
        EXPECT_EQ(answer, backOut);
    }

    // A button offered passes, with the state of a box's check box above it.
    CModalScript script(env);
    script.ExpectMessageBox(u"Keep", IDRETRY | 0x02000000);
    EXPECT_EQ(ModalMessageBox(u"Keep trying?", MB_RETRYCANCEL), IDRETRY | 0x02000000);
}

}  // namespace

namespace {

TEST(ModalSeam, ADialogRunsWideEnoughForItsTitle) {
    CUiEnvironment env;
    CModalScript script(env);
    QDialog dialog;
    dialog.setObjectName("dlg901");
    dialog.setWindowTitle("Select the Corvane configuration to use from now on");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QPushButton("OK"));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const int needed = TitleWidthNeeded(dialog.windowTitle(), QFontMetrics(QApplication::font()));
    script.ExpectDialog("dlg901", [&](QDialog& shown) {
        EXPECT_GE(shown.width(), needed);
        return IDOK;
    });
    EXPECT_EQ(ExecModalDialog(dialog), IDOK);
}

}  // namespace

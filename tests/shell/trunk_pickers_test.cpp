#include <QDialog>
#include <QTreeWidget>

#include "shell/select_dialogs.h"
#include "shell/trunk_pickers.h"
#include "tests/shell/small_setup.h"

namespace {

class TrunkPickersTest : public SmallSetupTest {
protected:
    // Chooses the row of the dialog's list and answers the button.
    CModalScript::DialogAction Choose(int row, int button) {
        return [=](QDialog& dialog) {
            SelectRow(*dialog.findChild<QTreeWidget*>(QStringLiteral("ctl1019")), row);
            if (button == IDOK) dialog.accept();
            return button;
        };
    }

    CModalScript script{env};
};

TEST_F(TrunkPickersTest, ThePickersAnswerTheChoiceAndNothingOnCancel) {
    for (WORD n : {4, 1})
        doc.StoreAlpha(CAssign(2, 0, n), CString::Formatted(u"P%d", n));
    CAssign assign(2, 0, 0);
    script.ExpectDialog("dlg166", Choose(1, IDOK));  // the rows by label: P1, P4
    EXPECT_TRUE(PickTrunkAssign(&doc, nullptr, assign, 2, 0, 3));
    EXPECT_EQ(assign, CAssign(2, 0, 4));
    script.ExpectDialog("dlg166", Choose(0, IDCANCEL));
    EXPECT_FALSE(PickTrunkAssign(&doc, nullptr, assign, 2, 0, 3));
    EXPECT_EQ(assign, CAssign(2, 0, 4));

    // The intercoms by name, without the excluded one: IC0, IC2, IC3...
    script.ExpectDialog("dlg167", Choose(1, IDOK));
    EXPECT_EQ(PickTrunkIntercom(&doc, nullptr, 0, 1), 2);
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace

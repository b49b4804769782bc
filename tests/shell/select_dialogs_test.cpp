#include <QPushButton>
#include <QTest>

#include <functional>
#include <string>

#include "shell/dialogs/dlg_select_alpha.h"
#include "shell/dialogs/dlg_select_assign.h"
#include "shell/dialogs/dlg_select_icom.h"
#include "shell/dialogs/select_dialogs.h"
#include "tests/shell/small_setup.h"

namespace {

class SelectDialogTest : public SmallSetupTest {
protected:
    void SetUp() override {
        SmallSetupTest::SetUp();
        Intercom(1).SetName(4, u"ABE", FALSE);
        Intercom(3).SetName(4, u"ZED", FALSE);
        for (WORD n : {7, 2, 30})
            doc.StoreAlpha(CAssign(1, 0, n), CString::Formatted(u"P%d", n));
        doc.StoreAlpha(CAssign(1, 4, 0), u"RY");
        doc.StoreAlpha(CAssign(3, 0, 0), u"P3");
        doc.StoreAlpha(CAssign(4, 0, 0), u"P4");
    }
    static QPushButton* TypeButton(QDialog& dialog, int type) {
        return Ctl<QPushButton>(dialog, 1010 + type);
    }

    CModalScript script{env};
};

TEST_F(SelectDialogTest, TheIntercomDialogListsNamedIntercomsButTheOtherEnd) {
    CDlgSelectIcom dialog(&doc);
    dialog.m_nIntercom = 3;
    dialog.m_nExcludedIntercom = 4;
    script.ExpectDialog("dlg167", [&](QDialog&) {
        CKelvardinListCtrl& list = dialog.GetList();
        // Sorted by name, the preselected one current.
        EXPECT_EQ(Texts(list, 1), QStringList({"ABE", "IC0", "IC2", "IC5", "ZED"}));
        EXPECT_EQ(Texts(list, 0), QStringList({"2", "1", "3", "6", "4"}));
        EXPECT_EQ(list.currentItem()->text(1), "ZED");
        list.SetSortColumn(0);
        EXPECT_EQ(Texts(list, 0), QStringList({"1", "2", "3", "4", "6"}));
        DoubleClick(list, list.topLevelItem(2));
        return IDOK;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nIntercom, 2);

    // Without a named intercom to offer the dialog never shows.
    for (int i = 0; i < 6; ++i)
        Intercom(i).SetName(4, u"", FALSE);
    CDlgSelectIcom empty(&doc);
    script.ExpectMessageBox(u"There are no intercoms available to choose from.", IDOK);
    EXPECT_EQ(empty.DoModal(), IDCANCEL);
    EXPECT_FALSE(empty.isVisible());
}

TEST_F(SelectDialogTest, TheAssignmentDialogOffersIntercomsWithAlphasAndTheirTypes) {
    CDlgSelectAssign dialog(&doc);
    dialog.m_assign = CAssign(1, 0, 2);
    dialog.m_nExcludedIntercom = 4;
    script.ExpectDialog("dlg166", [&](QDialog& shown) {
        CListComboBox& combo = dialog.GetIntercomCombo();
        EXPECT_EQ(combo.count(), 2);  // ABE and ZED: IC4 is the other end, the rest have no alphas
        EXPECT_EQ(combo.currentText(), "ABE");
        EXPECT_TRUE(combo.isEnabled());
        EXPECT_FALSE(TypeButton(shown, 6)->isVisibleTo(&shown));  // UR and IL: not this controller
        EXPECT_FALSE(TypeButton(shown, 7)->isVisibleTo(&shown));
        EXPECT_TRUE(TypeButton(shown, 0)->isChecked());
        CKelvardinListCtrl& list = dialog.GetList();
        EXPECT_EQ(Texts(list, 1), QStringList({"P2", "P30", "P7"}));  // by label
        EXPECT_EQ(list.currentItem()->text(1), "P2");

        list.SetSortColumn(0);
        QTest::mouseClick(TypeButton(shown, 4), Qt::LeftButton);
        EXPECT_EQ(Texts(list, 1), QStringList({"RY"}));
        QTest::mouseClick(TypeButton(shown, 0), Qt::LeftButton);
        EXPECT_EQ(Texts(list, 0), QStringList({"3", "8", "31"}));  // still by number
        EXPECT_EQ(dialog.GetSortColumn(), 0);
        SelectRow(list, 2);
        shown.accept();
        return IDOK;
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_assign, CAssign(1, 0, 30));
}

TEST_F(SelectDialogTest, OnlyTheTypesTheControllerOffersAndTheFilterAllowsCanBePicked) {
    // The buttons that can be pressed, by type, in a picker that starts at an alpha.
    const auto enabled = [&](CAssign start, int filter,
                             const std::function<void(CDlgSelectAssign&)>& act = {}) {
        CDlgSelectAssign dialog(&doc);
        dialog.m_assign = start;
        dialog.m_nTypeFilter = filter;
        std::string types;
        script.ExpectDialog("dlg166", [&](QDialog& shown) {
            for (int type = 0; type < 8; ++type)
                types += TypeButton(shown, type)->isEnabled() ? '1' : '0';
            if (act) act(dialog);
            return IDCANCEL;
        });
        dialog.DoModal();
        return types;
    };
    EXPECT_EQ(enabled(CAssign(1, 0, 2), -1), "11111100");  // UR and IL: not this controller
    EXPECT_EQ(enabled(CAssign(1, 0, 2), 0,
                      [](CDlgSelectAssign& dialog) {
                          QTest::mouseClick(TypeButton(dialog, 4), Qt::LeftButton);
                          EXPECT_TRUE(TypeButton(dialog, 0)->isChecked());
                          EXPECT_EQ(Texts(dialog.GetList(), 1), QStringList({"P2", "P30", "P7"}));
                      }),
              "10000000");

    CCVConfig& config = app.GetConfig();
    config.m_wFlags |= CCVConfig::kNewCorvane;
    config.m_dwCapabilities |= CCVConfig::kIFBSLSupport;
    EXPECT_EQ(enabled(CAssign(1, 0, 2), -1), "11111111");
    EXPECT_EQ(enabled(CAssign(1, 4, 0), 4), "00001000");
}

TEST_F(SelectDialogTest, TheAssignmentDialogEndsBeforeItShowsWhenThereIsNothingToChoose) {
    struct Case {
        CAssign start;
        int fixed;
        int filter;
        int excluded;
        const char16_t* message;  // none: the dialog ends silently
    } cases[] = {
        {CAssign(1, 4, 0), -1, 0, -1, nullptr},  // the type is not the one allowed
        {CAssign(2, 0, 0), 2, 0, -1, u"There are no alphas available to choose from for IC2"},
        {CAssign(6, 0, 0), 6, 0, -1,
         u"There are no alphas available to choose from for intercom #7"},
    };
    for (const Case& c : cases) {
        CDlgSelectAssign dialog(&doc);
        dialog.m_assign = c.start;
        dialog.m_nFixedIntercom = c.fixed;
        dialog.m_nTypeFilter = c.filter;
        dialog.m_nExcludedIntercom = c.excluded;
        if (c.message) script.ExpectMessageBox(c.message, IDOK);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.AllAnswered());
    }
    doc.RemoveAlphasFrom(CAssign(3, 0, 0));
    doc.RemoveAlphasFrom(CAssign(4, 0, 0));
    CDlgSelectAssign dialog(&doc);
    dialog.m_assign = CAssign(3, 0, 0);
    dialog.m_nExcludedIntercom = 1;
    script.ExpectMessageBox(u"There are no alphas available to choose from.", IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(SelectDialogTest, AnAmbiguousAlphaIsChosenByItsPlaceInTheDocumentsList) {
    doc.StoreAlpha(CAssign(3, 0, 5), u"P7");  // the label of ABE's PP 8 too
    CAlphaChooser chooser(doc, nullptr);
    doc.SetSelectAlpha(&chooser);
    // Ends without an intercom look among every intercom's alphas.
    doc.SetTrunkEnd(CAssign(), TRUE, FALSE, 0);
    doc.SetTrunkEnd(CAssign(), TRUE, FALSE, 1);
    script.ExpectDialog("dlg161", [&](QDialog& shown) {
        auto& list = static_cast<CDlgSelectAlpha&>(shown).GetList();
        EXPECT_EQ(shown.windowTitle(), "Select assignment for alpha: P7");
        EXPECT_EQ(Texts(list, 0), QStringList({"ABE", "ZED"}));
        EXPECT_EQ(Texts(list, 1), QStringList({"N008", "N006"}));
        SelectRow(list, 1);
        shown.accept();
        return IDOK;
    });
    ASSERT_TRUE(doc.SetObjectField(CTrunkSpec(0, CTrunk::kFieldEnd1), u"P7", FALSE,
                                   CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryAlphaLabel)));
    EXPECT_EQ(doc.GetTrunkEnd(0, TRUE), CAssign(3, 0, 5));

    script.ExpectDialog("dlg161", [](QDialog&) { return IDCANCEL; });
    EXPECT_FALSE(doc.SetObjectField(CTrunkSpec(1, CTrunk::kFieldEnd1), u"P7", FALSE,
                                    CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryAlphaLabel)));
    EXPECT_EQ(doc.GetTrunkEnd(1, TRUE), CAssign());

    // The controller clears both and names another alpha while the dialog is open: ZED's N006,
    // chosen, is gone, so nothing is written.
    script.ExpectDialog("dlg161", [&](QDialog& shown) {
        doc.StoreAlpha(CAssign(1, 0, 7), u"");
        doc.StoreAlpha(CAssign(3, 0, 5), u"");
        doc.StoreAlpha(CAssign(3, 2, 7), u"ZULU");
        SelectRow(static_cast<CDlgSelectAlpha&>(shown).GetList(), 1);
        shown.accept();
        return IDOK;
    });
    EXPECT_FALSE(doc.SetObjectField(CTrunkSpec(1, CTrunk::kFieldEnd1), u"P7", FALSE,
                                    CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryAlphaLabel)));
    EXPECT_EQ(doc.GetTrunkEnd(1, TRUE), CAssign());
}

}  // namespace

#include <QFontInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <set>

#include "link/command_codes.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/sys_info.h"
#include "shell/controls/list_combo_box.h"
#include "shell/sheets/partial_save_sheet.h"
#include "tests/shell/small_setup.h"

namespace {

constexpr DWORD kChosen = CCVObject::kPartialChoice;
using Ints = QList<qlonglong>;

class PartialSaveTest : public SmallSetupTest {
protected:
    void TearDown() override { CPartialSaveSheet::SetLastPage(0); }

    static QString Text(const QWidget& page, UINT id) { return Ctl<QLabel>(page, id)->text(); }
    static void Show(QWidget& page) {
        page.resize(640, 480);
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }
    static void Select(QTreeWidget& list, std::initializer_list<int> rows) {
        list.clearSelection();
        for (int row : rows)
            list.topLevelItem(row)->setSelected(true);
    }
    Ints ChosenTrunks() const {
        Ints chosen;
        for (int t = 0; t < app.GetConfig().m_wNumTrunks; ++t) {
            if (Flags(CObjSpec::kTrunk, t) & kChosen) chosen << t;
        }
        return chosen;
    }
};

// A trunks page that notes the trunks whose rows it looks up texts for.
class CLookingTrunksPage : public CPSPageTrunks {
public:
    using CPSPageTrunks::CPSPageTrunks;
    mutable std::set<qlonglong> looked;

protected:
    CString GetRowText(LPARAM data, int column) const override {
        looked.insert(data);
        return CPSPageTrunks::GetRowText(data, column);
    }
};

TEST_F(PartialSaveTest, TheSheetStartsFromTheFileAndChangeMarksAndOpensOnThePageShownLast) {
    CModalScript script(env);
    doc.FindObject(CTrunkSpec(1, 1))->SetFlags(CCVObject::kInFile, TRUE);
    doc.SetModified(CTrunkSpec(5, CTrunk::kFieldEnd1), TRUE);
    doc.FindObject(CTrunkSpec(7, 1))->SetFlags(kChosen, TRUE);  // an earlier choice
    doc.FindObject(CIcomSpec(2, 1))->SetFlags(CCVObject::kInFile, TRUE);
    doc.StoreAlpha(CAssign(0, 0, 0), u"A0");
    doc.SetIcomAlphaFlags(0, 0, CCVObject::kInFile, TRUE);
    CPartialSaveSheet::SetLastPage(1);
    {
        CPartialSaveSheet sheet(&doc);
        EXPECT_EQ(sheet.GetPageCount(), 4);
        script.ExpectDialog("sheet2407", [&](QDialog&) {
            EXPECT_EQ(sheet.GetActiveIndex(), 1);
            const auto* intercoms = static_cast<CPSListDragPage*>(sheet.GetPage(1));
            EXPECT_EQ(Rows(*intercoms->GetChosenList()), Ints({2}));
            EXPECT_EQ(Text(*intercoms, 1050), "(0 of 7 intercoms selected)");
            sheet.SetActivePage(0);
            const auto* trunks = static_cast<CPSListDragPage*>(sheet.GetPage(0));
            EXPECT_EQ(Rows(*trunks->GetChosenList()), Ints({1, 5}));
            EXPECT_EQ(Texts(*trunks->GetChosenList(), 1), QStringList({"IC1", "IC5"}));
            EXPECT_EQ(Text(*trunks, 1050), "(0 of 118 trunks selected)");
            EXPECT_EQ(Text(*trunks, 1051), "(0 of 2 trunks selected)");
            return IDCANCEL;
        });
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(CPartialSaveSheet::GetLastPage(), 0);
    EXPECT_FALSE(Intercom(0).GetAlphaFlags(0) & kChosen);  // setup files leave alphas out

    app.m_bAllowAlphasInPartialSave = TRUE;
    app.m_bIncludeAlphasInSetupFiles = TRUE;
    CPartialSaveSheet::SetLastPage(4);
    {
        CPartialSaveSheet sheet(&doc);
        EXPECT_EQ(sheet.GetPageCount(), 5);
        script.ExpectDialog("sheet2407", [&](QDialog&) {
            EXPECT_EQ(sheet.GetActiveIndex(), 4);
            const auto* alphas = static_cast<CPSTreeDragPage*>(sheet.GetPage(4));
            EXPECT_EQ(Text(*alphas, 1051), "(1 of 1 alphas selected)");
            return IDCANCEL;
        });
        sheet.DoModal();
    }
    EXPECT_TRUE(Intercom(0).GetAlphaFlags(0) & kChosen);

    // The alphas page was shown last but is no longer there: the first page opens.
    app.m_bAllowAlphasInPartialSave = FALSE;
    CPartialSaveSheet sheet(&doc);
    script.ExpectDialog("sheet2407", [&](QDialog&) {
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        return IDCANCEL;
    });
    sheet.DoModal();
}

TEST_F(PartialSaveTest, AlphasOfIntercomsThatAreNotShownAreNeverChosen) {
    CModalScript script(env);
    app.m_nVisibleIntercoms = 4;
    doc.StoreAlpha(CAssign(1, 0, 0), u"A1");
    doc.StoreAlpha(CAssign(6, 0, 0), u"A6");
    // Left by a partial file read, and a choice made, while every intercom was shown.
    Intercom(1).SetAlphaFlags(0, CCVObject::kInFile, TRUE);
    Intercom(6).SetAlphaFlags(0, CCVObject::kInFile | kChosen, TRUE);
    Intercom(7).SetAlphaFlags(3, kChosen, TRUE);
    auto run = [&] {
        CPartialSaveSheet sheet(&doc);
        script.ExpectDialog("sheet2407", [](QDialog&) { return IDCANCEL; });
        sheet.DoModal();
        return std::vector<bool>{(Intercom(1).GetAlphaFlags(0) & kChosen) != 0,
                                 (Intercom(6).GetAlphaFlags(0) & kChosen) != 0,
                                 (Intercom(7).GetAlphaFlags(3) & kChosen) != 0};
    };
    app.m_bIncludeAlphasInSetupFiles = TRUE;
    EXPECT_EQ(run(), (std::vector<bool>{true, false, false}));
    Intercom(6).SetAlphaFlags(0, kChosen, TRUE);
    app.m_bIncludeAlphasInSetupFiles = FALSE;
    EXPECT_EQ(run(), (std::vector<bool>{false, false, false}));
}

TEST_F(PartialSaveTest, MovesMarkTheMovedTrunksAndTheCountersFollow) {
    CPSPageTrunks page(&doc);
    page.Create();
    Show(page);
    CKelvardinListCtrl& available = *page.GetAvailableList();
    CKelvardinListCtrl& chosen = *page.GetChosenList();
    Select(available, {4, 0, 9});
    EXPECT_EQ(Text(page, 1050), "(3 of 120 trunks selected)");
    EXPECT_TRUE(Ctl(page, 1021)->isEnabled());
    EXPECT_FALSE(Ctl(page, 1022)->isEnabled());

    QTest::mouseClick(Ctl<QPushButton>(page, 1021), Qt::LeftButton);
    EXPECT_EQ(Rows(chosen), Ints({0, 4, 9}));
    EXPECT_EQ(CPSListDragPage::CountSelectedRows(chosen), 3);
    EXPECT_EQ(Text(page, 1051), "(3 of 3 trunks selected)");
    EXPECT_EQ(Text(page, 1050), "(0 of 117 trunks selected)");
    EXPECT_EQ(ChosenTrunks(), Ints({0, 4, 9}));

    // A double click moves the row under it back, into its place by number.
    DoubleClick(chosen, chosen.topLevelItem(1));
    EXPECT_EQ(Rows(chosen), Ints({0, 9}));
    EXPECT_EQ(Rows(available).mid(2, 3), Ints({3, 4, 5}));
    EXPECT_EQ(ChosenTrunks(), Ints({0, 9}));
    // Below the rows nothing is selected, and nothing moves.
    DoubleClick(chosen, nullptr);
    EXPECT_EQ(Rows(chosen), Ints({0, 9}));

    // The selection commands act on the list that last had the focus.
    QTest::mouseClick(available.viewport(), Qt::LeftButton, {},
                      available.visualItemRect(available.topLevelItem(0)).center());
    QTest::mouseClick(Ctl<QPushButton>(page, 1023), Qt::LeftButton);
    EXPECT_EQ(Text(page, 1050), "(118 of 118 trunks selected)");
    Select(available, {0, 1, 117});
    QTest::mouseClick(Ctl<QPushButton>(page, 1025), Qt::LeftButton);
    EXPECT_EQ(Text(page, 1050), "(115 of 118 trunks selected)");
    EXPECT_FALSE(available.topLevelItem(1)->isSelected());
    EXPECT_TRUE(available.topLevelItem(2)->isSelected());
    QTest::mouseClick(Ctl<QPushButton>(page, 1024), Qt::LeftButton);
    EXPECT_EQ(Text(page, 1050), "(0 of 118 trunks selected)");
    EXPECT_EQ(Text(page, 1051), "(0 of 2 trunks selected)");
    EXPECT_EQ(page.GetFocusedList(), &available);
}

TEST_F(PartialSaveTest, ASmallerSetupKeepsTheChoiceSelectionAndOrderOfTheTrunksStillThere) {
    CPSPageTrunks page(&doc);
    page.Create();
    Show(page);
    CKelvardinListCtrl& available = *page.GetAvailableList();
    CKelvardinListCtrl& chosen = *page.GetChosenList();
    Select(available, {110, 4, 0});
    page.MoveItems(available, chosen);
    chosen.SetSortColumn(0);  // now descending
    Select(available, {5, 115});
    const qlonglong kept = Rows(available)[5];

    app.GetConfig().m_wNumTrunks = 100;
    ASSERT_TRUE(doc.ResetToDefaultSetup());
    page.Refill();
    EXPECT_EQ(Rows(chosen), Ints({4, 0}));
    EXPECT_EQ(ChosenTrunks(), Ints({0, 4}));
    EXPECT_EQ(Text(page, 1051), "(2 of 2 trunks selected)");
    EXPECT_EQ(Text(page, 1050), "(1 of 98 trunks selected)");
    EXPECT_TRUE(available.topLevelItem(available.FindItemByData(kept))->isSelected());
    EXPECT_FALSE(Ctl(page, 1026)->isEnabled());
}

TEST_F(PartialSaveTest, SelectTrunksPicksTheTrunksAtOneIntercomOrBetweenTwo) {
    CPSPageTrunks page(&doc);
    page.Create();
    Show(page);
    CKelvardinListCtrl& available = *page.GetAvailableList();
    auto* between = Ctl<CListComboBox>(page, 1042);
    auto* andCombo = Ctl<CListComboBox>(page, 1043);
    ASSERT_EQ(between->count(), 6);
    EXPECT_EQ(andCombo->itemText(0), "All Intercoms");
    EXPECT_EQ(andCombo->GetCurSelData(), -1);

    auto selectedTrunks = [&] {
        Ints trunks;
        for (int row = 0; row < available.GetItemCount(); ++row) {
            if (available.topLevelItem(row)->isSelected()) trunks << available.GetItemData(row);
        }
        return trunks;
    };
    auto joining = [](std::initializer_list<int> residues) {
        Ints trunks;
        for (int t = 0; t < 120; ++t) {
            if (std::count(residues.begin(), residues.end(), t % 6)) trunks << t;
        }
        return trunks;
    };
    available.setFocus();
    Select(available, {0});
    between->SelectItemData(3);
    QTest::mouseClick(Ctl<QPushButton>(page, 1026), Qt::LeftButton);
    EXPECT_EQ(selectedTrunks(), joining({2, 3}));
    EXPECT_EQ(Text(page, 1050), "(40 of 120 trunks selected)");

    andCombo->setCurrentIndex(andCombo->FindItemData(4));
    QTest::mouseClick(Ctl<QPushButton>(page, 1026), Qt::LeftButton);
    EXPECT_EQ(selectedTrunks(), joining({3}));

    // The intercom of "between" picked in "and" means all intercoms again.
    const int same = andCombo->FindItemData(3);
    andCombo->setCurrentIndex(same);
    emit andCombo->activated(same);
    EXPECT_EQ(andCombo->GetCurSelData(), -1);
}

TEST_F(PartialSaveTest, RowsDraggedOntoTheOtherListMoveAndNowhereElse) {
    CPSPageTrunks page(&doc);
    page.Create();
    Show(page);
    CKelvardinListCtrl& available = *page.GetAvailableList();
    CKelvardinListCtrl& chosen = *page.GetChosenList();
    QWidget* from = available.viewport();

    auto drag = [&](int row, QWidget& over, QPoint at) {
        const QPoint start = available.visualItemRect(available.topLevelItem(row)).center();
        QTest::mousePress(from, Qt::LeftButton, {}, start);
        auto send = [&](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
            QMouseEvent event(type, local, from->mapToGlobal(local), Qt::LeftButton, buttons, {});
            QApplication::sendEvent(from, &event);
        };
        send(QEvent::MouseMove, start + QPoint(0, 30), Qt::LeftButton);
        send(QEvent::MouseMove, start + QPoint(0, 40), Qt::LeftButton);
        EXPECT_TRUE(page.GetDragImage().IsDragging());
        const QPoint end = from->mapFromGlobal(over.mapToGlobal(at));
        send(QEvent::MouseMove, end, Qt::LeftButton);
        EXPECT_EQ(page.GetDragImage().IsDropAllowed(), &over == &chosen);
        send(QEvent::MouseButtonRelease, end, Qt::NoButton);
        EXPECT_FALSE(page.GetDragImage().IsDragging());
    };
    drag(2, available, {10, 10});
    drag(2, page, {2, 2});
    EXPECT_EQ(chosen.GetItemCount(), 0);
    drag(2, chosen, {20, 20});
    EXPECT_EQ(Rows(chosen), Ints({2}));
    EXPECT_EQ(ChosenTrunks(), Ints({2}));
}

TEST_F(PartialSaveTest, RowsOfChangedObjectsAreDrawnOnTheChangedBackground) {
    app.m_clrChangedBackground = RGB(255, 255, 192);
    doc.SetModified(CTrunkSpec(5, CTrunk::kFieldEnd2), TRUE);
    CPSPageTrunks page(&doc);
    page.Create();
    Show(page);
    CKelvardinListCtrl& available = *page.GetAvailableList();
    const QImage shown = available.viewport()->grab().toImage();
    auto background = [&](int row) {
        const QRect rect = available.visualItemRect(available.topLevelItem(row));
        return shown.pixelColor(available.columnWidth(0) - 2, rect.center().y());
    };
    EXPECT_EQ(background(5), QColor(255, 255, 192));
    EXPECT_EQ(background(4), ToQColor(GetSysColor(COLOR_WINDOW)));
}

// The tree as text: each item with its number of alphas, its children in brackets.
QString Dump(const QTreeWidgetItem* item) {
    QString text = item->text(0);
    if (const DWORD count = CPSTreeDragPage::GetItemData(item) & 0xFFFF)
        text += QString(":%1").arg(count);
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children << Dump(item->child(i));
    return children.isEmpty() ? text : text + "[" + children.join(' ') + "]";
}
QString Dump(QTreeWidget& tree) {
    return tree.topLevelItemCount() ? Dump(tree.topLevelItem(0)) : QString();
}

TEST_F(PartialSaveTest, AlphaTreesKeepTheirOrderLoseEmptyParentsAndSumTheirAlphas) {
    app.m_bSortIntercomsByIntercomNumber = TRUE;
    Intercom(0).SetName(4, u"ZED", FALSE);
    Intercom(2).SetName(4, u"ABE", FALSE);
    for (WORD n = 0; n < 2; ++n)
        doc.StoreAlpha(CAssign(0, 0, n), u"PP");
    doc.StoreAlpha(CAssign(0, 1, 0), u"PL");
    doc.StoreAlpha(CAssign(2, 0, 0), u"PP");
    for (WORD n = 0; n < 3; ++n)
        doc.StoreAlpha(CAssign(4, 4, n), u"RY");
    doc.StoreAlpha(CAssign(4, 6, 0), u"UR");  // a type this controller does not have
    doc.SetIcomAlphaFlags(4, 4, kChosen, TRUE);

    CPSPageAlphas page(&doc);
    page.Create();
    Show(page);
    CKelvardinTreeCtrl& available = *page.GetAvailableTree();
    CKelvardinTreeCtrl& chosen = *page.GetChosenTree();
    EXPECT_EQ(Dump(available), "Alphas[ZED[PP:2 PL:1] ABE[PP:1]]");
    EXPECT_EQ(Dump(chosen), "Alphas[IC4[RY:3]]");
    EXPECT_EQ(Text(page, 1050), "(4 of 4 alphas selected)");
    EXPECT_EQ(Text(page, 1051), "(3 of 3 alphas selected)");

    auto move = [&](CKelvardinTreeCtrl& from, const QString& path) {
        QTreeWidgetItem* item = from.topLevelItem(0);
        for (const QString& step : path.split('/')) {
            for (int i = 0; i < item->childCount(); ++i) {
                if (item->child(i)->text(0) == step) item = item->child(i);
            }
        }
        from.setCurrentItem(item);
        QTest::mouseClick(Ctl<QPushButton>(page, &from == &available ? 1021 : 1022),
                          Qt::LeftButton);
    };
    move(available, "ABE/PP");
    EXPECT_EQ(Dump(available), "Alphas[ZED[PP:2 PL:1]]");
    EXPECT_EQ(Dump(chosen), "Alphas[ABE[PP:1] IC4[RY:3]]");
    EXPECT_TRUE(Intercom(2).GetAlphaFlags(0) & kChosen);

    move(available, "ZED");
    EXPECT_EQ(Dump(available), "");
    EXPECT_EQ(Dump(chosen), "Alphas[ZED[PP:2 PL:1] ABE[PP:1] IC4[RY:3]]");
    EXPECT_EQ(Text(page, 1051), "(3 of 7 alphas selected)");
    EXPECT_EQ(Text(page, 1050), "(0 of 0 alphas selected)");
    EXPECT_TRUE(Intercom(0).GetAlphaFlags(1) & kChosen);

    // By name once intercoms are not sorted by number.
    app.m_bSortIntercomsByIntercomNumber = FALSE;
    move(chosen, "IC4/RY");
    move(chosen, "ZED/PL");
    EXPECT_EQ(Dump(available), "Alphas[IC4[RY:3] ZED[PL:1]]");
    EXPECT_FALSE(Intercom(4).GetAlphaFlags(4) & kChosen);
    DoubleClick(available, available.topLevelItem(0)->child(0));
    EXPECT_EQ(Dump(chosen), "Alphas[ABE[PP:1] IC4[RY:3] ZED[PP:2]]");
}

TEST_F(PartialSaveTest, NamesThatChangeShowOnEveryPageInTheirPagesOrder) {
    app.m_bSortIntercomsByIntercomNumber = FALSE;
    doc.StoreAlpha(CAssign(0, 0, 0), u"A0");
    doc.StoreAlpha(CAssign(3, 0, 0), u"A3");
    doc.SetIcomAlphaFlags(3, 0, kChosen, TRUE);
    doc.FindObject(CIcomSpec(4, 1))->SetFlags(kChosen, TRUE);
    CPSPageTrunks trunks(&doc);
    CPSPageIntercoms intercoms(&doc);
    CPSPageAlphas alphas(&doc);
    for (QWidget* page : {static_cast<QWidget*>(&trunks), static_cast<QWidget*>(&intercoms),
                          static_cast<QWidget*>(&alphas)}) {
        static_cast<CKelvardinPage*>(page)->Create();
        Show(*page);
    }
    auto* between = Ctl<CListComboBox>(trunks, 1042);
    auto* andCombo = Ctl<CListComboBox>(trunks, 1043);
    between->SelectItemData(2);
    andCombo->SelectItemData(4);

    Intercom(3).SetName(4, u"ZED", FALSE);
    Intercom(0).SetName(4, u"JOE", FALSE);
    Intercom(6).SetName(4, u"NEW", FALSE);
    Intercom(4).SetName(4, u"AB", FALSE);
    trunks.RefreshTexts();
    intercoms.RefreshTexts();
    alphas.RefreshTexts();

    // Trunk 3 runs from intercom 3 to 4, trunk 2 from 2 to 3.
    const CKelvardinListCtrl& trunkRows = *trunks.GetAvailableList();
    EXPECT_EQ(trunkRows.GetItemText(3, 1), u"ZED");
    EXPECT_EQ(trunkRows.GetItemText(3, 2), u"AB");
    EXPECT_EQ(trunkRows.GetItemText(2, 2), u"ZED");
    EXPECT_EQ(trunkRows.GetItemText(0, 1), u"JOE");
    // The intercom lists name them too, and keep what was picked.
    EXPECT_EQ(between->count(), 7);
    EXPECT_EQ(between->itemText(between->FindItemData(3)), "ZED");
    EXPECT_EQ(between->itemText(between->FindItemData(6)), "NEW");
    EXPECT_EQ(andCombo->itemText(andCombo->FindItemData(0)), "JOE");
    EXPECT_EQ(between->GetCurSelData(), 2);
    EXPECT_EQ(andCombo->GetCurSelData(), 4);

    // Sorted by name again, in both lists.
    EXPECT_EQ(Texts(*intercoms.GetAvailableList(), 1),
              QStringList({"IC1", "IC2", "IC5", "JOE", "NEW", "ZED", ""}));
    EXPECT_EQ(Texts(*intercoms.GetChosenList(), 1), QStringList({"AB"}));

    EXPECT_EQ(Dump(*alphas.GetAvailableTree()), "Alphas[JOE[PP:1]]");
    EXPECT_EQ(Dump(*alphas.GetChosenTree()), "Alphas[ZED[PP:1]]");
    Intercom(3).SetName(4, u"ABE", FALSE);
    alphas.MoveSelected(*alphas.GetAvailableTree(), *alphas.GetChosenTree());
    alphas.RefreshTexts();
    EXPECT_EQ(Dump(*alphas.GetChosenTree()), "Alphas[ABE[PP:1] JOE[PP:1]]");
}

TEST_F(PartialSaveTest, NamesAndEndsThatArriveRewriteOnlyTheRowsTheyChange) {
    CLookingTrunksPage page(&doc);
    page.Create();
    Show(page);
    CKelvardinListCtrl& available = *page.GetAvailableList();
    const auto* between = Ctl<CListComboBox>(page, 1042);
    int sorts = 0, refills = 0;
    QObject::connect(available.model(), &QAbstractItemModel::layoutChanged, [&] { ++sorts; });
    QObject::connect(between->model(), &QAbstractItemModel::rowsInserted, [&] { ++refills; });
    available.SetSortColumn(1);  // by the intercom each trunk comes from
    const auto refresh = [&] {
        page.looked.clear();
        sorts = refills = 0;
        page.RefreshTexts();
        return Ints(page.looked.begin(), page.looked.end());
    };

    // Intercom 3 is named anew: the trunks with an end there, and only they, are looked at.
    Intercom(3).SetName(4, u"ZED", FALSE);
    Ints atThree;
    for (int t = 0; t < 120; ++t)
        if (t % 6 == 2 || t % 6 == 3) atThree << t;
    EXPECT_EQ(refresh(), atThree);
    EXPECT_EQ(available.GetItemText(available.FindItemByData(2), 2), u"ZED");
    EXPECT_EQ(Texts(available, 1).mid(100), QStringList(20, "ZED"));
    EXPECT_EQ(between->itemText(between->FindItemData(3)), "ZED");
    // Fitted first before the page was shown, both lists are fitted as shown now.
    for (CKelvardinListCtrl* list : {&available, page.GetChosenList()}) {
        for (int column = 0; column < 3; ++column) {
            const int width = list->GetColumnWidth(column);
            list->AutoSizeColumn(column, false, false, false);
            EXPECT_EQ(list->GetColumnWidth(column), width) << column;
        }
    }

    // Replies that change nothing the page shows cost nothing.
    EXPECT_EQ(refresh(), Ints());
    EXPECT_EQ(refills, 0);

    // A trunk's end moves: its row alone, sorted into its place; the intercoms stay as listed.
    doc.SetTrunkEnd(CAssign(3, 0, 7), TRUE, FALSE, 7);
    EXPECT_EQ(refresh(), Ints({7}));
    EXPECT_EQ(Texts(available, 1).mid(99), QStringList(21, "ZED"));
    EXPECT_EQ(refills, 0);

    // Sorted by number, names change the texts but not the order.
    available.SetSortColumn(0);
    Intercom(1).SetName(4, u"AAA", FALSE);
    refresh();
    EXPECT_EQ(sorts, 0);
    EXPECT_EQ(available.GetItemText(6, 2), u"AAA");

    // The rows measure in the font the list has now.
    const int rowHeight = available.visualItemRect(available.topLevelItem(0)).height();
    QFont larger = available.font();
    larger.setPixelSize(3 * QFontInfo(larger).pixelSize());
    available.setFont(larger);
    available.doItemsLayout();
    EXPECT_GT(available.visualItemRect(available.topLevelItem(0)).height(), 2 * rowHeight);
}

TEST_F(PartialSaveTest, ABurstOfRepliesIsFollowedOnce) {
    CModalScript script(env);
    env.SetTimeScale(5);  // room for the whole burst before the pages follow it
    app.m_bSortIntercomsByIntercomNumber = FALSE;
    CPartialSaveSheet::SetLastPage(1);
    CPartialSaveSheet sheet(&doc);
    script.ExpectDialog("sheet2407", [&](QDialog&) {
        const auto* page = static_cast<CPSListDragPage*>(sheet.GetPage(1));
        CKelvardinListCtrl& available = *page->GetAvailableList();
        int sorts = 0;
        QObject::connect(available.model(), &QAbstractItemModel::layoutChanged, [&] { ++sorts; });
        // Each reply names one intercom, each handled on its own.
        for (int i = 0; i < 6; ++i) {
            Intercom(i).SetName(4, CString(char16_t(u'F' - i), 1), FALSE);
            doc.UpdateAllViews(nullptr, CUpdateHint::Reply(kCmdNames), 0);
            QCoreApplication::processEvents();
        }
        const QStringList named = {"A", "B", "C", "D", "E", "F", "", ""};
        EXPECT_TRUE(PumpWaitingMessages([&] { return Texts(available, 1) == named; }, 10000));
        EXPECT_EQ(sorts, 1);
        return IDCANCEL;
    });
    sheet.DoModal();
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace

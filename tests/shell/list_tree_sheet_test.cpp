#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionHeader>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include "platform/base/codepage.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/controls/kelvardin_tree_ctrl.h"
#include "shell/controls/list_ctrl_sort.h"
#include "shell/controls/sort_mark_style.h"
#include "shell/controls/view_focus_mark.h"
#include "shell/sheets/kelvardin_page.h"
#include "shell/sheets/kelvardin_sheet.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/painted_area.h"
#include "tests/support/sort_mark_probe.h"

namespace {

TEST(ListSort, EachKindComparesItsWay) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Row {
        int kind;
        const char16_t* a;
        const char16_t* b;
        int ascending;
        int descending;
    } rows[] = {
        {kCompareInteger, u"9", u"10", -1, 1},
        {kCompareInteger, u" 12 trunks", u"12", 0, 0},
        {kCompareInteger, u"9999999999", u"-9999999999", 1, -1},
        {kCompareFloat, u"1.2", u"1.5", -1, 1},
        {kCompareText, u"10", u"9", -1, 1},
        {kCompareTextEmptiesLast, u"", u"a", 1, 1},
        {kCompareTextEmptiesLast, u"a", u"", -1, -1},
        {kCompareTextEmptiesLast, u"", u"", 0, 0},
        {kCompareDateTime, u"1/5/24", u"12/31/23", 1, -1},
        {kCompareDateTime, u"2024-01-05", u"soon", 0, 0},
        {8, u"a", u"b", 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CListCtrlSortClass::CompareTexts(r.a, r.b, true, r.kind), r.ascending)
            << r.kind << " " << ToUtf8(r.a) << " " << ToUtf8(r.b);
        EXPECT_EQ(CListCtrlSortClass::CompareTexts(r.a, r.b, false, r.kind), r.descending)
            << r.kind << " " << ToUtf8(r.a) << " " << ToUtf8(r.b);
    }
    QLocale::setDefault(QLocale::system());
}

// A window whose first column holds numbers and whose second may hold nothing.
class CListOwner : public QWidget, public IListCompareOwner {
public:
    CListOwner() {
        auto* layout = new QHBoxLayout(this);
        layout->addWidget(&list);
        list.InsertColumn(0, u"#", 60);
        list.InsertColumn(1, u"Alpha", 80);
        const std::pair<const char16_t*, const char16_t*> rows[] = {
            {u"10", u"b"}, {u"9", u""}, {u"2", u"a"}};
        for (const auto& [number, alpha] : rows) {
            const int row = list.AddItem(number, list.GetItemCount() + 100);
            list.SetItemText(row, 1, alpha);
        }
    }
    int GetCompareKind(const CKelvardinListCtrl&, int column, bool) override {
        return column == 0 ? kCompareInteger : kCompareTextEmptiesLast;
    }
    QStringList Column(int column) const {
        QStringList texts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts << ToQString(list.GetItemText(row, column));
        return texts;
    }
    void ClickHeader(int column) {
        QHeaderView* header = list.header();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    CKelvardinListCtrl list;
};

TEST_F(ShellTest, HeaderClicksSortByTheOwnersKindAndWidthsChangeOnlyByFitting) {
    CListOwner owner;
    owner.show();
    QHeaderView* header = owner.list.header();

    owner.ClickHeader(1);
    EXPECT_EQ(owner.Column(1), QStringList({"a", "b", ""}));
    owner.ClickHeader(1);
    EXPECT_EQ(owner.Column(1), QStringList({"b", "a", ""}));  // the empty one stays last
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    owner.ClickHeader(0);
    EXPECT_EQ(owner.Column(0), QStringList({"2", "9", "10"}));
    EXPECT_EQ(std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder()),
              std::pair(0, Qt::AscendingOrder));
    EXPECT_EQ(owner.list.FindItemByData(101), 1);  // the row of "9" went along
    EXPECT_EQ(owner.list.FindItemByData(7), -1);

    owner.list.setColumnWidth(0, 300);
    EXPECT_EQ(owner.list.GetColumnWidth(0), 60);
    owner.list.AutoSizeColumn(0, false, true, false);
    const QFontMetrics metrics(owner.list.font());
    EXPECT_EQ(owner.list.GetColumnWidth(0), metrics.horizontalAdvance("#") +
                                                metrics.horizontalAdvance("   ") +
                                                SortMarkRoom(*header) + 20);
}

// The focus mark round the inside of a view with no current row is painted away whole when a
// row becomes current, and comes back whole when none is.
TEST_F(ShellTest, AViewsFocusMarkGoesWholeWhenARowBecomesCurrent) {
    CListOwner owner;
    auto* tree = new CKelvardinTreeCtrl;
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"A"}));
    owner.layout()->addWidget(tree);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(&owner.list), static_cast<QAbstractItemView*>(tree)}) {
        // A click takes the focus without making a row current, as one on the headings does.
        view->setFocus(Qt::MouseFocusReason);
        view->setCurrentIndex({});
        QCoreApplication::processEvents();
        ASSERT_TRUE(ShowsViewFocusMark(*view));
        CPaintedArea painted(view->viewport());
        for (const QModelIndex& current : {view->model()->index(0, 0), QModelIndex()}) {
            painted.Take();
            view->setCurrentIndex(current);
            EXPECT_TRUE(QRegion(view->viewport()->rect()).subtracted(painted.Take()).isEmpty())
                << current.isValid();
        }
    }
}

TEST_F(ShellTest, TheSortMarkPointsUpForAscendingAndLeavesTheHeadingWhole) {
    CListOwner owner;
    owner.list.headerItem()->setText(1, "Intercom Name");
    owner.list.AutoSizeColumn(1, false, true, true);
    owner.show();
    QHeaderView* header = owner.list.header();
    const auto markArea = [&] {
        const int right = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
        return QRect(right - SortMarkRoom(*header), 2, SortMarkRoom(*header), header->height() - 4);
    };
    owner.ClickHeader(1);
    EXPECT_EQ(SortMarkDirection(header->grab().toImage(), markArea()), MarkDirection::Up);
    owner.ClickHeader(1);
    EXPECT_EQ(SortMarkDirection(header->grab().toImage(), markArea()), MarkDirection::Down);

    // Fitted to its heading, the sorted column still shows the whole heading beside the mark.
    QStyleOptionHeader option;
    option.initFrom(header);
    option.state |= QStyle::State_Horizontal;
    option.rect = QRect(0, 0, header->sectionSize(1), header->height());
    option.sortIndicator = QStyleOptionHeader::SortUp;
    const QRect label = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
    EXPECT_GE(label.width(), header->fontMetrics().horizontalAdvance("Intercom Name"));
}

TEST(TreeWalk, EachFlagChangesWhatIsVisitedAndWhenItStops) {
    CKelvardinTreeCtrl tree;
    auto* root = new QTreeWidgetItem(&tree, {"root"});
    auto* a = new QTreeWidgetItem(root, {"a"});
    auto* a1 = new QTreeWidgetItem(a, {"a1"});
    auto* a1x = new QTreeWidgetItem(a1, {"a1x"});
    new QTreeWidgetItem(a, {"a2"});
    new QTreeWidgetItem(new QTreeWidgetItem(root, {"b"}), {"b1"});

    auto walk = [&](UINT flags) {
        QStringList seen;
        tree.WalkItems(
            root,
            [&](QTreeWidgetItem* item) {
                seen << item->text(0);
                return false;
            },
            flags);
        return seen.join(' ');
    };
    EXPECT_EQ(walk(0), "root a b a1 a2 b1 a1x");
    EXPECT_EQ(walk(CKelvardinTreeCtrl::kSkipStart), "a b a1 a2 b1 a1x");
    EXPECT_EQ(walk(CKelvardinTreeCtrl::kDepthFirst), "root a a1 a1x a2 b b1");
    EXPECT_EQ(walk(CKelvardinTreeCtrl::kChildrenOnly), "root a b");

    const auto find = CKelvardinTreeCtrl::MatchItemText(u"a1x");
    EXPECT_EQ(tree.WalkItems(root, find, CKelvardinTreeCtrl::kFirstMatch), a1x);
    EXPECT_EQ(tree.WalkItems(root, find,
                             CKelvardinTreeCtrl::kFirstMatch | CKelvardinTreeCtrl::kChildrenOnly),
              nullptr);
}

// A page that logs what happens to it and may refuse to be applied.
class CLogPage : public CKelvardinPage {
public:
    CLogPage(UINT id, QStringList& log) : CKelvardinPage(id), m_log(log) {
        setWindowTitle(QString::number(id));
    }
    bool refuse = false;
    int edits = 1;  // one above the other

protected:
    void OnInitDialog() override {
        m_log << QStringLiteral("create %1").arg(GetTemplateId());
        auto* layout = new QVBoxLayout(this);
        for (int i = 0; i < edits; ++i) {
            auto* edit = new QLineEdit;
            edit->setObjectName(QStringLiteral("ctl%1").arg(1046 + i));
            layout->addWidget(edit);
        }
    }
    bool OnApply() override {
        m_log << QStringLiteral("apply %1").arg(GetTemplateId());
        return !refuse;
    }

private:
    QStringList& m_log;
};

TEST_F(ShellTest, TheSheetAppliesTheShownPagesInOrderAndStaysOnOneThatRefuses) {
    CModalScript script(env);
    QStringList log;
    CLogPage general(153, log);
    CLogPage advanced(163, log);
    CLogPage directories(181, log);
    CKelvardinSheet sheet(2406, nullptr, 2);
    for (CLogPage* page : {&general, &advanced, &directories})
        sheet.AddPage(page);
    directories.refuse = true;

    script.ExpectDialog("sheet2406", [&](QDialog& dialog) {
        EXPECT_EQ(log, QStringList({"create 181"}));
        sheet.SetActivePage(0);
        sheet.accept();
        EXPECT_EQ(log, QStringList({"create 181", "create 153", "apply 153", "apply 181"}));
        EXPECT_EQ(sheet.GetActiveIndex(), 2);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(advanced.IsCreated());

        directories.refuse = false;
        log.clear();
        sheet.accept();
        EXPECT_EQ(log, QStringList({"apply 153", "apply 181"}));
        return 0;
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
}

TEST_F(ShellTest, ASheetSizedToItsLargestPageKeepsItsButtonsInPlaceAndAppliesOnlyShownPages) {
    CModalScript script(env);
    QStringList log;
    CLogPage small(153, log);
    CLogPage large(163, log);
    large.edits = 12;
    CKelvardinSheet sheet(2406, nullptr, 0);
    sheet.AddPage(&small);
    sheet.AddPage(&large);
    sheet.SetSizedToLargestPage();
    script.ExpectDialog("sheet2406", [&](QDialog& dialog) {
        EXPECT_EQ(log, QStringList({"create 153", "create 163"}));
        const auto* ok = Ctl<QPushButton>(dialog, IDOK);
        const QRect before = ok->geometry();
        const QSize size = dialog.size();
        sheet.SetActivePage(1);
        QCoreApplication::processEvents();
        EXPECT_EQ(ok->geometry(), before);
        EXPECT_EQ(dialog.size(), size);
        EXPECT_GE(large.height(), large.sizeHint().height());
        sheet.SetActivePage(0);
        log.clear();
        sheet.accept();
        return 0;
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(log, QStringList({"apply 153", "apply 163"}));

    // Made but never shown: not applied.
    CLogPage first(153, log);
    CLogPage second(163, log);
    CKelvardinSheet once(2406, nullptr, 0);
    once.AddPage(&first);
    once.AddPage(&second);
    once.SetSizedToLargestPage();
    script.ExpectDialog("sheet2406", [&](QDialog&) {
        log.clear();
        once.accept();
        return 0;
    });
    EXPECT_EQ(once.DoModal(), IDOK);
    EXPECT_EQ(log, QStringList({"apply 153"}));
}

}  // namespace

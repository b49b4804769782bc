#include <QComboBox>
#include <QPaintEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "grid/in_place_list.h"
#include "platform/ui/sys_info.h"
#include "tests/grid/grid_test_support.h"

namespace {

// A grid whose drags drop their text at a chosen cell of itself, as a move.
class CMoveGrid : public CTestGrid {
public:
    CCellID target;

protected:
    DROPEFFECT DoDragDrop(COleDataSource& source) override {
        COleDataObject data(source.GetText(), this);
        PasteTextToGrid(target, &data, FALSE);
        return DROPEFFECT_MOVE;
    }
};

// Collects the areas the grid repaints.
class CPaintWatch : public QObject {
public:
    explicit CPaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QRegion painted;
};

// Rows 20 high and columns 50 wide, one header row and column.
class GridRulesTest : public ::testing::Test {
protected:
    GridRulesTest() {
        w.Shape(20, 6, 1, 1);
        w.owner.GetWidget()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.owner.GetWidget()));
        grid.SetFocus();
        QApplication::processEvents();
    }
    void Key(UINT vk, UINT flags = 0) {
        const CInputState input(flags);
        grid.OnKeyDown(vk, 1, 0);
    }
    QRect CellArea(int row, int col) {
        CRect rect;
        grid.GetCellRect(row, col, &rect);
        return QRect(rect.left, rect.top, rect.Width(), rect.Height());
    }

    CGridWindow<CMoveGrid> w;
    CMoveGrid& grid = w.grid;
};

TEST_F(GridRulesTest, TheListEndsOnTabAndShiftTabAndMovesTheFocusCell) {
    const std::vector<CString> items = {u"Serial", u"Network", u"None"};
    const auto open = [&](int row, int col) {
        CRect rect;
        grid.GetCellRect(row, col, &rect);
        grid.SetFocusCell(row, col);
        return grid.SetInPlaceEditor(std::make_unique<CInPlaceList>(
            &grid, rect, 8, row, col, items, grid.GetItemText(row, col), 'n'));
    };
    QTest::keyClick(open(2, 2)->GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(grid.GetItemText(2, 2), u"Network");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    QTest::keyClick(open(2, 3)->GetWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetItemText(2, 3), u"Network");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
}

TEST_F(GridRulesTest, TabAtTheLastColumnGoesOnToTheNextRowButNotPastTheLastRow) {
    grid.SetFocusCell(2, 5);
    QTest::keyClick(grid.GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 1));
    QTest::keyClick(grid.GetWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 5));

    // Below the last row that shows there is nothing to go to.
    grid.SetRowHeight(19, 0);
    grid.SetFocusCell(18, 5);
    QTest::keyClick(grid.GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(18, 5));
    grid.SetFocusCell(19, 4);
    QTest::keyClick(grid.GetWidget(), Qt::Key_Tab);
    QTest::keyClick(grid.GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(19, 5));
    EXPECT_EQ(QApplication::focusWidget(), grid.GetWidget());
}

TEST_F(GridRulesTest, HomeScrollsToTheLeftmostColumn) {
    for (int col = 1; col < 6; ++col)
        grid.SetColumnWidth(col, 120);
    grid.ResetScrollBars();
    grid.OnHScroll(SB_RIGHT, 0);
    ASSERT_GT(grid.GetScrollPos32(SB_HORZ), 0);
    ASSERT_GT(grid.GetTopleftNonFixedCell().col, 1);
    grid.OnHScroll(SB_LEFT, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 1);

    // The Home key the same, and the focus goes to the first column.
    grid.SetFocusCell(2, 5);
    grid.EnsureVisible(2, 5);
    ASSERT_GT(grid.GetScrollPos32(SB_HORZ), 0);
    Key(VK_HOME);
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
}

TEST_F(GridRulesTest, ARangeSelectsAndUnselectsEachCellAndRepaintsIt) {
    CPaintWatch watch(grid.GetClientWidget());
    grid.SetSelectedRange(2, 1, 3, 2);
    QApplication::processEvents();
    for (const CCellID cell : {CCellID(2, 1), CCellID(2, 2), CCellID(3, 1), CCellID(3, 2)}) {
        EXPECT_TRUE(grid.IsCellSelected(cell)) << cell.row << "," << cell.col;
        EXPECT_TRUE(watch.painted.contains(CellArea(cell.row, cell.col)));
    }
    EXPECT_FALSE(grid.IsCellSelected(4, 1));

    watch.painted = QRegion();
    grid.SetSelectedRange(3, 2, 3, 2, FALSE, FALSE);
    QApplication::processEvents();
    EXPECT_FALSE(grid.IsCellSelected(3, 2));
    EXPECT_TRUE(grid.IsCellSelected(3, 1));
    EXPECT_TRUE(watch.painted.contains(CellArea(3, 2)));
}

TEST_F(GridRulesTest, EachDragClearsItsOwnSourcesNotThoseAnEarlierDropWrote) {
    grid.EnableDragAndDrop(TRUE);
    grid.SetItemText(2, 1, u"A");
    grid.SetItemText(3, 1, u"B");
    // A and B go one row down: B's cell takes A, the cell below B takes B.
    grid.SetSelectedRange(2, 1, 3, 1);
    grid.target = CCellID(3, 1);
    grid.OnBeginDrag();
    EXPECT_EQ(grid.GetItemText(2, 1), u"");
    EXPECT_EQ(grid.GetItemText(3, 1), u"A");
    EXPECT_EQ(grid.GetItemText(4, 1), u"B");

    // The next drag moves B on: its source is cleared although the last drop wrote it.
    grid.SetSelectedRange(4, 1, 4, 1);
    grid.target = CCellID(6, 1);
    grid.OnBeginDrag();
    EXPECT_EQ(grid.GetItemText(4, 1), u"");
    EXPECT_EQ(grid.GetItemText(6, 1), u"B");
}

TEST_F(GridRulesTest, AVirtualRowPastTheRowOrderIsItsOwnModelRow) {
    grid.EnableVirtualMode();
    w.Shape(10, 3, 1, 0);
    w.owner.display = [](GridDisplayRecord& record) {
        record.text = CString::Formatted(u"%d", record.row);
    };
    grid.SortItems(1, FALSE);
    EXPECT_EQ(grid.GetModelRow(1), 9);
    EXPECT_EQ(grid.GetModelRow(10), 10);
    EXPECT_EQ(grid.GetModelRow(4000), 4000);
    EXPECT_EQ(grid.GetModelRow(-1), -1);
}

}  // namespace

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "platform/ui/sys_info.h"
#include "tests/grid/grid_test_support.h"

namespace {

// A grid whose drags only record that they started.
class CDragGrid : public CTestGrid {
public:
    DROPEFFECT DoDragDrop(COleDataSource& source) override {
        dragged.push_back(source.GetText());
        return DROPEFFECT_NONE;
    }
    std::vector<CString> dragged;
};

class GridMouseTest : public ::testing::Test {
protected:
    GridMouseTest() {
        grid.SetDefaultCellType(CellClassOf<CFakeEditCell>());
        w.Shape(20, 6, 1, 1);  // rows of 20, columns of 50
    }
    // The centre of a cell.
    static CPoint At(int row, int col) { return CPoint(col * 50 + 25, row * 20 + 10); }
    void Click(int row, int col, UINT flags = 0) {
        const CInputState input(flags);
        grid.OnLButtonDown(flags | MK_LBUTTON, At(row, col));
        grid.OnLButtonUp(flags, At(row, col));
    }
    CGridWindow<CDragGrid> w;
    CDragGrid& grid = w.grid;
};

TEST_F(GridMouseTest, ClicksSelectAndExtend) {
    Click(2, 2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 2, 2));
    EXPECT_EQ(w.owner.Codes(), (std::vector<int>{GRIDN_SELCHANGING, GRIDN_SELCHANGED, NM_CLICK}));

    Click(4, 3, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 3));
    // Ctrl on a selected cell takes out that cell alone.
    Click(3, 3, MK_CONTROL);
    EXPECT_FALSE(grid.IsCellSelected(3, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 5);
    // Ctrl on another cell adds it to what was selected.
    Click(6, 5, MK_CONTROL);
    EXPECT_TRUE(grid.IsCellSelected(6, 5));
    EXPECT_TRUE(grid.IsCellSelected(2, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 6);

    // Dragging across cells extends the block from the press.
    const CInputState input(0);
    grid.OnLButtonDown(MK_LBUTTON, At(6, 1));
    grid.OnMouseMove(MK_LBUTTON, At(8, 2));
    grid.OnLButtonUp(0, At(8, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(6, 1, 8, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 6);
}

TEST_F(GridMouseTest, APressOnTheFocusCellEditsOnReleaseOrDragsWhenMoved) {
    Click(3, 2);
    Click(3, 2);
    auto* cell = static_cast<CFakeEditCell*>(grid.GetCell(3, 2));
    ASSERT_TRUE(cell->IsEditing());
    EXPECT_EQ(cell->firstChar, VK_LBUTTON);
    cell->EndEdit();

    // A press keeps the pointer; jitter under the drag distance is no drag.
    grid.EnableDragAndDrop(TRUE);
    const CInputState input(0);
    grid.OnLButtonDown(MK_LBUTTON, At(3, 2));
    EXPECT_EQ(CWnd::GetCapture(), &grid);
    grid.OnMouseMove(MK_LBUTTON, At(3, 2) + CPoint(1, 1));
    grid.OnLButtonUp(0, At(3, 2) + CPoint(1, 1));
    static_cast<CFakeEditCell*>(grid.GetCell(3, 2))->EndEdit();

    // Pressed on a selected cell: no drag without the button held, and a release outside the
    // grid ends the press, so that no later move starts one.
    grid.SetSelectedRange(3, 2, 3, 3);
    grid.OnLButtonDown(MK_LBUTTON, At(3, 3));
    EXPECT_EQ(CWnd::GetCapture(), &grid);
    grid.OnMouseMove(0, At(3, 3) + CPoint(30, 0));
    EXPECT_TRUE(grid.dragged.empty());
    grid.OnLButtonUp(0, CPoint(-50, -50));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    grid.OnMouseMove(MK_LBUTTON, At(3, 3) + CPoint(30, 0));
    EXPECT_TRUE(grid.dragged.empty());

    grid.SetItemText(3, 2, u"moving");
    grid.SetFocusCell(3, 2);
    grid.SetSelectedRange(3, 2, 3, 2);
    grid.OnLButtonDown(MK_LBUTTON, At(3, 2));
    grid.OnMouseMove(MK_LBUTTON, At(3, 2) + CPoint(0, GetDragDistance() + 1));
    EXPECT_EQ(grid.dragged, (std::vector<CString>{u"moving"}));
    grid.OnLButtonUp(0, At(3, 2));
}

// The second press of a double click comes as the double click alone.
TEST_F(GridMouseTest, TheSecondPressOfADoubleClickStillDrags) {
    grid.EnableDragAndDrop(TRUE);
    grid.SetEditable(FALSE);
    grid.SetItemText(3, 2, u"PROD");
    Click(3, 2);
    const CInputState input(MK_LBUTTON);
    grid.OnLButtonDblClk(MK_LBUTTON, At(3, 2));
    grid.OnLButtonUp(0, At(3, 2));
    EXPECT_TRUE(grid.IsCellSelected(3, 2));  // let go unmoved, it stays a double click
    grid.OnLButtonDblClk(MK_LBUTTON, At(3, 2));
    grid.OnMouseMove(MK_LBUTTON, At(3, 2) + CPoint(GetDragDistance() + 1, 0));
    EXPECT_EQ(grid.dragged, (std::vector<CString>{u"PROD"}));
}

TEST_F(GridMouseTest, ColumnDividersDragAndDoubleClick) {
    struct Case {
        BOOL allowHide;
        int releaseX;
        int width;
    };
    // Column 2 runs from x = 100 to 149; its divider is grabbed at x = 149 in the header row.
    for (const Case& c :
         {Case{TRUE, 180, 80}, Case{TRUE, 60, 0}, Case{FALSE, 60, 1}, Case{TRUE, 149, 50}}) {
        grid.SetColumnWidth(2, 50);
        grid.EnableColumnHide(c.allowHide);
        grid.OnMouseMove(0, CPoint(149, 5));
        grid.OnLButtonDown(MK_LBUTTON, CPoint(149, 5));
        grid.OnMouseMove(MK_LBUTTON, CPoint(c.releaseX, 5));
        grid.OnLButtonUp(0, CPoint(c.releaseX, 5));
        EXPECT_EQ(grid.GetColumnWidth(2), c.width) << c.releaseX;
    }
    // Dividers are only in the header rows.
    grid.OnMouseMove(0, CPoint(149, 45));
    grid.OnLButtonDown(MK_LBUTTON, CPoint(149, 45));
    grid.OnLButtonUp(0, CPoint(180, 45));
    EXPECT_EQ(grid.GetColumnWidth(2), 50);

    grid.SetItemText(0, 2, u"A much longer heading");
    grid.OnMouseMove(0, CPoint(149, 5));
    grid.OnLButtonDblClk(MK_LBUTTON, CPoint(149, 5));
    EXPECT_GT(grid.GetColumnWidth(2), 50);
}

TEST_F(GridMouseTest, WheelAndRightClick) {
    const int lines = grid.GetMouseScrollLines();
    grid.OnMouseWheel(0, -WHEEL_DELTA, CPoint());
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), lines * 20);
    grid.OnMouseWheel(0, WHEEL_DELTA, CPoint());
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);

    w.owner.notes.clear();
    grid.OnRButtonUp(0, At(4, 3));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
    EXPECT_EQ(w.owner.notes.back(), (CNotifyOwner::Note{NM_RCLICK, 4, 3}));
    grid.OnRButtonUp(0, CPoint(1000, 1000));
    EXPECT_EQ(w.owner.notes.back(), (CNotifyOwner::Note{NM_RCLICK, -1, -1}));
}

class GridKeyTest : public GridMouseTest {
protected:
    void Key(UINT vk, UINT flags = 0) {
        const CInputState input(flags);
        grid.OnKeyDown(vk, 1, 0);
    }
};

TEST_F(GridKeyTest, ArrowsAndTabMoveOverWhatShows) {
    grid.SetRowHeight(3, 0);
    grid.SetFocusCell(2, 1);
    Key(VK_DOWN);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 1));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 1, 4, 1));
    Key(VK_DOWN, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 1, 5, 1));

    grid.SetFocusCell(1, 1);
    w.owner.notes.clear();
    Key(VK_UP);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_TRUE(w.owner.notes.empty());

    grid.SetFocusCell(2, 5);
    Key(VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 1));  // the next row that shows
    Key(VK_TAB, MK_SHIFT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 5));
    grid.SetFocusCell(19, 5);
    Key(VK_TAB);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(19, 5));

    Key(VK_HOME, MK_CONTROL);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    Key(VK_END, MK_CONTROL);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(19, 5));
    Key(VK_NEXT);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(19, 5));
    for (int i = 0; i < 5; ++i)
        Key(VK_PRIOR);
    EXPECT_EQ(grid.GetFocusCell().row, 1);
}

TEST_F(GridKeyTest, TypingStartsAnEdit) {
    grid.SetFocusCell(2, 2);
    auto* cell = static_cast<CFakeEditCell*>(grid.GetCell(2, 2));
    const CInputState input(0);
    grid.OnChar(VK_ESCAPE, 1, 0);
    grid.OnChar(VK_TAB, 1, 0);
    EXPECT_FALSE(cell->IsEditing());
    grid.OnChar('q', 1, 0);
    ASSERT_TRUE(cell->IsEditing());
    EXPECT_EQ(cell->firstChar, static_cast<UINT>('q'));
    // Further keys go to the editor already open.
    grid.OnChar('r', 1, 0);
    EXPECT_EQ(cell->editor->chars, (std::vector<UINT>{'r'}));
    cell->EndEdit();
    Key(VK_F2);
    EXPECT_EQ(cell->firstChar, VK_LBUTTON);
    cell->EndEdit();

    // A read-only cell, or a veto from the owner, opens nothing.
    w.owner.answer = [](const CNotifyOwner::Note& n) {
        return n.code == GRIDN_BEGINLABELEDIT ? -1 : 0;
    };
    grid.OnChar('q', 1, 0);
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_EQ(grid.OnGetDlgCode(), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
}

TEST_F(GridKeyTest, TitleTipShowsCutTextAndNeverTakesInput) {
    w.owner.GetWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.owner.GetWidget()));
    grid.SetItemText(2, 2, u"a text far wider than its cell");
    grid.SetItemText(2, 3, u"fits");
    grid.OnMouseMove(0, At(2, 3));
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
    grid.OnMouseMove(0, At(2, 2));
    ASSERT_TRUE(grid.m_TitleTip.IsShowing());
    // Without the stay-on-top hint a tip implies, X11 remakes the tip's window on its first show
    // and the new one takes the pointer: the grid hears a leave and hides the tip at once.
    const Qt::WindowFlags tipFlags = grid.m_TitleTip.GetWidget()->windowHandle()->flags();
    EXPECT_TRUE(tipFlags & Qt::WindowTransparentForInput);
    EXPECT_TRUE(tipFlags & Qt::WindowStaysOnTopHint);
    // Within the cell it stays; outside it, on a key or a press it goes.
    grid.OnMouseMove(0, At(2, 2) + CPoint(10, 0));
    EXPECT_TRUE(grid.m_TitleTip.IsShowing());
    grid.OnMouseMove(0, At(5, 2));
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
    grid.OnMouseMove(0, At(2, 2));
    Key(VK_SHIFT);
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
    grid.OnMouseMove(0, At(3, 3));
    grid.OnMouseMove(0, At(2, 2));
    ASSERT_TRUE(grid.m_TitleTip.IsShowing());
    // A click where the tip shows reaches the grid's cell beneath.
    QTest::mouseClick(grid.GetClientWidget(), Qt::LeftButton, {}, QPoint(At(2, 2).x, At(2, 2).y));
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    // When the program scrolls the grid, the edit ends and the tip goes before the cells move.
    grid.SetFocusCell(3, 3);
    grid.OnChar('q', 1, 0);
    auto* edited = static_cast<CFakeEditCell*>(grid.GetCell(3, 3));
    ASSERT_TRUE(edited->IsEditing());
    grid.OnMouseMove(0, At(5, 2));
    grid.OnMouseMove(0, At(2, 2));
    ASSERT_TRUE(grid.m_TitleTip.IsShowing());
    grid.EnsureVisible(19, 2);
    EXPECT_GT(grid.GetScrollPos32(SB_VERT), 0);
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
    EXPECT_FALSE(edited->IsEditing());
    grid.EnsureVisible(1, 1);
    grid.OnMouseMove(0, At(2, 2));
    ASSERT_TRUE(grid.m_TitleTip.IsShowing());
    grid.OnHScroll(SB_LINERIGHT, 0);
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
}

}  // namespace

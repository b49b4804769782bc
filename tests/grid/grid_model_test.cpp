#include <gtest/gtest.h>

#include <new>

#include "tests/grid/grid_test_support.h"
#include "tests/support/modal_script.h"

namespace {

class GridModelTest : public ::testing::Test {
protected:
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
};

TEST_F(GridModelTest, CountsKeepTheirRules) {
    grid.SetRowCount(4);
    grid.SetColumnCount(3);
    const int normalHeight = grid.GetDefaultCell(FALSE, FALSE)->GetHeight();
    const int fixedColWidth = grid.GetDefaultCell(FALSE, TRUE)->GetWidth();
    EXPECT_EQ(grid.GetRowHeight(3), normalHeight);
    EXPECT_EQ(grid.GetColumnWidth(2), fixedColWidth);

    grid.SetFixedRowCount(2);
    grid.SetSortColumn(1);
    EXPECT_TRUE(grid.SetRowCount(4));
    EXPECT_EQ(grid.GetSortColumn(), 1);  // the same count changes nothing

    grid.SetFocusCell(3, 1);
    grid.SetSelectedRange(2, 0, 3, 2);
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    EXPECT_TRUE(grid.SetRowCount(1));
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetSortColumn(), -1);

    EXPECT_FALSE(grid.SetRowCount(-1));
    EXPECT_FALSE(grid.SetColumnCount(0x40000000));
    EXPECT_FALSE(grid.SetFixedRowCount(-2));
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetColumnCount(), 3);
}

TEST_F(GridModelTest, FixedRowsGrowTheGridAndGiveBackTheirColours) {
    grid.SetRowCount(2);
    grid.SetColumnCount(3);
    grid.SetFixedColumnCount(1);
    EXPECT_TRUE(grid.SetFixedRowCount(3));
    EXPECT_EQ(grid.GetRowCount(), 3);
    EXPECT_EQ(grid.GetItemState(2, 2) & (CELL_FIXED | CELL_FIXEDROW), CELL_FIXED | CELL_FIXEDROW);

    grid.GetCell(2, 2)->SetBackClr(RGB(1, 1, 1));
    grid.GetCell(2, 0)->SetBackClr(RGB(2, 2, 2));
    grid.SetFixedRowCount(2);
    EXPECT_EQ(grid.GetItemState(2, 2) & CELL_FIXED, 0u);
    EXPECT_EQ(grid.GetCell(2, 2)->GetBackClr(), CLR_DEFAULT);
    // A cell of a fixed column stays fixed, and keeps its colour.
    EXPECT_EQ(grid.GetItemState(2, 0) & (CELL_FIXED | CELL_FIXEDROW), CELL_FIXED);
    EXPECT_EQ(grid.GetCell(2, 0)->GetBackClr(), RGB(2, 2, 2));
}

TEST_F(GridModelTest, RowsInsertedAndDeleted) {
    EXPECT_EQ(grid.InsertRow(u""), 0);
    EXPECT_EQ(grid.GetColumnCount(), 1);
    EXPECT_EQ(grid.GetRowHeight(0), grid.GetDefaultCell(TRUE, FALSE)->GetHeight());
    const int row = grid.InsertRow(u"Heading");
    EXPECT_EQ(grid.GetItemText(row, 0), u"Heading");
    EXPECT_TRUE(grid.GetItemState(row, 0) & CELL_MODIFIED);
    EXPECT_EQ(grid.GetRowHeight(row), grid.GetCell(row, 0)->GetTextExtent(u"Heading").cy);
    EXPECT_EQ(grid.InsertRow(u"first", 0), 0);
    EXPECT_EQ(grid.GetItemText(0, 0), u"first");
    EXPECT_EQ(grid.GetItemText(2, 0), u"Heading");

    w.Shape(4, 4, 1, 1);
    grid.SetFocusCell(2, 2);
    grid.SetSortColumn(2);
    EXPECT_TRUE(grid.DeleteColumn(1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));  // kept, one column left
    EXPECT_EQ(grid.GetSortColumn(), -1);
    EXPECT_TRUE(grid.DeleteRow(3));
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_FALSE(grid.DeleteRow(3));
    EXPECT_EQ(grid.GetItemText(-1, 0), u"");
    EXPECT_EQ(grid.GetRowHeight(-1), -1);

    grid.SetSortColumn(2);
    grid.SetItemText(1, 1, u"x");
    EXPECT_EQ(grid.GetSortColumn(), 2);
    grid.SetItemText(1, 2, u"x");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    EXPECT_TRUE(grid.DeleteNonFixedRows());
    EXPECT_EQ(grid.GetRowCount(), 1);
}

TEST_F(GridModelTest, MissingCellsRefuseSetters) {
    w.Shape(3, 3, 1, 1);
    grid.SetCell(1, 1, nullptr);
    EXPECT_FALSE(grid.SetItemText(1, 1, u"a"));
    EXPECT_FALSE(grid.SetItemState(1, 1, CELL_SELECTED));
    EXPECT_FALSE(grid.SetItemFormat(1, 1, DT_RIGHT));
    EXPECT_FALSE(grid.SetItemBkColour(1, 1, 0));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    grid.SelectAllCells();
    EXPECT_EQ(grid.GetSelectedCount(), 3);  // the missing cell is not among them
    EXPECT_FALSE(grid.IsCellSelected(1, 1));

    EXPECT_FALSE(grid.SetCellType(1, 1, nullptr));
    EXPECT_TRUE(grid.SetCellType(2, 2, CellClassOf<CGridDefaultCell>()));
    EXPECT_NE(dynamic_cast<CGridDefaultCell*>(grid.GetCell(2, 2)), nullptr);
}

// A grid that runs out of memory on its n-th new cell.
class CStarvedGrid : public CTestGrid {
public:
    std::unique_ptr<CGridCellBase> CreateCell(int row, int col) override {
        if (--cellsLeft < 0) throw std::bad_alloc();
        return CGridCtrl::CreateCell(row, col);
    }
    int cellsLeft = 1000;
};

TEST(GridMemoryTest, ExhaustionKeepsTheRowsMade) {
    CUiEnvironment environment;
    CModalScript script(environment);
    CGridWindow<CStarvedGrid> w;
    w.grid.SetColumnCount(3);
    w.grid.cellsLeft = 7;  // two whole rows and part of a third
    script.ExpectMessageBox(u"Out of memory", IDOK);
    EXPECT_FALSE(w.grid.SetRowCount(5));
    EXPECT_EQ(w.grid.GetRowCount(), 2);
    EXPECT_NE(w.grid.GetCell(1, 2), nullptr);
    EXPECT_EQ(w.grid.GetRowHeight(2), -1);
    EXPECT_TRUE(script.AllAnswered());

    w.grid.cellsLeft = 1;
    script.ExpectMessageBox(u"Out of memory", IDOK);
    EXPECT_FALSE(w.grid.SetColumnCount(4));
    EXPECT_EQ(w.grid.GetColumnCount(), 3);
    EXPECT_EQ(w.grid.GetColumnWidth(3), -1);
}

TEST_F(GridModelTest, StructuralChangesEndAnOpenEdit) {
    grid.SetDefaultCellType(CellClassOf<CFakeEditCell>());
    w.Shape(5, 3, 1, 1);
    const std::vector<std::function<void()>> changes = {
        [&] { grid.SetRowCount(6); },         [&] { grid.SetColumnCount(4); },
        [&] { grid.InsertRow(u"r"); },        [&] { grid.DeleteRow(4); },
        [&] { grid.SortItems(1, TRUE); },     [&] { grid.SetFixedRowCount(2); },
        [&] { grid.SetFixedColumnCount(2); }, [&] { grid.DeleteColumn(3); },
    };
    for (const auto& change : changes) {
        grid.SetFocusCell(2, 2);
        auto* cell = static_cast<CFakeEditCell*>(grid.GetCell(2, 2));
        cell->Edit(2, 2, CRect(), CPoint(), IDC_INPLACE_CONTROL, 'a');
        ASSERT_TRUE(cell->IsEditing());
        change();
        EXPECT_EQ(cell->editor->ended, 1);
        EXPECT_FALSE(cell->IsEditing());
    }
}

TEST_F(GridModelTest, VirtualModeLendsTheOwnersCells) {
    static CGridCell lent;
    struct Call {
        int row, col;
        UINT state;
        LPARAM param;
        CGridCtrl* grid;
    };
    static std::vector<Call> calls;
    calls.clear();
    grid.EnableVirtualMode();
    grid.SetCallbackFunc(
        [](int row, int col, UINT state, LPARAM param, CGridCtrl* g) -> CGridCellBase* {
            calls.push_back({row, col, state, param, g});
            return row == 99 ? nullptr : &lent;
        },
        42);
    w.Shape(100, 3, 1, 1);
    grid.SetFocusCell(5, 2);
    grid.SetSelectedRange(5, 2, 5, 2);

    EXPECT_EQ(grid.GetCell(5, 2), &lent);
    const Call& call = calls.back();
    EXPECT_EQ(call.row, 5);
    EXPECT_EQ(call.col, 2);
    EXPECT_EQ(call.state, CELL_FOCUSED | CELL_SELECTED);
    EXPECT_EQ(call.param, 42);
    EXPECT_EQ(call.grid, &grid);
    grid.GetCell(0, 0);
    EXPECT_EQ(calls.back().state, CELL_FIXED | CELL_FIXEDROW | CELL_FIXEDCOL);
    EXPECT_EQ(grid.GetCell(99, 1), nullptr);

    EXPECT_FALSE(grid.SetItemText(5, 2, u"x"));
    EXPECT_FALSE(grid.SetItemFormat(5, 2, DT_RIGHT));
    EXPECT_FALSE(grid.SetCellType(5, 2, CellClassOf<CGridCell>()));
    EXPECT_FALSE(grid.SetItemState(7, 1, CELL_SELECTED));
    EXPECT_TRUE(grid.IsCellSelected(7, 1));

    // Shrinking drops the selection of the rows that went; they come back unselected.
    grid.SetRowCount(6);
    grid.SetRowCount(100);
    EXPECT_FALSE(grid.IsCellSelected(7, 1));
    EXPECT_TRUE(grid.IsCellSelected(5, 2));
}

TEST_F(GridModelTest, VirtualSelectionKeysNeverCollide) {
    grid.EnableVirtualMode();
    grid.SetRowCount(70000);
    grid.SetColumnCount(3);
    grid.SetSelectedRange(65537, 0, 65537, 0);
    EXPECT_TRUE(grid.IsCellSelected(65537, 0));
    EXPECT_FALSE(grid.IsCellSelected(1, 1));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(65537, 0, 65537, 0));
}

TEST_F(GridModelTest, DisplayRequestsFillTheSharedCell) {
    grid.EnableVirtualMode();
    w.Shape(10, 3, 1, 0);
    w.owner.display = [](GridDisplayRecord& record) {
        record.text = CString(u"Cell ") + CString(std::u16string(1, u'0' + record.row));
        record.textColor = RGB(9, 9, 9);
    };
    grid.SortItems(1, FALSE);
    w.owner.notes.clear();
    const CGridCellBase* cell = grid.GetCell(2, 1);
    ASSERT_NE(cell, nullptr);
    // Sorted descending, display row 2 shows model row 8.
    EXPECT_EQ(w.owner.notes, (std::vector<CNotifyOwner::Note>{{GRIDN_GETDISPINFO, 8, 1}}));
    EXPECT_EQ(cell->GetText(), u"Cell 8");
    EXPECT_EQ(cell->GetTextClr(), RGB(9, 9, 9));
    EXPECT_EQ(grid.GetModelRow(2), 8);

    // Rows appended in one go come after the sorted ones, which keep their order.
    grid.SetFocusCell(2, 1);
    EXPECT_EQ(grid.AppendRows(2), 10);
    EXPECT_EQ(grid.GetRowCount(), 12);
    EXPECT_EQ(grid.GetModelRow(1), 9);
    EXPECT_EQ(grid.GetModelRow(11), 11);
    EXPECT_EQ(grid.GetRowHeight(11), grid.GetDefaultCell(TRUE, FALSE)->GetHeight());
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(grid.GetSortColumn(), -1);
    EXPECT_EQ(grid.AppendRows(0), -1);

    grid.ShiftRowOrder(1, 1);
    EXPECT_EQ(grid.GetModelRow(1), 9);
    EXPECT_EQ(grid.GetModelRow(2), 10);
}

}  // namespace

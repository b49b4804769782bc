#include <gtest/gtest.h>

#include <random>

#include "tests/grid/grid_test_support.h"

namespace {

class GridSortTest : public ::testing::Test {
protected:
    GridSortTest() {
        w.Shape(6, 3, 1, 1);
        // Rows 1 to 5: keys b, a, b, a, c in column 1, their original row in column 2.
        const char16_t* keys = u"babac";
        for (int row = 1; row < 6; ++row) {
            grid.SetItemText(row, 1, CString(keys[row - 1]));
            grid.SetItemText(row, 2, CString(static_cast<char16_t>(u'0' + row)));
            grid.SetRowHeight(row, 20 + row);
        }
    }
    std::u16string Column(int col) {
        std::u16string text;
        for (int row = 1; row < grid.GetRowCount(); ++row)
            text += grid.GetItemText(row, col).str();
        return text;
    }
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
};

TEST_F(GridSortTest, NormalModeIsStableAndLeavesHeightsInPlace) {
    grid.SetFocusCell(2, 2);
    w.owner.notes.clear();
    EXPECT_TRUE(grid.SortItems(1, TRUE));
    EXPECT_EQ(Column(1), u"aabbc");
    EXPECT_EQ(Column(2), u"24135");
    EXPECT_EQ(grid.GetRowHeight(1), 21);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(w.owner.notes, (std::vector<CNotifyOwner::Note>{{GRIDN_COLUMNCLICK, 1, 1}}));

    EXPECT_TRUE(grid.SortItems(1, FALSE));
    EXPECT_EQ(Column(1), u"cbbaa");
    EXPECT_EQ(Column(2), u"51324");
    EXPECT_EQ(w.owner.notes.back(), (CNotifyOwner::Note{GRIDN_COLUMNCLICK, 0, 1}));

    // A sort column outside the grid sorts nothing but is still told.
    EXPECT_FALSE(grid.SortItems(7, TRUE));
    EXPECT_EQ(Column(2), u"51324");
    EXPECT_EQ(grid.GetSortColumn(), 7);
}

TEST_F(GridSortTest, HeaderClicksSortAndThenReverse) {
    grid.SetHeaderSort(TRUE);
    CCellID header(0, 1);
    grid.OnFixedRowClick(header);
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_TRUE(grid.GetSortAscending());
    grid.OnFixedRowClick(header);
    EXPECT_FALSE(grid.GetSortAscending());
    CCellID other(0, 2);
    grid.m_SelectionStartCell = other;
    grid.OnFixedRowClick(other);
    EXPECT_TRUE(grid.GetSortAscending());
    EXPECT_EQ(Column(2), u"12345");
    // With column selection on, the click also selected the column.
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 5, 2));
}

// Answers at random: no order at all.
int Capricious(CGridCellBase*, CGridCellBase*, LPARAM) {
    static std::mt19937 random(7);
    return static_cast<int>(random() % 3) - 1;
}

TEST_F(GridSortTest, AnyComparisonStaysWithinTheRows) {
    grid.SetRowCount(400);
    grid.SetColumnCompareFunction(1, Capricious);
    grid.EnableColumnCompare(TRUE);
    EXPECT_TRUE(grid.SortItems(1, TRUE));
    EXPECT_EQ(grid.GetRowCount(), 400);
    for (int row = 0; row < 400; ++row)
        ASSERT_NE(grid.GetCell(row, 1), nullptr);
}

TEST(GridVirtualSortTest, ComparisonsHearTheDirection) {
    CGridWindow<> w;
    static std::vector<CGridCell> cells(6);
    static std::vector<LPARAM> params;
    params.clear();
    const char16_t* values = u"3-1-2";  // model rows 1..5; "-" and the fixed row sort last
    for (int i = 1; i < 6; ++i)
        cells[static_cast<size_t>(i)].SetText(CString(values[i - 1]));
    w.grid.EnableVirtualMode();
    w.grid.SetCallbackFunc(
        [](int row, int, UINT, LPARAM, CGridCtrl*) -> CGridCellBase* {
            return &cells[static_cast<size_t>(row)];
        },
        0);
    w.Shape(6, 2, 1, 1);
    // Empty values last both ways: the parameter says which way the operands came.
    w.grid.SetCompareFunction([](CGridCellBase* a, CGridCellBase* b, LPARAM param) -> int {
        params.push_back(param);
        const bool emptyA = a->GetText() == u"-";
        const bool emptyB = b->GetText() == u"-";
        if (emptyA != emptyB) return emptyA ? static_cast<int>(-param) : static_cast<int>(param);
        return CompareCellsText(a, b, 0);
    });
    std::u16string order;
    const auto shown = [&] {
        order.clear();
        for (int row = 1; row < 6; ++row)
            order += cells[static_cast<size_t>(w.grid.GetModelRow(row))].GetText().str();
        return order;
    };
    w.grid.SortItems(1, TRUE);
    EXPECT_EQ(shown(), u"123--");
    EXPECT_TRUE(std::all_of(params.begin(), params.end(), [](LPARAM p) { return p == -1; }));
    params.clear();
    w.grid.SortItems(1, FALSE);
    EXPECT_EQ(shown(), u"321--");
    EXPECT_TRUE(std::all_of(params.begin(), params.end(), [](LPARAM p) { return p == 1; }));
}

}  // namespace

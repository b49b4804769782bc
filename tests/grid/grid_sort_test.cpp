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

}  // namespace

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

// Numbers compared as numbers; the parameter says where an empty text goes.
int Number(const CGridCellBase& cell) {
    int n = 0;
    for (char16_t digit : cell.GetText().str())
        n = n * 10 + (digit - u'0');
    return n;
}

int ByNumber(CGridCellBase* a, CGridCellBase* b, LPARAM param) {
    const bool aEmpty = a->GetText().IsEmpty();
    if (aEmpty != b->GetText().IsEmpty()) return static_cast<int>(aEmpty ? -param : param);
    return Number(*a) - Number(*b);
}

TEST_F(GridSortTest, TheOrderIsCheckedAsTheSortWouldLeaveIt) {
    // No sort column: whatever order the rows are in is theirs.
    EXPECT_TRUE(grid.IsInSortOrder());
    grid.SortItems(1, TRUE);
    EXPECT_TRUE(grid.IsInSortOrder());
    // Data changed under the rows, as a screen's cells read it: the first row belongs last.
    grid.GetCell(1, 1)->SetText(u"z");
    EXPECT_FALSE(grid.IsInSortOrder());
    grid.SortItems(1, FALSE);
    EXPECT_TRUE(grid.IsInSortOrder());
    EXPECT_EQ(Column(1), u"zcbba");
    grid.GetCell(5, 1)->SetText(u"b");  // equal neighbours are in order both ways
    EXPECT_TRUE(grid.IsInSortOrder());

    // The column's own comparison, with the parameter the sort was given.
    grid.EnableColumnCompare(TRUE);
    grid.SetColumnCompareFunction(2, ByNumber);
    const char16_t* numbers[] = {u"10", u"", u"9", u"30", u"2"};
    for (int row = 1; row < 6; ++row)
        grid.SetItemText(row, 2, numbers[row - 1]);
    grid.SortItems(2, TRUE, -1);
    EXPECT_EQ(Column(2), u"291030");  // by number, the empty one last
    EXPECT_TRUE(grid.IsInSortOrder(-1));
    EXPECT_FALSE(grid.IsInSortOrder(1));  // with the other parameter the empty one goes first
    grid.GetCell(1, 2)->SetText(u"40");
    EXPECT_FALSE(grid.IsInSortOrder(-1));
    // An edit of the sort column forgets the sort: the order is the user's from then on.
    grid.SetItemText(1, 2, u"50");
    EXPECT_EQ(grid.GetSortColumn(), -1);
    EXPECT_TRUE(grid.IsInSortOrder(-1));
}

TEST_F(GridSortTest, VirtualRowsAreCheckedInTheirShownOrder) {
    std::vector<CString> texts = {u"", u"c", u"a", u"b"};
    w.owner.display = [&](GridDisplayRecord& record) {
        record.text = texts[static_cast<size_t>(record.row)];
    };
    grid.EnableVirtualMode();
    w.Shape(4, 2, 1, 0);
    grid.SortItems(1, TRUE);
    EXPECT_TRUE(grid.IsInSortOrder());
    EXPECT_EQ(grid.GetModelRow(1), 2);
    texts[2] = u"d";  // the row shown first now sorts last
    EXPECT_FALSE(grid.IsInSortOrder());
    grid.SortItems(1, TRUE);
    EXPECT_EQ(grid.GetModelRow(3), 2);
    EXPECT_TRUE(grid.IsInSortOrder());
    grid.SetSortAscending(FALSE);
    EXPECT_FALSE(grid.IsInSortOrder());
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

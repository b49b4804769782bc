#include <gtest/gtest.h>

#include "grid/scroll_layout.h"
#include "tests/grid/grid_test_support.h"

namespace {

TEST(ScrollLayoutTest, BarsFollowTheContent) {
    // Client 300 x 200 as if without bars, one fixed row of 20 and one fixed column of 50.
    const auto layout = [](int virtualWidth, int virtualHeight, int fixedWidth = 50,
                           int fixedHeight = 20) {
        return ComputeScrollBars(
            {CRect(0, 0, 300, 200), fixedWidth, fixedHeight, virtualWidth, virtualHeight, 16, 16});
    };
    // Exactly as tall and wide as the client: no bars.
    EXPECT_EQ(layout(300, 200), (ScrollBarLayout{true, false, false, 0, 0, 0, 0}));
    // One pixel taller: a vertical bar, maximum total - 1, page the visible height.
    EXPECT_EQ(layout(280, 201), (ScrollBarLayout{true, false, true, 0, 180, 0, 180}));
    // The vertical bar narrows the width so that a horizontal bar is needed too.
    EXPECT_EQ(layout(290, 201), (ScrollBarLayout{true, true, true, 239, 180, 234, 164}));
    // Fixed cells that fill the client area: no bars at all.
    EXPECT_EQ(layout(1000, 1000, 300, 20).hasArea, false);
}

class GridGeometryTest : public ::testing::Test {
protected:
    GridGeometryTest() { w.Shape(20, 8, 1, 1); }  // rows of 20, columns of 50
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
};

TEST_F(GridGeometryTest, CellsUnderPointsAndTheirRectangles) {
    EXPECT_EQ(grid.GetCellFromPt(CPoint(75, 45)), CCellID(2, 1));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(10, 45)), CCellID(2, 0));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(10, 45), FALSE), CCellID(2, -1));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(75, 5), FALSE), CCellID(-1, 1));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(-1, 45)), CCellID(2, -1));

    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(2, 1, &rect));
    EXPECT_EQ(rect, CRect(50, 40, 99, 59));
    EXPECT_TRUE(grid.IsCellVisible(2, 1));
    EXPECT_FALSE(grid.IsCellVisible(15, 1));

    // Scrolled, the rows above the top-left one have no place; fixed ones keep theirs.
    grid.OnVScroll(SB_LINEDOWN, 0);
    grid.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(3, 1));
    EXPECT_FALSE(grid.GetCellRect(2, 1, &rect));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(75, 25)), CCellID(3, 1));
    ASSERT_TRUE(grid.GetCellRect(0, 1, &rect));
    EXPECT_EQ(rect.top, 0);

    // A hidden column takes no room.
    grid.SetColumnWidth(2, 0);
    EXPECT_EQ(grid.GetCellFromPt(CPoint(125, 25)), CCellID(3, 3));
}

TEST_F(GridGeometryTest, DividersAreGrabbedNearTheirEdgesInTheHeaders) {
    EXPECT_TRUE(grid.MouseOverColumnResizeArea(CPoint(101, 5)));  // just right of a divider
    EXPECT_TRUE(grid.MouseOverColumnResizeArea(CPoint(98, 5)));   // just left of it
    EXPECT_FALSE(grid.MouseOverColumnResizeArea(CPoint(103, 5)));
    EXPECT_FALSE(grid.MouseOverColumnResizeArea(CPoint(101, 25)));  // not in a header row
    EXPECT_FALSE(grid.MouseOverColumnResizeArea(CPoint(1, 5)));     // the left edge of column 0
    EXPECT_TRUE(grid.MouseOverRowResizeArea(CPoint(5, 41)));
    EXPECT_FALSE(grid.MouseOverRowResizeArea(CPoint(5, 1)));
}

TEST_F(GridGeometryTest, ScrollingByLinePageAndEnd) {
    const int max = grid.GetScrollMax(SB_VERT);
    EXPECT_EQ(max, 19 * 20 - 1);
    // Line down over a hidden row steps by the next row that shows.
    grid.SetRowHeight(1, 0);
    grid.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 20);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(3, 1));
    // Line up never goes into the fixed rows: past the hidden row it stops.
    grid.OnVScroll(SB_LINEUP, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    grid.OnVScroll(SB_LINEUP, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);

    // Page down at the end stops at the last full page; a line down there changes nothing.
    for (int i = 0; i < 5; ++i)
        grid.OnVScroll(SB_PAGEDOWN, 0);
    const int last = grid.GetScrollLimit(SB_VERT);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), last);
    grid.OnVScroll(SB_LINEDOWN, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), last);
    grid.OnVScroll(SB_TOP, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    grid.OnHScroll(SB_RIGHT, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), grid.GetScrollLimit(SB_HORZ));
    grid.OnHScroll(SB_PAGELEFT, 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
}

TEST_F(GridGeometryTest, EnsureVisibleScrollsOnlyWhenNeeded) {
    grid.EnsureVisible(3, 2);
    EXPECT_EQ(grid.GetScrollPos32(SB_VERT), 0);
    EXPECT_EQ(grid.GetScrollPos32(SB_HORZ), 0);
    grid.EnsureVisible(19, 7);
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(19, 7, &rect));
    const CRect client = grid.GetClientRect();
    EXPECT_LE(rect.bottom, client.bottom);
    EXPECT_LE(rect.right, client.right);
    grid.EnsureVisible(1, 1);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(1, 1));
}

TEST_F(GridGeometryTest, AutoSizeMeasuresWhatShows) {
    grid.SetColumnWidth(3, 0);
    EXPECT_FALSE(grid.AutoSizeColumn(3));
    EXPECT_EQ(grid.GetColumnWidth(3), 0);

    grid.SetItemText(0, 2, u"Heading");
    grid.SetItemText(5, 2, u"x");
    EXPECT_TRUE(grid.AutoSizeColumn(2));
    const int header = grid.GetCell(0, 2)->GetCellExtent(grid.GetDC().get()).cx;
    EXPECT_EQ(grid.GetColumnWidth(2), header + 13);
    grid.AutoSize();
    EXPECT_EQ(grid.GetColumnWidth(2), header);
    EXPECT_EQ(grid.GetColumnWidth(3), 0);
    EXPECT_EQ(grid.GetRowHeight(0), grid.GetCell(0, 2)->GetCellExtent(grid.GetDC().get()).cy);
}

TEST(GridVirtualSizeTest, AutoSizeWarnsTheOwnerBeforeAndAfter) {
    CGridWindow<> w;
    w.grid.EnableVirtualMode();
    w.Shape(10, 3, 1, 1);
    w.owner.notes.clear();
    w.grid.AutoSizeColumn(1, GVS_BOTH);
    const auto& notes = w.owner.notes;
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(notes.front(), (CNotifyOwner::Note{GRIDN_ODCACHEHINT, 0, 9}));
    EXPECT_EQ(notes.back(), (CNotifyOwner::Note{GRIDN_ODCACHEHINT, -1, -1}));
}

}  // namespace

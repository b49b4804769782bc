#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "grid/cell_class.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/sys_info.h"
#include "tests/grid/grid_test_support.h"

namespace {

using Op = CRecordingDC::Op;

class GridCellTest : public ::testing::Test {
protected:
    GridCellTest() {
        grid.SetRowCount(5);
        grid.SetColumnCount(5);
        cell.SetGrid(&grid);
        cell.SetText(u"abc");
        cell.SetMargin(2);
    }
    CTestGrid grid;
    CGridCell cell;
    CRecordingDC dc;
};

TEST_F(GridCellTest, BackgroundIsPaintedOnlyWhenAskedOrOwned) {
    EXPECT_TRUE(cell.Draw(&dc, 1, 1, CRect(10, 20, 59, 39), FALSE));
    EXPECT_TRUE(dc.Of(Op::Fill).empty());
    cell.SetBackClr(RGB(1, 2, 3));
    dc.Clear();
    cell.Draw(&dc, 1, 1, CRect(10, 20, 59, 39), FALSE);
    ASSERT_EQ(dc.Of(Op::Fill).size(), 1u);
    // The inclusive cell rectangle is filled up to and including its last pixel.
    EXPECT_EQ(dc.Of(Op::Fill)[0].rect, CRect(10, 20, 60, 40));
    EXPECT_EQ(dc.Of(Op::Fill)[0].color, RGB(1, 2, 3));

    const auto text = dc.Of(Op::Text);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].text, u"abc");
    EXPECT_EQ(text[0].rect, CRect(12, 20, 57, 39));
    EXPECT_EQ(text[0].format, (DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS));
    EXPECT_EQ(text[0].color, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(text[0].bkMode, TRANSPARENT);
    EXPECT_FALSE(cell.Draw(&dc, 1, 1, CRect(10, 20, 10, 39), TRUE));
}

TEST_F(GridCellTest, FocusFrameAndSelectedFill) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    struct Case {
        DWORD state;
        int gridLines;
        CRect frame;  // empty for none
    };
    for (const Case& c : {Case{CELL_FOCUSED | CELL_SELECTED, GVL_BOTH, CRect(10, 20, 59, 39)},
                          Case{CELL_FOCUSED | CELL_SELECTED, GVL_NONE, CRect(10, 20, 60, 40)},
                          Case{CELL_SELECTED, GVL_BOTH, CRect()}}) {
        grid.SetGridLines(c.gridLines);
        cell.SetState(c.state);
        dc.Clear();
        cell.Draw(&dc, 1, 1, CRect(10, 20, 59, 39), FALSE);
        const auto fills = dc.Of(Op::Fill);
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills[0].rect, CRect(10, 20, 60, 40));
        EXPECT_EQ(fills[0].color, highlight);
        if (c.frame.IsRectEmpty()) {
            EXPECT_EQ(fills.size(), 1u);
        } else {
            // One-pixel strips on the frame's four sides, in the selected text colour.
            ASSERT_EQ(fills.size(), 5u);
            EXPECT_EQ(fills[1].rect,
                      CRect(c.frame.left, c.frame.top, c.frame.right, c.frame.top + 1));
            EXPECT_EQ(fills[4].rect,
                      CRect(c.frame.right - 1, c.frame.top, c.frame.right, c.frame.bottom));
            EXPECT_EQ(fills[1].color, highlightText);
        }
        EXPECT_EQ(dc.Of(Op::Text)[0].color, highlightText);
    }
}

TEST_F(GridCellTest, HeaderEdgesFollowTheFocus) {
    cell.SetState(CELL_FIXED | CELL_FIXEDROW);
    grid.m_idCurrentCell = CCellID(3, 4);
    cell.Draw(&dc, 0, 1, CRect(0, 0, 49, 19), FALSE);
    const auto light = LinesOf(dc, GetSysColor(COLOR_3DHIGHLIGHT));
    const auto dark = LinesOf(dc, GetSysColor(COLOR_3DDKSHADOW));
    ASSERT_EQ(light.size(), 2u);
    ASSERT_EQ(dark.size(), 2u);
    EXPECT_EQ(light[0].rect, CRect(49, 0, 0, 0));
    EXPECT_EQ(light[1].rect, CRect(0, 0, 0, 19));
    EXPECT_EQ(dark[1].rect, CRect(49, 19, 0, 19));
    EXPECT_EQ(dc.Of(Op::Text)[0].rect, CRect(3, 1, 46, 18));

    // In the focus cell's column the header is drawn pressed in, edge for edge.
    dc.Clear();
    cell.Draw(&dc, 0, 4, CRect(0, 0, 49, 19), FALSE);
    EXPECT_TRUE(dc.Of(Op::Line).empty());
    const auto fills = dc.Of(Op::Fill);
    ASSERT_EQ(fills.size(), 4u);
    EXPECT_EQ(fills[0].rect, CRect(0, 0, 49, 1));
    EXPECT_EQ(fills[0].color, GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(fills[2].rect, CRect(49, 0, 50, 20));
    EXPECT_EQ(fills[2].color, GetSysColor(COLOR_3DLIGHT));

    grid.SetTrackFocusCell(FALSE);
    dc.Clear();
    cell.Draw(&dc, 0, 4, CRect(0, 0, 49, 19), FALSE);
    EXPECT_EQ(dc.Of(Op::Line).size(), 4u);
}

TEST_F(GridCellTest, SortMarkSizeAndRoom) {
    grid.m_nSortColumn = 2;
    cell.SetState(CELL_FIXED | CELL_FIXEDROW);
    grid.SetGridLines(GVL_NONE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    struct Case {
        CRect rect;
        BOOL ascending;
        std::vector<CRect> shadowLines;  // each from its top-left to its bottom-right
        int textRight;
    };
    const Case cases[] = {
        // 10 high: s = 9 at x = right - margin - 9, y = (0 - 9 + 10) / 2.
        {CRect(0, 0, 60, 10), TRUE, {{49, 9, 53, 0}, {53, 0, 58, 9}, {58, 9, 49, 9}}, 49},
        {CRect(0, 0, 60, 10), FALSE, {{49, 0, 53, 9}, {53, 9, 58, 0}, {58, 0, 49, 0}}, 49},
        // 8 high: s = 4.
        {CRect(0, 0, 60, 8), TRUE, {{54, 6, 56, 2}, {56, 2, 58, 6}, {58, 6, 54, 6}}, 54},
        // Too narrow for the mark: none, and the text keeps its room.
        {CRect(0, 0, 4, 10), TRUE, {}, 2},
    };
    for (const Case& c : cases) {
        grid.m_bAscending = c.ascending;
        dc.Clear();
        cell.Draw(&dc, 0, 2, c.rect, FALSE);
        std::vector<CRect> got;
        for (const auto& line : LinesOf(dc, shadow))
            got.push_back(line.rect);
        EXPECT_EQ(got, c.shadowLines);
        EXPECT_EQ(dc.Of(Op::Text)[0].rect.right, c.textRight);
    }
    // Only row 0 of the sort column carries it.
    dc.Clear();
    cell.Draw(&dc, 1, 2, CRect(0, 0, 60, 10), FALSE);
    EXPECT_TRUE(LinesOf(dc, shadow).empty());
}

TEST_F(GridCellTest, DefaultsResolveAndCopiesTakeThemAsTheirOwn) {
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    CGridCell plain;
    plain.SetGrid(&grid);
    EXPECT_EQ(plain.GetFormat(), def->GetFormat());
    EXPECT_EQ(plain.GetMargin(), def->GetMargin());
    EXPECT_EQ(plain.GetFont(), def->GetFont());
    EXPECT_EQ(plain.GetTextClr(), CLR_DEFAULT);

    // A fixed row's cell takes the fixed-row default cell.
    plain.SetState(CELL_FIXED | CELL_FIXEDROW);
    EXPECT_EQ(plain.GetDefaultCell(), grid.GetDefaultCell(TRUE, FALSE));
    plain.SetState(CELL_FIXED | CELL_FIXEDROW | CELL_FIXEDCOL);
    EXPECT_EQ(plain.GetDefaultCell(), grid.GetDefaultCell(TRUE, TRUE));

    CGridCell copy;
    copy = plain;
    EXPECT_EQ(copy.GetGrid(), &grid);
    EXPECT_EQ(copy.GetState(), plain.GetState());
    def->SetFormat(DT_RIGHT);
    def->SetMargin(9);
    // The copy kept the values it resolved when it was made.
    EXPECT_NE(copy.GetFormat(), DT_RIGHT);
    EXPECT_NE(copy.GetMargin(), 9u);
    EXPECT_EQ(copy.GetTextClr(), CLR_DEFAULT);
    EXPECT_TRUE(copy.IsDefaultFont());

    // A default cell has no data or state of its own and always reads as read-only.
    def->SetState(CELL_SELECTED);
    def->SetData(7);
    EXPECT_EQ(def->GetState(), CELL_READONLY);
    EXPECT_EQ(def->GetData(), 0);
    EXPECT_GT(def->GetWidth(), def->GetMargin());
}

TEST_F(GridCellTest, TextExtentWrapsAtTheWidestLine) {
    cell.SetFormat(DT_WORDBREAK);
    cell.SetMargin(1);
    // "ab" and "abcdef" at 7 units a character: two lines 42 wide, plus 4 and 2 margins.
    EXPECT_EQ(cell.GetTextExtent(u"ab\nabcdef", &dc), CSize(42 + 4, 26 + 2));
    cell.SetFormat(DT_SINGLELINE);
    EXPECT_EQ(cell.GetTextExtent(u"ab\nabcdef", &dc), CSize(9 * 7 + 4, 13 + 2));
    EXPECT_EQ(cell.GetCellExtent(&dc), CSize(3 * 7 + 4, 13 + 2));
}

// The same cell painted for real: the selected fill and the focus frame land on the pixels.
TEST_F(GridCellTest, PaintsPixelsOnARealSurface) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtPainterDC qdc(painter, CRect(0, 0, 40, 20));
        cell.SetState(CELL_FOCUSED | CELL_SELECTED);
        cell.SetText(u"");
        cell.Draw(&qdc, 1, 1, CRect(0, 0, 29, 9), FALSE);
    }
    const QColor highlight(GetSysColor(COLOR_HIGHLIGHT) & 0xFF,
                           (GetSysColor(COLOR_HIGHLIGHT) >> 8) & 0xFF,
                           (GetSysColor(COLOR_HIGHLIGHT) >> 16) & 0xFF);
    const COLORREF frame = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const QColor frameColor(frame & 0xFF, (frame >> 8) & 0xFF, (frame >> 16) & 0xFF);
    EXPECT_EQ(image.pixelColor(0, 0), frameColor);
    EXPECT_EQ(image.pixelColor(28, 8), frameColor);
    EXPECT_EQ(image.pixelColor(5, 5), highlight);
    // The last pixel row and column belong to the grid lines: filled, not framed.
    EXPECT_EQ(image.pixelColor(29, 9), highlight);
    EXPECT_EQ(image.pixelColor(30, 10), QColor(Qt::white));
}

}  // namespace

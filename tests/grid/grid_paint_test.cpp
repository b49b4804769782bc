#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <utility>

#include "grid/print_layout.h"
#include "platform/ui/print.h"
#include "platform/ui/qt_convert.h"
#include "tests/grid/grid_test_support.h"
#include "tests/support/painted_area.h"

namespace {

using Op = CRecordingDC::Op;

TEST(PrintLayoutTest, RowsGoOnPagesNoneEmpty) {
    // 50 rows of 20 on a body of 300: 15 + 15 + 15 + 5, page 3 from the 31st row.
    EXPECT_EQ(PageStarts(std::vector<int>(50, 20), 300), (std::vector<int>{0, 15, 30, 45}));
    // A row taller than the body gets a page of its own, and the first page is not left empty.
    EXPECT_EQ(PageStarts({500, 20, 20, 400, 20}, 300), (std::vector<int>{0, 1, 3, 4}));
    // Hidden rows take no room; no rows still make one page.
    EXPECT_EQ(PageStarts({20, 0, 0, 20}, 40), (std::vector<int>{0}));
    EXPECT_EQ(PageStarts({}, 300), (std::vector<int>{0}));
    // No body at all: no pages, never blank ones.
    EXPECT_TRUE(PageStarts({20}, 0).empty());
    EXPECT_TRUE(PageStarts({20}, -5).empty());
    EXPECT_EQ(MulDiv(306, 398, 306), 398);
    EXPECT_EQ(MulDiv(10, 1, 4), 3);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
}

class GridPaintTest : public ::testing::Test {
protected:
    GridPaintTest() { w.Shape(5, 4, 1, 1); }  // 4 x 50 wide, 5 x 20 high: smaller than the window
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
    CRecordingDC dc{CRect(0, 0, 300, 200)};
};

TEST_F(GridPaintTest, PaintsCellsLinesAndTheBackgroundBeyond) {
    grid.SetColumnWidth(2, 0);
    grid.SetItemText(1, 1, u"b1");
    grid.SetItemText(1, 3, u"d1");
    grid.OnDraw(&dc);
    // Right of and below the cells: the grid's background colour.
    bool right = false;
    bool below = false;
    for (const auto& fill : dc.Of(Op::Fill)) {
        right |= fill.rect == CRect(150, 0, 300, 200) && fill.color == grid.GetGridBkColor();
        below |= fill.rect == CRect(0, 100, 150, 200) && fill.color == grid.GetGridBkColor();
    }
    EXPECT_TRUE(right);
    EXPECT_TRUE(below);
    // The hidden column takes no room and no line: column 3 starts where column 2 would have.
    std::vector<CRect> texts;
    for (const auto& text : dc.Of(Op::Text))
        if (text.text == u"d1") texts.push_back(text.rect);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].left, 100 + static_cast<int>(grid.GetCell(1, 3)->GetMargin()));
    std::vector<int> verticals;
    for (const auto& line : LinesOf(dc, grid.GetGridLineColor()))
        if (line.rect.left == line.rect.right) verticals.push_back(line.rect.left);
    EXPECT_EQ(verticals, (std::vector<int>{99, 149}));
}

TEST_F(GridPaintTest, RedrawnCellsGetTheirLinesBack) {
    grid.SetFocusCell(2, 2);
    ASSERT_TRUE(grid.RedrawCell(2, 2, &dc));
    const auto lines = LinesOf(dc, grid.GetGridLineColor());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rect, CRect(100, 59, 150, 59));
    EXPECT_EQ(lines[1].rect, CRect(149, 40, 149, 60));
    dc.Clear();
    grid.RedrawCell(0, 2, &dc);
    EXPECT_TRUE(LinesOf(dc, grid.GetGridLineColor()).empty());
    EXPECT_FALSE(grid.InvalidateRangeRect(CCellRange(50, 50, 60, 60)));
}

TEST_F(GridPaintTest, ColoursNeverChangedFollowTheSystem) {
    CGridDefaultCell* header = grid.GetDefaultCell(TRUE, FALSE);
    CGridDefaultCell* corner = grid.GetDefaultCell(TRUE, TRUE);
    corner->SetBackClr(RGB(1, 2, 3));
    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Button, QColor(10, 20, 30));
    QApplication::setPalette(changed);
    grid.OnSysColorChange();
    QApplication::setPalette(saved);
    EXPECT_EQ(header->GetBackClr(), RGB(10, 20, 30));
    EXPECT_EQ(corner->GetBackClr(), RGB(1, 2, 3));
}

TEST(GridVirtualPaintTest, TheOwnerHearsOfEachPaint) {
    CGridWindow<> w;
    w.grid.EnableVirtualMode();
    w.Shape(5, 3, 1, 1);
    w.owner.notes.clear();
    CRecordingDC dc(CRect(0, 0, 300, 200));
    w.grid.OnDraw(&dc);
    ASSERT_GE(w.owner.notes.size(), 2u);
    EXPECT_EQ(w.owner.notes.front(), (CNotifyOwner::Note{GRIDN_ODCACHEHINT, 1, 4}));
    EXPECT_EQ(w.owner.notes.back(), (CNotifyOwner::Note{GRIDN_ODCACHEHINT, -1, -1}));
}

// A virtual grid fetches each cell it draws from its owner: the fetches show what a paint drew.
TEST(GridVirtualPaintTest, OnlyCellsThatLookOtherwiseArePaintedAgainAndDrawn) {
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
    std::map<std::pair<int, int>, CString> texts;
    // What the owner changes of a cell's look beyond its text.
    std::map<std::pair<int, int>, std::function<void(GridDisplayRecord&)>> looks;
    w.owner.display = [&](GridDisplayRecord& record) {
        record.text = texts[{record.row, record.column}];
        if (const auto look = looks.find({record.row, record.column}); look != looks.end())
            look->second(record);
    };
    grid.EnableVirtualMode();
    w.Shape(5, 4, 1, 1);
    CPaintedArea painted(grid.GetClientWidget());
    painted.Take();
    const auto area = [&](int row, int col) {
        CRect rect;
        grid.GetCellRect(row, col, &rect);
        return QRegion(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
    };
    const auto drawn = [&] {
        w.owner.notes.clear();
        QApplication::processEvents();
        std::set<std::pair<int, int>> cells;
        for (const auto& note : w.owner.notes)
            if (note.code == GRIDN_GETDISPINFO) cells.emplace(note.row, note.col);
        return cells;
    };
    EXPECT_FALSE(grid.InvalidateChangedCells());
    EXPECT_TRUE(painted.Take().isEmpty());

    // Two cells far apart: those two alone are painted, and no other is drawn.
    texts[{1, 1}] = u"a";
    texts[{4, 3}] = u"b";
    EXPECT_TRUE(grid.InvalidateChangedCells());
    EXPECT_EQ(drawn(), (std::set<std::pair<int, int>>{{1, 1}, {4, 3}}));
    EXPECT_EQ(painted.Take(), area(1, 1) + area(4, 3));

    // Each part of a look, changed alone in a cell of its own, paints that cell.
    looks[{1, 2}] = [](GridDisplayRecord& record) { record.textColor = RGB(200, 0, 0); };
    looks[{2, 1}] = [](GridDisplayRecord& record) { record.bkColor = RGB(0, 0, 200); };
    looks[{2, 3}] = [](GridDisplayRecord& record) { record.format |= DT_RIGHT; };
    looks[{4, 1}] = [](GridDisplayRecord& record) { record.state |= CELL_DROPHILITED; };
    looks[{3, 1}] = [](GridDisplayRecord& record) { record.margin += 3; };
    looks[{3, 3}] = [](GridDisplayRecord& record) { record.font.lfWeight = FW_BOLD; };
    EXPECT_TRUE(grid.InvalidateChangedCells());
    EXPECT_EQ(drawn(),
              (std::set<std::pair<int, int>>{{1, 2}, {2, 1}, {2, 3}, {3, 1}, {3, 3}, {4, 1}}));
    EXPECT_EQ(painted.Take(),
              area(1, 2) + area(2, 1) + area(2, 3) + area(3, 1) + area(3, 3) + area(4, 1));
    EXPECT_FALSE(grid.InvalidateChangedCells());
    // The drop target takes the system's highlight colours for its text and its back, each of
    // which changed alone.
    const QPalette saved = QApplication::palette();
    for (const QPalette::ColorRole role : {QPalette::HighlightedText, QPalette::Highlight}) {
        QPalette changed = saved;
        changed.setColor(role, QColor(10, 20, 30));
        QApplication::setPalette(changed);
        EXPECT_TRUE(grid.InvalidateChangedCells()) << role;
        QApplication::setPalette(saved);
        drawn();
        painted.Take();
    }

    // The focus and the sort mark set while drawing was off press the headers in and mark one.
    grid.SetRedraw(FALSE);
    grid.SetFocusCell(3, 2);
    grid.SetSortColumn(2);
    grid.SetRedraw(TRUE, FALSE, FALSE);
    EXPECT_TRUE(painted.Take().isEmpty());
    EXPECT_TRUE(grid.InvalidateChangedCells());
    EXPECT_EQ(painted.Take(), area(0, 2) + area(3, 0) + area(3, 2));
    // The sort mark alone turned the other way.
    grid.SetSortAscending(FALSE);
    EXPECT_TRUE(grid.InvalidateChangedCells());
    EXPECT_EQ(painted.Take(), area(0, 2));

    // A paint that showed part of a cell leaves it to be painted whole.
    CRect rect;
    grid.GetCellRect(1, 1, &rect);
    rect.right = rect.left + rect.Width() / 2;
    grid.InvalidateRect(&rect);
    painted.Take();
    EXPECT_TRUE(grid.InvalidateChangedCells());
    EXPECT_EQ(painted.Take(), area(1, 1));

    // Rows that go and come back are painted again, though they look as they did.
    grid.SetRowCount(3);
    grid.Refresh();
    painted.Take();
    grid.SetRowCount(5);
    EXPECT_TRUE(grid.InvalidateChangedCells());
}

// Column 0 fixed at 50, two of 100, at 7 units a character: a logical page 306 wide. On paper
// 306 x 398 the body of a page is 398 - 6 x 13 - 20 = 300 high.
class GridPrintTest : public ::testing::Test {
protected:
    GridPrintTest() {
        w.Shape(51, 3, 1, 1);
        grid.SetColumnWidth(1, 100);
        grid.SetColumnWidth(2, 100);
        for (int row = 1; row < 51; ++row)
            grid.SetItemText(row, 1, CString::FromUtf8("R" + std::to_string(row)));
        printer.SetDeviceSize(CSize(306, 398));
    }
    std::vector<std::u16string> BodyTexts() const {
        std::vector<std::u16string> texts;
        for (const auto& text : printer.Of(Op::Text))
            if (!text.text.empty() && text.text[0] == u'R') texts.push_back(text.text);
        return texts;
    }
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
    CRecordingDC printer{CRect(0, 0, 306, 398), true};
    CPrintInfo info;
};

TEST_F(GridPrintTest, PagesHeaderAndFooter) {
    grid.OnBeginPrinting(&printer, &info);
    EXPECT_EQ(info.GetMaxPage(), 4u);
    info.m_nCurPage = 3;
    grid.OnPrint(&printer, &info);
    const auto body = BodyTexts();
    ASSERT_EQ(body.size(), 15u);
    EXPECT_EQ(body.front(), u"R31");
    bool footer = false;
    for (const auto& text : printer.Of(Op::Text))
        footer |= text.text == u"Page 3 of 4" &&
                  text.format == (DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_TRUE(footer);
    bool header = false;
    const CString title = FromQString(QGuiApplication::applicationDisplayName());
    for (const auto& text : printer.Of(Op::Text))
        header |= text.text == title.str() && (text.format & DT_RIGHT);
    EXPECT_TRUE(header);

    // A row taller than the body still prints on a page of its own.
    grid.SetRowHeight(20, 500);
    grid.OnBeginPrinting(&printer, &info);
    EXPECT_EQ(info.GetMaxPage(), 5u);
    printer.Clear();
    info.m_nCurPage = 3;
    grid.OnPrint(&printer, &info);
    EXPECT_EQ(BodyTexts(), (std::vector<std::u16string>{u"R20"}));
    grid.OnEndPrinting(&printer, &info);
}

TEST_F(GridPrintTest, EveryRowPrintsOnExactlyOnePage) {
    // 43 rows of 7 end one unit past the body of 300: the 43rd row starts page 2.
    for (int row = 1; row < 51; ++row) {
        grid.SetRowHeight(row, 7);
        grid.SetItemText(row, 0, CString::FromUtf8("H" + std::to_string(row)));
    }
    grid.OnBeginPrinting(&printer, &info);
    ASSERT_EQ(info.GetMaxPage(), 2u);
    std::vector<std::u16string> body;
    std::vector<std::u16string> headers;
    for (UINT page = 1; page <= info.GetMaxPage(); ++page) {
        printer.Clear();
        info.m_nCurPage = page;
        grid.OnPrint(&printer, &info);
        const auto texts = BodyTexts();
        if (page == 2) {
            EXPECT_EQ(texts.front(), u"R43");
        }
        body.insert(body.end(), texts.begin(), texts.end());
        for (const auto& text : printer.Of(Op::Text)) {
            if (!text.text.empty() && text.text[0] == u'H') headers.push_back(text.text);
        }
    }
    std::vector<std::u16string> expected;
    for (int row = 1; row < 51; ++row)
        expected.push_back(CString::FromUtf8("R" + std::to_string(row)).str());
    EXPECT_EQ(body, expected);
    for (auto& text : expected)
        text[0] = u'H';
    EXPECT_EQ(headers, expected);
    grid.OnEndPrinting(&printer, &info);
}

TEST_F(GridPrintTest, NoRoomForRowsPrintsNothing) {
    printer.SetDeviceSize(CSize(0, 398));
    grid.OnBeginPrinting(&printer, &info);
    EXPECT_EQ(info.GetMaxPage(), 0u);
    grid.OnPrint(&printer, &info);
    EXPECT_TRUE(printer.Of(Op::Text).empty());
    // Only header rows: one page with the headings and no footer.
    grid.SetRowCount(1);
    printer.SetDeviceSize(CSize(306, 398));
    grid.OnBeginPrinting(&printer, &info);
    EXPECT_EQ(info.GetMaxPage(), 1u);
    grid.OnPrint(&printer, &info);
    for (const auto& text : printer.Of(Op::Text))
        EXPECT_EQ(std::u16string_view(text.text).find(u"Page"), std::u16string_view::npos);
}

// Prints a grid the way a screen's view drives it.
class CGridPrintView : public IPrintView {
public:
    explicit CGridPrintView(CGridCtrl& grid) : m_grid(grid) {}
    void OnBeginPrinting(CDC& dc, CPrintInfo& info) override { m_grid.OnBeginPrinting(&dc, &info); }
    void OnPrint(CDC& dc, CPrintInfo& info) override { m_grid.OnPrint(&dc, &info); }
    void OnEndPrinting(CDC& dc, CPrintInfo& info) override { m_grid.OnEndPrinting(&dc, &info); }

private:
    CGridCtrl& m_grid;
};

TEST_F(GridPrintTest, PrintsToAPdfFile) {
    for (int row = 1; row < 51; ++row)
        grid.SetRowHeight(row, 60);
    QTemporaryDir dir;
    CGridPrintView view(grid);
    const int pages = PrintViewToPdf(view, FromQString(dir.filePath("grid.pdf")));
    EXPECT_GT(pages, 1);
    QFile pdf(dir.filePath("grid.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(
        bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
        pages);
}

}  // namespace

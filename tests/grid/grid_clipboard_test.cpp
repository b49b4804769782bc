#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include "grid/grid_text.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "tests/grid/grid_test_support.h"

namespace {

TEST(GridTextTest, CopiedBlocksAndPastedLines) {
    // Cells a, b, c and an empty one: the empty one gives a space; rows end in line feeds.
    EXPECT_EQ(BuildCopyText({{u"a", u"b"}, {u"c", u""}}), u"a\tb\nc\t ");
    // An unselected cell gives its separator only; tabs only go between the shown columns.
    EXPECT_EQ(BuildCopyText({{u"a", std::nullopt, u"c"}}), u"a\t\tc");
    EXPECT_EQ(BuildCopyText({{u"a"}, {u"b"}}), u"a\nb");

    using Lines = std::vector<std::vector<CString>>;
    EXPECT_EQ(SplitPasteText(u"a\tb\r\nc, d\t \r\n"), (Lines{{u"a", u"b"}, {u"c, d", u""}, {}}));
    EXPECT_EQ(SplitPasteText(u"\n\u30A2\u30EB\u30D5\u30A1"),
              (Lines{{}, {u"\u30A2\u30EB\u30D5\u30A1"}}));
    EXPECT_EQ(SplitPasteText(CString(std::u16string(u"ab\0cd", 5))), (Lines{{u"ab"}}));
}

class GridClipboardTest : public ::testing::Test {
protected:
    GridClipboardTest() {
        w.Shape(8, 5, 1, 1);
        for (int row = 1; row < 8; ++row) {
            for (int col = 1; col < 5; ++col)
                grid.SetItemText(row, col,
                                 CString(static_cast<char16_t>(u'a' + col - 1)) +
                                     CString(static_cast<char16_t>(u'0' + row)));
        }
    }
    CString Copied() {
        const auto source = grid.CopyTextFromGrid();
        return source ? source->GetText() : CString(u"(none)");
    }
    CGridWindow<> w;
    CTestGrid& grid = w.grid;
};

TEST_F(GridClipboardTest, CopySkipsWhatIsHidden) {
    EXPECT_EQ(Copied(), u"(none)");
    grid.SetSelectedRange(1, 1, 2, 3);
    grid.SetItemState(1, 2, grid.GetItemState(1, 2) & ~CELL_SELECTED);
    EXPECT_EQ(Copied(), u"a1\t\tc1\na2\tb2\tc2");
    grid.SetRowHeight(1, 0);
    grid.SetColumnWidth(3, 0);
    // The hidden last column leaves no tab behind.
    EXPECT_EQ(Copied(), u"a2\tb2");

    grid.SetItemText(2, 1, u"\u30A2\u30EB\u30D5\u30A1");
    grid.OnEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromUtf16(u"\u30A2\u30EB\u30D5\u30A1\tb2"));
}

TEST_F(GridClipboardTest, PasteGoesThroughTheEditProtocol) {
    grid.SetRowHeight(3, 0);
    COleDataObject data(CString(u"x, y\tz\r\nw\r\n"));
    EXPECT_TRUE(grid.PasteTextToGrid(CCellID(2, 1), &data));
    EXPECT_EQ(grid.GetItemText(2, 1), u"x, y");
    EXPECT_EQ(grid.GetItemText(2, 2), u"z");
    EXPECT_EQ(grid.GetItemText(3, 1), u"a3");  // hidden: the second line went one row down
    EXPECT_EQ(grid.GetItemText(4, 1), u"w");
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 4, 2));

    // The owner may veto cell by cell.
    w.owner.answer = [](const CNotifyOwner::Note& n) {
        return n.code == GRIDN_ENDLABELEDIT && n.col == 2 ? -1 : 0;
    };
    COleDataObject more(CString(u"p\tq"));
    grid.PasteTextToGrid(CCellID(5, 1), &more);
    EXPECT_EQ(grid.GetItemText(5, 1), u"p");
    EXPECT_EQ(grid.GetItemText(5, 2), u"b5");

    grid.SetItemState(6, 1, grid.GetItemState(6, 1) | CELL_READONLY);
    EXPECT_FALSE(grid.PasteTextToGrid(CCellID(6, 1), &more));
    grid.SetEditable(FALSE);
    EXPECT_FALSE(grid.PasteTextToGrid(CCellID(7, 1), &more));
    EXPECT_FALSE(grid.CanPaste());
}

TEST_F(GridClipboardTest, CutAndDeleteClearTheSelection) {
    grid.SetFocusCell(2, 2);
    grid.SetSelectedRange(2, 2, 3, 3);
    grid.OnEditCut();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "b2\tc2\nb3\tc3");
    EXPECT_EQ(grid.GetItemText(3, 3), u"");
    grid.SetItemText(2, 2, u"keep");
    QGuiApplication::clipboard()->setText("untouched");
    grid.SetSelectedRange(2, 2, 2, 2);
    const CInputState input(0);
    grid.OnKeyDown(VK_DELETE, 1, 0);
    EXPECT_EQ(grid.GetItemText(2, 2), u"");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "untouched");  // Delete copies nothing

    // A hidden row takes no editor.
    grid.SetRowHeight(5, 0);
    grid.OnEditCell(5, 1, CPoint(-1, -1), 'x');
    EXPECT_EQ(grid.GetInPlaceEditor(), nullptr);
    grid.OnEditCell(6, 1, CPoint(-1, -1), 'x');
    EXPECT_NE(grid.GetInPlaceEditor(), nullptr);
    grid.EndEditing();

    // The menus' edit commands reach the grid.
    grid.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
    EXPECT_EQ(grid.GetSelectedCount(), 7 * 4);
    EXPECT_TRUE(grid.CanCopy() && grid.CanCut());
}

// A grid whose drags are dropped where the test says, inside the drag as a real one would be.
class CDropGrid : public CTestGrid {
public:
    DROPEFFECT DoDragDrop(COleDataSource& source) override {
        COleDataObject data(source.GetText(), this);
        const DWORD keys = copy ? MK_CONTROL : 0;
        if (!OnDragEnter(&data, keys, dropPoint)) return DROPEFFECT_NONE;
        const DROPEFFECT effect = OnDragOver(&data, keys, dropPoint);
        if (!effect) return DROPEFFECT_NONE;
        return OnDrop(&data, effect, dropPoint) ? effect : DROPEFFECT_NONE;
    }
    CPoint dropPoint;
    bool copy = false;
};

class GridDragTest : public ::testing::Test {
protected:
    GridDragTest() {
        w.Shape(8, 5, 1, 1);  // rows of 20, columns of 50
        for (int row = 1; row < 8; ++row) {
            for (int col = 1; col < 5; ++col)
                w.grid.SetItemText(row, col, CString::FromUtf8(std::to_string(row * 10 + col)));
        }
        w.grid.EnableDragAndDrop(TRUE);
    }
    static CPoint At(int row, int col) { return CPoint(col * 50 + 25, row * 20 + 10); }
    // Presses on a cell of the selection and drags it to another cell.
    void Drag(int row, int col, int toRow, int toCol) {
        w.grid.dropPoint = At(toRow, toCol);
        const CInputState input(MK_LBUTTON);
        w.grid.OnLButtonDown(MK_LBUTTON, At(row, col));
        w.grid.OnMouseMove(MK_LBUTTON, At(row, col) + CPoint(0, 15));
        w.grid.OnLButtonUp(0, At(row, col));
    }
    CGridWindow<CDropGrid> w;
};

TEST_F(GridDragTest, HighlightsAndEffects) {
    auto& grid = w.grid;
    COleDataObject text(CString(u"t"));
    EXPECT_EQ(grid.OnDragEnter(&text, MK_CONTROL, At(2, 2)), DROPEFFECT_COPY);
    EXPECT_TRUE(grid.GetItemState(2, 2) & CELL_DROPHILITED);
    EXPECT_EQ(grid.OnDragOver(&text, 0, At(3, 2)), DROPEFFECT_MOVE);
    EXPECT_FALSE(grid.GetItemState(2, 2) & CELL_DROPHILITED);
    EXPECT_TRUE(grid.GetItemState(3, 2) & CELL_DROPHILITED);
    EXPECT_EQ(grid.OnDragOver(&text, 0, At(0, 2)), DROPEFFECT_NONE);  // a header
    EXPECT_FALSE(grid.GetItemState(3, 2) & CELL_DROPHILITED);
    COleDataObject nothing;
    EXPECT_EQ(grid.OnDragEnter(&nothing, 0, At(2, 2)), DROPEFFECT_NONE);
    // The base grid takes no text from elsewhere.
    grid.OnDragOver(&text, 0, At(3, 2));
    EXPECT_FALSE(grid.OnDrop(&text, DROPEFFECT_MOVE, At(3, 2)));
}

TEST_F(GridDragTest, ARowMovesWithinTheGrid) {
    auto& grid = w.grid;
    grid.SetFocusCell(2, 1);
    grid.SetSelectedRange(2, 1, 2, 4);
    Drag(2, 2, 4, 2);
    EXPECT_EQ(grid.GetItemText(2, 1), u"31");
    EXPECT_EQ(grid.GetItemText(3, 1), u"41");
    EXPECT_EQ(grid.GetItemText(4, 1), u"21");
    EXPECT_EQ(grid.GetItemText(4, 4), u"24");  // moved whole, nothing cleared

    // Onto itself: nothing moves.
    grid.SetSelectedRange(3, 1, 3, 4);
    Drag(3, 2, 3, 3);
    EXPECT_EQ(grid.GetItemText(3, 1), u"41");
    EXPECT_EQ(grid.GetItemText(4, 1), u"21");
}

// Once for real: the offscreen platform's drag ends without a drop, and nothing is lost.
TEST(GridRealDragTest, ADragWithoutADropLosesNothing) {
    CGridWindow<> w;
    w.Shape(5, 3, 1, 1);
    w.grid.EnableDragAndDrop(TRUE);
    w.grid.SetItemText(2, 2, u"stays");
    w.grid.SetSelectedRange(2, 1, 2, 2);
    const CPoint at(125, 50);
    const CInputState input(MK_LBUTTON);
    w.grid.OnLButtonDown(MK_LBUTTON, at);
    w.grid.OnMouseMove(MK_LBUTTON, at + CPoint(0, GetDragDistance() + 5));
    w.grid.OnLButtonUp(0, at);
    EXPECT_EQ(w.grid.GetItemText(2, 2), u"stays");
    EXPECT_EQ(w.grid.m_MouseMode, 0);
}

}  // namespace

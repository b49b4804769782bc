#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include "grid/in_place_edit.h"
#include "grid/in_place_list.h"
#include "platform/ui/sys_info.h"
#include "tests/grid/grid_test_support.h"

namespace {

// A cell that refuses texts holding an 'x'.
class CPickyCell : public CGridCell {
public:
    BOOL ValidateEdit(const CString& text) override { return text.Find(u'x') < 0; }
};

class GridEditTest : public ::testing::Test {
protected:
    GridEditTest() {
        grid.SetDefaultCellType(CellClassOf<CPickyCell>());
        w.Shape(10, 5, 1, 1, 20, 80);
        grid.SetItemText(2, 2, u"old");
        grid.SetFocusCell(2, 2);
        w.owner.GetWidget()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.owner.GetWidget()));
        grid.SetFocus();
    }
    // Types into the grid as the user would, its key-down then its character.
    void Type(UINT ch) {
        const CInputState input(0);
        grid.OnChar(ch, 1, 0);
    }
    QLineEdit* Editor() { return grid.GetClientWidget()->findChild<QLineEdit*>("ctl8"); }
    bool EditorOpen() {
        QLineEdit* editor = Editor();
        return editor && editor->isVisible();
    }
    void Finish() { QApplication::processEvents(); }

    CGridWindow<> w;
    CTestGrid& grid = w.grid;
};

TEST_F(GridEditTest, TypingStartsAndEnterEnds) {
    Type('n');
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(Editor()->text(), "n");
    QTest::keyClicks(Editor(), "ew");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Finish();
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(grid.GetItemText(2, 2), u"new");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));  // Enter does not move
    EXPECT_TRUE(grid.GetItemState(2, 2) & CELL_MODIFIED);
    EXPECT_EQ(w.owner.Codes(), (std::vector<int>{GRIDN_BEGINLABELEDIT, GRIDN_ENDLABELEDIT}));

    // A space starts with the whole text selected; Tab ends and moves one cell right.
    Type(' ');
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(Editor()->selectedText(), "new");
    QTest::keyClicks(Editor(), "z");
    QTest::keyClick(Editor(), Qt::Key_Tab);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"z");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
}

TEST_F(GridEditTest, EscapeAndRefusalsKeepTheOldText) {
    Type('q');
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"old");
    EXPECT_EQ(w.owner.Codes(), (std::vector<int>{GRIDN_BEGINLABELEDIT}));

    // The cell's validation refuses.
    Type('x');
    QTest::keyClick(Editor(), Qt::Key_Return);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"old");

    // The owner refuses the end, or the start.
    w.owner.answer = [](const CNotifyOwner::Note& n) {
        return n.code == GRIDN_ENDLABELEDIT ? -1 : 0;
    };
    Type('a');
    QTest::keyClick(Editor(), Qt::Key_Return);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"old");
    w.owner.answer = [](const CNotifyOwner::Note& n) {
        return n.code == GRIDN_BEGINLABELEDIT ? -1 : 0;
    };
    Type('a');
    EXPECT_FALSE(EditorOpen());
}

TEST_F(GridEditTest, ArrowsEndOnlyATypedEdit) {
    // Opened by a click (F2 alike): arrows move the caret.
    grid.OnEditCell(2, 2, CPoint(), VK_LBUTTON);
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(Editor()->cursorPosition(), 3);
    QTest::keyClick(Editor(), Qt::Key_Left);
    EXPECT_TRUE(EditorOpen());
    EXPECT_EQ(Editor()->cursorPosition(), 2);
    // A key the editor has no use for stays with it.
    QTest::keyClick(Editor(), Qt::Key_Up);
    EXPECT_TRUE(EditorOpen());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    // Its own context menu takes the focus for a while: the edit goes on.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(Editor(), &popup);
    EXPECT_TRUE(EditorOpen());
    QTest::keyClick(Editor(), Qt::Key_Return);
    Finish();

    // Opened by typing: an arrow ends the edit and moves on.
    Type('k');
    QTest::keyClick(Editor(), Qt::Key_Down);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"k");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
}

TEST_F(GridEditTest, TheGridHoldsEachEditorUntilItsWidgetGoes) {
    const auto deferredDeletes = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    Type('n');
    CInPlaceEditor* first = grid.GetInPlaceEditor();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(grid.GetCell(2, 2)->GetEditWnd(), first);
    const QPointer<QLineEdit> firstWidget = Editor();
    // Tab ends the edit from inside the widget's own key handler: nothing goes yet.
    QTest::keyClick(firstWidget, Qt::Key_Tab);
    EXPECT_FALSE(firstWidget.isNull());
    EXPECT_EQ(grid.GetInPlaceEditor(), first);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsEditing());

    // The next edit opens before the last widget went; that widget takes only its own editor.
    Type('m');
    CInPlaceEditor* second = grid.GetInPlaceEditor();
    ASSERT_NE(second, first);
    deferredDeletes();
    EXPECT_TRUE(firstWidget.isNull());
    EXPECT_EQ(grid.GetInPlaceEditor(), second);
    ASSERT_TRUE(EditorOpen());
    QTest::keyClick(Editor(), Qt::Key_Return);
    deferredDeletes();
    EXPECT_EQ(grid.GetInPlaceEditor(), nullptr);
    EXPECT_EQ(grid.GetItemText(2, 2), u"n");
    EXPECT_EQ(grid.GetItemText(2, 3), u"m");

    // A grid that goes with an editor open takes the editor along.
    CGridWindow<> other;
    other.Shape(5, 5, 1, 1);
    other.grid.OnEditCell(2, 2, CPoint(), VK_LBUTTON);
    EXPECT_NE(other.grid.GetInPlaceEditor(), nullptr);
}

TEST_F(GridEditTest, StartCharactersAndFilters) {
    EXPECT_EQ(EditStartFor(VK_LBUTTON), EditStart::CaretAtEnd);
    EXPECT_EQ(EditStartFor(VK_RETURN), EditStart::CaretAtEnd);
    EXPECT_EQ(EditStartFor(VK_BACK), EditStart::DeleteLast);
    EXPECT_EQ(EditStartFor(VK_SPACE), EditStart::SelectAll);
    EXPECT_EQ(EditStartFor(VK_DOWN), EditStart::SelectAll);
    EXPECT_EQ(EditStartFor(0x15), EditStart::Empty);
    EXPECT_EQ(EditStartFor('a'), EditStart::ReplaceWithChar);

    auto* edit = grid.SetInPlaceEditor(std::make_unique<CInPlaceEdit>(
        &grid, CRect(80, 40, 159, 59), ES_UPPERCASE, 8, 2, 2, u"12", VK_BACK));
    EXPECT_EQ(edit->GetWindowText(), u"1");
    edit->SetDigitsOnly(true);
    edit->SetLimitText(4);
    QTest::keyClicks(edit->GetWidget(), "a3b");
    EXPECT_EQ(edit->GetWindowText(), u"13");
    QTest::keyClick(edit->GetWidget(), Qt::Key_Backspace);
    EXPECT_EQ(edit->GetWindowText(), u"1");
    edit->SetHexDigits(true);
    QTest::keyClicks(edit->GetWidget(), "af9z");
    EXPECT_EQ(edit->GetWindowText(), u"1AF9");  // upper case, four at most
    edit->EndEdit();
    Finish();
}

TEST_F(GridEditTest, ListPicksByPrefixAndEndsOnRelease) {
    const std::vector<CString> items = {u"Serial", u"Network", u"None"};
    auto* list = grid.SetInPlaceEditor(
        std::make_unique<CInPlaceList>(&grid, CRect(80, 40, 159, 59), 8, 2, 2, items, u"Bogus", 0));
    EXPECT_EQ(list->GetWindowText(), u"Bogus");  // no item begins with it: the text itself
    list->EndEdit();
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"Bogus");

    grid.SetItemText(2, 2, u"Network");
    w.owner.notes.clear();
    list = grid.SetInPlaceEditor(
        std::make_unique<CInPlaceList>(&grid, CRect(80, 40, 159, 59), 8, 2, 2, items, u"net", 0));
    list->SetExtendedUI(TRUE);
    EXPECT_EQ(list->GetWindowText(), u"Network");
    list->SendChar('s');
    EXPECT_EQ(list->GetWindowText(), u"Serial");
    // Its own drop-down takes the focus while open: the edit goes on.
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(list->GetWidget(), &popup);
    QTest::keyPress(list->GetWidget(), Qt::Key_Escape);
    EXPECT_TRUE(list->GetWidget()->isVisible());
    QTest::keyRelease(list->GetWidget(), Qt::Key_Escape);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"Network");  // Escape: back to the first choice
    EXPECT_EQ(w.owner.Codes(), std::vector<int>{});

    grid.SetItemText(2, 2, u"None");
    list = grid.SetInPlaceEditor(
        std::make_unique<CInPlaceList>(&grid, CRect(80, 40, 159, 59), 8, 2, 2, items, u"None", 0));
    EXPECT_EQ(list->GetWindowText(), u"None");
    QTest::keyClick(list->GetWidget(), Qt::Key_Up);  // moves in the list
    EXPECT_EQ(list->GetWindowText(), u"Network");
    QTest::keyClick(list->GetWidget(), Qt::Key_Down, Qt::ControlModifier);
    Finish();
    EXPECT_EQ(grid.GetItemText(2, 2), u"Network");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));
}

}  // namespace

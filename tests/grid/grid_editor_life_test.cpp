#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include "grid/in_place_edit.h"
#include "grid/in_place_list.h"
#include "platform/ui/sys_info.h"
#include "tests/grid/grid_test_support.h"

namespace {

// Rows 20 high and columns 80 wide, one header row and column; the window is active and the
// grid has the keyboard focus.
class GridEditorLifeTest : public ::testing::Test {
protected:
    GridEditorLifeTest() {
        w.Shape(30, 5, 1, 1, 20, 80);
        w.owner.GetWidget()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.owner.GetWidget()));
        grid.SetFocus();
    }
    static CPoint At(int row, int col) { return CPoint(col * 80 + 40, row * 20 + 10); }
    CInPlaceList* OpenList(int row, int col) {
        const std::vector<CString> items = {u"Serial", u"Network", u"None"};
        CRect rect;
        grid.GetCellRect(row, col, &rect);
        auto* list = grid.SetInPlaceEditor(std::make_unique<CInPlaceList>(
            &grid, rect, 8, row, col, items, grid.GetItemText(row, col), 0));
        list->SetExtendedUI(TRUE);
        return list;
    }
    QLineEdit* Editor() { return grid.GetClientWidget()->findChild<QLineEdit*>("ctl8"); }
    bool GridHasFocus() const { return QApplication::focusWidget() == grid.GetWidget(); }
    void Repaint() { grid.GetClientWidget()->repaint(); }
    // A key as the user strikes it: the program turns its event loop between press and release.
    static void PressAndRelease(QWidget* widget, Qt::Key key) {
        QTest::keyPress(widget, key);
        QApplication::processEvents();
        QTest::keyRelease(widget, key);
        QApplication::processEvents();
    }

    CGridWindow<> w;
    CTestGrid& grid = w.grid;
};

TEST_F(GridEditorLifeTest, TheTitleTipGoesWhenTheRowsOrTheTextUnderItChange) {
    for (int row = 1; row < 30; ++row)
        grid.SetItemText(row, 2,
                         CString::Formatted(u"record %d with a text wider than its cell", row));
    grid.EnsureVisible(25, 2);
    const int top = grid.GetTopleftNonFixedCell().row;
    ASSERT_GT(top, 1);
    grid.OnMouseMove(0, At(2, 2));
    ASSERT_TRUE(grid.m_TitleTip.IsShowing());
    Repaint();  // a repaint that changes nothing keeps it
    EXPECT_TRUE(grid.m_TitleTip.IsShowing());

    // The hovered cell's text changes.
    grid.SetItemText(top + 1, 2, u"another text, also wider than its cell");
    grid.RedrawCell(top + 1, 2);
    Repaint();
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());

    // The rows drop while scrolled: the grid scrolls back with no scroll message.
    grid.OnMouseMove(0, At(5, 2));
    grid.OnMouseMove(0, At(2, 2));
    ASSERT_TRUE(grid.m_TitleTip.IsShowing());
    grid.SetRowCount(8);
    ASSERT_EQ(grid.GetTopleftNonFixedCell().row, 1);
    Repaint();
    EXPECT_FALSE(grid.m_TitleTip.IsShowing());
}

TEST_F(GridEditorLifeTest, AnEditorWhoseCellLostTheFocusEndsBeforeTheRowsChange) {
    grid.SetItemText(2, 2, u"OLD");
    grid.SetItemText(3, 2, u"NEWREC");
    grid.SetFocusCell(2, 2);
    {
        const CInputState typed(0);
        grid.OnChar('z', 1, 0);
    }
    const QPointer<QLineEdit> editor = Editor();
    ASSERT_TRUE(editor && editor->isVisible());
    // The program moves the focus; the editor stays open over row 2.
    grid.SetFocusCell(4, 4);
    ASSERT_TRUE(editor->isVisible());

    // A rebuild takes row 1 out: the edit lands on its own record first.
    grid.DeleteRow(1);
    EXPECT_FALSE(editor && editor->isVisible());
    EXPECT_EQ(grid.GetItemText(1, 2), u"z");
    EXPECT_EQ(grid.GetItemText(2, 2), u"NEWREC");
    // Enter reaches no editor, and nothing lands on the record now in row 2.
    if (editor) QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(grid.GetItemText(2, 2), u"NEWREC");
    EXPECT_EQ(grid.GetInPlaceEditor(), nullptr);

    // The same for a drop-down list.
    grid.SetItemText(3, 3, u"Serial");
    CInPlaceList* list = OpenList(3, 3);
    QTest::keyClick(list->GetWidget(), Qt::Key_Down, Qt::AltModifier);
    list->SendChar('n');
    grid.SetFocusCell(5, 1);
    grid.SetRowCount(3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(grid.GetInPlaceEditor(), nullptr);
    grid.SetRowCount(6);
    EXPECT_EQ(grid.GetItemText(3, 3), u"");
}

TEST_F(GridEditorLifeTest, AnEditorNoGridHoldsGoesWithItsWidget) {
    // A cell records whether its editor is still there.
    class CWatchedCell : public CGridCell {
    public:
        using CGridCell::AttachEditor;
    } cell;
    CWnd plain;
    plain.Create(WS_VISIBLE, CRect(0, 0, 200, 100), static_cast<QWidget*>(nullptr), 7);
    auto* edit = new CInPlaceEdit(&plain, CRect(0, 0, 80, 20), ES_LEFT, 8, 1, 1, u"text", 0);
    cell.AttachEditor(edit);
    ASSERT_TRUE(cell.IsEditing());
    delete edit->GetWidget();
    EXPECT_FALSE(cell.IsEditing());  // the editor went and told its cell

    auto* list = new CInPlaceList(&plain, CRect(0, 0, 80, 20), 8, 1, 1, {u"A", u"B"}, u"A", 0);
    cell.AttachEditor(list);
    delete list->GetWidget();
    EXPECT_FALSE(cell.IsEditing());
}

TEST_F(GridEditorLifeTest, AListWaitsWhileAnotherEditEnds) {
    grid.SetItemText(2, 2, u"Serial");
    CInPlaceList* list = OpenList(2, 2);
    list->SendChar('n');
    // Another editor's end is under way: the list's own end waits for it.
    ASSERT_TRUE(grid.BeginEditorEnd());
    list->EndEdit();
    EXPECT_TRUE(list->GetWidget()->isVisible());
    EXPECT_EQ(grid.GetItemText(2, 2), u"Serial");
    grid.FinishEditorEnd();
    list->EndEdit();
    EXPECT_EQ(grid.GetItemText(2, 2), u"Network");
}

TEST_F(GridEditorLifeTest, TheGridKeepsTheKeysAfterItsListClosesWithEscape) {
    grid.SetItemText(2, 2, u"None");
    grid.SetFocusCell(2, 2);
    CInPlaceList* list = OpenList(2, 2);
    QComboBox* combo = list->GetWidget();
    QTest::keyClick(combo, Qt::Key_Down);  // opens the list
    QApplication::processEvents();
    QWidget* popup = QApplication::focusWidget();
    ASSERT_TRUE(combo->view()->isVisible());
    ASSERT_NE(popup, combo);
    // The open list closes on the press and hears the release itself.
    PressAndRelease(popup, Qt::Key_Escape);
    EXPECT_EQ(grid.GetInPlaceEditor(), nullptr);
    EXPECT_EQ(grid.GetItemText(2, 2), u"None");
    ASSERT_TRUE(GridHasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 2));

    // Enter picks in the open list and ends the edit the same way.
    grid.SetItemText(3, 2, u"None");
    list = OpenList(3, 2);
    QTest::keyClick(list->GetWidget(), Qt::Key_Up);
    QTest::keyClick(list->GetWidget(), Qt::Key_Down);
    QApplication::processEvents();
    popup = QApplication::focusWidget();
    ASSERT_NE(popup, list->GetWidget());
    PressAndRelease(popup, Qt::Key_Return);
    EXPECT_EQ(grid.GetItemText(3, 2), u"Network");
    EXPECT_TRUE(GridHasFocus());
}

}  // namespace

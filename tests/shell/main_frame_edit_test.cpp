#include <QAction>
#include <QKeySequence>

#include "platform/ui/drag_drop.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"
#include "shell/dialogs/ext_message_box.h"
#include "tests/shell/program_fixture.h"

namespace {

constexpr int kIcomSetup = 4;
constexpr int kIcomGroups = 7;

class EditCommandsTest : public ProgramTest {
protected:
    CKelvardinGridCtrl& Grid() { return *frame->GetCurrentGridScreen()->GetGrid(); }
    CCellID Cell(int icom) {
        CCellID cell;
        Grid().FindCellForObject(cell, CIcomSpec(icom, CIntercom::kFieldName), CObjSpec());
        return cell;
    }
    void Type(int icom, const CString& text) {
        Grid().OnEndEditCell(Cell(icom).row, Cell(icom).col, text);
    }
    CString Shown(int icom) { return Grid().GetItemText(Cell(icom).row, Cell(icom).col); }
};

TEST_F(EditCommandsTest, EditsErrorInfoUndoAndRedoAcrossScreensHistoryAndClosing) {
    std::vector<UINT> beeps;
    env.SetBeepListener([&](UINT type) { beeps.push_back(type); });
    frame->OnCommand(ID_VIEW_ICOM_SETUP);
    Type(0, u"ALFA");

    // A refused value: its message with a suppress box; ticked, the next one only beeps.
    script.ExpectMessageBox(u"The intercom name entered is too long.", IDOK | kSuppressChecked);
    Type(1, u"TOOLONG");
    ASSERT_TRUE(Until([&] { return script.AllAnswered(); }));
    EXPECT_EQ(script.MessageBoxStyles().back(),
              std::make_pair(UINT(MB_DONT_DISPLAY_AGAIN | MB_ICONSTOP), 0x30003u));
    Type(1, u"TOOLONG");
    QCoreApplication::processEvents();
    EXPECT_EQ(beeps, std::vector<UINT>{MB_ICONHAND});

    // A paste is one step; undone from another screen, it brings its screen back.
    COleDataObject names(CString(u"BRAV\r\nCHAR"));
    ASSERT_TRUE(Grid().PasteWithUndo(Cell(1).row, Cell(1).col, &names));
    frame->OnCommand(ID_VIEW_ICOM_GROUPS);
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(frame->GetCurrentScreen(), kIcomSetup);
    EXPECT_EQ(Shown(0) + u"|" + Shown(1) + u"|" + Shown(2), u"ALFA||");
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(Doc().IsModified(CIcomSpec(0, CIntercom::kFieldName)));
    frame->OnCommand(ID_EDIT_REDO);
    frame->OnCommand(ID_EDIT_REDO);
    EXPECT_EQ(Shown(0) + u"|" + Shown(1) + u"|" + Shown(2), u"ALFA|BRAV|CHAR");
    EXPECT_TRUE(Doc().IsModified(CIcomSpec(2, CIntercom::kFieldName)));
    frame->OnCommand(ID_VIEW_BACK);  // to the screen the undo left
    EXPECT_EQ(frame->GetCurrentScreen(), kIcomGroups);
    frame->OnCommand(ID_VIEW_FORWARD);
    EXPECT_EQ(frame->GetCurrentScreen(), kIcomSetup);

    // A trunk end and a fixed assignment are redone to the values edited, by their keys.
    Doc().StoreAlpha(CAssign(0, 1, 2), u"LINE");
    const CObjSpec end(CTrunkSpec(0, CTrunk::kFieldEnd1));
    const CObjSpec fixed(CTrunkSpec(0, CTrunk::kFieldFixed1));
    Doc().SetObjectField(end, u"ALFA", TRUE, CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryIcom));
    Doc().SetObjectField(fixed, u"LINE", TRUE,
                         CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryAlphaLabel));
    const std::pair edited(Doc().GetTrunkValue(end), Doc().GetTrunkValue(fixed));
    frame->OnCommand(ID_EDIT_UNDO);
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_NE(Doc().GetTrunkValue(end), edited.first);
    frame->OnCommand(ID_EDIT_REDO);
    frame->OnCommand(ID_EDIT_REDO);
    EXPECT_EQ(std::pair(Doc().GetTrunkValue(end), Doc().GetTrunkValue(fixed)), edited);

    script.ExpectMessageBox(u"not yet been saved to file", IDCANCEL);
    EXPECT_FALSE(frame->close());
}

TEST_F(EditCommandsTest, UndoOfAStepOfSeveralCellsLeavesOneCellFocusedAndSelected) {
    frame->OnCommand(ID_VIEW_ICOM_SETUP);
    COleDataObject names(CString(u"BRAV\r\nCHAR\r\nDELT"));
    ASSERT_TRUE(Grid().PasteWithUndo(Cell(1).row, Cell(1).col, &names));
    Grid().SetSelectedRange(Cell(6).row, Cell(6).col, Cell(6).row, Cell(6).col);
    Grid().SetFocusCell(Cell(6).row, Cell(6).col);

    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Shown(1) + u"|" + Shown(2) + u"|" + Shown(3), u"||");
    std::vector<CCellID> highlighted;
    for (int row = 0; row < Grid().GetRowCount(); ++row) {
        for (int col = 0; col < Grid().GetColumnCount(); ++col) {
            if (Grid().GetItemState(row, col) & (CELL_FOCUSED | CELL_SELECTED))
                highlighted.emplace_back(row, col);
        }
    }
    EXPECT_EQ(highlighted, std::vector<CCellID>{Cell(1)});
    EXPECT_EQ(Grid().GetFocusCell(), Cell(1));
}

TEST_F(EditCommandsTest, AnEditWhoseCellLostTheFocusEndsWhenTheScreenGoes) {
    frame->OnCommand(ID_VIEW_ICOM_SETUP);
    const CCellID name = Cell(0);
    Grid().SetFocusCell(name.row, name.col);
    Grid().OnEditCell(name.row, name.col, CPoint(-1, -1), 'Z');
    ASSERT_NE(Grid().GetInPlaceEditor(), nullptr);
    // Undo of another edit, from the menu, moves the focus cell and leaves the editor open.
    Grid().GetWidget()->setFocus(Qt::PopupFocusReason);
    Grid().SetFocusCell(Cell(4).row, Cell(4).col);
    frame->OnCommand(ID_VIEW_ICOM_GROUPS);
    EXPECT_EQ(Doc().GetObjectText(CIcomSpec(0, CIntercom::kFieldName)), u"Z");
}

TEST_F(EditCommandsTest, F1AsksThePaneWithTheFocusOrElseTheScreenForItsHelp) {
    app.m_bPopupHelpID = TRUE;
    QAction* help = frame->GetAction(ID_HELP);
    ASSERT_TRUE(help && help->shortcut() == QKeySequence(Qt::Key_F1));
    script.ExpectMessageBox(u"Help ID: 28015 - Style: 1", IDOK);  // the trunk definitions
    help->trigger();
    frame->GetCurrentPane()->GetWidget()->setFocus();
    script.ExpectMessageBox(u"Help ID: 20028015 - Style: 1", IDOK);  // the pane above them
    help->trigger();
}

}  // namespace

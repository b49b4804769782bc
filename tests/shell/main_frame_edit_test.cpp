#include <QCoreApplication>

#include "platform/ui/drag_drop.h"
#include "res/command_ids.h"
#include "screens/kelvardin_grid_ctrl.h"
#include "screens/kelvardin_grid_view.h"
#include "shell/ext_message_box.h"
#include "tests/shell/program_fixture.h"

namespace {

constexpr int kIcomSetup = 4;
constexpr int kIcomGroups = 7;

class EditCommandsTest : public ProgramTest {
protected:
    CKelvardinGridCtrl& Grid() { return *frame->GetCurrentGridScreen()->GetGrid(); }
    CCellID NameCell(int icom) {
        CCellID cell;
        Grid().FindCellForObject(cell, CIcomSpec(icom, CIntercom::kFieldName), CObjSpec());
        return cell;
    }
    void Type(int icom, const CString& text) {
        Grid().OnEndEditCell(NameCell(icom).row, NameCell(icom).col, text);
    }
    CString Shown(int icom) { return Grid().GetItemText(NameCell(icom).row, NameCell(icom).col); }
    bool Changed(int icom) { return Doc().IsModified(CIcomSpec(icom, CIntercom::kFieldName)); }
};

TEST_F(EditCommandsTest, EditsErrorInfoUndoAndRedoAcrossScreensHistoryAndClosing) {
    std::vector<UINT> beeps;
    env.SetBeepListener([&](UINT type) { beeps.push_back(type); });
    frame->OnCommand(ID_VIEW_ICOM_SETUP);
    ASSERT_EQ(frame->GetCurrentScreen(), kIcomSetup);
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
    EXPECT_EQ(Shown(1), u"");

    // A paste is one step. Undone from another screen, it brings its screen back.
    COleDataObject names(CString(u"BRAV\r\nCHAR"));
    ASSERT_TRUE(Grid().PasteWithUndo(NameCell(1).row, NameCell(1).col, &names));
    frame->OnCommand(ID_VIEW_ICOM_GROUPS);
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(frame->GetCurrentScreen(), kIcomSetup);
    EXPECT_EQ(Shown(1) + Shown(2), u"");
    EXPECT_EQ(Shown(0), u"ALFA");
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Shown(0), u"");
    EXPECT_FALSE(Changed(0));
    frame->OnCommand(ID_EDIT_REDO);
    frame->OnCommand(ID_EDIT_REDO);
    EXPECT_EQ(Shown(0) + Shown(1) + Shown(2), u"ALFABRAVCHAR");
    EXPECT_TRUE(Changed(2));
    EXPECT_TRUE(frame->IsStackEmpty(IMainFrame::Stack::kRedo));

    // The screen the undo left is a step back.
    frame->OnCommand(ID_VIEW_BACK);
    EXPECT_EQ(frame->GetCurrentScreen(), kIcomGroups);
    frame->OnCommand(ID_VIEW_FORWARD);
    EXPECT_EQ(frame->GetCurrentScreen(), kIcomSetup);

    // A trunk end and a fixed assignment come back as they were edited, by their keys.
    Doc().StoreAlpha(CAssign(0, 1, 2), u"LINE");
    const CObjSpec end1 = CTrunkSpec(0, CTrunk::kFieldEnd1);
    const CObjSpec fixed1 = CTrunkSpec(0, CTrunk::kFieldFixed1);
    ASSERT_TRUE(Doc().SetObjectField(end1, u"ALFA", TRUE,
                                     CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryIcom)));
    ASSERT_TRUE(Doc().SetObjectField(fixed1, u"LINE", TRUE,
                                     CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryAlphaLabel)));
    const DWORD end = Doc().GetTrunkValue(end1);
    const DWORD fixed = Doc().GetTrunkValue(fixed1);
    frame->OnCommand(ID_EDIT_UNDO);
    frame->OnCommand(ID_EDIT_UNDO);
    EXPECT_NE(Doc().GetTrunkValue(end1), end);
    frame->OnCommand(ID_EDIT_REDO);
    frame->OnCommand(ID_EDIT_REDO);
    EXPECT_EQ(Doc().GetTrunkValue(end1), end);
    EXPECT_EQ(Doc().GetTrunkValue(fixed1), fixed);

    script.ExpectMessageBox(u"not yet been saved to file", IDCANCEL);
    EXPECT_FALSE(frame->close());
}

}  // namespace

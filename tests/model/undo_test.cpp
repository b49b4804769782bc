#include <gtest/gtest.h>

#include "edit_fixture.h"

namespace {

class UndoTest : public TrunkEditTest {
protected:
    // What a field holds: trunk fields as their raw value, others as their text.
    CString Value(const CObjSpec& objSpec) const {
        return objSpec.m_nType == CObjSpec::kTrunk
                   ? CString::Formatted(u"%lu", m_doc.GetTrunkValue(objSpec))
                   : m_doc.GetObjectText(objSpec);
    }
};

}  // namespace

TEST_F(UndoTest, EverySingleFieldEditGoesAndComesBack) {
    CFakeMemoryPage page(0);
    m_doc.SetMemoryPage(&page);
    m_app.SetMode(CAppState::kModeOnline);
    struct Step {
        CObjSpec objSpec;
        const char16_t* text;
        DWORD kind;
    };
    const Step steps[] = {
        {CTrunkSpec(0, CTrunk::kFieldEnd1), u"CHAR", kIcom},
        {CTrunkSpec(0, CTrunk::kFieldCascadable), u"1", 0},
        {COptionSpec(COptions::kFieldTimeout), u"42", 0},
        {COptionSpec(COptions::kFieldWaitForTalkKey), u"1", 0},
        {CIcomSpec(1, CIntercom::kFieldName), u"NAME", 0},
        {CIcomSpec(1, CIntercom::kFieldConnection), u"Network", 0},
        {CIcomSpec(1, CIntercom::kFieldBaudRate), u"9600", 0},
        {CIcomSpec(1, CIntercom::kFieldBackupIP), u"10.1.1.1", 0},
        {CIcomSpec(1, CIntercom::kFieldComPort), u"5", 0},
        {CIcomSpec(1, CIntercom::kFieldCascadeCost), u"77", 0},
        {CGroupSpec(0, CGroup::kFieldName), u"GROUP", 0},
        {CGroupSpec(0, CGroup::kFieldFirstMember + 3), u"0", 0},
        {CObjSpec(CObjSpec::kController, 7, 1629), u"ab", 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.objSpec.m_nFieldId);
        const CString before = Value(s.objSpec);
        ASSERT_TRUE(Edit(s.objSpec, s.text, s.kind ? Entry(s.kind) : CObjSpec::Plain()));
        const CString after = Value(s.objSpec);
        ASSERT_TRUE(m_host.Undo());
        EXPECT_EQ(Value(s.objSpec), before);
        EXPECT_EQ(m_doc.IsModified(s.objSpec), 0u);
        ASSERT_TRUE(m_host.Redo());
        EXPECT_EQ(Value(s.objSpec), after);
        EXPECT_NE(m_doc.IsModified(s.objSpec), 0u);
    }
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(UndoTest, TrunkEditWithItsFollowUpsIsOneStep) {
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 3));
    Put(0, CTrunk::kFieldFixed1, CAssign(0, 1, 2));
    m_doc.SetTrunkFixed(TRUE, FALSE, 0);
    ASSERT_TRUE(EditEnd(0, u"CHAR", kIcom));
    const CAssign edited(2, 255, 0x0FFF);

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(m_host.Undo());
        EXPECT_EQ(End(0), CAssign(0, 0, 3));
        EXPECT_EQ(Fixed(0), CAssign(0, 1, 2));
        EXPECT_TRUE(m_doc.GetTrunkFixed(0));
        EXPECT_FALSE(m_doc.HasModifications());
        // Redo stores the edited key again, not key 0 (intercom 1, port 1).
        ASSERT_TRUE(m_host.Redo());
        EXPECT_EQ(End(0), edited);
        EXPECT_EQ(Fixed(0), CAssign());
        EXPECT_FALSE(m_doc.GetTrunkFixed(0));
        EXPECT_EQ(m_doc.IsTrunkModified(0), 0x15u);  // end 1, fixed assignment 1, Fixed
    }
}

TEST_F(UndoTest, NameEditWithCompanionsReplaysEachNameExactly) {
    m_doc.ClearAllChanges();
    NameIcom(0, u"ABCD", 4);
    NameIcom(0, u"XYZ", 6);
    auto names = [&] {
        std::vector<CString> texts;
        for (DWORD field = CIntercom::kFieldName4; field <= CIntercom::kFieldName8W; ++field)
            texts.push_back(m_doc.GetObjectText(CIcomSpec(0, field)));
        return texts;
    };
    const std::vector<CString> before = {u"ABCD", u"XYZ", u"", u""};
    const std::vector<CString> after = {u"EFGH", u"XYZ", u"EFGH", u"EFGH"};
    ASSERT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldName4), u"EFGH"));
    EXPECT_EQ(names(), after);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(names(), before);
    EXPECT_FALSE(m_doc.HasModifications());
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(names(), after);
}

TEST_F(UndoTest, ChangeMarksAfterUndo) {
    // A field that already had a change keeps it.
    const CIcomSpec cost(2, CIntercom::kFieldCascadeCost);
    ASSERT_TRUE(Edit(cost, u"5") && Edit(cost, u"6") && m_host.Undo());
    EXPECT_EQ(Value(cost), CString(u"5"));
    EXPECT_NE(m_doc.IsModified(cost), 0u);

    // A replay that a rule refuses leaves the value there, still marked as changed.
    m_doc.StoreAlpha(CAssign(0, 0, 3), u"DESK");
    m_doc.StoreAlpha(CAssign(0, 0, 4), u"DOOR");
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 3));
    Put(1, CTrunk::kFieldEnd1, CAssign(0, 255, 0x0FFF));
    ASSERT_TRUE(EditEnd(0, u"N005", kAssign));
    ASSERT_TRUE(
        m_doc.SetObjectField(CTrunkSpec(1, CTrunk::kFieldEnd1), u"N004", FALSE, Entry(kAssign)));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_EQ(End(0), CAssign(0, 0, 4));
    EXPECT_NE(m_doc.IsModified(CTrunkSpec(0, CTrunk::kFieldEnd1)), 0u);
}

TEST_F(UndoTest, UndoShowsTheScreenAndCellOfTheEdit) {
    const CIcomSpec cost(2, CIntercom::kFieldCascadeCost);
    const CContext edit{3, {7, 8}};
    const CContext elsewhere{5, {}};
    m_host.m_context = edit;
    m_host.m_cellSpec = cost;
    m_host.m_cell = {4, 2, false};
    ASSERT_TRUE(Edit(cost, u"5"));
    EXPECT_EQ(m_host.m_repaints, 1);

    m_host.m_context = elsewhere;
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_host.m_context, edit);
    EXPECT_EQ(m_host.m_back, std::vector<CContext>{elsewhere});
    EXPECT_EQ(m_host.m_forwardEmptied, 1);
    EXPECT_EQ(m_host.m_selections, (std::vector<CFakeUndoHost::Selection>{{4, 2, true}}));

    // A cell no longer on the grid is still restored.
    m_host.m_cellSpec = CObjSpec();
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(Value(cost), CString(u"5"));
    EXPECT_EQ(m_host.m_selections.size(), 1u);

    // A record made while no screen was current does not navigate.
    m_host.m_context.reset();
    ASSERT_TRUE(Edit(cost, u"6"));
    m_host.m_context = elsewhere;
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_host.m_back.size(), 2u);
}

TEST(UndoStack, KeepsTheNewest200) {
    CStack<int> stack;
    for (int i = 0; i < 201; ++i)
        stack.Push(std::make_unique<int>(i));
    EXPECT_EQ(stack.GetCount(), 200u);
    int oldest = -1;
    while (auto entry = stack.Pop())
        oldest = *entry;
    EXPECT_EQ(oldest, 1);
}

TEST_F(UndoTest, SuppressedErrorsOnlyBeep) {
    m_app.m_suppressedErrors.SetBit(9, TRUE);
    EXPECT_FALSE(EditEnd(0, u"0", kIcom));
    EXPECT_EQ(m_host.m_beeps, 1);
    EXPECT_EQ(m_app.m_nLastError, 9);
    EXPECT_TRUE(TakeReports().empty());

    // The notice of a port at a fixed end is silent.
    m_app.m_suppressedErrors.SetBit(23, TRUE);
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 3));
    Put(0, CTrunk::kFieldEnd2, CAssign(1, 0, 3));
    Put(0, CTrunk::kFieldFixed2, CAssign(1, 1, 1));
    m_doc.StoreAlpha(CAssign(0, 0, 0), u"DESK");
    ASSERT_TRUE(EditFixed(0, u"N001"));
    EXPECT_EQ(m_app.m_nLastError, 23);
    EXPECT_EQ(m_host.m_beeps, 1);
    EXPECT_TRUE(TakeReports().empty());

    // Numbers beyond the table are ignored; without a main window the text is kept.
    ReportValidationError(38, u"X", TRUE);
    GetApp().SetUndoHost(nullptr);
    ReportValidationError(4, u"kept", TRUE);
    GetApp().SetUndoHost(&m_host);
    EXPECT_EQ(ErrorText(4), CString(u"kept"));
    EXPECT_EQ(m_host.m_beeps, 1);
    EXPECT_TRUE(TakeReports().empty());
}

#include <gtest/gtest.h>

#include "edit_fixture.h"

namespace {

const CObjSpec kIcomEntry(CObjSpec::kAlpha, 0, CObjSpec::kEntryIcom);
const CObjSpec kAssignEntry(CObjSpec::kAlpha, 0, CObjSpec::kEntryAssignText);

class UndoTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR"})
            NameIcom(i++, name);
    }
    // What a field holds: trunk fields as their raw value, others as their text.
    CString Value(const CObjSpec& spec) const {
        return spec.m_nType == CObjSpec::kTrunk
                   ? CString::Formatted(u"%lu", m_doc.GetTrunkValue(spec))
                   : m_doc.GetObjectText(spec);
    }
    CTrunk& Trunk(int i) { return dynamic_cast<CTrunk&>(*m_doc.FindObject(CTrunkSpec(i, 1))); }
};

}  // namespace

TEST_F(UndoTest, EverySingleFieldEditGoesAndComesBack) {
    CFakeMemoryPage page(0);
    m_doc.SetMemoryPage(&page);
    m_app.SetMode(CAppState::kModeOnline);
    struct Case {
        CObjSpec spec;
        const char16_t* text;
        CObjSpec fieldSpec;
    };
    const Case cases[] = {
        {CTrunkSpec(0, CTrunk::kFieldEnd1), u"CHAR", kIcomEntry},
        {CTrunkSpec(0, CTrunk::kFieldCascadable), u"1", CObjSpec::Plain()},
        {COptionSpec(COptions::kFieldTimeout), u"42", CObjSpec::Plain()},
        {COptionSpec(COptions::kFieldWaitForTalkKey), u"1", CObjSpec::Plain()},
        {CIcomSpec(1, CIntercom::kFieldName), u"NAME", CObjSpec::Plain()},
        {CIcomSpec(1, CIntercom::kFieldConnection), u"Network", CObjSpec::Plain()},
        {CIcomSpec(1, CIntercom::kFieldBaudRate), u"9600", CObjSpec::Plain()},
        {CIcomSpec(1, CIntercom::kFieldBackupIP), u"10.1.1.1", CObjSpec::Plain()},
        {CIcomSpec(1, CIntercom::kFieldComPort), u"5", CObjSpec::Plain()},
        {CIcomSpec(1, CIntercom::kFieldCascadeCost), u"77", CObjSpec::Plain()},
        {CGroupSpec(0, CGroup::kFieldName), u"GROUP", CObjSpec::Plain()},
        {CGroupSpec(0, CGroup::kFieldFirstMember + 3), u"0", CObjSpec::Plain()},
        {CObjSpec(CObjSpec::kController, 7, 1629), u"ab", CObjSpec::Plain()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec.m_nFieldId);
        const CString before = Value(c.spec);
        ASSERT_TRUE(Edit(c.spec, c.text, c.fieldSpec));
        const CString after = Value(c.spec);
        EXPECT_NE(after, before);
        ASSERT_TRUE(m_host.Undo());
        EXPECT_EQ(Value(c.spec), before);
        EXPECT_EQ(m_doc.IsModified(c.spec), 0u);
        ASSERT_TRUE(m_host.Redo());
        EXPECT_EQ(Value(c.spec), after);
        EXPECT_NE(m_doc.IsModified(c.spec), 0u);
    }
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(UndoTest, TrunkEditWithItsFollowUpsIsOneStep) {
    Trunk(0).SetEndpoint(TRUE, CAssign(0, 0, 3), FALSE);
    Trunk(0).SetFixedAssign(TRUE, CAssign(0, 1, 2), FALSE);
    Trunk(0).SetFixed(TRUE, FALSE);

    ASSERT_TRUE(Edit(CTrunkSpec(0, CTrunk::kFieldEnd1), u"CHAR", kIcomEntry));
    const CAssign edited(2, 255, 0x0FFF);
    EXPECT_EQ(m_doc.GetTrunkEnd(0, TRUE), edited);
    EXPECT_EQ(m_doc.GetTrunkFixedAssign(0, TRUE), CAssign());
    EXPECT_FALSE(m_doc.GetTrunkFixed(0));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(m_host.Undo());
        EXPECT_EQ(m_doc.GetTrunkEnd(0, TRUE), CAssign(0, 0, 3));
        EXPECT_EQ(m_doc.GetTrunkFixedAssign(0, TRUE), CAssign(0, 1, 2));
        EXPECT_TRUE(m_doc.GetTrunkFixed(0));
        EXPECT_FALSE(m_doc.HasModifications());

        // Redo stores the edited key again, not key 0 (intercom 1, port 1).
        ASSERT_TRUE(m_host.Redo());
        EXPECT_EQ(m_doc.GetTrunkEnd(0, TRUE), edited);
        EXPECT_EQ(m_doc.GetTrunkFixedAssign(0, TRUE), CAssign());
        EXPECT_FALSE(m_doc.GetTrunkFixed(0));
        EXPECT_EQ(m_doc.IsTrunkModified(0), 0x15u);  // end 1, fixed assignment 1, Fixed
    }
    EXPECT_TRUE(TakeReports().empty());
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
    ASSERT_EQ(names(), before);
    ASSERT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldName4), u"EFGH"));
    EXPECT_EQ(names(), after);

    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(names(), before);
    EXPECT_FALSE(m_doc.HasModifications());
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(names(), after);
    EXPECT_TRUE(m_host.m_redo.IsEmpty());
}

TEST_F(UndoTest, ChangeMarksAfterUndo) {
    // A field that already had a change keeps it.
    const CIcomSpec cost(2, CIntercom::kFieldCascadeCost);
    ASSERT_TRUE(Edit(cost, u"5") && Edit(cost, u"6"));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Value(cost), CString(u"5"));
    EXPECT_NE(m_doc.IsModified(cost), 0u);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Value(cost), CString(u"30"));
    EXPECT_EQ(m_doc.IsModified(cost), 0u);

    // A replay that a rule refuses leaves the value there, still marked as changed.
    m_doc.StoreAlpha(CAssign(0, 0, 3), u"DESK");
    m_doc.StoreAlpha(CAssign(0, 0, 4), u"DOOR");
    Trunk(0).SetEndpoint(TRUE, CAssign(0, 0, 3), FALSE);
    Trunk(1).SetEndpoint(TRUE, CAssign(0, 255, 0x0FFF), FALSE);
    const CTrunkSpec end(0, CTrunk::kFieldEnd1);
    ASSERT_TRUE(Edit(end, u"N005", kAssignEntry));
    ASSERT_TRUE(
        m_doc.SetObjectField(CTrunkSpec(1, CTrunk::kFieldEnd1), u"N004", FALSE, kAssignEntry));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_EQ(m_doc.GetTrunkEnd(0, TRUE), CAssign(0, 0, 4));
    EXPECT_NE(m_doc.IsModified(end), 0u);
}

TEST_F(UndoTest, UndoShowsTheScreenAndCellOfTheEdit) {
    const CIcomSpec cost(2, CIntercom::kFieldCascadeCost);
    const CContext edit{3, {7, 8}};
    const CContext elsewhere{5, {}};
    m_host.m_context = edit;
    m_host.m_cells.push_back({cost, {4, 2}});
    ASSERT_TRUE(Edit(cost, u"5"));
    EXPECT_EQ(m_host.m_repaints, 1);

    m_host.m_context = elsewhere;
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_host.m_context, edit);
    EXPECT_EQ(m_host.m_back, std::vector<CContext>{elsewhere});
    EXPECT_EQ(m_host.m_forwardEmptied, 1);
    EXPECT_EQ(m_host.m_selections, (std::vector<CFakeUndoHost::Selection>{{4, 2, true}}));

    // A cell no longer on the grid is still restored.
    m_host.m_cells.clear();
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(Value(cost), CString(u"5"));
    EXPECT_EQ(m_host.m_selections.size(), 1u);

    // A record made while no screen was current does not navigate.
    m_host.m_context.reset();
    ASSERT_TRUE(Edit(cost, u"6"));
    m_host.m_context = elsewhere;
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_host.m_context, elsewhere);
    EXPECT_EQ(m_host.m_back.size(), 2u);
}

TEST_F(UndoTest, HistoryStacks) {
    CStack<int> stack;
    for (int i = 0; i < 201; ++i)
        stack.Push(std::make_unique<int>(i));
    EXPECT_EQ(stack.GetCount(), 200u);
    int oldest = -1;
    while (auto entry = stack.Pop())
        oldest = *entry;
    EXPECT_EQ(oldest, 1);

    // Undo and Redo keep the other stack; a new edit empties redo.
    const CIcomSpec cost(0, CIntercom::kFieldCascadeCost);
    ASSERT_TRUE(Edit(cost, u"1") && Edit(cost, u"2"));
    ASSERT_TRUE(m_host.Undo() && m_host.Undo() && m_host.Redo());
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    EXPECT_EQ(m_host.m_redo.GetCount(), 1u);
    m_host.BeginUndoGroup(true);
    m_host.BeginUndoGroup(false);  // an empty group is no step
    EXPECT_EQ(m_host.m_redo.GetCount(), 1u);
    ASSERT_TRUE(Edit(cost, u"3"));
    EXPECT_TRUE(m_host.m_redo.IsEmpty());
    EXPECT_FALSE(m_host.Redo());
}

TEST_F(UndoTest, SuppressedErrorsOnlyBeep) {
    const CTrunkSpec end(0, CTrunk::kFieldEnd1);
    m_app.m_suppressedErrors.SetBit(9, TRUE);
    EXPECT_FALSE(Edit(end, u"0", kIcomEntry));
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(m_host.m_beeps, 1);
    EXPECT_EQ(m_app.m_nLastError, 9);
    EXPECT_FALSE(ErrorText(9).IsEmpty());

    // The notice of a port at a fixed end is silent when suppressed.
    m_app.m_suppressedErrors.SetBit(23, TRUE);
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    m_app.m_suppressedErrors.SetBit(13, TRUE);
    Trunk(0).SetEndpoint(TRUE, CAssign(0, 0, 3), FALSE);
    Trunk(0).SetEndpoint(FALSE, CAssign(1, 0, 3), FALSE);
    ASSERT_TRUE(Edit(CTrunkSpec(0, CTrunk::kFieldFixed1), u"N001", kAssignEntry));
    ASSERT_TRUE(Edit(CTrunkSpec(0, CTrunk::kFieldFixed2), u"N001", kAssignEntry));
    EXPECT_EQ(m_app.m_nLastError, 23);
    EXPECT_EQ(m_host.m_beeps, 3);  // the two questions of error 13
    EXPECT_TRUE(TakeReports().empty());

    // Numbers beyond the table are ignored; without a main window the text is kept.
    ReportValidationError(38, u"X", TRUE);
    EXPECT_EQ(m_host.m_beeps, 3);
    GetApp().SetUndoHost(nullptr);
    ReportValidationError(4, u"kept", TRUE);
    EXPECT_EQ(ErrorText(4), CString(u"kept"));
    GetApp().SetUndoHost(&m_host);
    EXPECT_TRUE(TakeReports().empty());
}

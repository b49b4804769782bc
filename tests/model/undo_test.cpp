#include <gtest/gtest.h>

#include <set>

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
    std::vector<CString> Values(const std::vector<CObjSpec>& fields) const {
        std::vector<CString> values;
        for (const CObjSpec& field : fields)
            values.push_back(Value(field));
        return values;
    }
    // A drag move as the grid makes it, in one step: the texts land on their targets, then the
    // sources not landed on are cleared.
    void Move(const std::vector<std::pair<CObjSpec, CString>>& landed,
              const std::vector<CObjSpec>& sources, const CObjSpec& fieldSpec) {
        std::set<CObjSpec::CKey> moved;
        for (const CObjSpec& source : sources)
            moved.insert(source.Key());
        m_host.BeginUndoGroup(true);
        {
            const CKelvardinDoc::CFreedFieldsScope move(m_doc, moved);
            for (const auto& [target, text] : landed) {
                EXPECT_TRUE(Edit(target, text, fieldSpec));
                moved.erase(target.Key());
            }
            for (const auto& [type, index, field] : moved)
                EXPECT_TRUE(Edit(CObjSpec(type, index, field), u"", fieldSpec));
        }
        m_host.BeginUndoGroup(false);
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

    // A block cleared from the Fixed column on goes back whole, though the flag's record comes
    // before that of the assignment it needs.
    Put(1, CTrunk::kFieldEnd1, CAssign(0, 0, 5));
    Put(1, CTrunk::kFieldFixed1, CAssign(0, 1, 2));
    m_doc.SetTrunkFixed(TRUE, FALSE, 1);
    m_host.BeginUndoGroup(true);
    ASSERT_TRUE(Edit(CTrunkSpec(1, CTrunk::kFieldFixed), u"0"));
    ASSERT_TRUE(EditFixed(1, u""));
    m_host.BeginUndoGroup(false);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_TRUE(m_doc.GetTrunkFixed(1));
    EXPECT_EQ(Fixed(1), CAssign(0, 1, 2));
    EXPECT_TRUE(TakeReports().empty());

    // Nor does a fixed assignment put back before its end's intercom, which it does not
    // belong to until then: a replay brings no follow-up that would clear it.
    m_host.BeginUndoGroup(true);
    ASSERT_TRUE(EditFixed(1, u""));
    ASSERT_TRUE(EditEnd(1, u"CHAR", kIcom));
    m_host.BeginUndoGroup(false);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(1), CAssign(0, 0, 5));
    EXPECT_EQ(Fixed(1), CAssign(0, 1, 2));
    EXPECT_TRUE(m_doc.GetTrunkFixed(1));
    const CTrunkSpec fixed2(1, CTrunk::kFieldFixed2);
    ASSERT_TRUE(m_doc.SetObjectField(fixed2, CString::Formatted(u"%lu", CAssign(2, 1, 0).GetKey()),
                                     FALSE, Entry(CObjSpec::kEntryAssignKey)));
    EXPECT_EQ(Fixed(1, FALSE), CAssign(2, 1, 0));
    // Nor has an end stored so onto another intercom: its fixed assignment stays.
    ASSERT_TRUE(
        m_doc.SetObjectField(CTrunkSpec(1, CTrunk::kFieldEnd2), u"DELT", FALSE, Entry(kIcom)));
    EXPECT_EQ(End(1, FALSE).m_icom, 3);
    EXPECT_EQ(Fixed(1, FALSE), CAssign(2, 1, 0));
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(UndoTest, AStepGoesBackWholeWhateverOrderItsRecordsCameIn) {
    for (WORD port : {5, 9, 10})
        m_doc.StoreAlpha(CAssign(0, 0, port), CString::Formatted(u"P%03u", port + 1u));
    const auto end1 = [](int trunk) { return CTrunkSpec(trunk, CTrunk::kFieldEnd1); };
    const CTrunkSpec end2(2, CTrunk::kFieldEnd2);
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 2));
    Put(2, CTrunk::kFieldEnd2, CAssign(0, 0, 5));
    for (int trunk = 3; trunk < 6; ++trunk)
        Put(trunk, CTrunk::kFieldEnd1, CAssign(0, 0, static_cast<WORD>(trunk + 6)));
    for (int icom = 0; icom < 3; ++icom) {
        m_doc.SetIcomComPort(icom + 2, FALSE, icom);
        m_doc.SetIcomPrimaryIP(0x0A000001u + static_cast<DWORD>(icom), FALSE, icom);
    }
    m_doc.ClearAllChanges();
    std::vector<CObjSpec> fields = {end1(0), end2, end1(3), end1(4), end1(5)};
    const DWORD icomFields[] = {CIntercom::kFieldComPort, CIntercom::kFieldPrimaryIP,
                                CIntercom::kFieldName4};
    for (const DWORD field : icomFields) {
        for (int icom = 0; icom < 3; ++icom)
            fields.push_back(CIcomSpec(icom, field));
    }
    const std::vector<CString> before = Values(fields);

    // Trunk 3's end-2 port onto trunk 1's end-1 port; the end-1 ports of trunks 4 and 5 one
    // row down; in Intercom Setup, the first two COM ports, addresses and names one row down.
    Move({{end1(0), u"6"}}, {end2}, Entry(kAssign));
    Move({{end1(4), u"10"}, {end1(5), u"11"}}, {end1(3), end1(4)}, Entry(kAssign));
    for (const DWORD field : icomFields) {
        Move({{CIcomSpec(1, field), Value(CIcomSpec(0, field))},
              {CIcomSpec(2, field), Value(CIcomSpec(1, field))}},
             {CIcomSpec(0, field), CIcomSpec(1, field)}, CObjSpec::Plain());
    }
    EXPECT_EQ(End(0), CAssign(0, 0, 5));
    EXPECT_EQ(End(2, FALSE), CAssign(0, CAssign::kNoType, CAssign::kNoNumber));
    EXPECT_EQ(End(4), CAssign(0, 0, 9));
    EXPECT_EQ(m_doc.GetIcomComPort(2), 3);
    EXPECT_EQ(m_doc.GetIcomComPort(0), -1);
    EXPECT_EQ(Value(CIcomSpec(1, CIntercom::kFieldName4)), CString(u"ALFA"));
    const std::vector<CString> after = Values(fields);

    for (int round = 0; round < 2; ++round) {
        while (m_host.Undo()) {
        }
        EXPECT_EQ(Values(fields), before);
        EXPECT_FALSE(m_doc.HasModifications());
        while (m_host.Redo()) {
        }
        EXPECT_EQ(Values(fields), after);
    }
    EXPECT_TRUE(TakeReports().empty());

    // The state a step leaves is checked as one against the fields outside it: a COM port
    // another intercom took meanwhile refuses the step whole, told as typing it would be, and
    // the step stays to be undone once that intercom lets the port go.
    const CIcomSpec comPort(5, CIntercom::kFieldComPort);
    m_doc.SetIcomComPort(7, FALSE, 5);
    ASSERT_TRUE(Edit(comPort, u""));
    m_doc.SetIcomComPort(7, FALSE, 6);
    EXPECT_FALSE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{2});
    EXPECT_EQ(m_doc.GetIcomComPort(5), -1);
    EXPECT_NE(m_doc.IsModified(comPort), 0u);
    m_doc.SetIcomComPort(-1, FALSE, 6);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_doc.GetIcomComPort(5), 7);

    // So does a port a reply gave another trunk: trunk 1's end on BRAV 9, typed 15, then 17.
    m_doc.StoreAlpha(CAssign(1, 0, 14), u"B15");
    m_doc.StoreAlpha(CAssign(1, 0, 16), u"B17");
    Put(0, CTrunk::kFieldEnd1, CAssign(1, 0, 8));
    ASSERT_TRUE(EditEnd(0, u"15", kAssign) && EditEnd(0, u"17", kAssign));
    Put(1, CTrunk::kFieldEnd1, CAssign(1, 0, 14));
    EXPECT_FALSE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_NE(ErrorText(18).Find(u"Trunk #2"), -1);
    EXPECT_EQ(End(0), CAssign(1, 0, 16));
    EXPECT_NE(m_doc.IsTrunkEndModified(0, TRUE), 0u);
    Put(1, CTrunk::kFieldEnd1, CAssign());
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(0), CAssign(1, 0, 14));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(0), CAssign(1, 0, 8));
    // Redo is checked the same way.
    Put(2, CTrunk::kFieldEnd1, CAssign(1, 0, 14));
    EXPECT_FALSE(m_host.Redo());
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_EQ(End(0), CAssign(1, 0, 8));
    EXPECT_TRUE(TakeReports().empty());

    // Only a field written after the step counts: what was shared before goes back as it was.
    // COM 5 on three intercoms, one typed 6 and undone, and again after a Redo.
    for (int icom = 8; icom < 11; ++icom)
        m_doc.SetIcomComPort(4, FALSE, icom);
    ASSERT_TRUE(Edit(CIcomSpec(8, CIntercom::kFieldComPort), u"6"));
    m_doc.SetIcomComPort(4, FALSE, 9);  // a reply that sends it again changes nothing
    ASSERT_TRUE(m_host.Undo() && m_host.Redo() && m_host.Undo());
    EXPECT_EQ(m_doc.GetIcomComPort(8), 4);
    // An address two intercoms share goes back; one a third took after the step refuses it.
    m_doc.SetIcomPrimaryIP(0x0A000032u, FALSE, 8);
    m_doc.SetIcomPrimaryIP(0x0A000032u, FALSE, 9);
    ASSERT_TRUE(Edit(CIcomSpec(8, CIntercom::kFieldPrimaryIP), u"10.0.0.51"));
    m_doc.SetIcomBackupIP(0x0A000032u, FALSE, 10);
    EXPECT_FALSE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{29});
    m_doc.SetIcomBackupIP(0, FALSE, 10);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_doc.GetIcomPrimaryAddress(8), 0x0A000032u);
    // Trunk 8's ends on intercom 2's ports 9 and 21: a port typed on end 1 goes back, though a
    // reply put end 2 on port 23 meanwhile; a port never meets the other end's intercom.
    Put(7, CTrunk::kFieldEnd1, CAssign(1, 0, 8));
    Put(7, CTrunk::kFieldEnd2, CAssign(1, 0, 20));
    ASSERT_TRUE(EditEnd(7, u"17", kAssign));
    Put(7, CTrunk::kFieldEnd2, CAssign(1, 0, 22));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(7), CAssign(1, 0, 8));
    // End 1 typed onto DELT and end 2 put on intercom 2 after it: the Undo would change end
    // 1's intercom to the other end's, as typing intercom 2 into Icom 1 would.
    ASSERT_TRUE(EditEnd(7, u"DELT", kIcom));
    Put(7, CTrunk::kFieldEnd2, CAssign(1, 0, 21));
    EXPECT_FALSE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{16});
    Put(7, CTrunk::kFieldEnd2, CAssign(2, 0, 21));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(7), CAssign(1, 0, 8));
    // A fixed assignment cleared, whose port trunk 10's end took after: 2356.
    Put(8, CTrunk::kFieldEnd1, CAssign(0, 0, 1));
    Put(8, CTrunk::kFieldFixed1, CAssign(0, 0, 30));
    ASSERT_TRUE(EditFixed(8, u""));
    Put(9, CTrunk::kFieldEnd1, CAssign(0, 0, 30));
    EXPECT_FALSE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{21});
    EXPECT_NE(ErrorText(21).Find(u"Trunk #10"), -1);
    Put(9, CTrunk::kFieldEnd1, CAssign());
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Fixed(8), CAssign(0, 0, 30));
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
    ASSERT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldName4), u"EFGH"));
    EXPECT_EQ(names(), after);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(names(), before);
    EXPECT_FALSE(m_doc.HasModifications());
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(names(), after);
    EXPECT_TRUE(TakeReports().empty());

    // A name another intercom took meanwhile goes back with the notice typing it gives.
    NameIcom(1, u"ABCD", 4);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(names(), before);
    EXPECT_EQ(TakeReports(), std::vector<int>{5});
}

TEST_F(UndoTest, ChangeMarksAfterUndo) {
    // A field that already had a change keeps it.
    const CIcomSpec cost(2, CIntercom::kFieldCascadeCost);
    ASSERT_TRUE(Edit(cost, u"5") && Edit(cost, u"6") && m_host.Undo());
    EXPECT_EQ(Value(cost), CString(u"5"));
    EXPECT_NE(m_doc.IsModified(cost), 0u);

    // What a field held goes back though typing could not give it: a COM port the
    // controller no longer offers, a name with a character the rules refuse.
    const CIcomSpec port(0, CIntercom::kFieldComPort);
    m_doc.SetIcomComPort(8, FALSE, 0);
    ASSERT_TRUE(Edit(port, u"3"));
    Config().m_nLastComPort = 5;
    const CIcomSpec name(1, CIntercom::kFieldName4);
    NameIcom(1, u"A{B}", 4);
    ASSERT_TRUE(Edit(name, u"AB"));
    ASSERT_TRUE(m_host.Undo() && m_host.Undo());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(m_doc.GetIcomComPort(0), 8);
    EXPECT_EQ(m_doc.IsModified(port), 0u);
    EXPECT_EQ(Value(name), CString(u"A{B}"));
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(m_doc.GetIcomComPort(0), 2);
    EXPECT_NE(m_doc.IsModified(port), 0u);
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

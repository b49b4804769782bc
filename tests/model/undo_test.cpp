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

    // What a field held goes back even where another holds it too, as the controller's own
    // setup may have it.
    m_doc.SetIcomComPort(7, FALSE, 5);
    m_doc.SetIcomComPort(7, FALSE, 6);
    ASSERT_TRUE(Edit(CIcomSpec(5, CIntercom::kFieldComPort), u""));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_doc.GetIcomComPort(5), 7);
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
}

TEST_F(UndoTest, ChangeMarksAfterUndo) {
    // A field that already had a change keeps it.
    const CIcomSpec cost(2, CIntercom::kFieldCascadeCost);
    ASSERT_TRUE(Edit(cost, u"5") && Edit(cost, u"6") && m_host.Undo());
    EXPECT_EQ(Value(cost), CString(u"5"));
    EXPECT_NE(m_doc.IsModified(cost), 0u);

    // A replay that a rule refuses leaves the value there, still marked as changed: a port the
    // controller no longer has.
    const CIcomSpec port(0, CIntercom::kFieldComPort);
    m_doc.SetIcomComPort(8, FALSE, 0);
    ASSERT_TRUE(Edit(port, u"3"));
    Config().m_nLastComPort = 5;
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(TakeReports(), std::vector<int>{1});
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

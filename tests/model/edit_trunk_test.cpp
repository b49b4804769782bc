#include <gtest/gtest.h>

#include "edit_fixture.h"
#include "platform/base/codepage.h"

namespace {

CObjSpec Entry(DWORD kind) {
    return CObjSpec(CObjSpec::kAlpha, 0, kind);
}

const CObjSpec kIcomEntry = Entry(CObjSpec::kEntryIcom);
const CObjSpec kLabelEntry = Entry(CObjSpec::kEntryAlphaLabel);
const CObjSpec kAssignEntry = Entry(CObjSpec::kEntryAssignText);

// Intercoms 1-4 are named ALFA, BRAV, CHAR and DELT; intercom 5 has no name.
class TrunkEditTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR", u"DELT"})
            NameIcom(i++, name);
    }
    // Sets a trunk field without rules or undo, as a received value would.
    void Put(int trunk, DWORD field, const CAssign& assign) {
        auto* record = dynamic_cast<CTrunk*>(m_doc.FindObject(CTrunkSpec(trunk, 1)));
        if (field <= CTrunk::kFieldEnd2)
            record->SetEndpoint(field == CTrunk::kFieldEnd1, assign, FALSE);
        else
            record->SetFixedAssign(field == CTrunk::kFieldFixed1, assign, FALSE);
    }
    CAssign End(int trunk, BOOL first = TRUE) { return m_doc.GetTrunkEnd(trunk, first); }
    CAssign Fixed(int trunk, BOOL first = TRUE) { return m_doc.GetTrunkFixedAssign(trunk, first); }
    BOOL EditEnd(int trunk, const CString& text, const CObjSpec& entry, BOOL first = TRUE) {
        return Edit(CTrunkSpec(trunk, first ? CTrunk::kFieldEnd1 : CTrunk::kFieldEnd2), text,
                    entry);
    }
    BOOL EditFixed(int trunk, const CString& text, BOOL first = TRUE,
                   const CObjSpec& entry = kAssignEntry) {
        return Edit(CTrunkSpec(trunk, first ? CTrunk::kFieldFixed1 : CTrunk::kFieldFixed2), text,
                    entry);
    }
    void SetRemotePort(int icom, UINT port) {
        CBitArray ports(64);
        ports.SetBit(port, TRUE);
        m_doc.SetIcomRemoteTrunkSet(icom, ports);
    }
};

const CAssign kNone;

}  // namespace

TEST_F(TrunkEditTest, IntercomColumnReadsNamesAndNumbers) {
    struct Case {
        const char16_t* text;
        int error;  // -1: stored
        BYTE icom;
    };
    const Case cases[] = {
        {u"0", 9, 255},      {u"-2", 9, 255},    {u"32", 9, 255}, {u"xyz", 10, 255},
        {u" BRAV", 10, 255}, {u"brav", 10, 255}, {u"5", 7, 255},  {u"BRAV  ", -1, 1},
        {u"3", -1, 2},       {u"MX04", 10, 2},   {u"", -1, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.text));
        EXPECT_EQ(EditEnd(0, c.text, kIcomEntry), c.error < 0);
        EXPECT_EQ(TakeReports(), c.error < 0 ? std::vector<int>{} : std::vector<int>{c.error});
        EXPECT_EQ(End(0), CAssign(c.icom, 255, 0x0FFF));
    }
    EXPECT_EQ(ErrorText(9), CString(u"The intercom number entered is invalid.\nOnly numbers "
                                    u"between 1 and 31 are allowed."));
    EXPECT_EQ(ErrorText(7), CString(u"Intercom #5 has not been defined."));
    m_app.m_nVisibleIntercoms = 4;
    EXPECT_FALSE(EditEnd(0, u"5", kIcomEntry));
    EXPECT_EQ(ErrorText(9), CString(u"The intercom number entered is invalid.\nOnly numbers "
                                    u"between 1 and 4 are allowed."));

    // Nameless intercoms, by number or default name, with a question after the store.
    TakeReports();
    m_app.m_nVisibleIntercoms = 255;
    m_app.m_bAllowEntryOfNamelessIntercoms = TRUE;
    EXPECT_TRUE(EditEnd(0, u"5", kIcomEntry));
    EXPECT_EQ(TakeReports(), std::vector<int>{8});
    EXPECT_EQ(End(0).m_icom, 4);
    EXPECT_TRUE(EditEnd(0, u"MX06", kIcomEntry));
    EXPECT_EQ(End(0).m_icom, 5);
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(TrunkEditTest, IntercomColumnKeepsTheEndsApart) {
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 3));
    Put(0, CTrunk::kFieldEnd2, CAssign(1, 0, 7));
    Put(0, CTrunk::kFieldFixed1, CAssign(0, 1, 2));

    // The same intercom again is no edit at all.
    const size_t steps = m_host.m_undo.GetCount();
    EXPECT_FALSE(EditEnd(0, u"ALFA", kIcomEntry));
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(m_host.m_undo.GetCount(), steps);

    EXPECT_FALSE(EditEnd(0, u"BRAV", kIcomEntry));
    EXPECT_EQ(TakeReports(), std::vector<int>{16});
    m_host.m_bMoveDrop = true;  // the other end is the move's source
    EXPECT_TRUE(EditEnd(0, u"BRAV", kIcomEntry));
    m_host.m_bMoveDrop = false;

    // Another intercom clears the port, and the fixed assignment of the old intercom.
    EXPECT_EQ(End(0), CAssign(1, 255, 0x0FFF));
    EXPECT_EQ(Fixed(0), kNone);
    EXPECT_FALSE(m_doc.GetTrunkFixed(0));
    EXPECT_EQ(dynamic_cast<const CUndoObList*>(m_host.m_undo.Peek())->GetCount(), 2u);
    EXPECT_EQ(TakeUpdates(), (std::vector<CRecordingViews::Update>{{false, kHintTrunkDefs, 0}}));
}

TEST_F(TrunkEditTest, PortColumnTakesAssignmentTextsAndBarePorts) {
    EXPECT_FALSE(EditEnd(0, u"12", kAssignEntry));
    EXPECT_EQ(TakeReports(), std::vector<int>{14});
    Put(0, CTrunk::kFieldEnd1, CAssign(2, 255, 0x0FFF));
    m_doc.StoreAlpha(CAssign(2, 0, 11), u"DESK");

    struct Case {
        const char16_t* text;
        int error;
    };
    for (const Case& c : {Case{u"0", 20},
                          {u"1000", 20},
                          {u"12x", 20},
                          {u"PL03", 15},
                          {u"N012", -1},
                          {u" 12 ", -1},
                          {u"13", 12}}) {
        EXPECT_EQ(EditEnd(0, c.text, kAssignEntry), c.error < 0 && End(0).m_number != 11);
        EXPECT_EQ(TakeReports(), c.error < 0 ? std::vector<int>{} : std::vector<int>{c.error});
    }
    EXPECT_EQ(End(0), CAssign(2, 0, 11));
    EXPECT_EQ(ErrorText(15), CString(u"The assignment PL03 is not allowed as a trunk port. "
                                     u"because it is a PL resource.\nOnly PP resources are "
                                     u"allowed as trunk ports."));

    // Without an alpha the port is taken after a question, chosen by the mode and type.
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    EXPECT_TRUE(EditEnd(0, u"13", kAssignEntry));
    EXPECT_EQ(TakeReports(), std::vector<int>{13});
    EXPECT_EQ(ErrorText(13), LoadResString(2427));
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_TRUE(EditEnd(0, u"14", kAssignEntry));
    EXPECT_EQ(ErrorText(13), LoadResString(2426));
    EXPECT_TRUE(EditFixed(0, u"PL01"));
    EXPECT_EQ(ErrorText(13), LoadResString(2422));

    // Clearing the port keeps the intercom.
    EXPECT_TRUE(EditEnd(0, u"", kAssignEntry));
    EXPECT_EQ(End(0), CAssign(2, 255, 0x0FFF));
}

TEST_F(TrunkEditTest, AlphaColumnFindsLabels) {
    m_doc.StoreAlpha(CAssign(0, 0, 4), u"DESK");
    m_doc.StoreAlpha(CAssign(1, 0, 9), u"DESK");
    m_doc.StoreAlpha(CAssign(1, 1, 2), u"LINE");

    // An end without an intercom searches all intercoms' ports.
    EXPECT_FALSE(EditEnd(0, u"LINE", kLabelEntry));
    EXPECT_EQ(ErrorText(11), CString(u"No alpha could be found that matches the text entered."));
    EXPECT_FALSE(EditEnd(0, u"DESK ", kLabelEntry));  // cancelled: no message
    ASSERT_EQ(m_dialog.m_shown.size(), 1u);
    EXPECT_EQ(m_dialog.m_shown[0].size(), 2u);
    m_dialog.m_answer = 1;
    EXPECT_TRUE(EditEnd(0, u"DESK", kLabelEntry));
    EXPECT_EQ(End(0), CAssign(1, 0, 9));
    EXPECT_EQ(TakeReports(), std::vector<int>{11});

    // An end with an intercom searches only it; a fixed assignment takes every type.
    EXPECT_FALSE(EditEnd(0, u"LINE", kLabelEntry));
    EXPECT_EQ(ErrorText(11), CString(u"No alpha, belonging to Intercom #2 (BRAV), could be found "
                                     u"that matches the text entered."));
    EXPECT_TRUE(EditFixed(0, u"LINE", TRUE, kLabelEntry));
    EXPECT_EQ(Fixed(0), CAssign(1, 1, 2));
    EXPECT_FALSE(EditFixed(1, u"LINE", TRUE, kLabelEntry));
    EXPECT_EQ(ErrorText(19), LoadResString(2336));
    EXPECT_EQ(m_dialog.m_shown.size(), 2u);
}

TEST_F(TrunkEditTest, FixedAssignmentsAndTheFlagsThatFollow) {
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 1));
    Put(0, CTrunk::kFieldEnd2, CAssign(1, 0, 1));
    m_doc.SetTrunkCascadable(TRUE, FALSE, 0);
    EXPECT_FALSE(EditFixed(0, u"PL02", FALSE, Entry(0)));  // not a known entry kind
    EXPECT_FALSE(EditFixed(0, u"12"));
    EXPECT_TRUE(EditFixed(0, u"SL01"));
    EXPECT_TRUE(m_doc.GetTrunkFixed(0));
    EXPECT_EQ(TakeReports(), (std::vector<int>{20, 13}));

    // Two fixed ends: a port on one side, or PL on both.
    EXPECT_FALSE(EditFixed(0, u"IF01", FALSE));
    EXPECT_EQ(TakeReports(), std::vector<int>{24});
    EXPECT_TRUE(EditFixed(0, u"N005", FALSE));
    EXPECT_EQ(TakeReports(), (std::vector<int>{13, 23}));
    EXPECT_FALSE(m_doc.GetTrunkCascadable(0));
    EXPECT_TRUE(EditFixed(0, u"PL01") && EditFixed(0, u"PL01", FALSE));
    EXPECT_EQ(TakeReports(), (std::vector<int>{13, 23, 13}));

    // Clearing the last one clears Fixed.
    EXPECT_TRUE(EditFixed(0, u"") && m_doc.GetTrunkFixed(0));
    EXPECT_TRUE(EditFixed(0, u"", FALSE));
    EXPECT_FALSE(m_doc.GetTrunkFixed(0));
    const auto* step = dynamic_cast<const CUndoObList*>(m_host.m_undo.Peek());
    ASSERT_EQ(step->GetCount(), 2u);
    EXPECT_EQ(step->GetAt(1).GetObjSpec(), CTrunkSpec(0, CTrunk::kFieldFixed));
    EXPECT_EQ(step->GetAt(1).GetOldText(), CString(u"1"));
}

TEST_F(TrunkEditTest, AssignmentsInUseElsewhere) {
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 9));
    Put(3, CTrunk::kFieldFixed2, CAssign(0, 0, 2));
    Put(5, CTrunk::kFieldEnd2, CAssign(0, 0, 4));
    Put(1, CTrunk::kFieldEnd1, CAssign(0, 255, 0x0FFF));
    SetRemotePort(0, 6);

    struct Case {
        BOOL fixed;
        const char16_t* text;
        int error;
        const char16_t* message;
    };
    const Case cases[] = {
        {FALSE, u"N003", 17,
         u"The assignment entered is already being used as a fixed "
         u"assignment for Trunk #4."},
        {FALSE, u"N005", 18,
         u"The assignment entered is already being used as part of the "
         u"definition for Trunk #6."},
        {FALSE, u"N007", 33, nullptr},
        {TRUE, u"N005", 21,
         u"The fixed assignment entered is already being used as part of "
         u"the definition for Trunk #6"},
        {TRUE, u"N007", 32, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.fixed ? EditFixed(0, c.text) : EditEnd(0, c.text, kAssignEntry));
        EXPECT_EQ(m_app.m_nLastError, c.error);
        if (c.message) {
            EXPECT_EQ(ErrorText(c.error), CString(c.message));
        }
    }
    // The trunk's own end is no conflict.
    EXPECT_FALSE(EditEnd(0, u"N010", kAssignEntry));
    EXPECT_EQ(m_app.m_nLastError, 32);

    // A move skips the in-use checks, a replay the remote-trunking ones.
    m_host.m_bMoveDrop = true;
    EXPECT_TRUE(EditEnd(0, u"N005", kAssignEntry));
    EXPECT_TRUE(EditFixed(1, u"N005"));
    m_host.m_bMoveDrop = false;
    Put(2, CTrunk::kFieldEnd1, CAssign(0, 255, 0x0FFF));
    EXPECT_FALSE(EditEnd(2, u"N007", kAssignEntry));
    EXPECT_TRUE(
        m_doc.SetObjectField(CTrunkSpec(2, CTrunk::kFieldEnd1), u"N007", FALSE, kAssignEntry));
    EXPECT_TRUE(m_doc.IsFieldProblematic(CTrunkSpec(2, CTrunk::kFieldEnd1)));
}

TEST_F(TrunkEditTest, FlagColumns) {
    const CTrunkSpec cascadable(0, CTrunk::kFieldCascadable);
    const CTrunkSpec fixed(0, CTrunk::kFieldFixed);
    EXPECT_FALSE(Edit(fixed, u"1"));
    EXPECT_EQ(ErrorText(22), LoadResString(2329));
    EXPECT_TRUE(Edit(cascadable, u"1"));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    // A flag set from another column's cell is recorded by that column's edit.
    EXPECT_TRUE(Edit(cascadable, u"0", kIcomEntry));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);

    Put(0, CTrunk::kFieldFixed1, CAssign(0, 1, 1));
    Put(0, CTrunk::kFieldFixed2, CAssign(1, 1, 1));
    EXPECT_TRUE(Edit(fixed, u"1"));
    EXPECT_FALSE(Edit(cascadable, u"1"));
    EXPECT_EQ(TakeReports(), (std::vector<int>{22, 25}));
    EXPECT_TRUE(Edit(fixed, u"0"));  // clearing is never refused
    EXPECT_TRUE(TakeUpdates().empty());
}

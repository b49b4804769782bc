#include <gtest/gtest.h>

#include "edit_fixture.h"

namespace {

struct Case {
    const char16_t* text;
    int error;  // -1: stored
};

}  // namespace

TEST_F(TrunkEditTest, IntercomColumnReadsNamesAndNumbers) {
    const Case cases[] = {{u"0", 9},       {u"-2", 9},    {u"32", 9}, {u"xyz", 10},
                          {u" BRAV", 10},  {u"brav", 10}, {u"5", 7},  {u"MX04", 10},
                          {u"BRAV  ", -1}, {u"3", -1},    {u"3", -2}, {u"", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.text));
        EXPECT_EQ(EditEnd(0, c.text, kIcom), c.error == -1);
        EXPECT_EQ(TakeReports(), c.error >= 0 ? std::vector<int>{c.error} : std::vector<int>{});
    }
    EXPECT_EQ(End(0), CAssign());
    EXPECT_EQ(m_host.m_undo.GetCount(), 3u);  // entering the same intercom again is no step
    EXPECT_EQ(ErrorText(9), CString(u"The intercom number entered is invalid.\nOnly numbers "
                                    u"between 1 and 31 are allowed."));

    // Nameless intercoms, by number or default name, with a question after the store.
    m_app.m_bAllowEntryOfNamelessIntercoms = TRUE;
    EXPECT_TRUE(EditEnd(0, u"5", kIcom));
    EXPECT_EQ(TakeReports(), std::vector<int>{8});
    EXPECT_TRUE(EditEnd(0, u"MX06", kIcom));
    EXPECT_EQ(End(0).m_icom, 5);
    EXPECT_EQ(TakeUpdates(),
              (std::vector<CRecordingViews::Update>(5, {false, CUpdateHint::kTrunkDefs, 0})));

    // The other end's intercom is refused, unless it is the source of a move.
    Put(0, CTrunk::kFieldEnd2, CAssign(1, 0, 7));
    EXPECT_FALSE(EditEnd(0, u"BRAV", kIcom));
    EXPECT_EQ(m_app.m_nLastError, 16);
    const CKelvardinDoc::CFreedFieldsScope move(m_doc, {CTrunkSpec(0, CTrunk::kFieldEnd2).Key()});
    EXPECT_TRUE(EditEnd(0, u"BRAV", kIcom));
}

TEST_F(TrunkEditTest, PortColumnTakesAssignmentTextsAndBarePorts) {
    EXPECT_FALSE(EditEnd(0, u"12", kAssign));
    EXPECT_EQ(TakeReports(), std::vector<int>{14});
    Put(0, CTrunk::kFieldEnd1, CAssign(2, 255, 0x0FFF));
    m_doc.StoreAlpha(CAssign(2, 0, 11), u"DESK");
    for (const Case& c : {Case{u"0", 20},
                          {u"1000", 20},
                          {u"12x", 20},
                          {u"PL03", 15},
                          {u"13", 12},
                          {u" 12 ", -1},
                          {u"N012", 0}}) {
        EXPECT_EQ(EditEnd(0, c.text, kAssign), c.error == -1);
        EXPECT_EQ(TakeReports(), c.error > 0 ? std::vector<int>{c.error} : std::vector<int>{});
    }
    EXPECT_EQ(End(0), CAssign(2, 0, 11));
    EXPECT_EQ(ErrorText(15), CString(u"The assignment PL03 is not allowed as a trunk port. "
                                     u"because it is a PL resource.\nOnly PP resources are "
                                     u"allowed as trunk ports."));

    // Without an alpha the port is taken after a question chosen by the mode and type.
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    EXPECT_TRUE(EditEnd(0, u"13", kAssign));
    EXPECT_EQ(ErrorText(13), LoadResString(2427));
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_TRUE(EditEnd(0, u"14", kAssign));
    EXPECT_EQ(ErrorText(13), LoadResString(2426));
    EXPECT_TRUE(EditFixed(0, u"PL01"));
    EXPECT_EQ(ErrorText(13), LoadResString(2422));
    EXPECT_EQ(TakeReports(), (std::vector<int>{13, 13, 13}));

    EXPECT_TRUE(EditEnd(0, u"", kAssign));  // clearing the port keeps the intercom
    EXPECT_EQ(End(0), CAssign(2, 255, 0x0FFF));
}

TEST_F(TrunkEditTest, AlphaColumnFindsLabels) {
    m_doc.StoreAlpha(CAssign(0, 0, 4), u"DESK");
    m_doc.StoreAlpha(CAssign(1, 0, 9), u"DESK");
    m_doc.StoreAlpha(CAssign(1, 1, 2), u"LINE");

    // An end without an intercom searches the ports of all intercoms.
    EXPECT_FALSE(EditEnd(0, u"LINE", kLabel));
    EXPECT_EQ(ErrorText(11), LoadResString(2351));
    EXPECT_FALSE(EditEnd(0, u"DESK ", kLabel));  // cancelled: no message
    ASSERT_EQ(m_dialog.m_shown.size(), 1u);
    EXPECT_EQ(m_dialog.m_shown[0].size(), 2u);

    // The choice is the resource offered: one the controller removed or relabelled while the
    // dialog was open is refused, whatever took its place; one that stayed is taken.
    m_dialog.m_answer = 1;
    const auto sendWhileOpen = [&](std::vector<std::pair<CAssign, const char16_t*>> alphas) {
        m_dialog.m_whileOpen = [this, alphas] {
            for (const auto& [assign, label] : alphas)
                m_doc.StoreAlpha(assign, label);
        };
    };
    sendWhileOpen({{CAssign(0, 0, 4), u""}, {CAssign(1, 0, 9), u""}, {CAssign(3, 2, 7), u"ZULU"}});
    EXPECT_FALSE(EditEnd(0, u"DESK", kLabel));
    m_doc.StoreAlpha(CAssign(0, 0, 4), u"DESK");
    m_doc.StoreAlpha(CAssign(1, 0, 9), u"DESK");
    sendWhileOpen({{CAssign(1, 0, 9), u"ZULU"}});
    EXPECT_FALSE(EditEnd(0, u"DESK", kLabel));
    EXPECT_EQ(End(0), CAssign());
    EXPECT_EQ(TakeReports(), (std::vector<int>{11, 11, 11}));
    EXPECT_EQ(ErrorText(11), LoadResString(2351));
    m_doc.StoreAlpha(CAssign(1, 0, 9), u"DESK");
    sendWhileOpen({{CAssign(0, 0, 4), u""}});
    EXPECT_TRUE(EditEnd(0, u"DESK", kLabel));
    EXPECT_EQ(End(0), CAssign(1, 0, 9));

    // An end with an intercom searches only it; a fixed assignment takes every type.
    EXPECT_FALSE(EditEnd(0, u"LINE", kLabel));
    EXPECT_EQ(ErrorText(11), CString(u"No alpha, belonging to Intercom #2 (BRAV), could be found "
                                     u"that matches the text entered."));
    EXPECT_TRUE(EditFixed(0, u"LINE", TRUE, kLabel));
    EXPECT_EQ(Fixed(0), CAssign(1, 1, 2));
    EXPECT_FALSE(EditFixed(1, u"LINE", TRUE, kLabel));
    EXPECT_EQ(TakeReports(), (std::vector<int>{11, 19}));
}

TEST_F(TrunkEditTest, FixedAssignmentsAndTheFlagsThatFollow) {
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    m_app.m_suppressedErrors.SetBit(13, TRUE);
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 1));
    Put(0, CTrunk::kFieldEnd2, CAssign(1, 0, 1));
    m_doc.SetTrunkCascadable(TRUE, FALSE, 0);
    EXPECT_FALSE(EditFixed(0, u"PL02", FALSE, 0));  // no entry kind
    EXPECT_FALSE(EditFixed(0, u"12"));
    EXPECT_TRUE(EditFixed(0, u"SL01"));
    EXPECT_TRUE(m_doc.GetTrunkFixed(0));
    // Two fixed ends: a port on one side, or PL on both; Cascadable goes.
    EXPECT_FALSE(EditFixed(0, u"IF01", FALSE));
    EXPECT_TRUE(EditFixed(0, u"N005", FALSE));
    EXPECT_FALSE(m_doc.GetTrunkCascadable(0));
    EXPECT_TRUE(EditFixed(0, u"PL01") && EditFixed(0, u"PL01", FALSE));
    EXPECT_EQ(TakeReports(), (std::vector<int>{20, 24, 23, 23}));
    // The notice is for the user's edit, not for its undo.
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Fixed(0, FALSE), CAssign(1, 0, 4));
    EXPECT_TRUE(TakeReports().empty());

    // Clearing the last one clears Fixed, in the same step.
    EXPECT_TRUE(EditFixed(0, u"") && m_doc.GetTrunkFixed(0));
    EXPECT_TRUE(EditFixed(0, u"", FALSE));
    EXPECT_FALSE(m_doc.GetTrunkFixed(0));
    const auto& step = dynamic_cast<const CUndoObList&>(*m_host.m_undo.Peek());
    ASSERT_EQ(step.GetCount(), 2u);
    EXPECT_EQ(step.GetAt(1).GetObjSpec(), CTrunkSpec(0, CTrunk::kFieldFixed));
    EXPECT_EQ(step.GetAt(1).GetOldText(), CString(u"1"));

    // The pair rule looks at both ends: a port at either end, else PL at both.
    EXPECT_TRUE(EditFixed(0, u"N005") && EditFixed(0, u"SL01", FALSE));
    EXPECT_FALSE(EditFixed(0, u"PL01"));
    EXPECT_EQ(TakeReports(), (std::vector<int>{23, 24}));
}

TEST_F(TrunkEditTest, AssignmentsInUseElsewhere) {
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = TRUE;
    Put(0, CTrunk::kFieldEnd1, CAssign(0, 0, 9));
    Put(1, CTrunk::kFieldEnd1, CAssign(0, 255, 0x0FFF));
    Put(3, CTrunk::kFieldFixed2, CAssign(0, 0, 2));
    Put(5, CTrunk::kFieldEnd2, CAssign(0, 0, 4));
    CBitArray ports(64);
    ports.SetBit(6, TRUE);
    m_doc.SetIcomRemoteTrunkSet(0, ports);

    struct InUse {
        BOOL fixed;
        const char16_t* text;
        int error;
    };
    // N010 is trunk 0's own end already: nothing is stored, and nothing is said.
    for (const InUse& c : {InUse{FALSE, u"N003", 17},
                           {FALSE, u"N005", 18},
                           {FALSE, u"N007", 33},
                           {FALSE, u"N010", 0},
                           {TRUE, u"N005", 21},
                           {TRUE, u"N007", 32}}) {
        SCOPED_TRACE(ToUtf8(c.text));
        m_app.m_nLastError = 0;
        EXPECT_FALSE(c.fixed ? EditFixed(0, c.text) : EditEnd(0, c.text, kAssign));
        EXPECT_EQ(m_app.m_nLastError, c.error);
    }
    EXPECT_EQ(ErrorText(17), CString(u"The assignment entered is already being used as a fixed "
                                     u"assignment for Trunk #4."));

    // A move passes what its own sources hold, and only that; a replay skips the
    // remote-trunking checks.
    {
        const CKelvardinDoc::CFreedFieldsScope move(
            m_doc,
            {CTrunkSpec(5, CTrunk::kFieldEnd2).Key(), CTrunkSpec(3, CTrunk::kFieldFixed2).Key()});
        EXPECT_TRUE(EditEnd(0, u"N005", kAssign));
        EXPECT_FALSE(EditFixed(1, u"N005"));  // trunk 1's end, which does not move, holds it now
        EXPECT_EQ(m_app.m_nLastError, 21);
        EXPECT_TRUE(EditFixed(1, u"N003"));
    }
    const CTrunkSpec end(1, CTrunk::kFieldEnd1);
    EXPECT_TRUE(m_doc.SetObjectField(end, u"N007", FALSE, Entry(kAssign)));
    EXPECT_TRUE(m_doc.IsFieldProblematic(end));
    EXPECT_FALSE(m_doc.IsFieldProblematic(CTrunkSpec(1, CTrunk::kFieldFixed1)));
}

TEST_F(TrunkEditTest, FlagColumns) {
    const CTrunkSpec cascadable(0, CTrunk::kFieldCascadable);
    const CTrunkSpec fixed(0, CTrunk::kFieldFixed);
    EXPECT_FALSE(Edit(fixed, u"1"));
    EXPECT_TRUE(Edit(cascadable, u"1"));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    // A flag set from another column's cell is recorded by that column's edit.
    EXPECT_TRUE(Edit(cascadable, u"0", Entry(kIcom)));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);

    Put(0, CTrunk::kFieldFixed1, CAssign(0, 1, 1));
    Put(0, CTrunk::kFieldFixed2, CAssign(1, 1, 1));
    EXPECT_TRUE(Edit(fixed, u"1"));
    EXPECT_FALSE(Edit(cascadable, u"1"));
    EXPECT_EQ(TakeReports(), (std::vector<int>{22, 25}));
    EXPECT_EQ(ErrorText(22), LoadResString(2329));
    EXPECT_TRUE(Edit(fixed, u"0"));  // clearing is never refused
    EXPECT_TRUE(TakeUpdates().empty());
}

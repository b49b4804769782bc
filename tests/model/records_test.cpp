#include "model/records.h"

#include <gtest/gtest.h>

#include "model_fixture.h"

using Bytes = std::vector<BYTE>;

namespace {

// A record of a size with some bytes set.
Bytes Record(size_t size, std::initializer_list<std::pair<size_t, BYTE>> set) {
    Bytes bytes(size, 0);
    for (auto [at, value] : set)
        bytes[at] = value;
    return bytes;
}

Bytes Append(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

using AssignTest = ModelTest;

TEST_F(AssignTest, ValuesKeysAndTypes) {
    CAssign none;
    EXPECT_EQ(none, CAssign(255, 255, 0x0FFF));
    EXPECT_FALSE(none.IsValid());
    // The type byte is the alpha list index: IFBSL (7) is set, 8 is not.
    EXPECT_TRUE(CAssign(3, 7, 10).IsValid());
    EXPECT_FALSE(CAssign(3, 8, 10).IsValid());
    EXPECT_FALSE(CAssign(255, 0, 10).IsValid());
    EXPECT_TRUE(CAssign(254, 0, 0).IsValid());

    const CAssign a(200, 7, 0x1234);
    EXPECT_EQ(a.GetKey(), 0xC8071234u);
    EXPECT_EQ(CAssign::FromKey(a.GetKey()), a);
    BYTE wire[4];
    a.ToWire(wire);
    EXPECT_EQ(Bytes(wire, wire + 4), (Bytes{0xC8, 0x07, 0x12, 0x34}));
    EXPECT_EQ(CAssign::FromWire(wire), a);

    EXPECT_EQ(AlphaTypeToIndex(6), 6);
    EXPECT_EQ(AlphaTypeToIndex(7), -1);
    EXPECT_EQ(AlphaTypeToIndex(8), 7);
    EXPECT_EQ(AlphaTypeToIndex(9), -1);
    EXPECT_EQ(AlphaTypeToIndex(-1), -1);
    EXPECT_EQ(AlphaIndexToType(7), 8);
    EXPECT_EQ(AlphaIndexToType(3), 3);
    EXPECT_EQ(AlphaIndexToType(8), -1);
}

TEST_F(AssignTest, InspectionEntriesBeyondEightAreNeverStored) {
    CInspect inspect;
    EXPECT_FALSE(inspect.HasData());
    EXPECT_TRUE(inspect.SetSideId(true, 12));
    EXPECT_FALSE(inspect.SetSideId(true, 12));
    EXPECT_TRUE(inspect.HasData());
    const CAssign a(1, 2, 3);
    EXPECT_TRUE(inspect.SetEntry(false, 7, a));
    EXPECT_FALSE(inspect.SetEntry(false, 7, a));
    EXPECT_FALSE(inspect.SetEntry(false, 8, a));
    EXPECT_EQ(inspect.GetEntry(false, 8), CAssign());
    EXPECT_TRUE(inspect.SetStates(true, 2, 0x41, 0x02));
    EXPECT_FALSE(inspect.SetStates(true, 2, 0x41, 0x02));
    EXPECT_FALSE(inspect.SetStates(true, 8, 1, 1));
    EXPECT_EQ(inspect.GetStateB(true, 2), 0x02);
    EXPECT_EQ(inspect.GetStateB(true, 9), 0);

    CInspect copy = inspect;
    EXPECT_EQ(copy, inspect);
    copy.SetStates(false, 0, 0, 1);
    EXPECT_NE(copy, inspect);
}

// ---------------------------------------------------------------------------------------------

using OptionsTest = ModelTest;

TEST_F(OptionsTest, MinutesForm) {
    COptions options;
    EXPECT_EQ(options.GetTimeout(), 1u);
    options.SetTimeout(5, FALSE);
    options.SetWaitForTalkKey(TRUE, FALSE);
    EXPECT_EQ(Written(options, 32), Record(32, {{0, 5}, {3, 1}, {4, 0x01}, {5, 0x2C}}));

    COptions read;
    EXPECT_EQ(Read(read, Record(32, {{0, 7}, {1, 2}, {2, 1}, {4, 0x01}})), 32);
    EXPECT_EQ(read.GetTimeout(), 7u);  // bytes 4-5 are not read in minutes mode
    EXPECT_TRUE(read.GetAutoClear());
    EXPECT_TRUE(read.GetDynamicAlloc());
    EXPECT_FALSE(read.GetWaitForTalkKey());
    EXPECT_EQ(read.GetFlags(), 0u);
}

TEST_F(OptionsTest, SecondsForm) {
    SetCapabilities(CCVConfig::kMinSecTimeout);
    m_app.m_bAllocInSeconds = TRUE;
    COptions options;
    EXPECT_EQ(options.GetTimeout(), 60u);
    options.SetTimeout(90, FALSE);
    EXPECT_EQ(Written(options, 32), Record(32, {{0, 2}, {4, 0x00}, {5, 0x5A}}));

    COptions read;
    Read(read, Record(32, {{0, 3}}));
    EXPECT_EQ(read.GetTimeout(), 180u);
    Read(read, Record(32, {{0, 3}, {4, 0x01}, {5, 0x2D}}));
    EXPECT_EQ(read.GetTimeout(), 301u);
}

TEST_F(OptionsTest, SettersAndChangeBits) {
    COptions options;
    EXPECT_FALSE(options.SetTimeout(1, TRUE));  // same value: nothing
    EXPECT_EQ(options.GetFlags(), 0u);
    EXPECT_TRUE(options.SetTimeout(9, FALSE));
    EXPECT_EQ(options.GetFlags(), 0u);
    EXPECT_TRUE(options.SetAutoClear(TRUE, TRUE));
    EXPECT_EQ(options.GetFlags(), 0x2002u);
    EXPECT_TRUE(options.SetDynamicAlloc(TRUE, TRUE));
    EXPECT_TRUE(options.SetWaitForTalkKey(TRUE, TRUE));
    EXPECT_EQ(options.GetFlags(), 0x200Eu);
    EXPECT_TRUE(options.IsModified(COptions::kFieldAutoClear));
    EXPECT_FALSE(options.IsModified(COptions::kFieldTimeout));
    EXPECT_FALSE(options.IsModified(1621));
    EXPECT_EQ(options.IsModified(), 0x0Eu);

    options.SetModified(1621, FALSE);  // no such field: nothing
    EXPECT_EQ(options.GetFlags(), 0x200Eu);
    options.SetModified(COptions::kFieldAutoClear, FALSE);
    options.SetModified(COptions::kFieldWaitForTalkKey, FALSE);
    EXPECT_EQ(options.GetFlags(), 0x2004u);
    options.SetModified(COptions::kFieldRecord, FALSE);
    EXPECT_EQ(options.GetFlags(), 0u);

    options.SetFlags(CCVObject::kInFile, TRUE);
    Read(options, Record(32, {}), TRUE);
    EXPECT_EQ(options.GetFlags(), 0x600Fu);
    Written(options, 32, TRUE);
    EXPECT_EQ(options.GetFlags(), 0x4000u);
}

// ---------------------------------------------------------------------------------------------

using TrunkTest = ModelTest;

TEST_F(TrunkTest, ANewTrunkWritesFourNoneAssignments) {
    CTrunk trunk;
    Bytes expected;
    for (int i = 0; i < 4; ++i)
        expected = Append(expected, {0xFF, 0xFF, 0x0F, 0xFF});
    expected.resize(32, 0);
    EXPECT_EQ(Written(trunk, 32), expected);
}

TEST_F(TrunkTest, RoundTripAndMark) {
    CTrunk trunk;
    trunk.SetEndpoint(TRUE, CAssign(1, 0, 10), FALSE);
    trunk.SetEndpoint(FALSE, CAssign(2, 7, 300), FALSE);
    trunk.SetFixedAssign(FALSE, CAssign(2, 1, 5), FALSE);
    trunk.SetCascadable(TRUE, FALSE);
    const Bytes bytes = Written(trunk, 32);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 18),
              (Bytes{1, 0, 0, 10, 2, 7, 0x01, 0x2C, 0xFF, 0xFF, 0x0F, 0xFF, 2, 1, 0, 5, 1, 0}));

    CTrunk read;
    Bytes changed = bytes;
    changed[17] = 9;
    EXPECT_EQ(Read(read, changed, TRUE), 32);
    EXPECT_EQ(read.GetEndpoint(FALSE), CAssign(2, 7, 300));
    EXPECT_EQ(read.GetFixedAssign(FALSE), CAssign(2, 1, 5));
    EXPECT_TRUE(read.GetCascadable());
    EXPECT_TRUE(read.GetFixed());
    EXPECT_EQ(read.GetFlags(), 0x203Fu);
    Written(read, 32, TRUE);
    EXPECT_EQ(read.GetFlags(), 0u);
}

TEST_F(TrunkTest, SettersAndChangeBits) {
    CTrunk trunk;
    EXPECT_TRUE(trunk.SetFixedAssign(TRUE, CAssign(0, 0, 0), TRUE));
    EXPECT_EQ(trunk.GetFlags(), 0x2004u);
    EXPECT_FALSE(trunk.SetFixedAssign(TRUE, CAssign(0, 0, 0), TRUE));
    EXPECT_TRUE(trunk.SetFixed(TRUE, TRUE));
    EXPECT_TRUE(trunk.SetCascadable(TRUE, TRUE));
    EXPECT_TRUE(trunk.SetEndpoint(FALSE, CAssign(0, 0, 1), TRUE));
    EXPECT_EQ(trunk.GetFlags(), 0x2036u);
    EXPECT_TRUE(trunk.IsModified(CTrunk::kFieldFixed));
    EXPECT_TRUE(trunk.IsModified(CTrunk::kFieldCascadable));
    EXPECT_FALSE(trunk.IsModified(CTrunk::kFieldEnd1));

    // The state is kept to its low byte and never marked.
    EXPECT_TRUE(trunk.SetState(0x10C));
    EXPECT_EQ(trunk.GetState(), 0x0Cu);
    EXPECT_FALSE(trunk.SetState(0x0C));
    EXPECT_EQ(trunk.GetFlags(), 0x2036u);

    trunk.SetModified(CTrunk::kFieldState, TRUE);  // no change bit: nothing
    EXPECT_EQ(trunk.GetFlags(), 0x2036u);
    trunk.SetModified(CTrunk::kFieldRecord, FALSE);
    EXPECT_EQ(trunk.GetFlags(), 0u);
    trunk.SetModified(CTrunk::kFieldEnd2, TRUE);
    EXPECT_EQ(trunk.GetFlags(), 0x2002u);
}

// ---------------------------------------------------------------------------------------------

class IntercomTest : public ModelTest {
protected:
    static Bytes ShortRecord() {
        Bytes r = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P',
                   'Q', 'R', 2, 255, 1, 1, 10, 0, 0, 1, 10, 0, 0, 2, 0x01, 0x2C};
        return r;
    }
};

TEST_F(IntercomTest, NewIntercomAndNames) {
    CIntercom icom;
    EXPECT_EQ(icom.GetName(4), CString(u"    "));
    EXPECT_EQ(icom.GetName(16), CString(u"        "));
    EXPECT_TRUE(icom.GetName(5).IsEmpty());
    EXPECT_EQ(icom.GetBaudRate(), 1);
    EXPECT_EQ(icom.GetComPort(), -1);
    EXPECT_EQ(icom.GetCascadeCost(), 100);

    EXPECT_TRUE(icom.SetName(6, u"MX01", TRUE));
    EXPECT_EQ(icom.GetName(6), CString(u"MX01  "));
    EXPECT_FALSE(icom.SetName(6, u"MX01  ", TRUE));
    EXPECT_FALSE(icom.SetName(5, u"MX01", TRUE));
    EXPECT_TRUE(icom.SetName(16, u"\u30A2B", TRUE));
    EXPECT_EQ(icom.GetName(16), CString(u"\u30A2B      "));
    EXPECT_EQ(icom.GetFlags(), 0x2022u);

    EXPECT_EQ(CIntercom::PadName(u"TOOLONGNAME", 8), CString(u"TOOLONGNAME"));
    EXPECT_EQ(CIntercom::PadName(CString(u"\0AB", 3), 4), CString(u"    "));
}

TEST_F(IntercomTest, SettersAndChangeBits) {
    CIntercom icom;
    EXPECT_FALSE(icom.SetComPort(255, TRUE));  // stored as -1, which it already is
    EXPECT_EQ(icom.GetComPort(), -1);
    EXPECT_EQ(icom.GetFlags(), 0u);
    EXPECT_TRUE(icom.SetComPort(3, TRUE));
    EXPECT_TRUE(icom.SetBaudRate(2, TRUE));
    EXPECT_TRUE(icom.SetConnType(1, TRUE));
    EXPECT_TRUE(icom.SetPrimaryIP(0x0A000001, TRUE));
    EXPECT_TRUE(icom.SetBackupIP(0x0A000002, TRUE));
    EXPECT_TRUE(icom.SetCascadeCost(40, TRUE));
    EXPECT_EQ(icom.GetFlags(), 0x23D8u);
    for (UINT id : {71u, 72u, 73u, 74u, 75u, 76u})
        EXPECT_TRUE(icom.IsModified(id)) << id;
    EXPECT_FALSE(icom.IsModified(CIntercom::kFieldName4));
    EXPECT_FALSE(icom.IsModified(2));
    EXPECT_EQ(icom.IsModified(), 0x3D8u);
}

TEST_F(IntercomTest, TheNameFieldFollowsTheConfiguredLength) {
    CIntercom icom;
    icom.SetName(8, u"EIGHT", TRUE);
    Config().m_nAlphaSize = 4;
    EXPECT_FALSE(icom.IsModified(CIntercom::kFieldName));
    Config().m_nAlphaSize = 8;
    EXPECT_TRUE(icom.IsModified(CIntercom::kFieldName));
    Config().m_nAlphaSize = 16;
    icom.SetModified(CIntercom::kFieldName, TRUE);
    EXPECT_EQ(icom.GetFlags(), 0x2024u);
    Config().m_nAlphaSize = 10;
    icom.SetModified(CIntercom::kFieldName, FALSE);  // no bit for that length
    EXPECT_EQ(icom.GetFlags(), 0x2024u);
}

TEST_F(IntercomTest, ShortFormWithoutNetworkOrCosts) {
    CIntercom icom;
    icom.SetConnType(1, FALSE);
    icom.SetPrimaryIP(5, FALSE);
    EXPECT_EQ(Read(icom, ShortRecord(), TRUE), 32);
    EXPECT_EQ(icom.GetName(4), CString(u"ABCD"));
    EXPECT_EQ(icom.GetName(6), CString(u"EFGHIJ"));
    EXPECT_EQ(icom.GetName(8), CString(u"KLMNOPQR"));
    EXPECT_EQ(icom.GetBaudRate(), 2);
    EXPECT_EQ(icom.GetComPort(), -1);
    EXPECT_EQ(icom.GetConnType(), 1);  // kept: no network capability
    EXPECT_EQ(icom.GetPrimaryIP(), 5u);
    EXPECT_EQ(icom.GetCascadeCost(), 100);  // bytes 30-31 skipped without bit 17
    EXPECT_EQ(icom.GetFlags(), 0x201Fu);

    const Bytes written = Written(icom, 32, TRUE);
    Bytes expected = ShortRecord();
    std::fill(expected.begin() + 20, expected.end(), 0);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(icom.GetFlags(), 0u);
}

TEST_F(IntercomTest, ShortFormWithNetworkAndCosts) {
    SetCapabilities(CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts);
    CIntercom icom;
    Read(icom, ShortRecord(), TRUE);
    EXPECT_EQ(icom.GetConnType(), 1);
    EXPECT_EQ(icom.GetPrimaryIP(), 0x0A000001u);
    EXPECT_EQ(icom.GetBackupIP(), 0x0A000002u);
    EXPECT_EQ(icom.GetCascadeCost(), 300);
    EXPECT_EQ(icom.GetFlags(), 0x23DFu);
    EXPECT_EQ(Written(icom, 32), ShortRecord());

    // The wide-name bit stays after a short-form write, though 0x2000 goes.
    icom.SetName(16, u"W", TRUE);
    Written(icom, 32, TRUE);
    EXPECT_EQ(icom.GetFlags(), 0x20u);

    // Without the network part flagged, connection type and addresses stay.
    Bytes noNetwork = ShortRecord();
    noNetwork[20] = 0;
    noNetwork[22] = 99;
    CIntercom other;
    other.SetPrimaryIP(7, FALSE);
    Read(other, noNetwork, TRUE);
    EXPECT_EQ(other.GetConnType(), 0);
    EXPECT_EQ(other.GetPrimaryIP(), 7u);
    EXPECT_EQ(other.GetFlags(), 0x221Fu);
}

TEST_F(IntercomTest, ShortFormPadsNamesAndConvertsToTheAnsiCodePage) {
    CIntercom icom;
    icom.SetName(4, u"\u00C9\u20AC", FALSE);
    icom.SetName(8, u"\u30A2", FALSE);
    icom.SetComPort(7, FALSE);
    icom.SetBaudRate(-1, FALSE);
    const Bytes w = Written(icom, 32);
    EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0xC9, 0x80, ' ', ' '}));
    EXPECT_EQ(Bytes(w.begin() + 10, w.begin() + 12), (Bytes{'?', ' '}));
    EXPECT_EQ(w[18], 255);
    EXPECT_EQ(w[19], 7);

    CIntercom read;
    Read(read, w);
    EXPECT_EQ(read.GetName(4), CString(u"\u00C9\u20AC  "));
    EXPECT_EQ(read.GetBaudRate(), -1);
}

TEST_F(IntercomTest, WideNameForm) {
    CIntercom icom;
    Bytes wide(16, 0);
    wide[0] = 0xA2;
    wide[1] = 0x30;
    wide[2] = 'Z';
    for (size_t i = 4; i < 16; i += 2)
        wide[i] = ' ';
    EXPECT_EQ(Read(icom, wide, TRUE), 16);
    EXPECT_EQ(icom.GetName(16), CString(u"\u30A2Z      "));
    EXPECT_EQ(icom.GetFlags(), 0x2020u);
    EXPECT_EQ(Written(icom, 16, TRUE), wide);
    EXPECT_EQ(icom.GetFlags(), 0u);
}

TEST_F(IntercomTest, AShortRecordIsReadAsIfPaddedWithZeros) {
    SetCapabilities(CCVConfig::kCascadeCosts);
    CIntercom icom;
    EXPECT_EQ(Read(icom, {'A', 'B'}), 32);
    EXPECT_EQ(icom.GetName(4), CString(u"AB\0\0", 4));
    EXPECT_EQ(icom.GetName(6), CString(u"      "));  // a NUL name becomes blanks
    EXPECT_EQ(icom.GetBaudRate(), 0);
    EXPECT_EQ(icom.GetCascadeCost(), 0);
    EXPECT_EQ(Read(icom, {}, FALSE, 0), 32);
    EXPECT_EQ(icom.FromWire(nullptr, 16, FALSE), 16);
    EXPECT_EQ(icom.GetName(16), CString(u"        "));

    BYTE small[20] = {};
    EXPECT_EQ(icom.ToWire(small, 20, TRUE), 0);  // too small: nothing written
}

TEST_F(IntercomTest, AlphaListsInResourceOrder) {
    CIntercom icom;
    CAlpha a(CAssign(0, 2, 30), u"THIRTY");
    CAlpha b(CAssign(0, 2, 10), u"TEN");
    CAlpha c(CAssign(0, 2, 20), u"TEN");
    CAlpha d(CAssign(0, 7, 5), u"TEN");
    CAlpha replacement(CAssign(0, 2, 20), u"TWENTY");
    CAlpha bad(CAssign(0, 8, 5), u"BAD");
    for (CAlpha* alpha : {&a, &b, &c, &d, &bad})
        icom.InsertAlpha(alpha);
    EXPECT_EQ(icom.GetAlphaList(2), (std::vector<CAlpha*>{&b, &c, &a}));
    EXPECT_EQ(icom.GetAlphaCount(2), 3);
    EXPECT_EQ(icom.GetAlphaCount(7), 1);
    EXPECT_EQ(icom.GetAlphaCount(-1), 4);
    EXPECT_EQ(icom.GetAlphaCount(8), 0);
    EXPECT_TRUE(icom.GetAlphaList(8).empty());

    icom.InsertAlpha(&replacement);
    EXPECT_EQ(icom.GetAlphaList(2), (std::vector<CAlpha*>{&b, &replacement, &a}));

    std::vector<CAlpha*> found;
    EXPECT_EQ(icom.FindAlphas(-1, u"TEN     ", found), 2);
    EXPECT_EQ(found, (std::vector<CAlpha*>{&b, &d}));
    EXPECT_EQ(icom.FindAlphas(7, u"TEN     ", found), 1);
    EXPECT_EQ(icom.FindAlphas(8, u"TEN     ", found), 0);
    EXPECT_EQ(icom.FindAlphas(2, u"ten     ", found), 0);
    EXPECT_EQ(found.size(), 3u);

    EXPECT_FALSE(icom.RemoveAlpha(CAssign(0, 2, 11)));
    EXPECT_TRUE(icom.RemoveAlpha(CAssign(0, 2, 10)));
    EXPECT_EQ(icom.RemoveAlphasFrom(CAssign(0, 2, 15)), 2);
    EXPECT_EQ(icom.GetAlphaCount(2), 0);
    EXPECT_EQ(icom.RemoveAlphasFrom(CAssign(0, 7, 0)), 1);
    EXPECT_EQ(icom.RemoveAlphasFrom(CAssign(0, 9, 0)), 0);
    EXPECT_EQ(icom.GetAlphaCount(-1), 0);
}

TEST_F(IntercomTest, AlphaFlagWordsBeyondEightAreIgnored) {
    CIntercom icom;
    icom.SetAlphaFlags(7, CCVObject::kInFile, TRUE);
    icom.SetAlphaFlags(7, CCVObject::kPartialChoice, TRUE);
    icom.SetAlphaFlags(7, CCVObject::kInFile, FALSE);
    EXPECT_EQ(icom.GetAlphaFlags(7), 0x8000u);
    for (int index : {8, 15, 16, -1})
        icom.SetAlphaFlags(index, 0xFFFFFFFF, TRUE);
    EXPECT_EQ(icom.GetAlphaFlags(8), 0u);
    for (int index = 0; index < 7; ++index)
        EXPECT_EQ(icom.GetAlphaFlags(index), 0u);
}

TEST_F(IntercomTest, SummariesStopAtTheConfiguredCount) {
    CIntercom icom;
    ASSERT_NE(icom.FindSummary(30), nullptr);
    icom.FindSummary(30)->m_counts[CSummary::kInUse] = 4;
    EXPECT_EQ(icom.GetSummary(30).m_counts[CSummary::kInUse], 4u);
    EXPECT_EQ(icom.FindSummary(31), nullptr);
    EXPECT_EQ(icom.GetSummary(31), CSummary());
    Config().m_wNumIntercoms = 1000;  // even a count set by hand never reaches past the table
    EXPECT_EQ(icom.FindSummary(255), nullptr);
    EXPECT_NE(icom.FindSummary(254), nullptr);
}

// ---------------------------------------------------------------------------------------------

using GroupTest = ModelTest;

TEST_F(GroupTest, NameAndMembers) {
    CGroup group;
    EXPECT_EQ(group.GetName(), CString(u"------------"));
    EXPECT_FALSE(group.SetName(u"THIRTEEN-CHAR", TRUE));
    EXPECT_EQ(group.GetName(), CString(u"------------"));
    EXPECT_TRUE(group.SetName(u"Studio", FALSE));
    EXPECT_EQ(group.GetName(), CString(u"Studio      "));
    EXPECT_EQ(group.GetFlags(), 0u);
    EXPECT_FALSE(group.SetName(u"Studio      ", TRUE));
    EXPECT_TRUE(group.SetName(u"Studio A", TRUE));
    EXPECT_EQ(group.GetFlags(), 0x2000u);
    EXPECT_TRUE(group.IsModified(CGroup::kFieldName));

    EXPECT_TRUE(group.SetMember(30, TRUE, TRUE));
    EXPECT_FALSE(group.SetMember(30, TRUE, TRUE));
    EXPECT_FALSE(group.SetMember(31, TRUE, TRUE));  // beyond the configured count
    EXPECT_TRUE(group.SetMember(2, TRUE, FALSE));
    EXPECT_TRUE(group.IsMember(30));
    EXPECT_FALSE(group.IsMember(-1));
    EXPECT_TRUE(group.IsModified(CGroup::kFieldFirstMember + 30));
    EXPECT_FALSE(group.IsModified(CGroup::kFieldFirstMember + 2));
    EXPECT_FALSE(group.IsModified(CGroup::kFieldFirstMember + 255));

    BYTE members[32] = {};
    group.GetMembers(members);
    EXPECT_EQ(members[0], 0x04);
    EXPECT_EQ(members[3], 0x40);
}

TEST_F(GroupTest, ChangeStateOutsideTheFlagsWord) {
    CGroup group;
    EXPECT_FALSE(group.IsModified());
    group.SetModified(CGroup::kFieldFirstMember + 200, TRUE);
    EXPECT_TRUE(group.IsModified());
    EXPECT_TRUE(group.IsModified(CGroup::kFieldRecord));
    EXPECT_EQ(group.GetFlags(), 0x2000u);
    group.SetModified(CGroup::kFieldFirstMember + 200, FALSE);
    EXPECT_EQ(group.GetFlags(), 0u);
    group.SetModified(CGroup::kFieldName, TRUE);
    EXPECT_EQ(group.GetFlags(), 0x2000u);
    group.SetModified(CGroup::kFieldRecord, FALSE);
    EXPECT_FALSE(group.IsModified());
    EXPECT_EQ(group.GetFlags(), 0u);
    group.SetModified(CGroup::kFieldRecord, TRUE);
    EXPECT_TRUE(group.IsModified(CGroup::kFieldFirstMember + 254));
    group.SetModified(77, FALSE);  // not a group field: nothing
    EXPECT_TRUE(group.IsModified());
    group.ClearModified();
    EXPECT_FALSE(group.IsModified());
    group.SetAllModified();
    EXPECT_TRUE(group.IsModified(CGroup::kFieldName));
    EXPECT_TRUE(group.IsModified(CGroup::kFieldFirstMember + 254));
    EXPECT_EQ(group.GetFlags(), 0x2000u);
}

TEST_F(GroupTest, WideNameForm) {
    CGroup group;
    group.SetName(u"\u30A2", FALSE);
    group.SetMember(1, TRUE, TRUE);
    Bytes expected = {0xA2, 0x30};
    for (int i = 1; i < 12; ++i)
        expected = Append(expected, {' ', 0});
    EXPECT_EQ(Written(group, 24, TRUE), expected);
    EXPECT_EQ(group.GetFlags(), 0x2000u);  // a member change is left

    CGroup read;
    EXPECT_EQ(Read(read, expected, TRUE), 24);
    EXPECT_EQ(read.GetName(), CString(u"\u30A2           "));
    EXPECT_TRUE(read.IsModified(CGroup::kFieldName));
    EXPECT_EQ(read.GetFlags(), 0x2000u);
    Written(read, 24, TRUE);
    EXPECT_EQ(read.GetFlags(), 0u);
}

TEST_F(GroupTest, NarrowFormWithTheFirst31Members) {
    Config().m_wNumIntercoms = 20;
    CGroup group;
    group.SetName(u"Desk", FALSE);
    group.SetMember(0, TRUE, FALSE);
    group.SetMember(19, TRUE, FALSE);
    const Bytes w = Written(group, 32);
    EXPECT_EQ(w, Record(32, {{0, 'D'}, {1, 'e'}, {2, 's'}, {3, 'k'}, {4, ' '}, {5, ' '},
                             {6, ' '}, {7, ' '}, {8, ' '}, {9, ' '}, {10, ' '}, {11, ' '},
                             {13, 0x08}, {15, 0x01}}));

    CGroup read;
    Bytes all = w;
    all[12] = all[13] = all[14] = all[15] = 0xFF;
    EXPECT_EQ(Read(read, all, TRUE), 32);
    EXPECT_EQ(read.GetName(), CString(u"Desk        "));
    EXPECT_EQ(read.GetMemberSet().GetCount(), 20u);  // only below the configured count
    EXPECT_TRUE(read.IsModified(CGroup::kFieldFirstMember + 254));
    Written(read, 32, TRUE);
    EXPECT_FALSE(read.IsModified());
    EXPECT_EQ(read.GetFlags(), 0u);
}

TEST_F(GroupTest, ExtendedFormKeepsPendingChanges) {
    CGroup group;
    group.SetMember(3, TRUE, TRUE);  // a pending user change
    Bytes record(34, 0xFF);
    record[0] = 0;
    record[1] = 255;
    record[2] = 0x00;  // intercoms 0-7 not members
    EXPECT_EQ(Read(group, record, TRUE), 34);
    EXPECT_TRUE(group.IsMember(3));
    EXPECT_FALSE(group.IsMember(2));
    EXPECT_TRUE(group.IsMember(30));
    EXPECT_FALSE(group.IsMember(31));  // beyond the configured 31
    EXPECT_EQ(group.GetMemberSet().GetCount(), 24u);
    EXPECT_TRUE(group.IsModified(CGroup::kFieldFirstMember + 30));
    EXPECT_FALSE(group.IsModified(CGroup::kFieldFirstMember + 31));

    group.ClearModified();
    const BYTE none[32] = {};
    EXPECT_TRUE(group.SetMembersFromBits(31, none));
    EXPECT_FALSE(group.SetMembersFromBits(31, none));
    EXPECT_EQ(group.GetMemberSet().GetCount(), 0u);

    group.SetMember(5, TRUE, TRUE);
    const Bytes w = Written(group, 34, TRUE);
    EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0, 255, 0x20, 0}));
    EXPECT_FALSE(group.IsModified());
    EXPECT_EQ(group.GetFlags(), 0u);
}

TEST_F(GroupTest, ExtendedFormCountIsBoundedByTheForm) {
    Config().m_wNumIntercoms = 255;
    CGroup group;
    // A count of 65535 takes 255 members and consumes the 34 bytes of the form.
    EXPECT_EQ(Read(group, Bytes(34, 0xFF), TRUE), 34);
    EXPECT_EQ(group.GetMemberSet().GetCount(), 255u);
    EXPECT_TRUE(group.IsModified(CGroup::kFieldFirstMember + 254));

    // Members with a pending change keep their value.
    Bytes zeros(34, 0);
    zeros[1] = 255;
    EXPECT_EQ(Read(group, zeros), 34);
    EXPECT_EQ(group.GetMemberSet().GetCount(), 255u);
    group.ClearModified();
    EXPECT_EQ(Read(group, zeros), 34);
    EXPECT_EQ(group.GetMemberSet().GetCount(), 0u);

    // A count of 9 consumes 4 bytes and changes members 0-8 only.
    Bytes nine(34, 0xFF);
    nine[0] = 0;
    nine[1] = 9;
    group.SetMember(100, TRUE, FALSE);
    EXPECT_EQ(Read(group, nine), 4);
    EXPECT_EQ(group.GetMemberSet().GetCount(), 10u);
}

TEST_F(GroupTest, OtherLengthsReadAndWriteNothing) {
    CGroup group;
    BYTE buffer[40] = {};
    EXPECT_EQ(group.FromWire(buffer, 40, TRUE), 40);
    EXPECT_EQ(group.ToWire(buffer, 16, TRUE), 16);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_FALSE(group.IsModified());
}

// ---------------------------------------------------------------------------------------------

using AlphaTest = ModelTest;

TEST_F(AlphaTest, NarrowAndWideForms) {
    CAlpha alpha(CAssign(4, 7, 0x0102), u"CAM");
    EXPECT_EQ(alpha.GetLabel(), CString(u"CAM     "));
    EXPECT_EQ(Written(alpha, 32), Record(32, {{0, 4}, {1, 7}, {2, 1}, {3, 2}, {4, 'C'}, {5, 'A'},
                                              {6, 'M'}, {7, ' '}, {8, ' '}, {9, ' '}, {10, ' '},
                                              {11, ' '}}));
    const Bytes wide = Written(alpha, 40);
    EXPECT_EQ(wide[4], 'C');
    EXPECT_EQ(wide[5], 0);
    EXPECT_EQ(wide[18], ' ');
    EXPECT_EQ(wide[20], 0);

    CAlpha read;
    EXPECT_EQ(read.GetKey(), CAssign());
    EXPECT_TRUE(read.GetLabel().IsEmpty());
    EXPECT_EQ(Read(read, wide, TRUE), 40);
    EXPECT_EQ(read.GetKey(), alpha.GetKey());
    EXPECT_EQ(read.GetLabel(), alpha.GetLabel());
    EXPECT_EQ(read.GetFlags(), 0u);
    EXPECT_FALSE(read.IsModified());

    Bytes narrow = Written(alpha, 32);
    narrow[4] = 0xE9;
    EXPECT_EQ(Read(read, narrow), 32);
    EXPECT_EQ(read.GetLabel(), CString(u"\u00E9AM     "));
}

TEST_F(AlphaTest, LabelsAreRefusedAboveEightCharacters) {
    CAlpha alpha;
    EXPECT_FALSE(alpha.SetLabel(u"NINE CHAR"));
    EXPECT_TRUE(alpha.SetLabel(u"EIGHT CH"));
    EXPECT_FALSE(alpha.SetLabel(u"EIGHT CH"));
    EXPECT_TRUE(alpha.SetKey(CAssign(1, 1, 1)));
    EXPECT_FALSE(alpha.SetKey(CAssign(1, 1, 1)));
    alpha.SetModified(1, TRUE);
    alpha.SetAllModified();
    EXPECT_EQ(alpha.GetFlags(), 0u);
}

// ---------------------------------------------------------------------------------------------

using ShortRecordTest = ModelTest;

TEST_F(ShortRecordTest, EveryFormIsReadFromAZeroPaddedCopy) {
    SetCapabilities(0xFFFFFFFF);
    m_app.m_bAllocInSeconds = TRUE;
    const Bytes three = {0x05, 0x01, 0x01};
    COptions options;
    EXPECT_EQ(Read(options, three), 32);
    EXPECT_EQ(options.GetTimeout(), 300u);  // bytes 4-5 read as 0
    CTrunk trunk;
    EXPECT_EQ(Read(trunk, three), 32);
    EXPECT_EQ(trunk.GetEndpoint(TRUE), CAssign(5, 1, 0x0100));
    EXPECT_EQ(trunk.GetEndpoint(FALSE), CAssign(0, 0, 0));
    CAlpha alpha;
    EXPECT_EQ(Read(alpha, three, FALSE, 3), 32);
    CGroup group;
    EXPECT_EQ(Read(group, three, FALSE, 3), 3);  // not a group form
}

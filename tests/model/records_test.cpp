#include "model/records.h"

#include <gtest/gtest.h>

#include "model_fixture.h"

namespace {

// A record of a size with some bytes set.
Bytes Record(size_t size, std::initializer_list<std::pair<size_t, BYTE>> set) {
    Bytes bytes(size, 0);
    for (auto [at, value] : set)
        bytes[at] = value;
    return bytes;
}

// Short names, baud 2, no COM port, network part 1 with type 1 and two addresses, cost 300.
const Bytes kIntercom =
    Text("ABCDEFGHIJKLMNOPQR", 18) + Bytes{2, 255, 1, 1, 10, 0, 0, 1, 10, 0, 0, 2, 0x01, 0x2C};

}  // namespace

using RecordsTest = ModelTest;

TEST_F(RecordsTest, AssignmentsAndTheirTypes) {
    EXPECT_EQ(CAssign(), CAssign(255, 255, 0x0FFF));
    // The type byte is the alpha list index: IFBSL (7) is set, 8 is not.
    for (auto [assign, valid] : {std::pair{CAssign(), false},
                                 {CAssign(3, 7, 10), true},
                                 {CAssign(3, 8, 10), false},
                                 {CAssign(255, 0, 10), false}})
        EXPECT_EQ(assign.IsValid() != 0, valid);
    const CAssign a(200, 7, 0x1234);
    EXPECT_EQ(CAssign::FromKey(0xC8071234u), a);
    BYTE wire[4];
    a.ToWire(wire);
    EXPECT_EQ(Bytes(wire, wire + 4), (Bytes{0xC8, 0x07, 0x12, 0x34}));
    EXPECT_EQ(CAssign::FromWire(wire), a);
    for (auto [type, index] : {std::pair{6, 6}, {7, -1}, {8, 7}, {9, -1}, {-1, -1}})
        EXPECT_EQ(AlphaTypeToIndex(type), index) << type;
    for (auto [index, type] : {std::pair{3, 3}, {7, 8}, {8, -1}})
        EXPECT_EQ(AlphaIndexToType(index), type) << index;

    // An inspection holds eight entries a side.
    CInspect inspect;
    EXPECT_FALSE(inspect.SetEntry(false, 8, a));
    EXPECT_FALSE(inspect.SetStates(true, 8, 1, 1));
    EXPECT_EQ(inspect.GetEntry(false, 8), CAssign());
}

// Each setter marks its field and 0x2000, and the same value again marks nothing; fields
// without a change bit mark nothing.
TEST_F(RecordsTest, ChangeBits) {
    COptions options;
    EXPECT_TRUE(options.SetTimeout(9, TRUE) && options.SetAutoClear(TRUE, TRUE) &&
                options.SetDynamicAlloc(TRUE, TRUE) && options.SetWaitForTalkKey(TRUE, TRUE));
    EXPECT_FALSE(options.SetTimeout(9, TRUE));
    EXPECT_EQ(options.GetFlags(), 0x200Fu);
    CTrunk trunk;
    const CAssign a(0, 0, 1);
    EXPECT_TRUE(trunk.SetEndpoint(FALSE, a, TRUE) && trunk.SetFixedAssign(TRUE, a, TRUE));
    EXPECT_FALSE(trunk.SetEndpoint(FALSE, a, TRUE));
    EXPECT_EQ(trunk.GetFlags(), 0x2006u);
    CIntercom icom;
    EXPECT_TRUE(icom.SetName(16, u"A", TRUE) && icom.SetComPort(3, TRUE) &&
                icom.SetBackupIP(1, TRUE) && icom.SetCascadeCost(40, TRUE));
    EXPECT_EQ(icom.GetFlags(), 0x2330u);
    EXPECT_FALSE(CIntercom().SetComPort(255, TRUE));  // 255 is no port, as a new intercom's

    trunk.ClearModified();
    options.ClearModified();
    EXPECT_TRUE(trunk.SetState(0x10C));
    EXPECT_EQ(trunk.GetState(), 0x0Cu);
    trunk.SetModified(CTrunk::kFieldState, TRUE);
    options.SetModified(1621, TRUE);
    EXPECT_EQ(trunk.GetFlags() | options.GetFlags(), 0u);
    // The name field follows the configured name length.
    icom.ClearModified();
    for (auto [length, bit] : {std::pair{4, 0x01u}, {8, 0x04u}, {16, 0x20u}, {10, 0u}}) {
        Config().m_nAlphaSize = length;
        icom.SetModified(CIntercom::kFieldName, TRUE);
        EXPECT_EQ(icom.IsModified(CIntercom::kFieldName), bit) << length;
        icom.ClearModified();
    }
}

TEST_F(RecordsTest, OptionsInMinutesAndSeconds) {
    COptions options;
    options.SetTimeout(5, FALSE);
    options.SetWaitForTalkKey(TRUE, FALSE);
    EXPECT_EQ(Written(options, 32), Record(32, {{0, 5}, {3, 1}, {4, 0x01}, {5, 0x2C}}));
    Read(options, Record(32, {{0, 7}, {1, 2}, {2, 1}, {4, 0x01}}), TRUE);
    EXPECT_EQ(options.GetTimeout(), 7u);  // bytes 4-5 are not read in minutes mode
    EXPECT_TRUE(options.GetAutoClear() && options.GetDynamicAlloc());
    EXPECT_EQ(options.GetFlags(), 0x200Fu);
    Written(options, 32, TRUE);
    EXPECT_EQ(options.GetFlags(), 0u);

    SetCapabilities(CCVConfig::kMinSecTimeout);
    m_app.m_bAllocInSeconds = TRUE;
    EXPECT_EQ(COptions().GetTimeout(), 60u);
    options.SetTimeout(90, FALSE);
    EXPECT_EQ(Written(options, 32), Record(32, {{0, 2}, {1, 1}, {2, 1}, {5, 0x5A}}));
    Read(options, Record(32, {{0, 3}}));
    EXPECT_EQ(options.GetTimeout(), 180u);
    Read(options, Record(32, {{0, 3}, {4, 0x01}, {5, 0x2D}}));
    EXPECT_EQ(options.GetTimeout(), 301u);
}

TEST_F(RecordsTest, TrunkRecord) {
    CTrunk trunk;
    const Bytes none{0xFF, 0xFF, 0x0F, 0xFF};
    EXPECT_EQ(Written(trunk, 32), Repeat(none, 4) + Bytes(16, 0));
    trunk.SetEndpoint(TRUE, CAssign(1, 0, 10), FALSE);
    trunk.SetEndpoint(FALSE, CAssign(2, 7, 300), FALSE);
    trunk.SetFixedAssign(FALSE, CAssign(2, 1, 5), FALSE);
    trunk.SetCascadable(TRUE, FALSE);
    Bytes bytes = Written(trunk, 32);
    EXPECT_EQ(bytes, (Bytes{1, 0, 0, 10, 2, 7, 0x01, 0x2C} + none + Bytes{2, 1, 0, 5, 1, 0} +
                      Bytes(14, 0)));
    bytes[17] = 9;
    CTrunk read;
    EXPECT_EQ(Read(read, bytes, TRUE), 32);
    EXPECT_EQ(read.GetFixedAssign(FALSE), CAssign(2, 1, 5));
    EXPECT_TRUE(read.GetCascadable() && read.GetFixed());
    EXPECT_EQ(read.GetFlags(), 0x203Fu);
}

TEST_F(RecordsTest, IntercomShortForm) {
    // Without the network and cost capabilities those parts are kept, and the cost is 100.
    CIntercom icom;
    icom.SetConnType(1, FALSE);
    icom.SetPrimaryIP(5, FALSE);
    EXPECT_EQ(Read(icom, kIntercom, TRUE), 32);
    EXPECT_EQ(icom.GetName(4) + icom.GetName(6) + icom.GetName(8), CString(u"ABCDEFGHIJKLMNOPQR"));
    EXPECT_EQ(icom.GetBaudRate(), 2);
    EXPECT_EQ(icom.GetComPort(), -1);
    EXPECT_EQ(icom.GetPrimaryIP(), 5u);
    EXPECT_EQ(icom.GetCascadeCost(), 100);
    EXPECT_EQ(icom.GetFlags(), 0x201Fu);
    EXPECT_EQ(Written(icom, 32, TRUE),
              Bytes(kIntercom.begin(), kIntercom.begin() + 20) + Bytes(12, 0));
    EXPECT_EQ(icom.GetFlags(), 0u);

    SetCapabilities(CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts);
    Read(icom, kIntercom, TRUE);
    EXPECT_EQ(icom.GetBackupIP(), 0x0A000002u);
    EXPECT_EQ(icom.GetCascadeCost(), 300);
    EXPECT_EQ(icom.GetFlags(), 0x23DFu);
    EXPECT_EQ(Written(icom, 32), kIntercom);
    // The wide-name bit stays after a short-form write, though 0x2000 goes.
    icom.SetName(16, u"W", TRUE);
    Written(icom, 32, TRUE);
    EXPECT_EQ(icom.GetFlags(), 0x20u);
    // Without the network part flagged, connection type and addresses stay.
    Bytes noNetwork = kIntercom;
    noNetwork[20] = 0;
    CIntercom other;
    Read(other, noNetwork, TRUE);
    EXPECT_EQ(other.GetConnType(), 0);
    EXPECT_EQ(other.GetFlags(), 0x221Fu);
}

TEST_F(RecordsTest, IntercomNamesTextAndWideForm) {
    CIntercom icom;
    EXPECT_TRUE(icom.GetName(5).IsEmpty());
    EXPECT_FALSE(icom.SetName(5, u"MX01", TRUE));
    EXPECT_EQ(CIntercom::PadName(u"TOOLONGNAME", 8), CString(u"TOOLONGNAME"));
    EXPECT_EQ(CIntercom::PadName(CString(u"\0AB", 3), 4), CString(u"    "));
    // Narrow names go through the ANSI code page, '?' for what it lacks.
    icom.SetName(4, u"\u00C9\u20AC", FALSE);
    icom.SetName(8, u"\u30A2", FALSE);
    icom.SetBaudRate(-1, FALSE);
    const Bytes w = Written(icom, 32);
    EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0xC9, 0x80, ' ', ' '}));
    EXPECT_EQ(Bytes(w.begin() + 10, w.begin() + 12), (Bytes{'?', ' '}));
    EXPECT_EQ(w[18], 255);
    CIntercom read;
    Read(read, w);
    EXPECT_EQ(read.GetName(4), CString(u"\u00C9\u20AC  "));
    EXPECT_EQ(read.GetBaudRate(), -1);

    Bytes wide = Bytes{0xA2, 0x30, 'Z', 0} + Repeat({' ', 0}, 6);
    EXPECT_EQ(Read(icom, wide, TRUE), 16);
    EXPECT_EQ(icom.GetName(16), CString(u"\u30A2Z      "));
    EXPECT_EQ(icom.GetFlags(), 0x2020u);
    EXPECT_EQ(Written(icom, 16, TRUE), wide);
    EXPECT_EQ(icom.GetFlags(), 0u);
}

TEST_F(RecordsTest, IntercomAlphaListsFlagsAndSummaries) {
    CIntercom icom;
    CAlpha a(CAssign(0, 2, 30), u"THIRTY");
    CAlpha b(CAssign(0, 2, 10), u"TEN");
    CAlpha c(CAssign(0, 2, 20), u"TEN");
    CAlpha d(CAssign(0, 7, 5), u"TEN");
    CAlpha replacement(CAssign(0, 2, 20), u"TWENTY");
    CAlpha bad(CAssign(0, 8, 5), u"BAD");
    for (CAlpha* alpha : {&a, &b, &c, &d, &bad, &replacement})
        icom.InsertAlpha(alpha);
    EXPECT_EQ(icom.GetAlphaList(2), (std::vector<CAlpha*>{&b, &replacement, &a}));
    EXPECT_EQ(icom.GetAlphaCount(-1), 4);
    EXPECT_EQ(icom.GetAlphaCount(8), 0);
    std::vector<CAlpha*> found;
    EXPECT_EQ(icom.FindAlphas(-1, u"TEN     ", found), 2);
    EXPECT_EQ(found, (std::vector<CAlpha*>{&b, &d}));
    EXPECT_EQ(icom.FindAlphas(2, u"ten     ", found), 0);
    EXPECT_TRUE(icom.RemoveAlpha(CAssign(0, 2, 10)));
    EXPECT_EQ(icom.RemoveAlphasFrom(CAssign(0, 2, 15)), 2);
    EXPECT_EQ(icom.RemoveAlphasFrom(CAssign(0, 9, 0)), 0);
    EXPECT_EQ(icom.GetAlphaCount(-1), 1);

    // Eight flag words, one per alpha list.
    for (int index : {7, 8, 15, 16, -1})
        icom.SetAlphaFlags(index, CCVObject::kPartialChoice, TRUE);
    EXPECT_EQ(icom.GetAlphaFlags(7), 0x8000u);
    EXPECT_EQ(icom.GetAlphaFlags(8), 0u);

    icom.FindSummary(30)->m_counts[CSummary::kInUse] = 4;
    EXPECT_EQ(icom.GetSummary(30).m_counts[CSummary::kInUse], 4u);
    EXPECT_EQ(icom.FindSummary(31), nullptr);
    Config().m_wNumIntercoms = 1000;  // even a count set by hand never reaches past the table
    EXPECT_EQ(icom.FindSummary(255), nullptr);
}

TEST_F(RecordsTest, GroupFormsAndChangeState) {
    Config().m_wNumIntercoms = 20;
    CGroup group;
    EXPECT_EQ(group.GetName(), CString(u"------------"));
    EXPECT_FALSE(group.SetName(u"THIRTEEN-CHAR", TRUE));
    EXPECT_FALSE(group.SetMember(20, TRUE, TRUE));  // beyond the configured count
    group.SetName(u"\u30A2", FALSE);
    group.SetMember(0, TRUE, FALSE);
    group.SetMember(19, TRUE, TRUE);
    EXPECT_FALSE(group.IsModified(CGroup::kFieldName));
    // Wide: the name alone; writing it leaves the member change.
    const Bytes wide = Bytes{0xA2, 0x30} + Repeat({' ', 0}, 11);
    EXPECT_EQ(Written(group, 24, TRUE), wide);
    EXPECT_EQ(group.GetFlags(), 0x2000u);
    // Narrow: the name and the first 31 members, taken below the configured count.
    group.SetName(u"Desk", FALSE);
    EXPECT_EQ(group.GetName(), CString(u"Desk        "));
    const Bytes narrow = Text("Desk", 12) + Bytes{0, 0x08, 0, 0x01} + Bytes(16, 0);
    EXPECT_EQ(Written(group, 32, TRUE), narrow);
    EXPECT_FALSE(group.IsModified());
    CGroup read;
    Bytes all = narrow;
    all[12] = all[13] = all[14] = all[15] = 0xFF;
    EXPECT_EQ(Read(read, all, TRUE), 32);
    EXPECT_EQ(read.GetMemberSet().GetCount(), 20u);
    EXPECT_TRUE(read.IsModified(CGroup::kFieldFirstMember + 254));
    CGroup wideRead;
    EXPECT_EQ(Read(wideRead, wide, TRUE), 24);
    EXPECT_EQ(wideRead.GetName(), CString(u"\u30A2           "));
    EXPECT_TRUE(wideRead.IsModified(CGroup::kFieldName));
    wideRead.SetModified(77, FALSE);  // not a group field: nothing
    EXPECT_TRUE(wideRead.IsModified());
    wideRead.SetModified(CGroup::kFieldRecord, TRUE);
    EXPECT_TRUE(wideRead.IsModified(CGroup::kFieldFirstMember + 254));
    // Any other length reads and writes nothing.
    BYTE buffer[40] = {};
    EXPECT_EQ(group.FromWire(buffer, 40, TRUE), 40);
    EXPECT_EQ(group.ToWire(buffer, 16, TRUE), 16);
    EXPECT_FALSE(group.IsModified());
}

TEST_F(RecordsTest, GroupExtendedFormKeepsPendingChangesAndItsBounds) {
    CGroup group;
    group.SetMember(3, TRUE, TRUE);  // a pending user change
    Bytes record(34, 0xFF);
    record[0] = 0, record[1] = 255, record[2] = 0x00;  // intercoms 0-7 not members
    EXPECT_EQ(Read(group, record, TRUE), 34);
    EXPECT_TRUE(group.IsMember(3));
    EXPECT_FALSE(group.IsMember(2));
    EXPECT_FALSE(group.IsMember(31));  // beyond the configured 31
    EXPECT_EQ(group.GetMemberSet().GetCount(), 24u);
    EXPECT_FALSE(group.IsModified(CGroup::kFieldFirstMember + 31));
    group.ClearModified();
    group.SetMember(5, TRUE, TRUE);
    const Bytes w = Written(group, 34, TRUE);
    EXPECT_EQ(Bytes(w.begin(), w.begin() + 4), (Bytes{0, 255, 0x28, 0xFF}));
    EXPECT_FALSE(group.IsModified());

    // A count of 65535 takes 255 members and consumes the 34 bytes of the form; one of 9
    // consumes 4 bytes and changes members 0-8 only.
    Config().m_wNumIntercoms = 255;
    EXPECT_EQ(Read(group, Bytes(34, 0xFF)), 34);
    EXPECT_EQ(group.GetMemberSet().GetCount(), 255u);
    Bytes nine(34, 0);
    nine[1] = 9;
    EXPECT_EQ(Read(group, nine), 4);
    EXPECT_EQ(group.GetMemberSet().GetCount(), 246u);
}

TEST_F(RecordsTest, AlphaForms) {
    CAlpha alpha(CAssign(4, 7, 0x0102), u"CAM");
    EXPECT_EQ(Written(alpha, 32), (Bytes{4, 7, 1, 2} + Text("CAM", 8) + Bytes(20, 0)));
    const Bytes wide = Written(alpha, 40);
    EXPECT_EQ(Bytes(wide.begin() + 4, wide.begin() + 8), (Bytes{'C', 0, 'A', 0}));
    EXPECT_EQ(wide[18], ' ');
    CAlpha read;
    EXPECT_EQ(Read(read, wide, TRUE), 40);
    EXPECT_EQ(read.GetKey(), alpha.GetKey());
    EXPECT_EQ(read.GetLabel(), alpha.GetLabel());
    EXPECT_EQ(read.GetFlags(), 0u);
    Bytes narrow = Written(alpha, 32);
    narrow[4] = 0xE9;
    EXPECT_EQ(Read(read, narrow), 32);
    EXPECT_EQ(read.GetLabel(), CString(u"\u00E9AM     "));
    EXPECT_FALSE(read.SetLabel(u"NINE CHAR"));
}

TEST_F(RecordsTest, EveryFormIsReadFromAZeroPaddedCopy) {
    SetCapabilities(0xFFFFFFFF);
    m_app.m_bAllocInSeconds = TRUE;
    const Bytes three = {0x05, 0x01, 0x01};
    COptions options;
    EXPECT_EQ(Read(options, three), 32);
    EXPECT_EQ(options.GetTimeout(), 300u);  // bytes 4-5 read as 0
    CTrunk trunk;
    EXPECT_EQ(Read(trunk, three), 32);
    EXPECT_EQ(trunk.GetEndpoint(TRUE), CAssign(5, 1, 0x0100));
    CIntercom icom;
    EXPECT_EQ(Read(icom, {'A', 'B'}), 32);
    EXPECT_EQ(icom.GetName(4), CString(u"AB\0\0", 4));
    EXPECT_EQ(icom.GetName(6), CString(u"      "));  // a NUL name becomes blanks
    EXPECT_EQ(icom.FromWire(nullptr, 16, FALSE), 16);
    CAlpha alpha;
    EXPECT_EQ(Read(alpha, three, FALSE, 3), 32);
    BYTE small[20] = {};
    EXPECT_EQ(icom.ToWire(small, 20, TRUE), 0);  // too small: nothing written
}

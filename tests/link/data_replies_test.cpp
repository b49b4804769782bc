#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <tuple>
#include <vector>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "link/link_messages.h"
#include "link/reply_context.h"
#include "link/reply_layouts.h"
#include "model/app_state.h"
#include "model/snmp_config.h"
#include "tests/model/doc_fixture.h"

namespace {

// The data manager's side, recorded.
class CFakeReplyContext : public IReplyContext {
public:
    struct Post {
        UINT message;
        WPARAM wParam;
        bool operator==(const Post&) const = default;
    };
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM) override {
        m_posts.push_back({message, wParam});
    }
    BOOL AppendControllerLog(const CString& line) override {
        m_log.push_back(line);
        return TRUE;
    }
    void SetClock() override { ++m_clockSets; }
    CSNMPConfig& GetSNMPConfig() override { return m_snmp; }
    void EndMiscWait(int item) override { m_endedWaits.push_back(item); }
    void FailMiscWait(int item) override { m_failedWaits.push_back(item); }
    std::time_t Now() const override { return m_now; }

    std::vector<Post> m_posts;
    std::vector<CString> m_log;
    int m_clockSets = 0;
    CSNMPConfig m_snmp;
    std::vector<int> m_endedWaits;
    std::vector<int> m_failedWaits;
    std::time_t m_now = 0;
};

class DataRepliesTest : public DocTest {
protected:
    // Hands a reply to its request to the handler of its code; the hints it sent.
    std::vector<LPARAM> Reply(DWORD code, const Bytes& request, const Bytes& reply,
                              DWORD replyCode = 0) {
        CDualMessage pair;
        pair.request.command = code;
        pair.request.SetPayload(request);
        pair.reply.command = replyCode ? replyCode : code;
        pair.reply.SetPayload(reply);
        // What the data manager counts and asks for again is never taken.
        const bool fits = ReplyFitsRequest(pair, CLinkConfig::From(GetApp()));
        if (!fits) ++m_unfit;
        DataReplyHandler handler = FindDataReplyHandler(code);
        EXPECT_NE(handler, nullptr) << code;
        if (handler) handler(m_context, pair, m_doc);
        std::vector<LPARAM> hints;
        m_lastUpdates = TakeUpdates();
        for (const auto& update : m_lastUpdates)
            if (update.hint.IsReply()) hints.push_back(update.hint.ToParam());
        EXPECT_TRUE(fits || hints.empty()) << code;
        return hints;
    }
    CFakeReplyContext m_context;
    int m_unfit = 0;  // replies of another length than their requests imply
    std::vector<CRecordingViews::Update> m_lastUpdates;
};

using Hints = std::vector<LPARAM>;

TEST_F(DataRepliesTest, TrunkDefinitionsKeepUnsentEditsAndMapWireTypes) {
    // Trunk 2: end 1 IFBSL (wire 8) port 5 of intercom 1, end 2 a wire type 7 (none), Fixed
    // and Cascadable. Trunk 3 the same, but its end 1 has an unsent user change.
    const CAssign userEnd(4, 0, 9);
    m_doc.SetTrunkEnd(userEnd, TRUE, TRUE, 3);
    const Bytes record = {1, 0x80, 5, 2, 0x70, 6, 1, 0x00, 5, 0xFF, 0xFF, 0xFF, 0x03};
    EXPECT_EQ(Reply(8, {0, 2, 0, 2}, Repeat(record, 2)), Hints{8});
    for (int trunk : {2, 3}) {
        EXPECT_EQ(m_doc.GetTrunkEnd(trunk, FALSE), CAssign(2, CAssign::kNoType, 6));
        EXPECT_EQ(m_doc.GetTrunkFixedAssign(trunk, TRUE), CAssign(1, 0, 5));
        EXPECT_TRUE(m_doc.GetTrunkFixed(trunk) && m_doc.GetTrunkCascadable(trunk));
    }
    EXPECT_EQ(m_doc.GetTrunkEnd(2, TRUE), CAssign(1, 7, 5));
    EXPECT_EQ(m_doc.GetTrunkEnd(3, TRUE), userEnd);
    EXPECT_TRUE(m_doc.IsTrunkEndModified(3, TRUE));

    // The same again changes nothing; a length that does not fit the count is dropped.
    EXPECT_EQ(Reply(8, {0, 2, 0, 2}, Repeat(record, 2)), Hints{});
    Bytes shortReply = Repeat(record, 2);
    shortReply.pop_back();
    EXPECT_EQ(Reply(8, {0, 4, 0, 2}, shortReply), Hints{});
    EXPECT_EQ(Reply(8, {0, 4, 0, 2}, Repeat(record, 2), 9), Hints{});
    EXPECT_EQ(m_doc.GetTrunkEnd(4, TRUE), CAssign());

    // An end put on a port that its intercom keeps for remote trunking warns once.
    CBitArray ports(16);
    ports.SetBit(7, TRUE);
    m_doc.SetIcomRemoteTrunkSet(3, ports);
    EXPECT_EQ(Reply(8, {0, 9, 0, 1},
                    {3, 0x00, 7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0}),
              Hints{8});
    EXPECT_EQ(m_context.m_posts,
              (std::vector<CFakeReplyContext::Post>{{WM_LINK_TRUNK_WARNING, 9}}));
}

TEST_F(DataRepliesTest, TrunkStatesAndTheRangeCutAtTheTrunkCount) {
    EXPECT_EQ(Reply(14, {0x03, 0xE6, 0, 3, 1}, {0x04, 0x08, 0x0C}), Hints{14});
    EXPECT_EQ(m_doc.IsTrunkInMaintenance(998) != 0, true);
    EXPECT_EQ(m_doc.GetTrunkValue(CTrunkSpec(999, CTrunk::kFieldState)), 0u);
    EXPECT_EQ(Reply(14, {0x03, 0xE6, 0, 3}, {0x04, 0x08, 0x0C}), Hints{});
}

TEST_F(DataRepliesTest, IntercomSettingsByCode) {
    SetCapabilities(CCVConfig::kEthernetToMC | CCVConfig::kCascadeCosts);
    m_doc.SetIcomBaudRate(3, TRUE, 0);  // an unsent edit
    struct Case {
        DWORD code;
        Bytes request, reply;
        std::function<int(int)> get;
        std::vector<int> expected;  // intercoms 0, 1, 30; kKept: as before
    };
    constexpr int kKept = -99;
    const std::vector<Case> cases = {
        {15, {0, 2}, {2, 2}, [&](int i) { return m_doc.GetIcomBaudRate(i); }, {3, 2, 1}},
        {27, {0, 2}, {255, 4}, [&](int i) { return m_doc.GetIcomComPort(i); }, {-1, 4, -1}},
        {68, {1, 1}, {1}, [&](int i) { return m_doc.GetIcomConnType(i); }, {0, 1, 0}},
        {70,
         {0, 30, 2},
         {10, 0, 0, 1, 10, 0, 0, 2},
         [&](int i) { return int(m_doc.GetIcomPrimaryAddress(i)); },
         {0, 0, 0x0A000001}},
        {70,
         {1, 1, 1},
         {0, 0, 1, 0},
         [&](int i) { return int(m_doc.GetIcomBackupAddress(i)); },
         {0, 256, 0}},
        {81,
         {0, 0, 0, 2},
         {0x01, 0x2C, 0, 7},
         [&](int i) { return m_doc.GetIcomCascadeCost(i); },
         {300, 7, kKept}},
    };
    for (Case c : cases) {
        if (c.expected[2] == kKept) c.expected[2] = c.get(30);
        EXPECT_EQ(Reply(c.code, c.request, c.reply), Hints{LPARAM(c.code)}) << c.code;
        EXPECT_EQ((std::vector<int>{c.get(0), c.get(1), c.get(30)}), c.expected) << c.code;
        Bytes longer = c.reply;
        longer.push_back(0);
        EXPECT_EQ(Reply(c.code, c.request, longer), Hints{}) << c.code;
    }
    EXPECT_EQ(m_unfit, static_cast<int>(cases.size()));
    EXPECT_TRUE(m_doc.IsIcomBaudRateModified(0));
}

TEST_F(DataRepliesTest, IntercomStatusAndRemoteTrunkingStayInsideTheirBuffers) {
    const Bytes status = {0x05, 3, 0x01, 0x02, 9, 0x00, 0x10, 'H', 'i'};  // no terminator
    EXPECT_EQ(Reply(56, {4}, status), Hints{56});
    const CCommStat& stored = Icom(4).GetCommStat();
    EXPECT_EQ(stored.m_ok, 1u);
    EXPECT_EQ(stored.m_flag3, 4u);
    EXPECT_EQ(stored.m_code, 3);
    EXPECT_EQ(stored.m_number, 0x0102u);
    EXPECT_EQ(stored.m_wordValue, 0x10u);
    EXPECT_EQ(stored.m_text, CString(u"Hi"));
    EXPECT_EQ(Reply(56, {31}, status), Hints{});  // the intercom count itself is no intercom
    EXPECT_EQ(Reply(56, {5}, Bytes(status.begin(), status.begin() + 7)), Hints{});

    EXPECT_EQ(Reply(75, {2}, {0, 0, 12, 0x20, 0x08}), Hints{75});
    EXPECT_TRUE(m_doc.IsRemoteTrunkPort(2, 5) && m_doc.IsRemoteTrunkPort(2, 11));
    EXPECT_EQ(Reply(75, {3}, {0, 0, 12, 0x20}), Hints{});
    EXPECT_EQ(Reply(75, {31}, {0, 0, 8, 0x01}), Hints{});
    // The bitmap is as long as its bits take, whole bytes.
    EXPECT_EQ(Reply(75, {4}, {0, 0, 16, 0x01, 0x80}), Hints{75});
    EXPECT_TRUE(m_doc.IsRemoteTrunkPort(4, 0) && m_doc.IsRemoteTrunkPort(4, 15));
    EXPECT_EQ(Reply(75, {5}, {0, 0, 9, 0xFF}), Hints{});
}

TEST_F(DataRepliesTest, RemoteTrunkingKeepsItsStartNumberAndWarnsOfItsRange) {
    for (int icom : {0, 1})
        m_doc.SetIcomNameFromController(icom, 4, u"AB", FALSE);
    using Posts = std::vector<CFakeReplyContext::Post>;
    // Two named intercoms from 255 on run past 255.
    EXPECT_EQ(Reply(75, {3}, {255, 0, 8, 0x01}), Hints{75});
    EXPECT_EQ(m_doc.GetIcomRemoteTrunkBase(3), 255u);
    EXPECT_EQ(m_doc.GetObjectText(CIcomSpec(3, 1361)), CString(u"255"));
    EXPECT_EQ(m_context.m_posts, (Posts{{WM_LINK_ICOM_WARNING, 3}}));
    EXPECT_EQ(Reply(75, {3}, {255, 0, 8, 0x01}), Hints{});  // nothing new, no second warning
    // A start number alone is a change; one that fits warns of nothing.
    EXPECT_EQ(Reply(75, {3}, {200, 0, 8, 0x01}), Hints{75});
    EXPECT_EQ(m_doc.GetObjectText(CIcomSpec(3, 1361)), CString(u"200"));
    EXPECT_EQ(Reply(75, {3}, {0, 0, 8, 0x01}), Hints{75});
    EXPECT_EQ(m_doc.GetObjectText(CIcomSpec(3, 1361)), CString(u"-"));
    EXPECT_EQ(m_context.m_posts.size(), 1u);
    // A reply too short for its bitmap stores neither part.
    EXPECT_EQ(Reply(75, {3}, {9, 0, 16, 0x01}), Hints{});
    EXPECT_EQ(m_doc.GetIcomRemoteTrunkBase(3), 0u);
}

TEST_F(DataRepliesTest, GroupsInEveryForm) {
    // Short form: 12 narrow bytes and a member mask with intercom k at bit k + 1.
    Bytes record = {'N', 'i', 'g', 'h', 't', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x06};
    m_doc.SetGroupMember(0, 1, FALSE);  // unsent: stays out
    EXPECT_EQ(Reply(32, {0, 1}, record), Hints{32});
    EXPECT_EQ(m_doc.GetGroupName(0, TRUE), CString(u"Night"));
    for (int icom : {0, 1, 2, 30})
        EXPECT_EQ(m_doc.IsGroupMember(0, icom), icom == 0) << icom;
    EXPECT_EQ(Reply(32, {0, 1}, Bytes(15, 0)), Hints{});
    EXPECT_EQ(m_unfit, 1);

    // Wide names in the short form (count byte 0x81), and the extended form.
    Bytes wide(28, 0);
    wide[1] = 'W';
    wide[27] = 0x02;  // intercom 0
    EXPECT_EQ(Reply(32, {3, 0x81}, wide), Hints{32});
    EXPECT_EQ(m_doc.GetGroupName(3, TRUE), CString(u"W"));
    EXPECT_TRUE(m_doc.IsGroupMember(3, 0));

    Configure(0, 0, 40);
    Bytes extended(56, 0);
    extended[1] = 'X';
    extended[24] = 0x02;  // intercom 0
    extended[29] = 0x01;  // intercom 39
    EXPECT_EQ(Reply(84, {4, 1}, extended), Hints{84});
    EXPECT_TRUE(m_doc.IsGroupMember(4, 0) && m_doc.IsGroupMember(4, 39));
}

TEST_F(DataRepliesTest, NamesStoreBlanksAndWarnOfRangeOverflow) {
    m_doc.SetIcomNameFromController(1, 4, u"USER", TRUE);
    m_doc.SetIcomRemoteTrunkBase(0, 255);  // room for one named intercom
    const Bytes request = {0, 0x70, 0x00, 0x00, 0x03};
    EXPECT_EQ(Reply(5, request, {0, 31, 'A', 'B', 0, 0, 'C', 'D', 'E', 'F', 0, 'x', 'x', 'x'}),
              Hints{5});
    EXPECT_EQ(m_lastUpdates.back(),
              (CRecordingViews::Update{true, CUpdateHint::Reply(5), 7}));  // every view
    EXPECT_EQ(Icom(0).GetName(4), CString(u"AB  "));
    EXPECT_EQ(Icom(1).GetName(4), CString(u"USER"));
    EXPECT_EQ(Icom(2).GetName(4), CString(u"    "));
    EXPECT_EQ(m_context.m_posts, (std::vector<CFakeReplyContext::Post>{{WM_LINK_ICOM_WARNING, 0}}));

    // Fewer labels than the range holds: dropped whole.
    EXPECT_EQ(Reply(5, {0, 0x70, 0x03, 0x00, 0x03}, {0, 31, 'A', 'B', 'C', 'D'}), Hints{});
    EXPECT_EQ(Icom(3).GetName(4), CString(u"    "));
    EXPECT_EQ(m_unfit, 1);

    // Wide names need UnicodeSupport.
    Bytes wide = {0, 1};
    for (char16_t ch : std::u16string(u"\u00E9t\u00E9\0\0\0\0\0", 8))
        wide.push_back(BYTE(ch >> 8)), wide.push_back(BYTE(ch));
    EXPECT_EQ(Reply(5, {0, 0x70, 0x00, 0x40, 0x01}, wide), Hints{});
    EXPECT_EQ(Icom(0).GetName(16), CIntercom::PadName(u"", 16));
    Configure(CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport, 0);
    Reply(5, {0, 0x70, 0x00, 0x40, 0x01}, wide);
    EXPECT_EQ(Icom(0).GetName(16), CIntercom::PadName(u"\u00E9t\u00E9", 16));
}

TEST_F(DataRepliesTest, AlphaPagesStoreAndTheListEndRemovesTheRest) {
    m_doc.StoreAlpha(CAssign(1, 2, 5), u"OLD");
    // Intercom 1, wire type 2, first 0, count 128, format 0; the controller holds 2.
    EXPECT_EQ(Reply(5, {1, 0x20, 0x00, 0x00, 0x80}, {0, 2, 'P', 'A', 'G', 'E', 0, 0, 0, 0}),
              Hints{5});
    EXPECT_EQ(m_doc.FindAlpha(CAssign(1, 2, 0).GetKey())->GetLabel(), CString(u"PAGE    "));
    EXPECT_EQ(m_doc.FindAlpha(CAssign(1, 2, 1).GetKey())->GetLabel(), CString(u"        "));
    EXPECT_EQ(m_doc.FindAlpha(CAssign(1, 2, 5).GetKey()), nullptr);

    EXPECT_EQ(Reply(5, {1, 0x20, 0x00, 0x00, 0x80}, {0, 0}), Hints{5});  // total 0: all go
    EXPECT_TRUE(m_doc.GetAlphas().empty());

    // First and count have 12 bits: a page from 1024 that ends exactly at the total ends
    // the list.
    m_doc.StoreAlpha(CAssign(1, 2, 1100), u"GONE");
    EXPECT_EQ(Reply(5, {1, 0x24, 0x00, 0x00, 0x02}, {0x04, 0x02, 'A', 0, 0, 0, 'B', 0, 0, 0}),
              Hints{5});
    EXPECT_EQ(m_doc.GetAlphas().size(), 2u);
    ASSERT_NE(m_doc.FindAlpha(CAssign(1, 2, 1025).GetKey()), nullptr);
    m_doc.RemoveAlphasFrom(CAssign(1, 2, 0));
    // Wire type 7 names no alpha list; intercom 31 is none of the configured ones.
    EXPECT_EQ(Reply(5, {1, 0x90, 0x00, 0x00, 0x80}, {0, 1, 'A', 0, 0, 0}), Hints{});
    EXPECT_EQ(Reply(5, {31, 0x00, 0x00, 0x00, 0x80}, {0, 1, 'A', 0, 0, 0}), Hints{});
    EXPECT_TRUE(m_doc.GetAlphas().empty());
}

TEST_F(DataRepliesTest, TrunkSummariesFollowTheRequestLayout) {
    auto owner = [&](int icom) { return Icom(icom).GetSummary(0).m_counts; };
    Bytes records = Repeat({0, 1, 0, 2, 0, 3}, 31);
    EXPECT_EQ(Reply(34, {2}, records), Hints{34});  // item 2: intercom 1's table
    EXPECT_EQ(owner(1), (std::array<DWORD, 5>{1, 2, 3, 0, 0}));
    EXPECT_EQ(Reply(34, {2}, Bytes(records.begin(), records.end() - 1)), Hints{});

    // With OOSTrunks the request carries the byte 1 and records all five counts; the standard
    // controller's maintenance count is not taken. Records of another size are refused whole.
    SetCapabilities(CCVConfig::kOOSTrunks);
    EXPECT_EQ(Reply(34, {2, 1}, Repeat({0, 1, 0, 2, 0, 3, 0, 9}, 31)), Hints{});
    EXPECT_EQ(Reply(34, {2, 1}, Repeat({0, 1, 0, 2, 0, 3, 0, 7, 0, 9}, 31)), Hints{34});
    EXPECT_EQ(owner(1), (std::array<DWORD, 5>{1, 2, 3, 0, 9}));

    // Extended with more than 31 intercoms: two-byte item, offset and count; item 0 is the
    // controller's own totals. Code 34 is not the extended controller's.
    Configure(CCVConfig::kNewCorvane, CCVConfig::kOOSTrunks, 40);
    const Bytes request = {0, 0, 1, 0, 38, 0, 4};
    const Bytes wide = Repeat({0, 1, 0, 2, 0, 3, 0, 4, 0, 5}, 4);
    EXPECT_EQ(Reply(57, request, wide, 34), Hints{});
    EXPECT_EQ(Reply(57, request, wide), Hints{57});
    EXPECT_EQ(Config().GetSummary(39).m_counts, (std::array<DWORD, 5>{1, 2, 3, 4, 5}));

    // Extended with 31 intercoms: a one-byte item and the fixed table of 31 records of 10
    // bytes, the out-of-service count not asked for.
    Configure(CCVConfig::kNewCorvane, 0);
    EXPECT_EQ(Reply(57, {1}, Repeat({0, 1, 0, 2, 0, 3, 0, 4}, 31)), Hints{});
    EXPECT_EQ(Reply(57, {1}, Repeat({0, 1, 0, 2, 0, 3, 0, 4, 0, 5}, 12)), Hints{});
    EXPECT_EQ(Reply(57, {1}, Repeat({0, 1, 0, 2, 0, 3, 0, 4, 0, 5}, 31)), Hints{57});
    EXPECT_EQ(owner(0), (std::array<DWORD, 5>{1, 2, 3, 4, 0}));
    EXPECT_EQ(m_unfit, 4);  // each reply of a size its request did not ask for
}

TEST_F(DataRepliesTest, InspectionIsTakenOnlyWhenItFillsTheReply) {
    const Bytes reply = {1,    0x00, 2,    0xFF, 0xFF, 0xFF,  // side 1 pair
                         0x00, 0x07,                          // side 2: trunk 7
                         2,    0x10, 3,    0xFF, 0xFF, 0xFF,  // side 2 pair
                         9,                                   // side 1: nine entries, eight kept
                         1,    0x00, 1,    0xA1, 0xB1, 1,    0x00, 2,    0xA2, 0xB2, 1, 0x00,
                         3,    0,    0,    1,    0x00, 4,    0,    0,    1,    0x00, 5, 0,
                         0,    1,    0x00, 6,    0,    0,    1,    0x00, 7,    0,    0, 1,
                         0x00, 8,    0,    0,    1,    0x00, 9,    0xEE, 0xEE, 0};  // side 2: none
    EXPECT_EQ(Reply(35, {0, 12}, reply), Hints{35});
    const CInspect& inspect = m_doc.GetTrunkInspect(12);
    EXPECT_EQ(inspect.GetSideId(true), 12);
    EXPECT_EQ(inspect.GetSideId(false), 7);
    EXPECT_EQ(inspect.GetPair(false, true), CAssign(2, 1, 3));
    EXPECT_EQ(inspect.GetEntryCount(true), 9u);
    EXPECT_EQ(inspect.GetEntry(true, 1), CAssign(1, 0, 2));
    EXPECT_EQ(inspect.GetStateB(true, 1), 0xB2);

    for (Bytes bad : {Bytes(reply.begin(), reply.end() - 1), reply}) {
        if (bad.size() == reply.size()) bad.push_back(0);
        EXPECT_EQ(Reply(35, {0, 13}, bad), Hints{});
        EXPECT_FALSE(m_doc.HasTrunkInspect(13));
    }
    // No second trunk: its pair is absent.
    EXPECT_EQ(Reply(35, {0, 13}, {1, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0}), Hints{35});
    EXPECT_EQ(m_doc.GetTrunkInspect(13).GetSideId(false), -1);
    EXPECT_EQ(m_unfit, 2);
}

TEST_F(DataRepliesTest, LinkStatusAndErrorCounters) {
    // OK, code and the second flag of each intercom's link.
    auto link = [](const CCommStat& s) {
        return std::tuple(int(s.m_ok), s.m_code, int(s.m_flag2));
    };
    EXPECT_EQ(Reply(18, {1, 0, 2}, {0x8D, 0x0A}), Hints{18});
    EXPECT_EQ(link(Icom(0).GetCommStat()), std::tuple(1, 13, 1));
    EXPECT_EQ(link(Icom(1).GetCommStat()), std::tuple(0, 10, 0));
    // The standby controller answering makes the active one OK with code 13.
    EXPECT_EQ(Reply(18, {2, 0, 1}, {0x05}), Hints{18});
    EXPECT_EQ(Config().m_commStat[1].m_code, 5);
    EXPECT_EQ(std::pair(int(Config().m_commStat[0].m_ok), Config().m_commStat[0].m_code),
              std::pair(1, 13));

    EXPECT_EQ(Reply(19, {0, 0, 1}, {1, 2, 3, 4}), Hints{19});
    EXPECT_EQ(Config().m_commErrs[0], (CCommErrs{0, 2, 0, 4}));
    EXPECT_EQ(Reply(19, {1, 30, 2}, {1, 2, 3, 4, 5, 6, 7, 8}), Hints{19});
    EXPECT_EQ(Icom(30).GetCommErrs(), (CCommErrs{1, 2, 3, 4}));
    EXPECT_EQ(Reply(19, {1, 0, 2}, {1, 2, 3, 4}), Hints{});
    EXPECT_EQ(m_unfit, 1);
}

TEST_F(DataRepliesTest, OptionsClockLogAndSNMP) {
    m_doc.SetOptionWaitForTalkKey(TRUE, TRUE);
    EXPECT_EQ(Reply(64, {}, {0, 90}), Hints{64});
    EXPECT_EQ(m_doc.GetAllocationTimeout(), 90u);
    EXPECT_EQ(Reply(46, {}, {1}), Hints{46});
    EXPECT_EQ(Reply(48, {}, {2}), Hints{48});
    EXPECT_EQ(Reply(50, {}, {0}), Hints{});  // the unsent edit stays
    EXPECT_TRUE(m_doc.GetAutoClearAllocations() && m_doc.GetDynamicAllocMode());
    EXPECT_TRUE(m_doc.GetWaitForTalkKeyMode());
    EXPECT_EQ(Reply(11, {}, {0, 1, 2}), Hints{});

    // The clock: 2 seconds off is close enough, 3 is not.
    std::tm at{};
    at.tm_year = 125, at.tm_mon = 5, at.tm_mday = 30, at.tm_hour = 12, at.tm_isdst = -1;
    const std::time_t controller = std::mktime(&at);
    for (int drift : {-2, 2, 3, -3}) {
        m_context.m_now = controller + drift;
        Reply(37, {}, {125, 6, 30, 12, 0, 0});
    }
    EXPECT_EQ(m_context.m_clockSets, 2);

    EXPECT_EQ(Reply(7, {1}, {1, 'T', '1'}), Hints{7});
    EXPECT_EQ(Reply(7, {1}, {0, 'T', '2'}), Hints{});
    EXPECT_EQ(m_context.m_log, std::vector<CString>{CString(u"T1")});

    CSNMPConfig controllerSide;
    controllerSide.SetName(u"agent", FALSE);
    Bytes record(1006);
    controllerSide.Encode(record.data(), FALSE);
    record[10] ^= 1;  // a broken CRC or a short record changes nothing and fails the wait
    Reply(66, {}, record);
    Reply(66, {}, Bytes(10));
    EXPECT_TRUE(m_context.m_endedWaits.empty());
    EXPECT_EQ(m_context.m_failedWaits, (std::vector<int>{27, 27}));
    EXPECT_EQ(m_context.m_snmp.GetName(), CString());
    record[10] ^= 1;
    Reply(66, {}, record);
    EXPECT_EQ(m_context.m_snmp.GetName(), CString(u"agent"));
    m_context.m_snmp.SetName(u"mine", TRUE);
    Reply(66, {}, record);
    EXPECT_EQ(m_context.m_snmp.GetName(), CString(u"mine"));
    record[10] ^= 1;  // kept edits or not, a record that does not decode is no answer
    Reply(66, {}, record);
    EXPECT_EQ(m_context.m_endedWaits, (std::vector<int>{27, 27}));
    EXPECT_EQ(m_context.m_failedWaits, (std::vector<int>{27, 27, 27}));
}

}  // namespace

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/cv_data_mgr.h"
#include "link/link_messages.h"
#include "model/app_state.h"
#include "platform/base/profile.h"
#include "tests/link/fake_comm.h"
#include "tests/support/recording_list.h"
#include "tests/support/recording_sink.h"

namespace {

using Bytes = std::vector<BYTE>;
using Request = std::pair<DWORD, Bytes>;

// The data manager with its scheduler in the test's hands: the link is connected but idle,
// so the engine never asks for a request and the messages go straight to the sink.
class CProbeDataMgr : public CCVDataMgr {
public:
    ~CProbeDataMgr() override { Disconnect(); }
    using CCVDataMgr::GetManagerRequest;
    using CCVDataMgr::OnRequestDropped;
};

class DataMgrTest : public ::testing::Test {
protected:
    DataMgrTest() {
        CCVConfig& c = app.GetConfig();
        c.m_wFlags = CCVConfig::kTksupvSupport | CCVConfig::kNewCorvane |
                     CCVConfig::kUnicodeSupport | CCVConfig::kEnhancedStatus;
        c.m_dwCapabilities = 0xFFFFFFFF;
        c.m_wNumTrunks = 999;
        c.m_wNumIntercoms = 31;
        c.m_wNumGroups = 20;
        EXPECT_TRUE(mgr.Connect(std::make_unique<CFakeComm>(), &sink, FALSE));
    }

    // The next request: its code and payload, or code 0 when none was built.
    std::pair<DWORD, Bytes> Next() {
        CMessage m;
        if (!mgr.GetManagerRequest(m)) return {0, {}};
        const auto p = m.Payload();
        return {m.command, Bytes(p.begin(), p.end())};
    }
    // The next request, given up as if the link had failed with it in flight.
    Request NextDropped() {
        CMessage m;
        if (!mgr.GetManagerRequest(m)) return {0, {}};
        mgr.OnRequestDropped(m);
        const auto p = m.Payload();
        return {m.command, Bytes(p.begin(), p.end())};
    }
    std::vector<std::pair<WPARAM, LPARAM>> Progress() const {
        std::vector<std::pair<WPARAM, LPARAM>> out;
        for (const auto& m : sink.Messages())
            if (m.message == WM_LINK_UPLOAD_PROGRESS) out.emplace_back(m.wParam, m.lParam);
        return out;
    }

    CMemoryProfile profile;
    CAppState app{profile};
    CRecordingSink sink;
    CProbeDataMgr mgr;
};

TEST_F(DataMgrTest, OneShotsFirstThenRotatingAndAlphasInTurn) {
    mgr.RequestLogState();  // offline: only the one-shot items go out
    mgr.RefreshTrunkDefs();
    EXPECT_EQ(Next(), (Request{10, {}}));
    EXPECT_EQ(Next(), (Request{0, {}}));
    mgr.GoOnline();
    mgr.RefreshTrunkStatus(-1);
    mgr.RefreshTrunkDefs();
    EXPECT_EQ(mgr.GetPendingTotal(), 2 * 999);
    mgr.RequestAlphas(0, 0);
    mgr.RequestAlphas(0, 1);
    mgr.RequestTrunkSummary(3);
    mgr.RequestLogState();
    EXPECT_EQ(Next(), (Request{10, {}}));
    EXPECT_EQ(Next(), (Request{57, {3, 1}}));
    EXPECT_EQ(Next(), (Request{5, {0, 0, 0, 0x10, 128}}));    // alphas first after a one-shot
    EXPECT_EQ(Next(), (Request{14, {0, 0, 1, 0xF4, 1}}));     // rotation 0: trunk states
    EXPECT_EQ(Next(), (Request{5, {0, 0, 128, 0x10, 128}}));  // the same intercom, next page
    mgr.AlphaMgr(0).EndPaging(0);
    EXPECT_EQ(Next(), (Request{8, {0, 0, 0, 50}}));  // rotation 1: definitions
    mgr.RequestLogState();
    EXPECT_EQ(Next(), (Request{10, {}}));  // a one-shot goes before all
    EXPECT_EQ(Next(), (Request{5, {1, 0, 0, 0x10, 128}}));
    mgr.AlphaMgr(0).EndPaging(1);
    mgr.RefreshIcomGroups();
    EXPECT_EQ(Next(), (Request{32, {0, 0x80 | 20}}));  // rotation 2 on: groups
    // No alphas: the rotation takes the turn; its cursor (after groups) wraps to the states.
    EXPECT_EQ(Next(), (Request{14, {1, 0xF4, 1, 0xF3, 1}}));
    EXPECT_EQ(Next(), (Request{8, {0, 50, 0, 50}}));
    mgr.GoOffline();
    EXPECT_EQ(Next(), (Request{0, {}}));  // pending items wait for the link to come online
    mgr.GoOnline();                       // sizing drops them
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
    EXPECT_EQ(Next(), (Request{0, {}}));
}

TEST_F(DataMgrTest, ARequestLostWithTheLinkIsAskedForAgain) {
    mgr.GoOnline();
    mgr.RefreshTrunkDefs();
    mgr.RequestAlphas(0, 2);
    mgr.RequestTrunkSummary(3);
    EXPECT_EQ(NextDropped(), (Request{57, {3, 1}}));
    EXPECT_EQ(Next(), (Request{57, {3, 1}}));
    EXPECT_EQ(Next(), (Request{5, {2, 0, 0, 0x10, 128}}));
    EXPECT_EQ(NextDropped(), (Request{8, {0, 0, 0, 50}}));
    EXPECT_EQ(NextDropped(), (Request{5, {2, 0, 128, 0x10, 128}}));
    EXPECT_EQ(Next(), (Request{8, {0, 50, 0, 50}}));
    EXPECT_EQ(Next(), (Request{5, {2, 0, 128, 0x10, 128}}));  // the lost page, not the next
    // The lost definitions wait for the cursor to wrap.
    EXPECT_EQ(mgr.GetPendingTotal(), 999 - 50);
}

TEST_F(DataMgrTest, GoOnlineSizesEveryManagerFromTheConfiguration) {
    EXPECT_EQ(mgr.GetPendingTotal(), -1);
    mgr.RefreshTrunkDefs();  // ignored offline
    mgr.GoOnline();
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
    mgr.RefreshTrunkDefs();
    mgr.RefreshTrunkStatus(5);
    mgr.RequestTrunkSummary(31);
    mgr.RequestTrunkSummary(32);  // beyond intercoms + 1
    mgr.RequestTrunkInspect(998);
    mgr.RefreshIcomGroups();
    EXPECT_EQ(mgr.GetPendingTotal(), 999 + 1 + 1 + 1 + 20);
    mgr.RefreshIcomSetup();
    EXPECT_TRUE(mgr.IsIcomSetupPending());
    mgr.RefreshIcomStatus();
    mgr.RefreshIcomErrors();
    mgr.RefreshRemTrunking();
    mgr.ClearIcomErrors();
    mgr.ClearAllocations(-1);
    mgr.RequestAlphas(-1, -1);
    EXPECT_EQ(mgr.GetPendingTotal(), 1022 + 10 * 31 + 5 * 31 + 8 * 31);
    EXPECT_EQ(mgr.NameMgr(3).GetNameLength(), 16);
    EXPECT_EQ(mgr.MiscMgr().GetSize(), 32u);
    mgr.SendMaintMode(-1);  // in no list
    EXPECT_EQ(mgr.MaintModeMgr().GetCount(), 999u);
    mgr.ClearPendingRequests();  // the alphas stay
    EXPECT_EQ(mgr.GetPendingTotal(), 8 * 31);

    // Without the controller's support the alpha types 6 and 7 are not asked for.
    app.GetConfig().m_wFlags = 0;
    app.GetConfig().m_dwCapabilities = 0;
    mgr.GoOnline();
    mgr.RequestAlphas(6, -1);
    mgr.RequestAlphas(7, -1);
    mgr.RequestAlphas(8, -1);
    mgr.SendMaintMode(-1);
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
    EXPECT_EQ(mgr.MaintModeMgr().GetCount(), 0u);
    mgr.RequestAlphas(-1, 2);
    EXPECT_EQ(mgr.GetPendingTotal(), 6);
}

TEST_F(DataMgrTest, UploadReportsProgressUntilTheLastRequest) {
    mgr.StartUpload();  // offline: nothing
    EXPECT_FALSE(mgr.IsUploading());
    mgr.GoOnline();
    mgr.StartUpload();
    const int total = 999 + 6 * 31 + 4 + 20;
    EXPECT_EQ(mgr.GetUploadTotal(), total);
    std::vector<DWORD> codes;
    for (Request r = Next(); r.first; r = Next())
        codes.push_back(r.first);
    EXPECT_EQ(Next().first, 0u);
    EXPECT_FALSE(mgr.IsUploading());
    const auto progress = Progress();
    ASSERT_EQ(progress.size(), codes.size() + 1);
    EXPECT_EQ(progress.front(), (std::pair<WPARAM, LPARAM>{1, total}));  // misc item 12
    EXPECT_EQ(progress[progress.size() - 2], (std::pair<WPARAM, LPARAM>{total, total}));
    EXPECT_EQ(progress.back(), (std::pair<WPARAM, LPARAM>{0, 0}));
    for (size_t i = 1; i + 1 < progress.size(); ++i)
        EXPECT_GE(progress[i].first, progress[i - 1].first);
    // 20 of trunk definitions, 4 options, one each of groups, bauds, ports, connections, costs
    // and the two address sets.
    EXPECT_EQ(codes.size(), 20u + 4 + 7);

    // With the alphas the names and alphas count too; every end says 0, 0 once.
    app.m_bIncludeAlphasInSetupFiles = TRUE;
    sink.Clear();
    mgr.StartUpload();
    EXPECT_EQ(mgr.GetUploadTotal(), total + 4 * 31 + 8 * 31);
    mgr.GoOnline();
    mgr.StartUpload();
    mgr.ClearPendingRequests();
    mgr.StartUpload();
    mgr.GoOffline();
    mgr.GoOffline();
    EXPECT_EQ(Progress(), (std::vector<std::pair<WPARAM, LPARAM>>(3, {0, 0})));
}

TEST_F(DataMgrTest, MemoryPageOfTheSelectedProcessor) {
    app.SetMode(CAppState::kModeOnline);
    mgr.GoOnline();
    Bytes image(255);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = BYTE(i);
    mgr.SetMemoryCpu(1);
    mgr.StoreMemoryImage(1, 0x1000, image);
    EXPECT_FALSE(mgr.SetMemoryByte(0x1000 + 255, 1));  // one past the window
    EXPECT_FALSE(mgr.SetMemoryByte(0x0FFF, 1));
    EXPECT_FALSE(mgr.SetMemoryByte(0x1000, 256));
    EXPECT_TRUE(mgr.SetMemoryByte(0x1003, 3));  // the image's own value
    EXPECT_FALSE(mgr.HasUnwrittenMemory());
    EXPECT_TRUE(mgr.SetMemoryByte(0x1003, 0xAA));
    EXPECT_TRUE(mgr.SetMemoryByte(0x1003, 3));  // a pending write takes any value
    EXPECT_TRUE(mgr.SetMemoryByte(0x1009, 0xBB));
    EXPECT_TRUE(mgr.HasUnwrittenMemory());
    mgr.RequestMemoryWrite(0x1000);
    mgr.RequestMemoryRead(0x2000);
    // Later changes on the screen do not reach the requests already marked.
    mgr.SetMemoryByte(0x1010, 0xCC);
    mgr.SetMemoryCpu(0);
    mgr.RequestMemoryRead(0x3000);
    Bytes write{0, 1, 0, 0, 0x10, 0, 255};
    Bytes bits(32);
    bits[0] = 0x08;
    bits[1] = 0x02;
    write.insert(write.end(), bits.begin(), bits.end());
    write.insert(write.end(), {3, 0xBB});
    EXPECT_EQ(Next(), (Request{22, {0, 0, 0, 0, 0x30, 0, 255}}));
    EXPECT_EQ(Next(), (Request{31, write}));
    EXPECT_EQ(Next(), (Request{22, {0, 1, 0, 0, 0x20, 0, 255}}));
    EXPECT_EQ(mgr.GetMemoryReadAddress(), 0x3000u);

    // Any other processor leaves every memory function doing nothing.
    mgr.SetMemoryCpu(-1);
    EXPECT_EQ(mgr.GetMemoryCpu(), -1);
    EXPECT_FALSE(mgr.SetMemoryByte(0, 1));
    mgr.GetMemoryWriteBits().SetAll(TRUE);
    EXPECT_FALSE(mgr.HasUnwrittenMemory());
    mgr.RequestMemoryRead(0x10);
    mgr.RequestMemoryWrite(0x10);
    EXPECT_EQ(mgr.MiscMgr().GetCount(), 0u);
    mgr.SetMemoryCpu(1);
    EXPECT_TRUE(mgr.HasUnwrittenMemory());
    mgr.GoOnline();
    EXPECT_FALSE(mgr.HasUnwrittenMemory());
}

TEST_F(DataMgrTest, CommandLinesAndTheirHistory) {
    CRecordingList list;
    mgr.FillClpHistory(&list);
    ASSERT_EQ(list.m_rows.size(), 1u);
    EXPECT_EQ(list.m_rows[0].data, LPARAM(app.m_clrCLPCommandText));
    EXPECT_FALSE(mgr.SendClpCommand(CString(std::u16string(2001, u'x'))));
    EXPECT_EQ(mgr.GetClpHistoryCount(), 0);
    EXPECT_FALSE(mgr.MiscMgr().HasPending());
    EXPECT_TRUE(mgr.SendClpCommand(CString(std::u16string(2000, u'y'))));
    EXPECT_EQ(Next(), (Request{45, Bytes(2000, 'y')}));
    EXPECT_TRUE(mgr.SendClpCommand(u"STAT \u00e9"));
    mgr.AppendClpHistory(u"OK", 0x123);
    EXPECT_EQ(Next(), (Request{45, {'S', 'T', 'A', 'T', ' ', 0xE9}}));
    mgr.FillClpHistory(&list);
    ASSERT_EQ(list.m_rows.size(), 4u);
    EXPECT_EQ(list.m_rows[1].text, CString(u"STAT \u00e9"));
    EXPECT_EQ(list.m_rows[2].data, 0x123);
    EXPECT_EQ(list.m_rows[3].text, CString());
    EXPECT_EQ(mgr.GetClpHistoryLine(2), CString(u"OK"));
    EXPECT_EQ(mgr.GetClpHistoryLine(3), CString());
    mgr.ClearClpHistory(&list);
    EXPECT_EQ(mgr.GetClpHistoryCount(), 0);
    EXPECT_EQ(list.m_rows.size(), 1u);
}

// Runs the wait as the shell would, with a scripted reply.
class CScriptedPump : public IMessagePump {
public:
    std::function<void()> onPump;
    DWORD timeoutMs = 0;
    BOOL PumpWaitingMessages(const std::function<bool()>& done, DWORD ms) override {
        timeoutMs = ms;
        if (onPump) onPump();
        return done();
    }
};

TEST_F(DataMgrTest, RequestMiscAndWaitMarksTheItemAndWaitsForItsReply) {
    CScriptedPump pump;
    mgr.SetMessagePump(&pump);
    EXPECT_TRUE(mgr.RequestMiscAndWait(27, 5));  // FILE mode: at once
    EXPECT_FALSE(mgr.MiscMgr().HasPending());
    EXPECT_TRUE(mgr.RequestMiscAndWait(32, 5));
    app.SetMode(CAppState::kModeOnline);
    EXPECT_FALSE(mgr.RequestMiscAndWait(27, 5));  // no reply
    EXPECT_EQ(pump.timeoutMs, 5000u);
    EXPECT_TRUE(mgr.MiscMgr().IsPending(27));
    pump.onPump = [&] { mgr.EndMiscWait(27); };
    EXPECT_TRUE(mgr.RequestMiscAndWait(27, 5));

    // The SNMP record goes out as it stood when marked, and counts as sent.
    CSNMPConfig& snmp = app.GetSnmpConfig();
    snmp.SetName(u"north", TRUE);
    pump.onPump = [&] { mgr.EndMiscWait(28); };
    EXPECT_TRUE(mgr.RequestMiscAndWait(28, 5));
    EXPECT_FALSE(snmp.IsModified());
    snmp.SetName(u"south", TRUE);
    Bytes expected(CSNMPConfig::kRecordSize);
    CSNMPConfig sent;
    sent.SetName(u"north", TRUE);
    sent.Encode(expected.data(), TRUE);
    mgr.GoOnline();
    EXPECT_EQ(Next(), (Request{66, {}}));
    EXPECT_EQ(Next(), (Request{67, expected}));
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "link/link_messages.h"
#include "link/link_result.h"
#include "link/link_window.h"
#include "link/maint_mode_send_all.h"
#include "link/retry_hooks.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/profile.h"
#include "tests/link/fake_comm.h"
#include "tests/support/recording_list.h"
#include "tests/support/recording_sink.h"
#include "tests/support/recording_views.h"

namespace {

using Bytes = std::vector<BYTE>;
using Request = std::pair<DWORD, Bytes>;
using Progress = std::pair<WPARAM, LPARAM>;

// A status record of a controller with 12 intercoms and the trunks given.
Bytes StatusRecord(BYTE trunks) {
    Bytes record(26, 0);
    record[1] = 12;
    record[3] = trunks;
    record[10] = 4;
    return record;
}

// The status record of a controller as the configuration describes it.
Bytes StatusOf(const CCVConfig& c) {
    Bytes record(26, 0);
    record[0] = static_cast<BYTE>(c.m_wFlags);
    record[1] = static_cast<BYTE>(c.m_wNumIntercoms);
    record[2] = static_cast<BYTE>(c.m_wNumTrunks >> 8);
    record[3] = static_cast<BYTE>(c.m_wNumTrunks);
    record[5] = static_cast<BYTE>(c.m_wNumFnTypes - (c.HasFlag(CCVConfig::kNewCorvane) ? 1 : 0) -
                                  (c.HasCapability(CCVConfig::kIFBSLSupport) ? 1 : 0));
    record[10] = static_cast<BYTE>(c.m_wNumGroups);
    for (int i = 0; i < 4; ++i)
        record[22 + i] = static_cast<BYTE>(c.m_dwCapabilities >> (24 - 8 * i));
    return record;
}

// The data manager with its scheduler in the test's hands: the link is connected but its
// engine is given nothing, so only the test takes requests and the messages go straight to
// the sink.
class CProbeDataMgr : public CCVDataMgr {
public:
    ~CProbeDataMgr() override { Disconnect(); }
    using CCVDataMgr::GetManagerRequest;
    using CCVDataMgr::OnControllerStatus;
    using CCVDataMgr::OnRequestDropped;
    int GetNextRequest(CMessage&) override { return kRequestNone; }
    // The link's own choice, which moves its state as the engine's would.
    int LinkRequest(CMessage& request) { return CCVDataMgr::GetNextRequest(request); }
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
        c.RefreshCapabilitySet();
        Connect(FALSE);
    }
    void Connect(BOOL network, BOOL start = FALSE) {
        mgr.Disconnect();
        mgr.SetUdpTarget(network);
        EXPECT_TRUE(mgr.Connect(std::make_unique<CFakeComm>(network), &sink, start));
        mgr.MiscMgr().RemoveAll();  // the network's standby address request
    }

    // The link in a session, as the controller's first status leaves it in FILE mode: what acts
    // on the controller is queued from now on, for that session.
    CLinkSession Up() {
        Connect(FALSE, TRUE);
        CMessage poll;
        mgr.LinkRequest(poll);
        mgr.OnControllerStatus();
        EXPECT_EQ(mgr.GetLinkState(), kLinkUp);
        return CLinkSession::Now();
    }

    static Request Of(const CMessage& m) {
        const auto p = m.Payload();
        return {m.command, Bytes(p.begin(), p.end())};
    }
    // The next request, or code 0 when none was built; with lose set it is given up as if the
    // link had failed with it in flight.
    Request Next(bool lose = false) {
        CMessage m;
        if (!mgr.GetManagerRequest(m)) return {0, {}};
        if (lose) mgr.OnRequestDropped(m);
        return Of(m);
    }
    Request Lost() { return Next(true); }
    // The write given back to the selected processor: its address and why it came back.
    using WriteBack = CCVDataMgr::WriteBack;
    std::optional<std::pair<DWORD, WriteBack>> Back() {
        const auto write = mgr.TakeBackUnwrittenMemory();
        if (!write) return std::nullopt;
        return std::pair{write->address, write->why};
    }
    // The controller's answer to the presence poll, as the link thread takes it.
    void AnswerPoll(const Bytes& record) {
        CDualMessage status;
        status.request.command = kCmdNetworkControl;
        status.request.SetPayload(Bytes{kPresencePoll});
        status.reply.command = kCmdStatus;
        status.reply.SetPayload(record);
        mgr.PutResponse(status);
    }
    // And then as the window takes it in.
    void TakeStatus(const Bytes& record, CKelvardinDoc& doc) {
        AnswerPoll(record);
        mgr.OnResponse(&doc);
    }
    std::vector<Progress> UploadProgress() const {
        std::vector<Progress> out;
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
    mgr.RequestAlphas(0, 0);
    mgr.RequestAlphas(0, 1);
    mgr.RequestTrunkSummary(3);
    EXPECT_EQ(Next(), (Request{57, {3, 1}}));
    EXPECT_EQ(Next(), (Request{5, {0, 0, 0, 0x10, 128}}));  // alphas first after a one-shot
    EXPECT_EQ(Next(), (Request{14, {0, 0, 1, 0xF4, 1}}));   // rotation 0: trunk states
    EXPECT_EQ(Next(), (Request{5, {0, 0, 128, 0x10, 128}}));
    // The alternation stood at the rotating list; a one-shot sets it back to the alphas.
    mgr.RequestLogState();
    EXPECT_EQ(Next(), (Request{10, {}}));
    EXPECT_EQ(Next(), (Request{5, {0, 0x01, 0x00, 0x10, 128}}));
    mgr.AlphaMgr(0).EndPaging(0);
    EXPECT_EQ(Next(), (Request{8, {0, 0, 0, 50}}));  // rotation 1: definitions
    EXPECT_EQ(Next(), (Request{5, {1, 0, 0, 0x10, 128}}));
    mgr.AlphaMgr(0).EndPaging(1);
    mgr.RefreshIcomGroups();
    EXPECT_EQ(Next(), (Request{32, {0, 0x80 | 20}}));  // rotation 2 on: groups
    // No alphas: the rotation takes the turn; its cursor (after groups) wraps to the states.
    EXPECT_EQ(Next(), (Request{14, {1, 0xF4, 1, 0xF3, 1}}));
    mgr.GoOffline();
    EXPECT_EQ(Next(), (Request{0, {}}));  // pending items wait for the link to come online
    mgr.GoOnline();                       // sizing drops them
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
}

TEST_F(DataMgrTest, ALostReadIsAskedAgainTenTimesThenTheUploadFails) {
    mgr.GoOnline();
    mgr.RequestAlphas(0, 2);
    mgr.RequestTrunkSummary(3);
    EXPECT_EQ(Lost(), (Request{57, {3, 1}}));
    EXPECT_EQ(Next(), (Request{57, {3, 1}}));
    EXPECT_EQ(Next(), (Request{5, {2, 0, 0, 0x10, 128}}));
    EXPECT_EQ(Lost(), (Request{5, {2, 0, 128, 0x10, 128}}));
    EXPECT_EQ(Next(), (Request{5, {2, 0, 128, 0x10, 128}}));  // the lost page, not the next
    mgr.AlphaMgr(0).EndPaging(2);

    mgr.StartUpload();
    const Request first = Lost();
    EXPECT_EQ(first, (Request{11, {}}));
    for (int again = 0; again < 10; ++again)
        ASSERT_EQ(Lost(), first) << again;
    // Lost eleven times: the upload ends as failed, and nothing of it is asked for again.
    EXPECT_FALSE(mgr.IsUploading());
    EXPECT_EQ(UploadProgress().back(), (Progress{WPARAM(LINK_UPLOAD_LOST), 0}));
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
    EXPECT_EQ(Next(), (Request{0, {}}));

    // A reply in between starts the count again.
    mgr.RequestTrunkInspect(5);
    for (int round = 0; round < 2; ++round) {
        for (int again = 0; again < 10; ++again)
            EXPECT_EQ(Lost(), (Request{35, {0, 5}}));
        CDualMessage answered;
        answered.request.command = answered.reply.command = 35;
        answered.request.SetPayload(Bytes{0, 5});
        // Trunk 5's ends, no second trunk, no entries.
        answered.reply.SetPayload(Bytes{1, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0});
        mgr.PutResponse(answered);
    }
    EXPECT_EQ(Lost(), (Request{35, {0, 5}}));
    EXPECT_EQ(Next(), (Request{35, {0, 5}}));
}

TEST_F(DataMgrTest, ACommandLostWithTheLinkIsNotSentAgain) {
    const CLinkSession s = Up();
    mgr.GoOnline();
    mgr.SetMemoryCpu(0);
    app.SetMode(CAppState::kModeOnline);
    const std::vector<std::function<void()>> commands = {
        [&] { mgr.SetLogging(s, 1); },          [&] { mgr.SetClock(s); },
        [&] { mgr.ClearCVErrors(s); },          [&] { mgr.ClearIcomErrorsMgr().Add(3); },
        [&] { mgr.ClearAllocations(s, -1); },   [&] { mgr.RequestMemoryWrite(s, 0x100); },
        [&] { mgr.SendClpCommand(s, u"DIR"); }, [&] { mgr.WriteSnmpAndWait(s, 0); },
        [&] { mgr.RequestLogToken(s); },        [&] { mgr.ReleaseLogToken(s); },
    };
    std::vector<DWORD> codes;
    for (const auto& command : commands) {
        command();
        codes.push_back(Lost().first);
        EXPECT_EQ(Next(), (Request{0, {}})) << codes.back();
    }
    EXPECT_EQ(codes, (std::vector<DWORD>{13, 17, 20, 20, 29, 31, 45, 67, 78, 79}));
    mgr.RequestMemoryRead(0x100);
    const Request read = Lost();
    EXPECT_EQ(Next(), read);
}

// What the user asked the controller to do goes with the session it was asked in, however the
// session ends: the link lost, or the controller having forgotten it. Reads stay asked for.
TEST_F(DataMgrTest, ACommandQueuedWhenTheSessionEndsIsNotSentInTheNext) {
    CKelvardinDoc doc;
    doc.ResetToDefaultSetup();
    const Bytes status = StatusOf(app.GetConfig());
    // The link's set-up, presence poll and status, each answered, until it is up.
    const auto comeUp = [&] {
        app.SetMode(CAppState::kModeConnecting);
        for (int step = 0; step < 4 && mgr.GetLinkState() != kLinkUp; ++step) {
            CDualMessage pair;
            mgr.LinkRequest(pair.request);
            if (pair.request.command == kCmdOpenSession) {
                pair.reply.command = kCmdOpenSession;
                pair.reply.tag = 7;
                mgr.PutResponse(pair);
                mgr.OnResponse(&doc);
            } else if (mgr.GetLinkState() == kLinkAwaitStatus) {
                TakeStatus(status, doc);
            }
        }
        ASSERT_EQ(mgr.GetLinkState(), kLinkUp);
        ASSERT_EQ(app.GetMode(), CAppState::kModeOnline);
    };
    for (const BOOL network : {FALSE, TRUE}) {
        SCOPED_TRACE(network);
        Connect(network, TRUE);
        comeUp();
        mgr.ClearPendingRequests();
        const CLinkSession s = CLinkSession::Now();
        using U = CUndoneCommand;
        // Cleared with the pending requests (Save's picker or question cancelled, its upload
        // given up), the user's commands are named too, and a read cleared does not go in
        // place of the one in flight, lost meanwhile.
        mgr.SetMemoryCpu(0);
        mgr.RequestMemoryRead(0x100);
        CMessage read;
        ASSERT_TRUE(mgr.GetManagerRequest(read));
        mgr.RequestMemoryRead(0x200);
        ASSERT_TRUE(mgr.ClearAllocations(s, 2));
        ASSERT_TRUE(mgr.ClearIcomErrors(s));
        ASSERT_TRUE(mgr.SetClock(s));
        ASSERT_TRUE(mgr.SendClpCommand(s, u"VER"));
        mgr.ClearPendingRequests();
        EXPECT_EQ(mgr.TakeUndone(), (std::vector<U>{{U::kClearAllocations, 2},
                                                    {U::kClearIcomErrors},
                                                    {U::kSetClock},
                                                    {U::kCommandLine, U::kAll, u"VER"}}));
        mgr.OnRequestDropped(read);
        EXPECT_EQ(Next(), Of(read));
        // A clock set that the controller's clock asks for is not the user's, lost or not.
        static_cast<IReplyContext&>(mgr).SetClock();
        EXPECT_EQ(Lost().first, kCmdSetClock);
        EXPECT_EQ(mgr.TakeUndone(), std::vector<U>{});
        // Sizing empties the managers too, as a file loaded while ONLINE goes offline and back.
        ASSERT_TRUE(mgr.ClearAllocations(s, 4));
        mgr.GoOffline();
        mgr.GoOnline();
        EXPECT_EQ(mgr.TakeUndone(), (std::vector<U>{{U::kClearAllocations, 4}}));

        // A command that went out and was given up unanswered may not have run: it is named.
        ASSERT_TRUE(mgr.ClearAllocations(s, 3));
        EXPECT_NE(Lost().first, 0u);
        EXPECT_EQ(mgr.TakeUndone(), (std::vector<U>{{U::kClearAllocations, 3}}));
        mgr.ClearAllocations(s, -1);
        mgr.ClearIcomErrors(s);
        mgr.ClearCVErrors(s);
        mgr.SendNormalMode(s, 5);
        mgr.SendMaintMode(s, 6);
        mgr.SendClpCommand(s, u"DIR");
        mgr.RequestTrunkInspect(4);
        mgr.SetMemoryCpu(0);
        mgr.StoreMemoryImage(0, 0x100, Bytes(255, 0x11));
        ASSERT_TRUE(mgr.SetMemoryByte(0x101, 0xBB));
        mgr.RequestMemoryWrite(s, 0x100);
        mgr.GetMemoryWriteBits().SetAll(FALSE);
        const unsigned changes = app.GetSessionChanges();
        sink.Clear();

        CMessage inFlight;
        inFlight.command = kCmdIcomStatus;
        inFlight.sequence = 3;
        if (network) {
            // The controller answers without knowing the session.
            CDualMessage forgotten;
            forgotten.request = inFlight;
            forgotten.reply = inFlight;
            forgotten.reply.tag = kUnknownSessionTag;
            CDCVerify(mgr).AfterReceive(forgotten);
        } else {
            CDCError lost(mgr);
            lost.SetTries(0);
            lost.OnError(CMsgFail{LINK_TIMEOUT, &inFlight});
        }
        EXPECT_EQ(app.GetSessionChanges(), changes + 1);
        EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
        // The user is told, in one message, of each command dropped; the memory write has a
        // message of its own.
        EXPECT_EQ(mgr.TakeUndone(), (std::vector<U>{{U::kClearAllocations},
                                                    {U::kClearIcomErrors},
                                                    {U::kMaintMode, 6},
                                                    {U::kNormalMode, 5},
                                                    {U::kClearCVErrors},
                                                    {U::kCommandLine, U::kAll, u"DIR"}}));
        // Nothing of the session that ended is left for a send to carry.
        CMessage left;
        EXPECT_FALSE(CMaintModeSendAll(mgr).BuildNext(left));
        EXPECT_EQ(UndoneCommandsText({{U::kMaintMode, 6}, {U::kNormalMode, U::kAll}}),
                  CString(u"The connection to the Corvane was lost or renewed before the Corvane "
                          u"had confirmed these, so they may not have been done:\n\nSet "
                          u"Maintenance Mode (Trunk #7)\nClear Maintenance Mode (All Trunks)\n\n"
                          u"Give them again if they are still wanted."));
        comeUp();
        EXPECT_EQ(app.GetSessionChanges(), changes + 2);
        // Given for the session that ended, nothing is queued, and the user is told.
        const int history = mgr.GetClpHistoryCount();
        EXPECT_FALSE(mgr.ClearAllocations(s, 3));
        EXPECT_FALSE(mgr.SendClpCommand(s, u"DIR"));
        app.m_nLogging = 1;
        EXPECT_FALSE(mgr.SetLogging(s, 1));
        EXPECT_EQ(app.m_nLogging, mgr.GetControllerLogging());
        EXPECT_FALSE(mgr.StartSendAll(s, std::make_unique<CMaintModeSendAll>(mgr)));
        EXPECT_EQ(mgr.TakeUndone(), (std::vector<U>{{U::kClearAllocations, 3},
                                                    {U::kCommandLine, U::kAll, u"DIR"},
                                                    {U::kLoggingOn}}));
        EXPECT_EQ(mgr.GetClpHistoryCount(), history);
        // The window hears of each group once.
        const auto posted = sink.Messages();
        EXPECT_EQ(std::count_if(posted.begin(), posted.end(),
                                [](const auto& m) { return m.message == WM_LINK_NOT_DONE; }),
                  2);

        std::vector<DWORD> codes;
        for (Request r = Next(); r.first != 0 && codes.size() < 8; r = Next())
            codes.push_back(r.first);
        EXPECT_NE(std::find(codes.begin(), codes.end(), kCmdTrunkInspect), codes.end());
        for (const DWORD code : codes)
            EXPECT_FALSE(ActsOnController(code)) << code;
        EXPECT_EQ(mgr.NormalModeMgr().GetCount() + mgr.MaintModeMgr().GetCount(), 0u);
        // The write comes back to the user as one that never went.
        EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kUnsent));
        mgr.GetMemoryWriteBits().SetAll(FALSE);

        // A maintenance send given up leaves nothing pending: the next carries its own trunk.
        const CLinkSession now = CLinkSession::Now();
        ASSERT_TRUE(mgr.SendMaintMode(now, 2));
        ASSERT_TRUE(mgr.StartSendAll(now, std::make_unique<CMaintModeSendAll>(mgr)));
        mgr.Abort();
        EXPECT_EQ(mgr.MaintModeMgr().GetCount(), 0u);
        ASSERT_TRUE(mgr.StartSendAll(now, std::make_unique<CMaintModeSendAll>(mgr)));
        ASSERT_TRUE(mgr.SendNormalMode(now, 3));
        EXPECT_FALSE(mgr.StartSendAll(now, std::make_unique<CMaintModeSendAll>(mgr)));
        EXPECT_EQ(mgr.NormalModeMgr().GetCount(), 0u);
        mgr.Abort();
        ASSERT_TRUE(mgr.SendMaintMode(now, 5));
        CMaintModeSendAll next(mgr);
        CMessage built;
        ASSERT_TRUE(next.BuildNext(built));
        EXPECT_EQ(Of(built), (Request{kCmdTrunkMode, {0, 5, 2}}));
        EXPECT_FALSE(next.BuildNext(built));
    }
}

// On the network a controller that forgot the session answers with the tag 0xFFFE: the hook
// drops the request, and the answer must not end the alpha list it asked a page of.
TEST_F(DataMgrTest, APageAnsweredWithoutASessionIsAskedAgain) {
    Connect(TRUE);
    mgr.GoOnline();
    mgr.RequestAlphas(0, 2);
    CDualMessage pair;
    ASSERT_TRUE(mgr.GetManagerRequest(pair.request));
    mgr.OnRequestDropped(pair.request);
    pair.reply.command = pair.request.command;
    pair.reply.tag = 0xFFFE;
    mgr.PutResponse(pair);
    EXPECT_EQ(Next(), Of(pair.request));
}

TEST_F(DataMgrTest, AStatusWithCountsBeyondTheSetupGoesOnlineAtTheSetupsLimits) {
    // 300 intercoms, then 10001 trunks: each taken in at the limit the setup can hold.
    const struct {
        Bytes counts;
        WORD intercoms;
        WORD trunks;
    } statuses[] = {{{0, 0, 0x01, 0x2C}, CCVConfig::kMaxIntercoms, 0},
                    {{0x27, 0x11, 0, 0}, 31, CCVConfig::kMaxTrunks}};
    for (const auto& [counts, intercoms, trunks] : statuses) {
        app.SetMode(CAppState::kModeConnecting);
        CKelvardinDoc doc;
        CRecordingViews views;
        doc.SetViews(&views);
        Bytes status(26, 0);
        status[1] = 31;
        std::copy(counts.begin(), counts.begin() + 2, status.begin() + 2);  // trunks
        std::copy(counts.begin() + 2, counts.end(), status.begin() + 16);   // intercoms
        TakeStatus(status, doc);
        EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
        EXPECT_TRUE(mgr.IsOnline());
        EXPECT_EQ(app.GetConfig().m_wNumIntercoms, intercoms);
        EXPECT_EQ(app.GetConfig().m_wNumTrunks, trunks);
        // The setup is of that size.
        EXPECT_TRUE(doc.SetIcomBaudRate(2, FALSE, intercoms - 1));
        EXPECT_FALSE(doc.SetIcomBaudRate(2, FALSE, intercoms));
        if (trunks) {
            EXPECT_TRUE(doc.SetTrunkFixed(TRUE, FALSE, trunks - 1));
        }
    }
    EXPECT_EQ(mgr.GetEngineCounter(CLinkEngine::kMisc), 0);
}

// The main window as the status reply finds it: it may hold a reset until it has dealt with
// the setup.
class CResetWatchWindow : public ILinkWindow {
public:
    void SetFrameTitle() override {}
    void EnteredOnlineMode() override {}
    void LinkRestored() override { ++restored; }
    bool HoldSetupReset() override {
        ++asked;
        return hold;
    }

    int asked = 0;
    int restored = 0;
    bool hold = false;
};

TEST_F(DataMgrTest, AControllerOfAnotherSizeResetsTheSetupOnlyOnceTheWindowLetsIt) {
    app.SetMode(CAppState::kModeOnline);
    CKelvardinDoc doc;
    CRecordingViews views;
    doc.SetViews(&views);
    doc.ResetToDefaultSetup();
    CResetWatchWindow window;
    mgr.SetLinkWindow(&window);
    TakeStatus(StatusRecord(40), doc);
    EXPECT_EQ(window.asked, 1);
    ASSERT_EQ(app.GetConfig().m_wNumTrunks, 40);
    TakeStatus(StatusRecord(40), doc);
    EXPECT_EQ(window.asked, 1);  // the same controller: nothing to reset

    // Held: the edit and the size stay, the link asks for nothing, and the latest status
    // is the one that counts.
    ASSERT_TRUE(doc.SetIcomBaudRate(2, TRUE, 3));
    window.hold = true;
    TakeStatus(StatusRecord(48), doc);
    const int restored = window.restored;
    TakeStatus(StatusRecord(56), doc);
    EXPECT_EQ(window.asked, 2);
    EXPECT_EQ(window.restored, restored + 1);
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, 40);
    EXPECT_TRUE(doc.HasModifications());
    EXPECT_FALSE(mgr.IsOnline());
    mgr.ResetForController(&doc);
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, 56);
    EXPECT_FALSE(doc.HasModifications());
    EXPECT_TRUE(mgr.IsOnline());
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);

    // Left for FILE mode meanwhile: the status neither resets the setup nor goes ONLINE.
    ASSERT_TRUE(doc.SetIcomBaudRate(2, TRUE, 3));
    TakeStatus(StatusRecord(64), doc);
    app.SetMode(CAppState::kModeFile);
    mgr.ResetForController(&doc);
    EXPECT_EQ(window.asked, 3);
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_FALSE(mgr.IsOnline());
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, 56);
    EXPECT_TRUE(doc.HasModifications());
}

// A controller that changes under an upload ends it, and spoils one whose last data still
// waits to be taken.
TEST_F(DataMgrTest, AControllerOfAnotherSizeEndsTheUploadAsFailed) {
    app.SetMode(CAppState::kModeOnline);
    CKelvardinDoc doc;
    CRecordingViews views;
    doc.SetViews(&views);
    doc.ResetToDefaultSetup();
    TakeStatus(StatusRecord(40), doc);
    ASSERT_TRUE(mgr.IsOnline());
    mgr.StartUpload();
    sink.Clear();
    TakeStatus(StatusRecord(44), doc);
    EXPECT_EQ(UploadProgress(), (std::vector<Progress>{{WPARAM(LINK_UPLOAD_CHANGED), 0}}));
    EXPECT_EQ(mgr.GetUploadOutcome(), LINK_UPLOAD_CHANGED);

    mgr.StartUpload();
    while (Next().first) {
    }
    TakeStatus(StatusRecord(44), doc);
    EXPECT_EQ(Next(), (Request{0, {}}));
    EXPECT_FALSE(mgr.IsUploading());
    EXPECT_EQ(mgr.GetUploadOutcome(), 0);  // the same controller
    TakeStatus(StatusRecord(40), doc);
    EXPECT_EQ(mgr.GetUploadOutcome(), LINK_UPLOAD_CHANGED);
}

TEST_F(DataMgrTest, ReadsAndSendsFollowTheSecondsSetting) {
    mgr.GoOnline();
    mgr.RefreshOptions();
    EXPECT_EQ(Next().first, 11u);
    app.m_bAllocInSeconds = TRUE;
    mgr.OnSettingsChanged();
    mgr.RefreshOptions();
    EXPECT_EQ(Next().first, 64u);
}

TEST_F(DataMgrTest, GoOnlineSizesEveryManagerFromTheConfiguration) {
    Up();
    EXPECT_EQ(mgr.GetPendingTotal(), -1);
    mgr.RefreshTrunkDefs();  // ignored offline
    mgr.GoOnline();
    EXPECT_EQ(mgr.GetPendingTotal(), 0);
    mgr.RefreshTrunkDefs();
    mgr.RequestTrunkSummary(31);
    mgr.RequestTrunkSummary(32);  // beyond intercoms + 1
    mgr.RequestTrunkInspect(998);
    mgr.RefreshIcomGroups();
    mgr.RefreshIcomSetup();
    mgr.RefreshIcomStatus();
    mgr.ClearAllocations(CLinkSession::Now(), -1);
    mgr.RequestAlphas(-1, -1);
    mgr.SendMaintMode(CLinkSession::Now(), -1);  // in no list
    EXPECT_EQ(mgr.GetPendingTotal(), 999 + 1 + 1 + 20 + 10 * 31 + 2 * 31 + 8 * 31);
    EXPECT_EQ(mgr.MaintModeMgr().GetCount(), 999u);
    mgr.ClearPendingRequests();  // the alphas stay
    EXPECT_EQ(mgr.GetPendingTotal(), 8 * 31);

    // Without the controller's support the alpha types 6 and 7 are not asked for.
    app.GetConfig().m_wFlags = 0;
    app.GetConfig().m_dwCapabilities = 0;
    mgr.GoOnline();
    mgr.RequestAlphas(-1, 2);
    mgr.SendMaintMode(CLinkSession::Now(), -1);
    EXPECT_EQ(mgr.GetPendingTotal() + mgr.MaintModeMgr().GetCount(), 6u);
}

TEST_F(DataMgrTest, UploadReportsProgressUntilTheLastRequest) {
    mgr.StartUpload();  // offline: nothing
    EXPECT_FALSE(mgr.IsUploading());
    mgr.GoOnline();
    mgr.StartUpload();
    const int total = 999 + 6 * 31 + 4 + 20;
    EXPECT_EQ(mgr.GetUploadTotal(), total);
    int requests = 0;
    CMessage request, last;
    for (; mgr.GetManagerRequest(request); ++requests)
        last = request;
    // Every request has gone out; the upload is whole once the controller's status, answered
    // after the last, shows the same controller: a record asked again after that status needs
    // another.
    EXPECT_TRUE(mgr.IsUploading());
    AnswerPoll(StatusOf(app.GetConfig()));
    mgr.OnRequestDropped(last);
    EXPECT_EQ(Next().first, last.command);
    EXPECT_EQ(Next(), (Request{0, {}}));
    EXPECT_TRUE(mgr.IsUploading());
    AnswerPoll(StatusOf(app.GetConfig()));
    EXPECT_EQ(Next(), (Request{0, {}}));
    EXPECT_FALSE(mgr.IsUploading());
    // 20 of trunk definitions, 4 options, one each of groups, bauds, ports, connections, costs
    // and the two address sets, one of them twice; then the end.
    EXPECT_EQ(requests, 20 + 4 + 7);
    const auto progress = UploadProgress();
    ASSERT_EQ(progress.size(), 20u + 4 + 7 + 2);
    EXPECT_EQ(progress.front(), (Progress{1, total}));  // misc item 12
    EXPECT_EQ(progress[progress.size() - 2], (Progress{total, total}));
    EXPECT_EQ(progress.back(), (Progress{0, 0}));
    for (size_t i = 1; i + 1 < progress.size(); ++i)
        EXPECT_GE(progress[i].first, progress[i - 1].first);

    EXPECT_EQ(mgr.GetUploadOutcome(), 0);

    // With the alphas the names and alphas count too. Only the upload's own end says 0, 0;
    // any other end says, once, that the upload did not get its data.
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
    const auto ended = [](int outcome) { return Progress{WPARAM(outcome), 0}; };
    EXPECT_EQ(UploadProgress(),
              (std::vector<Progress>{ended(LINK_UPLOAD_LOST), ended(LINK_UPLOAD_ABORTED),
                                     ended(LINK_UPLOAD_LOST)}));
    EXPECT_EQ(mgr.GetUploadOutcome(), LINK_UPLOAD_LOST);
}

TEST_F(DataMgrTest, MemoryPageOfTheSelectedProcessor) {
    const CLinkSession s = Up();
    app.SetMode(CAppState::kModeOnline);
    mgr.GoOnline();
    Bytes image(255);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = BYTE(i);
    mgr.SetMemoryCpu(1);
    mgr.StoreMemoryImage(1, 0x1000, image);
    for (auto [address, value] : {std::pair{0x10FFu, 1u}, {0x0FFFu, 1u}, {0x1000u, 256u}})
        EXPECT_FALSE(mgr.SetMemoryByte(address, value)) << address;
    EXPECT_TRUE(mgr.SetMemoryByte(0x1003, 3));  // the image's own value
    EXPECT_FALSE(mgr.HasUnwrittenMemory());
    EXPECT_TRUE(mgr.SetMemoryByte(0x1003, 0xAA));
    EXPECT_TRUE(mgr.SetMemoryByte(0x1003, 3));  // a pending write takes any value
    EXPECT_TRUE(mgr.SetMemoryByte(0x1009, 0xBB));
    mgr.RequestMemoryWrite(s, 0x1000);
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

    // Any other processor leaves every memory function doing nothing.
    mgr.SetMemoryCpu(-1);
    EXPECT_FALSE(mgr.SetMemoryByte(0, 1));
    mgr.GetMemoryWriteBits().SetAll(TRUE);
    mgr.RequestMemoryRead(0x10);
    mgr.RequestMemoryWrite(s, 0x10);
    EXPECT_EQ(mgr.MiscMgr().GetCount(), 0u);
    mgr.SetMemoryCpu(0);
    EXPECT_EQ(mgr.GetMemoryWriteBits().GetCount(), 0u);
    // Bytes that could not be written while the link was down are still the user's to write,
    // whichever processor is shown: a write with the active one shown takes the standby's
    // bytes too, over the image they were typed on.
    mgr.GoOffline();
    mgr.GoOnline();
    EXPECT_TRUE(mgr.HasUnwrittenMemory());
    mgr.RequestMemoryWrite(s, 0x3000);
    write[9] = 0x01;  // offset 16
    write.push_back(0xCC);
    EXPECT_EQ(Next(), (Request{31, write}));
    EXPECT_EQ(Next(), (Request{0, {}}));

    // The controller's answer to a write reaches the memory screen as its own hint.
    CKelvardinDoc doc;
    CRecordingViews views;
    doc.SetViews(&views);
    CDualMessage written;
    written.request.command = 31;
    written.reply.command = 31;
    mgr.PutResponse(written);
    mgr.OnResponse(&doc);
    EXPECT_EQ(views.m_updates,
              (std::vector<CRecordingViews::Update>{{false, CUpdateHint::kRefresh, 0}}));
}

TEST_F(DataMgrTest, MemoryWritesNeverAnsweredComeBackPendingWithTheirWindow) {
    const CLinkSession s = Up();
    app.SetMode(CAppState::kModeOnline);
    mgr.GoOnline();
    Bytes image(255, 0x11);
    mgr.SetMemoryCpu(0);
    mgr.StoreMemoryImage(0, 0x100, image);
    ASSERT_TRUE(mgr.SetMemoryByte(0x101, 0xBB));
    // Written as the screen writes: marked, then no longer pending; the window moves on.
    const auto write = [&](DWORD address) {
        mgr.RequestMemoryWrite(s, address);
        mgr.GetMemoryWriteBits().SetAll(FALSE);
    };
    write(0x100);
    mgr.RequestMemoryRead(0x200);
    mgr.StoreMemoryImage(0, 0x200, Bytes(255, 0x22));
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());

    // Lost with the link: not sent again, but given back once, to its own processor only.
    EXPECT_EQ(Lost().first, 31u);
    EXPECT_EQ(Next(), (Request{22, {0, 0, 0, 0, 0x02, 0, 255}}));
    mgr.SetMemoryCpu(1);
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    mgr.SetMemoryCpu(0);
    EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kUnanswered));
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    EXPECT_EQ(mgr.GetMemoryImageAddress(), 0x100u);
    EXPECT_EQ(mgr.GetMemoryReadAddress(), 0x100u);
    EXPECT_EQ(mgr.GetMemoryWriteBits().GetCount(), 1u);
    EXPECT_TRUE(mgr.GetMemoryWriteBits().GetBit(1));
    EXPECT_EQ(mgr.GetMemoryWriteValues()[1], 0xBB);
    EXPECT_EQ(mgr.GetMemoryImage()[0], 0x11);

    // Two still queued when the pending requests are cleared come back as one window, never
    // gone, once the bytes pending meanwhile are written or dropped.
    write(0x100);
    ASSERT_TRUE(mgr.SetMemoryByte(0x106, 0x66));
    write(0x100);
    ASSERT_TRUE(mgr.SetMemoryByte(0x102, 0xCC));
    mgr.ClearPendingRequests();
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    mgr.GetMemoryWriteBits().SetAll(FALSE);
    EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kUnsent));
    EXPECT_EQ(mgr.GetMemoryWriteBits().GetCount(), 2u);
    EXPECT_TRUE(mgr.GetMemoryWriteBits().GetBit(1) && mgr.GetMemoryWriteBits().GetBit(6));
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    EXPECT_EQ(Next(), (Request{0, {}}));
    mgr.GetMemoryWriteBits().SetAll(FALSE);

    // A write made before the one before it went goes after it, with its own bytes.
    ASSERT_TRUE(mgr.SetMemoryByte(0x106, 0x66));
    write(0x100);
    ASSERT_TRUE(mgr.SetMemoryByte(0x107, 0x77));
    write(0x100);
    for (const BYTE value : {0x66, 0x77}) {
        CDualMessage sent;
        ASSERT_TRUE(mgr.GetManagerRequest(sent.request));
        EXPECT_EQ(Of(sent.request), (Request{31, Of(sent.request).second}));
        EXPECT_EQ(sent.request.Payload().size(), 7u + 32u + 1u);
        EXPECT_EQ(sent.request.Payload().back(), value);
        sent.reply.command = 31;
        mgr.PutResponse(sent);
    }
    EXPECT_EQ(Next(), (Request{0, {}}));

    // An answered write, and one whose loss is reported twice, are given back at most once.
    write(0x100);
    CDualMessage answered;
    ASSERT_TRUE(mgr.GetManagerRequest(answered.request));
    answered.reply.command = 31;
    mgr.PutResponse(answered);
    mgr.OnRequestDropped(answered.request);
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    ASSERT_TRUE(mgr.SetMemoryByte(0x103, 0xDD));
    write(0x100);
    CMessage lost;
    ASSERT_TRUE(mgr.GetManagerRequest(lost));
    mgr.OnRequestDropped(lost);
    mgr.OnRequestDropped(lost);
    EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kUnanswered));
    mgr.GetMemoryWriteBits().SetAll(FALSE);
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());

    // Refused, by a NAK or with exclusive control lost, a write comes back at once as refused,
    // and so is no longer out for the exit to wait on.
    for (const BYTE value : {0x88, 0x89}) {
        ASSERT_TRUE(mgr.SetMemoryByte(0x108, value));
        write(0x100);
        CDualMessage refused;
        ASSERT_TRUE(mgr.GetManagerRequest(refused.request));
        refused.reply.command = 31;
        (value == 0x88 ? refused.reply.nak : refused.reply.ctrl) = TRUE;
        mgr.PutResponse(refused);
        EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kRefused));
        EXPECT_EQ(mgr.GetMemoryWriteValues()[8], value);
        mgr.GetMemoryWriteBits().SetAll(FALSE);
    }

    // Writes come back with each byte as the user last set it, whatever order they came back
    // in: one dropped while an older one is out waits for it, and the two come back as one,
    // told as possibly written.
    for (const BYTE value : {0x91, 0x92}) {
        ASSERT_TRUE(mgr.SetMemoryByte(0x109, value));
        write(0x100);
    }
    CMessage older;
    ASSERT_TRUE(mgr.GetManagerRequest(older));
    mgr.ClearPendingRequests();
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    mgr.OnRequestDropped(older);
    EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kUnanswered));
    EXPECT_EQ(mgr.GetMemoryWriteValues()[9], 0x92);
    mgr.GetMemoryWriteBits().SetAll(FALSE);
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    // A newer write answered settles the bytes it set: an older one lost before offers only
    // its others, and none while the newer is still out.
    ASSERT_TRUE(mgr.SetMemoryByte(0x109, 0x93));
    ASSERT_TRUE(mgr.SetMemoryByte(0x10A, 0xA3));
    write(0x100);
    ASSERT_TRUE(mgr.SetMemoryByte(0x109, 0x94));
    write(0x100);
    EXPECT_EQ(Lost().first, 31u);
    CDualMessage newer;
    ASSERT_TRUE(mgr.GetManagerRequest(newer.request));
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    newer.reply.command = 31;
    mgr.PutResponse(newer);
    EXPECT_EQ(Back(), std::pair(0x100u, WriteBack::kUnanswered));
    EXPECT_EQ(mgr.GetMemoryWriteBits().GetCount(), 1u);
    EXPECT_EQ(mgr.GetMemoryWriteValues()[10], 0xA3);
    mgr.GetMemoryWriteBits().SetAll(FALSE);

    // Cut off by closing the link, the write in flight and one queued come back, the one in
    // flight as unanswered (it may have run), the queued one as never gone, and it never goes;
    // one dropped before, made after the one in flight, comes back between them.
    for (const DWORD address : {0x104u, 0x105u, 0x106u}) {
        ASSERT_TRUE(mgr.SetMemoryByte(address, 0xEE));
        write(0x100);
        if (address == 0x104u) {
            ASSERT_EQ(Next().first, 31u);
        } else if (address == 0x105u) {
            mgr.ClearPendingRequests();
        }
    }
    mgr.Disconnect();
    EXPECT_EQ(Next(), (Request{0, {}}));
    // Once the exit waits for the writes, they stay for its report, in the order made.
    EXPECT_TRUE(mgr.WaitForMemoryWrites());
    EXPECT_FALSE(mgr.TakeBackUnwrittenMemory());
    const auto left = mgr.ForgetUnwrittenMemory();
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].why, WriteBack::kUnanswered);
    EXPECT_EQ(left[1].why, WriteBack::kUnsent);
    EXPECT_EQ(left[2].why, WriteBack::kUnsent);
}

TEST_F(DataMgrTest, CommandLinesAndTheirHistory) {
    const CLinkSession s = Up();
    CRecordingList list;
    EXPECT_FALSE(mgr.SendClpCommand(s, CString(std::u16string(2001, u'x'))));
    EXPECT_EQ(mgr.GetClpHistoryCount(), 0);
    EXPECT_TRUE(mgr.SendClpCommand(s, CString(std::u16string(2000, u'y'))));
    EXPECT_EQ(Next(), (Request{45, Bytes(2000, 'y')}));
    EXPECT_TRUE(mgr.SendClpCommand(s, u"STAT \u00e9"));
    mgr.AppendClpHistory(u"OK", 0x123);
    EXPECT_EQ(Next(), (Request{45, {'S', 'T', 'A', 'T', ' ', 0xE9}}));
    mgr.FillClpHistory(&list);
    ASSERT_EQ(list.m_rows.size(), 4u);
    EXPECT_EQ(list.m_rows[1].text, CString(u"STAT \u00e9"));
    EXPECT_EQ(list.m_rows[2].data, 0x123);
    EXPECT_EQ(list.m_rows[3].text, CString());
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
    const CLinkSession s = Up();
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

    // The SNMP record read is the answer, unless it fails its CRC: then the wait fails at once.
    CKelvardinDoc doc;
    const auto answered = [&](const Bytes& record) {
        pump.onPump = [&, record] {
            CDualMessage pair;
            pair.request.command = pair.reply.command = kCmdSNMPConfig;
            pair.reply.SetPayload(record);
            mgr.PutResponse(pair);
            mgr.OnResponse(&doc);
        };
        return mgr.RequestMiscAndWait(27, 5);
    };
    Bytes record(CSNMPConfig::kRecordSize);
    CSNMPConfig().Encode(record.data(), FALSE);
    EXPECT_TRUE(answered(record));
    record[10] ^= 1;
    EXPECT_FALSE(answered(record));

    // The SNMP record goes out as it stood when marked, and counts as sent.
    CSNMPConfig& snmp = app.GetSnmpConfig();
    snmp.SetName(u"north", TRUE);
    pump.onPump = [&] { mgr.EndMiscWait(28); };
    EXPECT_EQ(mgr.WriteSnmpAndWait(s, 5), CCVDataMgr::WaitResult::kAnswered);
    EXPECT_FALSE(snmp.IsModified());
    snmp.SetName(u"south", TRUE);
    Bytes expected(CSNMPConfig::kRecordSize);
    CSNMPConfig sent;
    sent.SetName(u"north", TRUE);
    sent.Encode(expected.data(), TRUE);
    mgr.GoOnline();
    EXPECT_EQ(Next(), (Request{66, {}}));
    EXPECT_EQ(Next(), (Request{67, expected}));

    // A write whose wait ran out is told of by the dialog alone: given up before the wait
    // ended or after it, or left queued and dropped with its controller below.
    using W = CCVDataMgr::WaitResult;
    pump.onPump = [&] { EXPECT_EQ(Lost().first, kCmdSetSNMPConfig); };
    EXPECT_EQ(mgr.WriteSnmpAndWait(s, 5), W::kTimedOut);
    CMessage inFlight;
    pump.onPump = [&] { EXPECT_TRUE(mgr.GetManagerRequest(inFlight)); };
    EXPECT_EQ(mgr.WriteSnmpAndWait(s, 5), W::kTimedOut);
    mgr.OnRequestDropped(inFlight);
    EXPECT_EQ(mgr.TakeUndone(), std::vector<CUndoneCommand>{});
    pump.onPump = nullptr;
    EXPECT_EQ(mgr.WriteSnmpAndWait(s, 5), W::kTimedOut);
    pump.onPump = [&] { mgr.EndMiscWait(28); };

    // Another controller took the place of the one read from: nothing is written to it, and
    // the user is told.
    doc.ResetToDefaultSetup();
    TakeStatus(StatusRecord(40), doc);
    ASSERT_EQ(app.GetConfig().m_wNumTrunks, 40);
    EXPECT_EQ(mgr.TakeUndone(), std::vector<CUndoneCommand>{});
    EXPECT_EQ(mgr.WriteSnmpAndWait(s, 5), CCVDataMgr::WaitResult::kNotSent);
    EXPECT_EQ(mgr.TakeUndone(), std::vector<CUndoneCommand>{CUndoneCommand::kSnmpConfig});
    for (Request r = Next(); r.first != 0; r = Next())
        EXPECT_NE(r.first, kCmdSetSNMPConfig);
    EXPECT_EQ(mgr.WriteSnmpAndWait(CLinkSession::Now(), 5), CCVDataMgr::WaitResult::kAnswered);
}

}  // namespace

// The engine builds requests while the user-interface thread takes the first status in.
class CBuildDuringReset : public CRecordingViews {
public:
    std::function<void()> onReset;
    void BeginWaitCursor() override {
        CRecordingViews::BeginWaitCursor();
        if (onReset) std::exchange(onReset, nullptr)();
    }
};

TEST_F(DataMgrTest, TheFirstStatusOfALogTokenControllerAsksForTheLogDirection) {
    Up();
    CCVConfig& c = app.GetConfig();
    c.m_dwCapabilities = 0;  // as known before this controller answered
    c.m_wNumTrunks = 8;
    c.m_wNumIntercoms = 12;
    c.m_wNumGroups = 4;
    app.m_nRequestLogging = 1;
    app.SetMode(CAppState::kModeConnecting);
    CKelvardinDoc doc;
    CBuildDuringReset views;
    doc.SetViews(&views);
    std::vector<DWORD> sent;
    views.onReset = [&] { sent.push_back(Next().first); };

    Bytes record(26, 0);
    record[0] = BYTE(c.m_wFlags);
    record[1] = 12;
    record[3] = 8;
    record[10] = 4;
    record[22] = 0x80;  // the log token
    TakeStatus(record, doc);
    ASSERT_EQ(sent.size(), 1u);  // the setup was reset for the new controller
    EXPECT_EQ(app.GetMode(), CAppState::kModeOnline);
    for (DWORD code = Next().first; code != 0 && sent.size() < 200; code = Next().first)
        sent.push_back(code);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), kCmdTakeLogDirection), 1);
}

TEST_F(DataMgrTest, ClearedAllocationsAndTrunkModesTellTheScreens) {
    app.SetMode(CAppState::kModeOnline);
    CKelvardinDoc doc;
    CRecordingViews views;
    doc.SetViews(&views);
    for (DWORD code : {kCmdClearAllocations, kCmdClearAllocationsEx, kCmdTrunkMode}) {
        views.m_updates.clear();
        CDualMessage pair;
        pair.request.command = pair.reply.command = code;
        pair.request.SetPayload(Bytes{0, 2, 2});
        mgr.PutResponse(pair);
        mgr.OnResponse(&doc);
        EXPECT_EQ(views.m_updates,
                  (std::vector<CRecordingViews::Update>{{false, CUpdateHint::Reply(code), 0}}))
            << code;
    }
}

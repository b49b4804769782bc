#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <thread>

#include "link/cv_data_send_all.h"
#include "link/maint_mode_send_all.h"
#include "link/wire_assign.h"
#include "model/kelvardin_doc.h"
#include "tests/link/link_fixture.h"
#include "tests/sim/sim_handlers.h"
#include "tests/support/recording_views.h"

namespace {

// An extended controller with Ethernet to the intercoms, cascade costs and trunk supervision:
// every kind of data that a send carries.
SimSetup Controller() {
    SimSetup s;
    s.flags = 0x04 | 0x08 | 0x10;
    s.capabilities = 0x08000000 | 0x00020000 | 0x00010000;
    s.trunks = 40;
    s.intercoms = 12;
    s.groups = 6;
    s.names[2] = {"AB", "ABCDEF", "ABCDEFGH", ""};
    s.alphas[{1, 0}] = {"P1", "P2", "P3"};
    return s;
}

// An extended controller with 40 intercoms (so groups use code 84), Ethernet to the
// intercoms, cascade costs and IFBSL alphas; two alpha lists that are not empty, one of them
// longer than a page.
SimSetup UploadSetup() {
    SimSetup s;
    s.capabilities = 0x08000000 | 0x00020000 | 0x01000000 | 0x00010000;
    s.trunks = 120;
    s.intercoms = 40;
    s.groups = 25;
    s.names[2] = {"AB", "ABCDEF", "ABCDEFGH", "WIDE NAME"};
    s.alphas[{0, 0}] = std::vector<std::string>(130, "A1");
    s.alphas[{3, 8}] = std::vector<std::string>(5, "IF");
    return s;
}

using Request = std::pair<unsigned, std::vector<std::uint8_t>>;

// What an upload of that setup with its names and alphas asks for, sorted.
std::vector<Request> ExpectedUpload() {
    std::vector<Request> out = {
        {8, {0, 0, 0, 50}},
        {8, {0, 50, 0, 50}},
        {8, {0, 100, 0, 20}},
        {68, {0, 40}},
        {70, {0, 0, 40}},
        {70, {1, 0, 40}},
        {81, {0, 0, 0, 40}},
        {15, {0, 40}},
        {27, {0, 40}},
        {11, {}},
        {46, {}},
        {48, {}},
        {50, {}},
        {84, {0, 20}},
        {84, {20, 5}},
    };
    for (std::uint8_t format = 1; format <= 4; ++format)
        out.push_back({5, {0, 0x70, 0, std::uint8_t(format << 4), 40}});
    for (std::uint8_t type : {0, 1, 2, 3, 4, 5, 6, 8}) {
        for (std::uint8_t icom = 0; icom < 40; ++icom)
            out.push_back({5, {icom, std::uint8_t(type << 4), 0, 0x10, 128}});
    }
    out.push_back({5, {0, 0x00, 128, 0x10, 128}});  // the second page of the long list
    std::sort(out.begin(), out.end());
    return out;
}

bool IsPoll(const SimFrame& f) {
    return f.command == kCmdNetworkControl && f.payload == std::vector<std::uint8_t>{kPresencePoll};
}

std::uint32_t U32(const std::vector<std::uint8_t>& b) {
    return std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | b[2] << 8 | b[3];
}

// The client's setup against the controller's, field by field.
void ExpectSameSetup(const CKelvardinDoc& doc, const SimSetup& c) {
    for (int t = 0; t < c.trunks; ++t) {
        std::vector<BYTE> record = c.Record(8, t, 13);
        CPayloadReader in(record);
        for (BOOL end1 : {TRUE, FALSE})
            EXPECT_EQ(doc.GetTrunkEnd(t, end1), ReadWireAssign(in)) << "trunk " << t;
        for (BOOL first : {TRUE, FALSE})
            EXPECT_EQ(doc.GetTrunkFixedAssign(t, first), ReadWireAssign(in)) << "trunk " << t;
        const BYTE flags = in.U8();
        EXPECT_EQ(doc.GetTrunkFixed(t), flags & 1) << "trunk " << t;
        EXPECT_EQ(doc.GetTrunkCascadable(t), (flags >> 1) & 1) << "trunk " << t;
    }
    for (int i = 0; i < c.intercoms; ++i) {
        EXPECT_EQ(doc.GetIcomBaudRate(i), c.Record(15, i, 1)[0]) << i;
        EXPECT_EQ(doc.GetIcomComPort(i), c.Record(27, i, 1)[0]) << i;
        EXPECT_EQ(doc.GetIcomConnType(i), c.Record(68, i, 1)[0]) << i;
        EXPECT_EQ(doc.GetIcomPrimaryAddress(i), U32(c.Record(70, i, 4))) << i;
        EXPECT_EQ(doc.GetIcomBackupAddress(i), U32(c.Record(SimSetup::RecordKey(70, 1), i, 4)));
        const auto cost = c.Record(81, i, 2);
        EXPECT_EQ(doc.GetIcomCascadeCost(i), cost[0] << 8 | cost[1]) << i;
        auto name = c.names.find(i);
        if (name != c.names.end()) {
            EXPECT_EQ(ToUtf8(doc.GetIcomText(i, 4, TRUE, FALSE).str()), name->second[0]);
        }
    }
    std::size_t alphas = 0;
    for (const auto& [list, labels] : c.alphas) {
        alphas += labels.size();
        const BYTE index = static_cast<BYTE>(AlphaTypeToIndex(static_cast<int>(list.second)));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const CAlpha* alpha = doc.FindAlpha(
                CAssign(static_cast<BYTE>(list.first), index, static_cast<WORD>(i)).GetKey());
            ASSERT_NE(alpha, nullptr) << list.first << " " << i;
            EXPECT_EQ(ToUtf8(alpha->GetLabel().str()),
                      (labels[i] + std::string(8, ' ')).substr(0, 8));
        }
    }
    EXPECT_EQ(doc.GetAlphas().size(), alphas);
    for (int g = 0; g < c.groups; ++g) {
        const auto record = c.Record(32, g, 16);
        const std::uint32_t mask = U32({record.begin() + 12, record.end()}) >> 1;
        for (int i = 0; i < c.intercoms; ++i)
            EXPECT_EQ(doc.IsGroupMember(g, i), (mask >> i) & 1) << "group " << g << " " << i;
    }
    const auto timeout = c.Record(11, 0, 2);
    auto option = [&](unsigned code, std::uint8_t made) {
        auto it = c.records.find({code, 0});
        return it == c.records.end() ? made : it->second[0];
    };
    EXPECT_EQ(doc.GetAllocationTimeout(),
              c.records.count({11, 0}) ? DWORD(timeout[0] << 8 | timeout[1]) : 5u);
    EXPECT_EQ(doc.GetAutoClearAllocations(), option(46, 1));
    EXPECT_EQ(doc.GetWaitForTalkKeyMode(), option(50, 1));
}

template <class Transport>
class EndToEnd : public Transport {
protected:
    EndToEnd() {
        this->sim.ChangeState([](CorvaneState& s) { s.UseSetup(Controller()); });
        doc.SetViews(&views);
        doc.ResetToDefaultSetup();
        mgr.SetTiming(this->timing);
        mgr.SetDialogs(&this->dialogs);
        mgr.SetUdpTarget(this->device.IsNetwork());
        mgr.SetMessagePump(&win);
        win.SetDocument(&doc);
        this->app.SetMode(CAppState::kModeConnecting);
    }
    ~EndToEnd() override { mgr.Disconnect(); }

    // Connects the data manager instead of the fixture's device.
    void GoOnline() {
        ASSERT_NO_FATAL_FAILURE(this->ConnectWith(mgr, win));
        ASSERT_TRUE(Pump([&] { return this->app.GetMode() == CAppState::kModeOnline; }));
    }
    bool Pump(const std::function<bool()>& done) { return win.PumpUntil(done, kPatience); }
    // Every request handed out has had its reply handled.
    bool Settle() {
        return Pump([&] { return mgr.GetPendingTotal() == 0 && !mgr.IsUploading(); }) &&
               (win.PumpFor(300ms), true);
    }
    bool Upload() {
        mgr.StartUpload();
        return Settle();
    }
    int Hints(DWORD code) const {
        return static_cast<int>(std::count_if(views.m_updates.begin(), views.m_updates.end(),
                                              [&](const auto& u) { return u.hint.IsReply(code); }));
    }
    // Runs a send to its end; the window clears the change flags as the main window does.
    bool Send(std::unique_ptr<CSendAll> source) {
        const int done = win.Count(WM_LINK_SEND_DONE);
        const int failed = win.Count(WM_LINK_SEND_FAILED);
        const int naks = win.Count(WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_NAK));
        if (!mgr.StartSendAll(CLinkSession::Now(), std::move(source))) return false;
        if (!Pump([&] {
                return win.Count(WM_LINK_SEND_DONE) > done ||
                       win.Count(WM_LINK_SEND_FAILED) > failed;
            }))
            return false;
        // A refusal may be handled after the end of the send has been posted.
        win.PumpFor(300ms);
        // The window's own abort after a NAK is a failure too.
        const bool ok = win.Count(WM_LINK_SEND_FAILED) == failed &&
                        win.Count(WM_LINK_ERROR, static_cast<WPARAM>(LINK_ERROR_NAK)) == naks;
        if (ok && mgr.SendClearsChanges()) doc.ClearAllChanges();
        return ok;
    }
    std::unique_ptr<CSendAll> Changes() {
        return std::make_unique<CCVDataSendAll>([this] { return &doc; });
    }
    // One edit in every kind of data that a send carries.
    void EditEverything() {
        doc.SetTrunkEnd(CAssign(2, 1, 77), TRUE, TRUE, 3);
        doc.SetTrunkCascadable(!doc.GetTrunkCascadable(5), TRUE, 5);
        doc.SetTrunkFixedAssign(CAssign(4, 0, 12), FALSE, TRUE, 30);
        doc.SetTrunkFixed(TRUE, TRUE, 30);
        doc.SetIcomNameFromController(2, 4, u"NEWN", TRUE);
        doc.SetIcomBaudRate(2, TRUE, 1);
        doc.SetIcomComPort(9, TRUE, 2);
        doc.SetIcomConnType(1, TRUE, 3);
        doc.SetIcomPrimaryIP(0x0A000001, TRUE, 4);
        doc.SetIcomBackupIP(0x0A000002, TRUE, 4);
        doc.SetIcomCascadeCost(700, TRUE, 5);
        doc.SetOptionTimeout(9, TRUE);
        doc.SetOptionAutoClear(FALSE, TRUE);
        doc.SetOptionWaitForTalkKey(FALSE, TRUE);
        doc.SetGroupMember(1, 7, !doc.IsGroupMember(1, 7));
    }

    // The controller changes size as it takes the send's first request, and the clock moves on
    // so that a presence poll, which reads the change, comes next. The window handles nothing
    // from the start of the queued requests until a request after that first one, polls left
    // out, has come: only the link itself can keep the send from the changed controller.
    void SendToAControllerThatChanges() {
        auto now = std::make_shared<std::atomic<DWORD>>(0);
        this->timing.clock = [now] { return now->load(); };
        // A reply late on a loaded machine would end the send for a lost link instead.
        this->timing.udpReadTimeoutMs = this->timing.serialByteTimeoutMs = 2000;
        mgr.SetTiming(this->timing);
        ASSERT_NO_FATAL_FAILURE(GoOnline());
        ASSERT_TRUE(Settle());
        const DWORD trunks = this->app.GetConfig().m_wNumTrunks;
        const DWORD interval = this->timing.pollIntervalMs;
        this->sim.SetHandler(kCmdSetTrunkDefs,
                             [now, interval](CorvaneState& state, const SimFrame& request) {
                                 if (state.setRequests.empty()) {
                                     state.setup.trunks -= 8;
                                     state.status = state.setup.Status();
                                     *now += interval + 1;
                                 }
                                 return SimDefaultHandlers().at(kCmdSetTrunkDefs)(state, request);
                             });
        this->sim.ChangeState([](CorvaneState& s) { s.setRequests.clear(); });
        EditEverything();
        const std::size_t before = this->sim.Requests().size();
        const auto afterFirstSet = [&](const std::vector<SimFrame>& frames) {
            std::vector<unsigned> out;
            auto f = std::find_if(
                frames.begin() + static_cast<std::ptrdiff_t>(before), frames.end(),
                [](const SimFrame& frame) { return frame.command == kCmdSetTrunkDefs; });
            for (; f != frames.end(); ++f)
                if (f->command != kCmdNetworkControl) out.push_back(f->command);
            return out;
        };

        ASSERT_TRUE(mgr.StartSendAll(CLinkSession::Now(), Changes()));
        // The queue is filled and going out; the link may have gone on from there already.
        ASSERT_TRUE(Pump([&] { return mgr.GetLinkState() >= kLinkSendQueue; }));
        ASSERT_TRUE(this->sim.WaitForRequests(
            [&](const std::vector<SimFrame>& frames) { return afterFirstSet(frames).size() > 1; },
            kPatience));
        EXPECT_EQ(afterFirstSet(this->sim.Requests()),
                  (std::vector<unsigned>{kCmdSetTrunkDefs, kCmdReleaseControl}));

        // The send ends once, as failed for the change; the setup becomes the new controller's.
        ASSERT_TRUE(Pump([&] {
            return mgr.GetLinkState() == kLinkUp && !mgr.IsSendRunning() &&
                   this->app.GetConfig().m_wNumTrunks == trunks - 8;
        }));
        win.PumpFor(300ms);
        EXPECT_EQ(win.Values(WM_LINK_SEND_FAILED), std::vector<int>{kSendControllerChanged});
        this->sim.ChangeState([](CorvaneState& s) {
            EXPECT_EQ(s.setRequests.size(), 1u);
            EXPECT_EQ(s.commits, 0);
            EXPECT_EQ(s.releases, 1);
        });
        EXPECT_EQ(this->sim.Setup().names.at(2)[0], "AB");
        EXPECT_TRUE(mgr.IsOnline());
    }

    CKelvardinDoc doc;
    CRecordingViews views;
    CCVDataMgr mgr;
    CLinkTestWindow win{mgr};
};

class UdpEndToEnd : public EndToEnd<UdpLinkTest> {};
class SerialEndToEnd : public EndToEnd<SerialLinkTest> {};

TEST_F(UdpEndToEnd, GoesOnlineUploadsAndSendsEveryKindOfChange) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    EXPECT_TRUE(mgr.IsOnline());
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, 40);
    EXPECT_EQ(Hints(kCmdStatus), 1);
    ASSERT_TRUE(Settle());
    // Names and alphas came with the link.
    EXPECT_EQ(doc.GetIcomText(2, 4, TRUE, FALSE), CString(u"AB"));
    EXPECT_EQ(doc.GetAlphas().size(), 3u);

    ASSERT_TRUE(Upload());
    ExpectSameSetup(doc, sim.Setup());
    EXPECT_FALSE(doc.HasModifications());

    // A poll takes what changed, with one hint, and leaves an unsent edit alone.
    sim.ChangeState([](CorvaneState& s) { s.setup.records[{11, 0}] = {0, 42}; });
    doc.SetOptionWaitForTalkKey(FALSE, TRUE);
    views.m_updates.clear();
    mgr.RefreshOptions();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(doc.GetAllocationTimeout(), 42u);
    EXPECT_EQ(Hints(11), 1);
    EXPECT_EQ(Hints(46), 0);
    EXPECT_FALSE(doc.GetWaitForTalkKeyMode());
    EXPECT_TRUE(doc.IsWaitForTalkKeyModified());

    EditEverything();
    ASSERT_TRUE(Send(Changes()));
    EXPECT_TRUE(mgr.SendClearsChanges());
    EXPECT_FALSE(doc.HasModifications());
    ExpectSameSetup(doc, sim.Setup());
    EXPECT_EQ(sim.Setup().names.at(2)[0], "NEWN");

    // A maintenance-mode send leaves the setup's unsent edits marked.
    doc.SetIcomBaudRate(3, TRUE, 6);
    mgr.SendMaintMode(CLinkSession::Now(), 8);
    ASSERT_TRUE(Send(std::make_unique<CMaintModeSendAll>(mgr)));
    EXPECT_FALSE(mgr.SendClearsChanges());
    EXPECT_EQ(sim.Setup().trunkModes.at(8), 2);  // maintenance
    EXPECT_TRUE(doc.IsIcomBaudRateModified(6));
}

TEST_F(UdpEndToEnd, NoRequestOfASendGoesToAControllerWhoseStatusShowedAChange) {
    SendToAControllerThatChanges();
}

TEST_F(UdpEndToEnd, AnUploadAsksForExactlyTheSetupAndPagesTheAlphaListsToTheirEnd) {
    sim.ChangeState([](CorvaneState& s) { s.UseSetup(UploadSetup()); });
    app.m_bIncludeAlphasInSetupFiles = TRUE;
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    // A one-shot query waits for its reply with the window running.
    EXPECT_TRUE(mgr.RequestMiscAndWait(CMiscRequestMgr::kLoggingState, 20));
    const std::size_t before = sim.Requests().size();
    ASSERT_TRUE(Upload());
    std::vector<Request> asked;
    for (const SimFrame& f : After(sim.Requests(), before))
        if (f.command != kCmdNetworkControl) asked.push_back({f.command, f.payload});
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, ExpectedUpload());
    EXPECT_EQ(doc.GetAlphas().size(), 135u);
}

// A reply shorter than its request asked for is counted and asked for again, so that the setup
// holds only what the controller said; one that never comes right ends the upload as failed.
TEST_F(UdpEndToEnd, AShortReplyIsCountedAndAskedForAgainWithinTheBound) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    const int misc = mgr.GetEngineCounter(CLinkEngine::kMisc);
    std::size_t before = sim.Requests().size();
    sim.ScriptReply(kCmdIcomBaud, {1, 2, 3});
    ASSERT_TRUE(Upload());
    EXPECT_EQ(CountCommand(After(sim.Requests(), before), kCmdIcomBaud), 2);
    EXPECT_EQ(mgr.GetEngineCounter(CLinkEngine::kMisc), misc + 1);
    ExpectSameSetup(doc, sim.Setup());

    before = sim.Requests().size();
    for (int i = 0; i <= CLostRequests::kRetries; ++i)
        sim.ScriptReply(kCmdIcomPort, {1});
    mgr.StartUpload();
    ASSERT_TRUE(Pump([&] {
        return win.Count(WM_LINK_UPLOAD_PROGRESS, static_cast<WPARAM>(LINK_UPLOAD_LOST)) == 1;
    }));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(CountCommand(After(sim.Requests(), before), kCmdIcomPort),
              1 + CLostRequests::kRetries);
    EXPECT_EQ(mgr.GetEngineCounter(CLinkEngine::kMisc), misc + 2 + CLostRequests::kRetries);
}

// A controller that lost intercoms under the session answers the requests for them short. Its
// status is asked for before anything is asked again, and shows the change: none of the old
// controller's requests goes out again.
TEST_F(UdpEndToEnd, RepliesThatStopFittingAskForTheStatusBeforeAnythingMore) {
    // The clock stands still, and an idle engine waits long: no presence poll comes unasked.
    timing.clock = [] { return DWORD{0}; };
    timing.engineWaitMs = 10000;
    mgr.SetTiming(timing);
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    const int intercoms = app.GetConfig().m_wNumIntercoms;
    sim.ChangeState([](CorvaneState& s) {
        s.setup.intercoms -= 4;
        s.status = s.setup.Status();
    });
    const std::size_t before = sim.Requests().size();
    mgr.RefreshIcomErrors();
    ASSERT_TRUE(Pump([&] { return app.GetConfig().m_wNumIntercoms == intercoms - 4; }));
    ASSERT_TRUE(Settle());
    const std::vector<SimFrame> frames = After(sim.Requests(), before);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_TRUE(IsPoll(frames[1]));
    EXPECT_EQ(CountCommand(frames, kCmdCommErrors), 1);
}

// While the window is behind with the replies, the link asks for no more data: what the user
// asks for next waits behind a few replies, not behind a whole upload.
TEST_F(UdpEndToEnd, TheLinkAsksNoFurtherThanTheWindowKeepsUpWith) {
    constexpr std::size_t kAheadAtMost = 16 + 4;  // the bound, a poll and the request in flight
    sim.ChangeState([](CorvaneState& s) { s.UseSetup(UploadSetup()); });
    app.m_bIncludeAlphasInSetupFiles = TRUE;
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    std::size_t handled = sim.Requests().size();
    std::size_t ahead = 0;
    win.SetObserver([&](const CLinkTestWindow::Message& m) {
        if (m.message != WM_LINK_REPLIES) return;
        ahead = std::max(ahead, sim.Requests().size() - ++handled);
        // A window busy with each reply, as one with large screens is.
        std::this_thread::sleep_for(2ms);
    });
    ASSERT_TRUE(Upload());
    win.SetObserver(nullptr);
    EXPECT_LE(ahead, kAheadAtMost);
    EXPECT_EQ(doc.GetAlphas().size(), 135u);
}

TEST_F(UdpEndToEnd, RequestLogRecordsComeOnceLoggingIsSwitchedOn) {
    std::vector<std::string> lines;
    mgr.SetControllerLogWriter([&](const CString& line) {
        lines.push_back(ToUtf8(line));
        return TRUE;
    });
    app.m_nRequestLogging = 1;
    sim.ChangeState([](CorvaneState& s) { s.logRecords = {"R1", "R2", "R3"}; });
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(lines.empty());
    app.m_nLogging = 1;
    mgr.SetLogging(CLinkSession::Now(), 1);
    EXPECT_TRUE(Pump([&] { return lines.size() == 3; }));
    EXPECT_EQ(lines, (std::vector<std::string>{"R1", "R2", "R3"}));
}

TEST_F(UdpEndToEnd, FailedSendsKeepEveryChangeFlag) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    EditEverything();
    win.ScriptNakAnswers({-1});
    const std::vector<std::function<void()>> faults = {
        [&] { sim.InjectFault(SimFault::Ctrl, 1, 16u); },
        [&] { sim.ChangeState([](CorvaneState& s) { s.commitStatuses = {2}; }); },
        [&] { sim.InjectFault(SimFault::Nak, 5, 28u); },
        [&] { sim.InjectFault(SimFault::DropReply, 10, 9u); },
    };
    for (const auto& fault : faults) {
        sim.ChangeState([](CorvaneState& s) { s.commitStatuses.clear(); });
        fault();
        ASSERT_TRUE(Pump([&] { return mgr.GetLinkState() == kLinkUp; }));
        EXPECT_FALSE(Send(Changes()));
        EXPECT_TRUE(doc.IsTrunkEndModified(3, TRUE));
        EXPECT_TRUE(doc.IsIcomCostModified(5));
        EXPECT_TRUE(doc.IsAllocTimeoutModified());
        EXPECT_TRUE(doc.IsGroupModified(1));
    }
}

// On the network a spoilt reply ends the link: what the managers had in flight is asked for
// again, while a send fails and is started again by the user. A send that gets through applies
// each change once, a request sent again after a lost reply being answered, not applied.
class LossyEndToEnd : public UdpEndToEnd {
protected:
    LossyEndToEnd() {
        // Long replies: six ranges of trunk definitions and a full page of alphas.
        SimSetup setup = Controller();
        setup.trunks = 300;
        setup.groups = 20;
        setup.alphas[{3, 2}] = std::vector<std::string>(130, "LONG");
        sim.ChangeState([&](CorvaneState& s) { s.UseSetup(setup); });
        app.m_bIncludeAlphasInSetupFiles = TRUE;
        timing.udpReadTimeoutMs = 200;
        mgr.SetTiming(timing);
    }
    void UploadAndSend(double drops, double spoiltBytes) {
        sim.SetRandomFaults(drops, spoiltBytes);
        ASSERT_NO_FATAL_FAILURE(GoOnline());
        ASSERT_TRUE(Settle());
        ASSERT_TRUE(Upload());
        EXPECT_TRUE(LastUploadProgress() == 0);
        ExpectSameSetup(doc, sim.Setup());
        EXPECT_GT(mgr.GetEngineCounter(CLinkEngine::kTimeouts) +
                      mgr.GetEngineCounter(CLinkEngine::kChecksum) +
                      mgr.GetEngineCounter(CLinkEngine::kFraming),
                  4);

        EditEverything();
        const std::size_t before = sim.Setup().records.size();
        std::size_t applied = 0;
        bool sent = false;
        for (int attempt = 0; !sent && attempt < 10; ++attempt) {
            ASSERT_TRUE(Pump([&] { return mgr.GetLinkState() == kLinkUp; }));
            sim.ChangeState([&](CorvaneState& s) { applied = s.setRequests.size(); });
            sent = Send(Changes());
        }
        ASSERT_TRUE(sent);
        for (int reason : win.Values(WM_LINK_SEND_FAILED))
            EXPECT_EQ(reason, kSendLostLink);
        ExpectSameSetup(doc, sim.Setup());
        std::set<std::vector<std::uint8_t>> distinct;
        sim.ChangeState([&](CorvaneState& s) {
            for (auto f = s.setRequests.begin() + static_cast<std::ptrdiff_t>(applied);
                 f != s.setRequests.end(); ++f) {
                auto key = f->payload;
                key.insert(key.begin(), static_cast<std::uint8_t>(f->command));
                EXPECT_TRUE(distinct.insert(key).second) << "applied twice: " << f->command;
            }
        });
        EXPECT_GT(sim.Setup().records.size(), before);
    }
    int LastUploadProgress() const {
        int last = 1;
        for (const auto& m : win.Messages())
            if (m.message == WM_LINK_UPLOAD_PROGRESS) last = static_cast<int>(m.wParam);
        return last;
    }
};

TEST_F(LossyEndToEnd, TenPercentOfTheRepliesDropped) {
    UploadAndSend(0.10, 0);
}

TEST_F(LossyEndToEnd, OneByteInAThousandSpoilt) {
    UploadAndSend(0, 0.001);
}

// Long replies then practically never get through: the upload and a send end, failed or
// complete, and nothing is asked for again and again.
TEST_F(LossyEndToEnd, OneByteInAHundredSpoiltEndsWithinAMinute) {
    sim.SetRandomFaults(0, 0.01);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    auto left = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
    };
    ASSERT_NO_FATAL_FAILURE(this->ConnectWith(mgr, win));
    ASSERT_TRUE(win.PumpUntil([&] { return app.GetMode() == CAppState::kModeOnline; }, left()));
    mgr.StartUpload();
    ASSERT_TRUE(
        win.PumpUntil([&] { return !mgr.IsUploading() && mgr.GetPendingTotal() == 0; }, left()));
    EditEverything();
    const int ended = win.Count(WM_LINK_SEND_DONE) + win.Count(WM_LINK_SEND_FAILED);
    ASSERT_TRUE(win.PumpUntil([&] { return mgr.GetLinkState() == kLinkUp; }, left()));
    ASSERT_TRUE(mgr.StartSendAll(CLinkSession::Now(), Changes()));
    ASSERT_TRUE(win.PumpUntil(
        [&] {
            return win.Count(WM_LINK_SEND_DONE) + win.Count(WM_LINK_SEND_FAILED) > ended &&
                   mgr.GetPendingTotal() == 0;
        },
        left()));

    // Afterwards only the link's own requests go out.
    auto data = [&] {
        const auto frames = sim.Requests();
        return std::count_if(frames.begin(), frames.end(), [](const SimFrame& f) {
            return f.command != kCmdNetworkControl && f.command != kCmdOpenSession &&
                   f.command != kCmdStandbyAddress && f.command != kCmdCode21Text &&
                   f.command != kCmdComPortRange && f.command != kCmdReleaseControl;
        });
    };
    const auto asked = data();
    const int polls = CountCommand(sim.Requests(), kCmdNetworkControl);
    ASSERT_TRUE(win.PumpUntil(
        [&] { return CountCommand(sim.Requests(), kCmdNetworkControl) >= polls + 5; }, 60s));
    EXPECT_EQ(data(), asked);
}

TEST_F(SerialEndToEnd, NoRequestOfASendGoesToAControllerWhoseStatusShowedAChange) {
    SendToAControllerThatChanges();
}

TEST_F(SerialEndToEnd, UploadOverTheSerialPort) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    ASSERT_TRUE(Upload());
    ExpectSameSetup(doc, sim.Setup());
}

}  // namespace

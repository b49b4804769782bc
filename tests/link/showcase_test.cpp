#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "model/kelvardin_doc.h"
#include "model/obj_spec.h"
#include "tests/link/link_fixture.h"
#include "tests/sim/sim_server_options.h"
#include "tests/sim/sim_showcase_log.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/recording_views.h"

namespace {

constexpr DWORD kFirstSummaryField = 81;
constexpr DWORD kSummaryBlock = 255;

// The simulator's own setup, uploaded by the program's data manager over UDP: what the screens
// show a newcomer who tries the program with scripts/simulator.
class ShowcaseOnline : public UdpLinkTest {
protected:
    ShowcaseOnline() {
        options.intercoms = 40;  // more than 31: paged summaries and extended groups
        options.trunks = 700;
        options.groups = 14;
        options.logInterval = 0ms;  // once logging is on, a trunk request on every poll
        sim.ChangeState([&](CorvaneState& s) { s.UseSetup(MakeShowcaseSetup(options)); });
        InstallShowcaseHandlers(sim, options);
        doc.SetViews(&views);
        doc.ResetToDefaultSetup();
        mgr.SetTiming(timing);
        mgr.SetDialogs(&dialogs);
        mgr.SetUdpTarget(TRUE);
        mgr.SetMessagePump(&win);
        win.SetDocument(&doc);
        app.SetMode(CAppState::kModeConnecting);
    }
    ~ShowcaseOnline() override { mgr.Disconnect(); }

    void GoOnline() {
        ASSERT_NO_FATAL_FAILURE(ConnectWith(mgr, win));
        ASSERT_TRUE(Pump([&] { return app.GetMode() == CAppState::kModeOnline; }));
    }
    // The data manager's window, not the fixture's device's.
    bool Pump(const std::function<bool()>& done) { return win.PumpUntil(done, kPatience); }
    bool Settle() {
        return Pump([&] { return mgr.GetPendingTotal() == 0 && !mgr.IsUploading(); }) &&
               (win.PumpFor(300ms), true);
    }
    // Count k of item's summary towards icom, as the trunk summary screen shows it.
    DWORD Summary(int item, int icom, int k = CSummary::kTrunks) {
        const CString text = doc.GetObjectText(CObjSpec(
            CObjSpec::kIntercom, static_cast<DWORD>(item - 1),
            kFirstSummaryField + kSummaryBlock * static_cast<DWORD>(k) + static_cast<DWORD>(icom)));
        return text == CString(u"-") ? 0 : static_cast<DWORD>(std::stoul(ToUtf8(text.str())));
    }

    SimShowcaseOptions options;
    CKelvardinDoc doc;
    CRecordingViews views;
    CCVDataMgr mgr;
    CLinkTestWindow win{mgr};
};

TEST_F(ShowcaseOnline, NamedIntercomsAlphasGroupsAndSummariesThatAddUp) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    EXPECT_EQ(app.GetConfig().m_wNumIntercoms, 40);
    EXPECT_EQ(app.GetConfig().m_wNumTrunks, 700);

    // Every intercom named at every length, with alphas of every kind.
    const SimSetup setup = sim.Setup();
    std::size_t labels = 0;
    for (const auto& [list, texts] : setup.alphas)
        labels += texts.size();
    EXPECT_EQ(doc.GetAlphas().size(), labels);
    EXPECT_EQ(doc.GetIcomText(0, 8, TRUE, FALSE), CString(u"STUDIO A"));
    EXPECT_EQ(doc.GetIcomText(39, 4, TRUE, FALSE), CString(u"F040"));
    std::set<std::pair<DWORD, DWORD>> lists;
    for (const auto& [key, alpha] : doc.GetAlphas())
        lists.insert({key >> 24, key >> 16 & 0xFF});
    EXPECT_EQ(lists.size(), 40u * 8u);
    for (int i = 0; i < 40; ++i) {
        for (int length : {4, 6, 8, 16})
            EXPECT_FALSE(doc.GetIcomText(i, length, TRUE, FALSE).IsEmpty()) << i << " " << length;
    }

    ASSERT_TRUE((mgr.StartUpload(), Settle()));
    EXPECT_EQ(doc.GetGroupName(1, TRUE), CString(u"STUDIOS"));
    EXPECT_TRUE(doc.IsGroupMember(1, 11));
    EXPECT_FALSE(doc.IsGroupMember(1, 3));
    EXPECT_TRUE(doc.IsGroupMember(0, 39));

    // The controller's totals, and each intercom's counts towards the others, add up to the
    // trunks; the states split them as the trunk list shows them.
    for (int item = 0; item <= 40; ++item)
        mgr.RequestTrunkSummary(item);
    ASSERT_TRUE(Settle());
    DWORD ends = 0;
    std::array<DWORD, CSummary::kCountKinds> byKind{};
    for (int icom = 0; icom < 40; ++icom) {
        const DWORD total = Summary(0, icom);
        ends += total;
        for (int k = 0; k < CSummary::kCountKinds; ++k)
            byKind[static_cast<std::size_t>(k)] += Summary(0, icom, k);
        DWORD towards = 0;
        for (int far = 0; far < 40; ++far)
            towards += Summary(icom + 1, far);
        EXPECT_EQ(towards, total) << icom;
        EXPECT_GT(total, 0u) << icom;
    }
    EXPECT_EQ(ends, 2u * 700u);
    EXPECT_GT(byKind[CSummary::kAllocated], 0u);
    EXPECT_GT(byKind[CSummary::kInUse], 0u);
    EXPECT_GT(byKind[CSummary::kMaintenance], 0u);
    EXPECT_GT(byKind[CSummary::kOutOfService], 0u);
    mgr.RefreshTrunkStatus(-1);
    ASSERT_TRUE(Settle());
    DWORD maintenanceEnds = 0;
    for (int t = 0; t < 700; ++t)
        maintenanceEnds += doc.GetObjectText(CObjSpec(CObjSpec::kTrunk, static_cast<DWORD>(t),
                                                      2)) == CString(u"Maint")
                               ? 2
                               : 0;
    EXPECT_EQ(byKind[CSummary::kMaintenance], maintenanceEnds);

    // A trunk put into maintenance counts there at once.
    sim.ChangeState([](CorvaneState& s) { s.setup.trunkModes[0] = 2; });
    const SimTrunkCounts before = SimCountTrunks(sim.Setup(), 0, 0);
    mgr.RequestTrunkSummary(0);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Summary(0, 0, CSummary::kMaintenance), before.maintenance);
}

// The largest controller answers every intercom a request asks for, past 127 too.
TEST_F(ShowcaseOnline, TheLargestControllerAnswersForEveryIntercom) {
    options.intercoms = SimShowcaseOptions::kMaxIntercoms;
    options.trunks = 100;
    sim.ChangeState([&](CorvaneState& s) { s.UseSetup(MakeShowcaseSetup(options)); });
    InstallShowcaseHandlers(sim, options);
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    const SimSetup setup = sim.Setup();
    auto value = [&](unsigned code, int icom) { return int(setup.Record(code, icom, 1)[0]); };
    auto uploaded = [&] {
        for (int icom = 0; icom < options.intercoms; ++icom) {
            const int port = value(kCmdIcomPort, icom);
            if (doc.GetIcomBaudRate(icom) != value(kCmdIcomBaud, icom) ||
                doc.GetIcomComPort(icom) != (port == 255 ? -1 : port) ||
                doc.GetIcomConnType(icom) != value(kCmdIcomConn, icom))
                return false;
        }
        return true;
    };
    // The names and alphas of every intercom go on coming meanwhile.
    const std::size_t before = sim.Requests().size();
    mgr.StartUpload();
    ASSERT_TRUE(Pump(uploaded));
    const auto asked = After(sim.Requests(), before);
    for (DWORD code : {kCmdIcomBaud, kCmdIcomPort, kCmdIcomConn})
        EXPECT_EQ(CountCommand(asked, code), 1) << code;
    EXPECT_EQ(mgr.GetEngineCounter(CLinkEngine::kMisc), 0);
}

TEST_F(ShowcaseOnline, BothControllersReportTheirStatus) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    mgr.RequestStandbyStatus();
    mgr.RequestCVErrors();
    mgr.RequestStandbyErrors();
    ASSERT_TRUE(Settle());
    const CCVConfig& config = app.GetConfig();
    EXPECT_TRUE(config.m_commStat[0].m_ok);
    EXPECT_TRUE(config.m_commStat[1].m_ok);
    EXPECT_EQ(config.m_commErrs[1].m_errorsTo, 3);
}

// The first trunk of the setup whose state answers want.
int FindTrunk(const SimSetup& setup, const std::function<bool(std::uint8_t)>& want) {
    for (int t = 0; t < setup.trunks; ++t)
        if (want(setup.Record(14, t, 1)[0]) && setup.Record(8, t, 13)[12] != 0) return t;
    return -1;
}

// End 0 or 1 of a trunk as the controller's trunk definition holds it: intercom and port.
std::pair<int, int> EndOf(const SimSetup& setup, int trunk, int end) {
    const auto record = setup.Record(8, trunk, 13);
    const std::size_t at = end == 0 ? 0 : 3;
    return {record[at], (record[at + 1] << 8 | record[at + 2]) & 0xFFF};
}

std::pair<int, int> Seen(const CAssign& assign) {
    return {assign.m_icom, assign.m_number};
}

TEST_F(ShowcaseOnline, EachTrunkIsInspectedWithItsOwnEndsAndState) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    const SimSetup setup = sim.Setup();
    const int idle = FindTrunk(setup, [](std::uint8_t s) { return s == 0; });
    const int inUse = FindTrunk(setup, [](std::uint8_t s) { return s == kSimTrunkInUse; });
    ASSERT_GE(idle, 0);
    ASSERT_GE(inUse, 0);
    ASSERT_NE(EndOf(setup, idle, 0), EndOf(setup, inUse, 0));
    mgr.RequestTrunkInspect(idle);
    mgr.RequestTrunkInspect(inUse);
    ASSERT_TRUE(Settle());

    for (int t : {idle, inUse}) {
        const CInspect& inspect = doc.GetTrunkInspect(t);
        ASSERT_EQ(inspect.GetSideId(true), t);
        EXPECT_EQ(Seen(inspect.GetPair(true, true)), EndOf(setup, t, 0)) << t;
        EXPECT_EQ(Seen(inspect.GetPair(true, false)), EndOf(setup, t, 1)) << t;
    }

    // An idle trunk waits for nobody; one in use is cascaded and has requests at both ends.
    const CInspect& quiet = doc.GetTrunkInspect(idle);
    EXPECT_EQ(quiet.GetSideId(false), -1);
    EXPECT_EQ(quiet.GetEntryCount(true), 0u);
    EXPECT_EQ(quiet.GetEntryCount(false), 0u);
    const CInspect& busy = doc.GetTrunkInspect(inUse);
    const int cascade = (inUse + 1) % options.trunks;
    EXPECT_EQ(busy.GetSideId(false), cascade);
    EXPECT_EQ(Seen(busy.GetPair(false, true)), EndOf(setup, cascade, 0));
    ASSERT_GE(busy.GetEntryCount(true), 1u);
    ASSERT_GE(busy.GetEntryCount(false), 1u);
    EXPECT_EQ(busy.GetEntry(true, 0).m_icom, EndOf(setup, inUse, 0).first);
    EXPECT_EQ(busy.GetEntry(false, 0).m_icom, EndOf(setup, inUse, 1).first);
}

TEST_F(ShowcaseOnline, VersionNamesTheFirmwareOfBothControllers) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    mgr.RequestCode21();
    ASSERT_TRUE(Settle());
    const std::string text = ToUtf8(doc.GetCVVersionText().str());
    EXPECT_EQ(text.rfind("Active: Corvane trunking controller, firmware ", 0), 0u) << text;
    EXPECT_NE(text.find("\nStandby: Corvane trunking controller, firmware "), std::string::npos)
        << text;
}

// Where the viewer's default mask reads a record's fields, for a setup under 100 intercoms.
struct LoggedRequest {
    explicit LoggedRequest(const std::string& record)
        : asking(Field(record, 16, 2)),
          far(Field(record, 26, 3)),
          asked(Field(record, 36, 3)),
          given(Field(record, 40, 3)) {}
    static int Field(const std::string& record, std::size_t at, std::size_t width) {
        const std::string digits = record.substr(at, width);
        return digits.find_first_not_of("0123456789") == std::string::npos ? std::stoi(digits) : -1;
    }
    int asking, far, asked, given;
};

TEST_F(ShowcaseOnline, LoggingSwitchedOnBringsTheTrunkRequestsTheControllerLogged) {
    std::vector<std::string> lines;
    mgr.SetControllerLogWriter([&](const CString& line) {
        lines.push_back(ToUtf8(line));
        return TRUE;
    });
    app.m_nRequestLogging = 1;
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(lines.empty());
    mgr.RequestLogState();
    EXPECT_TRUE(Pump([&] { return mgr.GetControllerLogging() == 0; }));

    // Switched on, the controller says so and hands over what it held, then what it logs
    // as the polls go on.
    app.m_nLogging = 1;
    mgr.SetLogging(CLinkSession::Now(), 1);
    mgr.RequestLogState();
    EXPECT_TRUE(Pump([&] { return mgr.GetControllerLogging() == 1; }));
    EXPECT_TRUE(Pump([&] { return lines.size() >= 9; }));

    // Each record is a line of the day file; its trunk joins the two intercoms it names.
    const SimSetup setup = sim.Setup();
    std::set<int> trunks;
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 72u) << line;
        EXPECT_EQ(line.substr(70), "\r\n");
        EXPECT_GE(LoggedRequest::Field(line, 0, 6), 0) << line;  // date and time in digits
        EXPECT_GE(LoggedRequest::Field(line, 7, 8), 0) << line;
        const LoggedRequest r(line);
        ASSERT_GE(r.asked, 1) << line;
        ASSERT_LE(r.asked, 700) << line;
        trunks.insert(r.asked);
        const std::vector<std::uint8_t> ends = setup.Record(8, r.asked - 1, 13);
        EXPECT_EQ(std::minmax(r.asking, r.far), std::minmax(ends[0] + 1, ends[3] + 1)) << line;
        EXPECT_TRUE(r.given == r.asked || r.given == 0) << line;
        const std::string& name = setup.names.at(r.asking - 1)[0];
        EXPECT_EQ(line.substr(58, name.size()), name) << line;
    }
    EXPECT_GT(trunks.size(), 1u);

    mgr.SetLogging(CLinkSession::Now(), 0);
    mgr.RequestLogState();
    EXPECT_TRUE(Pump([&] { return mgr.GetControllerLogging() == 0; }));
}

TEST(SimServerOptions, SizesFeaturesAndTheirLimits) {
    auto parse = [](std::vector<std::string> args) { return ParseSimServerOptions(args); };
    const SimServerOptions defaults = parse({});
    EXPECT_EQ(defaults.port, 27410);
    EXPECT_TRUE(defaults.error.empty());
    EXPECT_TRUE(defaults.setup.standby && defaults.setup.outOfService);

    const SimServerOptions most = parse(
        {"--port", "28180", "--intercoms", "255", "--trunks", "10000", "--features", "oos,ifbsl"});
    EXPECT_TRUE(most.error.empty()) << most.error;
    EXPECT_EQ(most.port, 28180);
    EXPECT_EQ(most.setup.intercoms, 255);
    EXPECT_EQ(most.setup.trunks, 10000);
    EXPECT_TRUE(most.setup.outOfService && most.setup.ifbsl);
    EXPECT_FALSE(most.setup.standby || most.setup.unicode || most.setup.network);

    EXPECT_EQ(parse({"--intercoms", "256"}).error,
              "--intercoms takes a number from 1 to 255, not '256'");
    EXPECT_FALSE(parse({"--trunks", "10001"}).error.empty());
    EXPECT_FALSE(parse({"--trunks", "12x"}).error.empty());
    EXPECT_EQ(parse({"--port"}).error, "--port needs a value");
    EXPECT_EQ(parse({"--features", "oos,warp"}).error, "unknown feature 'warp'");
    EXPECT_EQ(parse({"--fast"}).error, "unknown option '--fast'");
    EXPECT_TRUE(parse({"--help"}).help);
    const std::string usage = SimServerUsage("simulator");
    for (const char* option : {"--port", "--intercoms", "--trunks", "--groups", "--features"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;

    // The largest setup is built whole: every trunk defined, every intercom named.
    const SimSetup largest = MakeShowcaseSetup(most.setup);
    EXPECT_EQ(largest.Status()[1], 255);
    EXPECT_EQ(largest.Status()[2] << 8 | largest.Status()[3], 10000);
    EXPECT_EQ(largest.names.size(), 255u);
    EXPECT_EQ(largest.records.count({8, 9999}), 1u);
    // From 100 intercoms on the log records take the wider places the viewer reads then.
    const std::string wide = SimLogRecord(largest, {std::chrono::system_clock::now(), 9999});
    ASSERT_EQ(wide.size(), 72u);
    EXPECT_EQ(wide.substr(38, 5) + wide.substr(44, 5), "1000010000") << wide;
    EXPECT_EQ(wide.substr(56, 5), "01 00") << wide;
}

}  // namespace

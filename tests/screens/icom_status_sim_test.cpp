#include "link/comm_udp.h"
#include "screens/icom_status_view.h"
#include "tests/link/link_fixture.h"
#include "tests/screens/screen_fixture.h"

namespace {

// The document's hints go to the one screen, as the main window passes them on.
class CScreenViews : public IDocViews {
public:
    void UpdateAllViews(CView* sender, LPARAM hint, LPARAM object) override {
        if (screen) screen->OnUpdate(sender, hint, reinterpret_cast<void*>(object));
    }
    void UpdateAllFrameViews(CView* sender, LPARAM hint, LPARAM object) override {
        UpdateAllViews(sender, hint, object);
    }
    CView* screen = nullptr;
};

// However the test ends, the link closes before what it talks to goes.
struct CLinkCloser {
    CCVDataMgr& mgr;
    CKelvardinDoc& doc;
    ~CLinkCloser() {
        mgr.Disconnect();
        doc.SetViews(nullptr);
    }
};

using IcomStatusSimTest = ScreenTest;

TEST_F(IcomStatusSimTest, ShowsTheControllersCountersAndStatusAndClearsTheErrors) {
    // An extended controller with enhanced status and 5 intercoms whose links count errors;
    // clearing an intercom's errors zeroes its counters.
    CSimController sim{true};
    CSimUdpLink peer{sim};
    SimSetup setup;
    setup.flags = CCVConfig::kNewCorvane | CCVConfig::kEnhancedStatus;
    setup.capabilities = 0;
    setup.intercoms = 5;
    for (std::uint8_t i = 0; i < 5; ++i)
        setup.records[{19, i}] = {i, 0, static_cast<std::uint8_t>(2 * i), 1};
    sim.ChangeState([&](CorvaneState& s) { s.UseSetup(setup); });
    sim.SetHandler(20, [](CorvaneState& s, const SimFrame& request) {
        if (request.payload.size() == 3) s.setup.records[{19, request.payload[1]}] = {0, 0, 0, 0};
        return std::optional<SimFrame>(SimReplyTo(request));
    });

    CCVDataMgr& mgr = host.dataMgr;
    CTestDialogs dialogs;
    CLinkTestWindow win{mgr};
    mgr.SetTiming(FastTiming());
    mgr.SetDialogs(&dialogs);
    mgr.SetUdpTarget(TRUE);
    win.SetDocument(&m_doc);
    CScreenViews views;
    m_doc.SetViews(&views);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    CIcomStatusView screen(host);
    screen.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20100);
    host.current = views.screen = &screen;
    screen.OnInitialUpdate();
    EXPECT_EQ(screen.GetGrid()->GetColumnCount(), 7);  // the default controller's
    const CLinkCloser closer{mgr, m_doc};

    // The controller's configuration rebuilds the grid; the screen's polls bring its data.
    auto comm = std::make_unique<CCommUDP>(&win, peer.Port());
    comm->SetReadTimeout(FastTiming().udpReadTimeoutMs);
    CString error;
    ASSERT_TRUE(comm->Open(u"127.0.0.1", error));
    m_app.SetMode(CAppState::kModeConnecting);
    ASSERT_TRUE(mgr.Connect(std::move(comm), &win, TRUE));
    const auto pump = [&](const std::function<bool()>& done) {
        return win.PumpUntil(done, kPatience);
    };
    ASSERT_TRUE(pump([&] { return m_app.GetMode() == CAppState::kModeOnline; }));
    ASSERT_EQ(screen.GetGrid()->GetRowCount(), 6);
    ASSERT_EQ(screen.GetGrid()->GetColumnCount(), 11);
    const auto column = [&](int col) {
        std::vector<CString> texts;
        for (int row = 1; row < 6; ++row)
            texts.push_back(screen.GetGrid()->GetItemText(row, col));
        return texts;
    };
    using Texts = std::vector<CString>;
    screen.UpdateGrid();
    ASSERT_TRUE(pump([&] { return column(4) == Texts{u"-", u"2", u"4", u"6", u"8"}; }));
    EXPECT_EQ(column(2), (Texts{u"-", u"1", u"2", u"3", u"4"}));
    EXPECT_EQ(column(3), Texts(5, u"-"));
    EXPECT_EQ(column(5), Texts(5, u"1"));
    ASSERT_TRUE(pump([&] { return column(10) == Texts(5, u"OK"); }));
    EXPECT_EQ(column(6), Texts(5, u"-"));  // the controller says not OK
    EXPECT_EQ(column(9), Texts(5, u"13"));

    // Not available: nothing is asked. Available: every intercom's counters are cleared, and
    // the reply's hint reads them again.
    screen.OnCmdMsg(ID_CLEAR_ICOM_ERRORS, nullptr);
    EXPECT_FALSE(mgr.ClearIcomErrorsMgr().HasPending());
    m_app.m_enabledCommands = {ID_CLEAR_ICOM_ERRORS};
    const int reads = CountCommand(sim.Requests(), 19);
    screen.OnCmdMsg(ID_CLEAR_ICOM_ERRORS, nullptr);
    ASSERT_TRUE(pump([&] { return column(2) == Texts(5, u"-") && column(5) == Texts(5, u"-"); }));
    EXPECT_EQ(CountCommand(sim.Requests(), 20), 5);
    EXPECT_GT(CountCommand(sim.Requests(), 19), reads);
}

}  // namespace

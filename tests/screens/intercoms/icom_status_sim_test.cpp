#include "screens/intercoms/icom_status_view.h"
#include "tests/screens/diag_fixture.h"

namespace {

class IcomStatusSimTest : public DiagScreenTest {
protected:
    // The screen, current and shown, over a controller of this setup.
    std::unique_ptr<CIcomStatusView> Open(const SimSetup& setup) {
        sim.ChangeState([&](CorvaneState& s) { s.UseSetup(setup); });
        m_app.m_bSortIntercomsByIntercomNumber = TRUE;
        auto screen = std::make_unique<CIcomStatusView>(host);
        screen->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20100);
        host.current = screen.get();
        Show(*screen);
        screen->OnInitialUpdate();
        return screen;
    }
};

TEST_F(IcomStatusSimTest, ShowsTheControllersCountersAndStatusAndClearsTheErrors) {
    // An extended controller with enhanced status and 5 intercoms whose links count errors;
    // clearing an intercom's errors zeroes its counters.
    SimSetup setup;
    setup.flags = CCVConfig::kNewCorvane | CCVConfig::kEnhancedStatus;
    setup.capabilities = 0;
    setup.intercoms = 5;
    for (std::uint8_t i = 0; i < 5; ++i)
        setup.records[{19, i}] = {i, 0, static_cast<std::uint8_t>(2 * i), 1};
    sim.SetHandler(20, [](CorvaneState& s, const SimFrame& request) {
        if (request.payload.size() == 3) s.setup.records[{19, request.payload[1]}] = {0, 0, 0, 0};
        return std::optional<SimFrame>(SimReplyTo(request));
    });
    const auto opened = Open(setup);
    CIcomStatusView& screen = *opened;
    EXPECT_EQ(screen.GetGrid()->GetColumnCount(), 7);  // the default controller's

    // The controller's configuration rebuilds the grid; the screen's polls bring its data.
    ASSERT_NO_FATAL_FAILURE(GoOnline());
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
    ASSERT_TRUE(Pump([&] { return column(4) == Texts{u"-", u"2", u"4", u"6", u"8"}; }));
    EXPECT_EQ(column(2), (Texts{u"-", u"1", u"2", u"3", u"4"}));
    EXPECT_EQ(column(3), Texts(5, u"-"));
    EXPECT_EQ(column(5), Texts(5, u"1"));
    ASSERT_TRUE(Pump([&] { return column(10) == Texts(5, u"OK"); }));
    EXPECT_EQ(column(6), Texts(5, u"-"));  // the controller says not OK
    EXPECT_EQ(column(9), Texts(5, u"13"));

    // Not available: nothing is asked. Available: every intercom's counters are cleared, and
    // the reply's hint reads them again.
    screen.OnCmdMsg(ID_CLEAR_ICOM_ERRORS, nullptr);
    EXPECT_FALSE(host.dataMgr.ClearIcomErrorsMgr().HasPending());
    m_app.m_enabledCommands = {ID_CLEAR_ICOM_ERRORS};
    const int reads = CountRequests(19);
    screen.OnCmdMsg(ID_CLEAR_ICOM_ERRORS, nullptr);
    ASSERT_TRUE(Pump([&] { return column(2) == Texts(5, u"-") && column(5) == Texts(5, u"-"); }));
    EXPECT_EQ(CountRequests(20), 5);
    EXPECT_GT(CountRequests(19), reads);
}

TEST_F(IcomStatusSimTest, TheRemoteTrunkingStartIsTheControllers) {
    SimSetup setup;
    setup.capabilities = CCVConfig::kTwoCVsSupport;
    setup.intercoms = 3;
    setup.records[{75, 1}] = {40};
    const auto screen = Open(setup);
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    int col = 0;
    while (col < grid.GetColumnCount() && grid.GetItemText(0, col) != u"# Rem")
        ++col;
    ASSERT_LT(col, grid.GetColumnCount());
    const auto starts = [&] {
        std::vector<CString> texts;
        for (int row = 1; row < grid.GetRowCount(); ++row)
            texts.push_back(grid.GetItemText(row, col));
        return texts;
    };
    screen->UpdateGrid();
    EXPECT_TRUE(Pump([&] { return starts() == std::vector<CString>{u"-", u"40", u"-"}; }));
}

}  // namespace

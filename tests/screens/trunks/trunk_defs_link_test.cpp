#include "link/link_messages.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/ui_environment.h"
#include "tests/screens/trunks/trunk_defs_fixture.h"
#include "tests/sim/sim_udp_link.h"

namespace {

// Generous: a correct link is never this slow, a loaded machine may be slow.
constexpr DWORD kPatienceMs = 20000;

// Ends the link before what it reports to goes.
struct CDisconnectAtEnd {
    CCVDataMgr& data;
    ~CDisconnectAtEnd() { data.Disconnect(); }
};

TEST_F(TrunkDefsTest, ATrunkStateChangeInTheControllerShowsAfterItsPoll) {
    CUiEnvironment env;
    env.SetTimeScale(0.02);
    CSimController sim(true);
    SimSetup setup;
    setup.trunks = 20;
    sim.ChangeState([&](CorvaneState& s) { s.UseSetup(setup); });
    CSimUdpLink peer(sim);
    CFrameViews views;
    m_doc.SetViews(&views);
    Show();
    views.shown = views.all = {screen.get()};

    CCVDataMgr& data = host.dataMgr;
    CWindowMessageSink sink([&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_LINK_REPLIES) data.OnResponse(&m_doc);
        return 0;
    });
    const CDisconnectAtEnd disconnect{data};
    m_app.SetMode(CAppState::kModeConnecting);
    ASSERT_TRUE(ConnectToSimulator(data, sink, peer.Port()));

    // The controller's own setup replaces the document's, and its states come with the polls:
    // trunk 3 is busy, as the controller makes up its state from the trunk's number.
    const auto stateText = [&] { return Grid().GetItemText(3, kState); };
    ASSERT_TRUE(PumpWaitingMessages(
        [&] { return Grid().GetRowCount() == 21 && stateText() == m_doc.GetTrunkStateText(2); },
        kPatienceMs));
    sim.ChangeState([](CorvaneState& s) {
        s.setup.records[{14, 2}] = {static_cast<std::uint8_t>(CTrunk::kStateMaintenance)};
    });
    EXPECT_TRUE(PumpWaitingMessages(
        [&] { return stateText() == m_doc.GetTrunkStateText(CTrunk::kStateMaintenance); },
        kPatienceMs));
    EXPECT_NE(m_doc.GetTrunkStateText(2), m_doc.GetTrunkStateText(CTrunk::kStateMaintenance));
}

}  // namespace

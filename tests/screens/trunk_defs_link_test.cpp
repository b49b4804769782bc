#include "link/comm_udp.h"
#include "link/link_messages.h"
#include "link/link_timing.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/ui_environment.h"
#include "tests/screens/trunk_defs_fixture.h"
#include "tests/sim/sim_udp_link.h"

namespace {

// Generous: a correct link is never this slow, a loaded machine may be slow.
constexpr DWORD kPatienceMs = 20000;

// The document's hints reach the screen, as the main window passes them on.
class CScreenViews : public IDocViews {
public:
    void UpdateAllViews(CView* sender, LPARAM hint, LPARAM object) override {
        UpdateAllFrameViews(sender, hint, object);
    }
    void UpdateAllFrameViews(CView* sender, LPARAM hint, LPARAM object) override {
        if (screen && sender != screen)
            screen->OnUpdate(sender, hint, reinterpret_cast<void*>(object));
    }
    CView* screen = nullptr;
};

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
    CScreenViews views;
    m_doc.SetViews(&views);
    Show();
    views.screen = screen.get();

    CCVDataMgr& data = host.dataMgr;
    CWindowMessageSink sink([&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_LINK_REPLIES) data.OnResponse(&m_doc);
        return 0;
    });
    const CDisconnectAtEnd disconnect{data};
    CLinkTiming timing;
    timing.udpReadTimeoutMs = 500;
    timing.engineWaitMs = 100;
    timing.pollIntervalMs = 500;
    data.SetTiming(timing);
    data.SetUdpTarget(TRUE);
    m_app.SetMode(CAppState::kModeConnecting);
    auto comm = std::make_unique<CCommUDP>(&sink, peer.Port());
    CString error;
    ASSERT_TRUE(comm->Open(u"127.0.0.1", error));
    ASSERT_TRUE(data.Connect(std::move(comm), &sink, TRUE));

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

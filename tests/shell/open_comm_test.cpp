#include <chrono>

#include "link/link_timing.h"
#include "res/command_ids.h"
#include "tests/shell/shell_fixture.h"
#include "tests/sim/sim_udp_link.h"

namespace {

using namespace std::chrono_literals;

// Generous: a correct link is never this slow, a loaded machine may be slow.
constexpr DWORD kPatienceMs = 20000;

class OpenCommTest : public ShellTest {
protected:
    OpenCommTest() {
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 500;
        timing.serialByteTimeoutMs = 500;
        timing.engineWaitMs = 100;
        timing.pollIntervalMs = 500;
        app.GetDataMgr().SetTiming(timing);
        frame = app.AttachFrame();
        // What the failures go back to.
        app.m_strComPort = u"NUL:";
        app.SaveSettings();
    }
    ~OpenCommTest() override { app.GetDataMgr().Disconnect(); }

    bool UntilControllerAnswers() {
        return PumpWaitingMessages([this] { return app.m_nControllerPresent == 1; }, kPatienceMs);
    }

    CFakeMainFrame* frame;
};

TEST_F(OpenCommTest, TheNetworkLinkFindsTheControllerAndAReopenWhileOnlineConnectsAgain) {
    CSimController sim(true);
    CSimUdpLink peer(sim);
    app.SetPeerPort(peer.Port());
    app.SetMode(CAppState::kModeOnline);

    // A rate of 0 is never used; the setting's rule makes it 38400.
    EXPECT_TRUE(app.OpenComm(u"net:", 0, u"127.0.0.1", u""));
    EXPECT_EQ(app.GetMode(), CAppState::kModeConnecting);
    EXPECT_TRUE(app.m_bNetwork);
    EXPECT_EQ(profile.GetProfileString(u"Settings\\Communication", u"ComPort", {}), u"net:");
    EXPECT_EQ(profile.GetProfileInt(u"Settings\\Communication", u"BaudRate", 0), 38400u);
    EXPECT_EQ(profile.GetProfileString(u"Settings\\Communication", u"IPAddress", {}), u"127.0.0.1");

    ASSERT_TRUE(UntilControllerAnswers());
    EXPECT_TRUE(PumpWaitingMessages([this] { return app.GetMode() == CAppState::kModeOnline; },
                                    kPatienceMs));
    EXPECT_TRUE(app.GetDataMgr().IsNetwork());
    EXPECT_TRUE(app.IsCommandEnabled(ID_CV_VERSION));
    EXPECT_FALSE(app.IsCommandEnabled(ID_CONNECT));  // ONLINE already
}

TEST_F(OpenCommTest, AFailureSaysWhyLeavesFileModeAndTheCommunicationSettingsAsTheyWere) {
    CModalScript script(env);
    app.SetMode(CAppState::kModeConnecting);
    script.ExpectMessageBox(u"Could not open the specified COM port.", IDOK);
    EXPECT_FALSE(app.OpenComm(u"/dev/kelvardin-no-such-port", 9600, u"", u""));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(app.m_strComPort, u"NUL:");
    EXPECT_FALSE(app.GetDataMgr().IsConnected());

    script.ExpectMessageBox(u"Could not resolve host.", IDOK);
    EXPECT_FALSE(app.OpenComm(u"NET:", 38400, u"", u""));
    EXPECT_EQ(app.m_strComPort, u"NUL:");

    // No link at all is no failure: nothing is said, and the choice is kept.
    app.SetMode(CAppState::kModeOnline);
    EXPECT_FALSE(app.OpenComm(u"Nul:", 38400, u"", u""));
    EXPECT_EQ(app.GetMode(), CAppState::kModeFile);
    EXPECT_EQ(profile.GetProfileString(u"Settings\\Communication", u"ComPort", {}), u"Nul:");
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_EQ(script.MessageBoxes().size(), 2u);
}

}  // namespace

#pragma once

#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "link/link_messages.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/ui_environment.h"
#include "screens/base/pane_frame.h"
#include "screens/base/screen_services.h"
#include "screens/base/undo_stacks.h"
#include "tests/screens/screen_fixture.h"
#include "tests/sim/sim_udp_link.h"
#include "tests/support/modal_script.h"

// The main window's undo host with its stacks open to the screens.
class CStacksUndoHost : public CFakeUndoHost, public IUndoStacks {
public:
    using CFakeUndoHost::CFakeUndoHost;
    CStack<CUndoStep>& GetUndoStack() override { return m_undo; }
    CStack<CUndoStep>& GetRedoStack() override { return m_redo; }
};

// The application's folders in a directory of the test's own, and a save picker that answers
// as scripted.
class CTestServices : public IScreenServices {
public:
    CString GetSetupDirectory() const override { return setupDir; }
    void SetSetupDirectory(const CString& folder) override { setupDir = folder; }
    CString GetLogDirectory() const override { return logDir; }
    CString GetLastLogFile() const override { return lastLog; }
    std::optional<SaveChoice> PickSaveFile(UINT titleId, UINT filterId, const CString&,
                                           const CString& folder) override {
        asked.push_back({titleId, filterId});
        pickedIn = folder;
        return choice;
    }
    CString setupDir = u"/setups";
    CString logDir;
    CString lastLog;
    CString pickedIn;
    std::vector<std::pair<UINT, UINT>> asked;
    std::optional<SaveChoice> choice;
};

// The panes' main window: the screen host's contexts and history.
class CFakePaneFrame : public IPaneFrame {
public:
    explicit CFakePaneFrame(CFakeScreenHost& host) : m_host(host) {}
    CView* GetCurrentMainView() override { return nullptr; }
    int GetCurrentViewID() const override { return -1; }
    std::optional<DWORD> GetCurrentGridHelpID() const override { return std::nullopt; }
    void SendCommand(UINT) override {}
    void WinHelp(DWORD, UINT) override {}
    LogFont GetPaneFont() const override { return LogFont(); }
    CContext& GetViewContext(int screen) override { return m_host.GetViewContext(screen); }
    void PushHistory(const CContext& context) override { m_host.PushHistory(context); }

private:
    CFakeScreenHost& m_host;
};

// The diagnostic screens over the document, a fake main window and, when asked, a link to a
// simulated controller on the loopback address.
class DiagScreenTest : public ScreenTest {
protected:
    static constexpr DWORD kPatienceMs = 20000;

    void SetUp() override {
        ScreenTest::SetUp();
        m_doc.SetViews(&views);
        m_doc.SetMemoryPage(&host.dataMgr);
        env.SetTimeScale(0.01);
        env.SetBeepListener([this](UINT) { ++beeps; });
    }
    void TearDown() override {
        host.dataMgr.Disconnect();
        ScreenTest::TearDown();
    }

    // Connects the screens' data manager to the controller and waits until ONLINE.
    void GoOnline() {
        m_app.SetMode(CAppState::kModeConnecting);
        ASSERT_TRUE(ConnectToSimulator(host.dataMgr, sink, peer.Port()));
        ASSERT_TRUE(Pump([&] { return m_app.GetMode() == CAppState::kModeOnline; }));
    }
    bool Pump(const std::function<bool()>& done) {
        return PumpWaitingMessages(done, kPatienceMs) != FALSE;
    }
    // Waits until the controller has seen the request, and answers how many came.
    bool SawRequest(const std::function<bool(const SimFrame&)>& match) {
        return Pump([&] {
            const std::vector<SimFrame> frames = sim.Requests();
            return std::any_of(frames.begin(), frames.end(), match);
        });
    }
    int CountRequests(unsigned command) const {
        const std::vector<SimFrame> frames = sim.Requests();
        return static_cast<int>(std::count_if(
            frames.begin(), frames.end(), [&](const SimFrame& f) { return f.command == command; }));
    }
    void Show(CView& view) {
        views.shown.push_back(&view);
        views.all.push_back(&view);
    }
    void Hide(CView& view) { std::erase(views.shown, &view); }

    CUiEnvironment env;
    CModalScript script{env};
    int beeps = 0;
    CFrameViews views;
    CStacksUndoHost stacks{m_doc};
    CTestServices services;
    CFakePaneFrame paneFrame{host};
    QTemporaryDir dir;
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CWindowMessageSink sink{[this](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_LINK_REPLIES) host.dataMgr.OnResponse(&m_doc);
        return 0;
    }};
};

#pragma once

// The whole program, in this process, against the simulated controller at its largest (255
// intercoms, 10,000 trunks, as scripts/simulator serves them): what the benchmarks of the
// upload that follows Connect share. Every program starts afresh over the same settings file,
// read anew as a start reads it, which knows the controller's size and abilities after the
// first start.

#include <QDialog>
#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "model/kelvardin_doc.h"
#include "platform/ui/ini_profile.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/main_frame/main_frame_window.h"
#include "tests/sim/sim_showcase.h"
#include "tests/sim/sim_udp_link.h"

namespace upload_bench {

constexpr DWORD kUploadLimitMs = 600000;
constexpr DWORD kStartLimitMs = 30000;
constexpr DWORD kSettleMs = 500;
constexpr auto kLookEvery = std::chrono::milliseconds(10);

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::exit(2);
}

// Answers the program's questions as a user who goes on would; a dialog is left to the
// benchmark while it shows.
class CUserScript : public IModalScript {
public:
    std::function<void(QDialog&)> whileDialogShows;

    int OnMessageBox(const CString&, UINT type, UINT) override {
        switch (type & MB_TYPEMASK) {
            case MB_YESNO:
            case MB_YESNOCANCEL: return IDYES;
            default: return IDOK;
        }
    }
    int OnDialog(QDialog& dialog) override {
        if (whileDialogShows) whileDialogShows(dialog);
        return IDCANCEL;
    }
    int OnPopupMenu(QMenu&) override { return 0; }
};

// Whether the document holds the controller's setup: every intercom named at every length,
// as many alphas of each kind as the controller holds, and both ends of every trunk.
class CUploadCheck {
public:
    explicit CUploadCheck(const SimSetup& setup) : m_trunks(setup.trunks) {
        m_alphas.resize(static_cast<size_t>(setup.intercoms));
        for (const auto& [key, labels] : setup.alphas) {
            const int index = AlphaTypeToIndex(static_cast<int>(key.second));
            if (key.first < setup.intercoms && index >= 0)
                m_alphas[static_cast<size_t>(key.first)][static_cast<size_t>(index)] =
                    static_cast<int>(labels.size());
        }
    }

    bool IsIn(const CKelvardinDoc& doc) const {
        for (int icom = 0; icom < static_cast<int>(m_alphas.size()); ++icom) {
            const CIntercom* record = Intercom(doc, icom);
            if (!record) return false;
            for (int index = 0; index < kAlphaListCount; ++index) {
                if (record->GetAlphaCount(index) !=
                    m_alphas[static_cast<size_t>(icom)][static_cast<size_t>(index)])
                    return false;
            }
            for (int length : {4, 6, 8, 16})
                if (record->GetName(length).IsEmpty()) return false;
        }
        for (int trunk = 0; trunk < m_trunks; ++trunk) {
            for (BOOL first : {TRUE, FALSE})
                if (doc.GetTrunkEnd(trunk, first).m_icom == CAssign::kNoIcom) return false;
        }
        return true;
    }

private:
    static const CIntercom* Intercom(const CKelvardinDoc& doc, int icom) {
        return dynamic_cast<const CIntercom*>(doc.FindObject(CIcomSpec(icom, 1)));
    }

    int m_trunks = 0;
    std::vector<std::array<int, kAlphaListCount>> m_alphas;  // by intercom and alpha kind
};

// The program over its settings file, started in FILE mode on the network link.
class CProgram {
public:
    CProgram(const CString& settings, WORD port) : m_profile(settings), m_app(m_profile) {
        m_app.SetPeerPort(port);
        m_environment.SetModalScript(&m_script);
        if (!m_app.InitInstance({u"-nologo"})) Fail("the program did not start");
        m_frame = dynamic_cast<CMainFrame*>(m_app.GetMainFrame());
        if (!m_frame) Fail("the program has no main window");
        if (!PumpWaitingMessages([&] { return m_app.IsCommandEnabled(ID_CONNECT) != FALSE; },
                                 kStartLimitMs))
            Fail("the controller did not answer");
    }
    ~CProgram() {
        m_app.ExitInstance();
        m_environment.SetModalScript(nullptr);
    }

    CMainFrame& Frame() { return *m_frame; }
    CUserScript& Script() { return m_script; }
    CKelvardinDoc& Document() { return *m_frame->GetActiveDocument(); }

    // The upload after Connect, which must bring the controller's whole setup.
    void UploadAll(const CUploadCheck& check) {
        CCVDataMgr& data = m_app.GetDataMgr();
        m_frame->OnCommand(ID_CONNECT);
        bool asked = false;
        if (!PumpWaitingMessages(
                [&] {
                    const int pending = data.GetPendingTotal();
                    asked = asked || pending > 0;
                    return asked && pending == 0 && !data.HasWaitingReplies();
                },
                kUploadLimitMs))
            Fail("the upload did not finish");
        // The one request that may still have been out.
        PumpWaitingMessages([] { return false; }, kSettleMs);
        if (!check.IsIn(Document())) Fail("the upload left names, alphas or trunks out");
    }

    // Runs the messages until the program is ONLINE with the document holding what the check
    // asks for, which is looked at now and then, not at every reply; false when it never does.
    bool WaitForUpload(const CUploadCheck& check) {
        auto lastLook = std::chrono::steady_clock::now();
        bool in = false;
        return PumpWaitingMessages(
                   [&] {
                       if (in || std::chrono::steady_clock::now() - lastLook < kLookEvery)
                           return in;
                       lastLook = std::chrono::steady_clock::now();
                       in = m_app.GetMode() == CAppState::kModeOnline && check.IsIn(Document());
                       return in;
                   },
                   kUploadLimitMs) != FALSE;
    }

private:
    CIniProfile m_profile;
    CKelvardinApp m_app;
    CUiEnvironment m_environment;
    CUserScript m_script;
    CMainFrame* m_frame = nullptr;
};

// The simulated controller at its largest on the loopback address, and a settings file that
// points the program at it.
class CLargestController {
public:
    CLargestController() : m_setup(MakeSetup(m_options)), m_check(m_setup) {
        m_sim.ChangeState([&](CorvaneState& state) { state.UseSetup(m_setup); });
        InstallShowcaseHandlers(m_sim, m_options);
        m_peer = std::make_unique<CSimUdpLink>(m_sim);
        m_settings = FromQString(QDir(m_dir.path()).filePath("Kelvardin.ini"));
        CIniProfile profile(m_settings);
        profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NET:");
        profile.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"127.0.0.1");
        profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"AutoConnect", 0);
        profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"ConfirmExit", 0);
        profile.WriteProfileString(u"Settings\\Files and Directories", u"SetupFileDirectory",
                                   FromQString(m_dir.path()));
        if (!profile.Flush()) Fail("the settings file could not be written");
    }

    // The first start learns the controller's size and abilities, as a technician's program
    // knows them; the next one shows that an upload after Connect brings all it has.
    void Introduce() {
        CProgram(m_settings, Port()).UploadAll(m_check);
        CProgram(m_settings, Port()).UploadAll(m_check);
    }

    const SimShowcaseOptions& Options() const { return m_options; }
    const CString& Settings() const { return m_settings; }
    WORD Port() const { return m_peer->Port(); }
    const CUploadCheck& Check() const { return m_check; }
    // The controller's processor time so far.
    double CpuSeconds() { return m_peer->CpuSeconds(); }

private:
    static SimSetup MakeSetup(SimShowcaseOptions& options) {
        options.intercoms = SimShowcaseOptions::kMaxIntercoms;
        options.trunks = SimShowcaseOptions::kMaxTrunks;
        return MakeShowcaseSetup(options);
    }

    SimShowcaseOptions m_options;
    CSimController m_sim{true};
    SimSetup m_setup;
    CUploadCheck m_check;
    std::unique_ptr<CSimUdpLink> m_peer;
    QTemporaryDir m_dir;
    CString m_settings;
};

}  // namespace upload_bench

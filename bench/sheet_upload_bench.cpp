// The upload that follows Connect, from the simulated controller at its largest (255 intercoms,
// 10,000 trunks, as scripts/simulator serves them) into the whole program, once with the
// Partial Save sheet opened right after Connect and kept open until the upload is in, and once
// without it: the median time of each and the median of the rounds' ratios. The upload is in
// once the document holds every name and trunk end, and every alpha of every kind that the
// controller holds. Every run starts the program afresh over the same settings file, read anew
// as a start reads it, which knows the controller's size and abilities after the first start.
//
// sheet_upload_bench [rounds, default 3]

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/bench_stats.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/ini_profile.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/sheets/partial_save_sheet.h"
#include "tests/sim/sim_showcase.h"
#include "tests/sim/sim_udp_link.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTargetRatio = 1.5;
constexpr DWORD kUploadLimitMs = 600000;
constexpr DWORD kStartLimitMs = 30000;
constexpr DWORD kSettleMs = 500;
constexpr auto kLookEvery = std::chrono::milliseconds(10);

// Answers the program's questions as a user who goes on would; the sheet is left open until
// the upload is in.
class CUserScript : public IModalScript {
public:
    std::function<void()> whileSheetShows;

    int OnMessageBox(const CString&, UINT type, UINT) override {
        switch (type & MB_TYPEMASK) {
            case MB_YESNO:
            case MB_YESNOCANCEL: return IDYES;
            default: return IDOK;
        }
    }
    int OnDialog(QDialog& dialog) override {
        if (dialog.objectName() == QStringLiteral("sheet2407") && whileSheetShows)
            whileSheetShows();
        return IDCANCEL;
    }
    int OnPopupMenu(QMenu&) override { return 0; }
};

void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::exit(2);
}

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

    // Seconds from Connect until the document holds what the check asks for, the sheet open
    // or not.
    double Upload(const CUploadCheck& check, bool withSheet) {
        // The document is looked at now and then, not at every reply it takes.
        auto lastLook = Clock::now();
        bool in = false;
        const auto done = [&] {
            if (in || Clock::now() - lastLook < kLookEvery) return in;
            lastLook = Clock::now();
            in = m_app.GetMode() == CAppState::kModeOnline && check.IsIn(Document());
            return in;
        };
        bool finished = false;
        m_script.whileSheetShows = [&] { finished = PumpWaitingMessages(done, kUploadLimitMs); };
        const auto start = Clock::now();
        m_frame->OnCommand(ID_CONNECT);
        if (withSheet)
            m_frame->OnCommand(ID_FILE_PARTIAL_SAVE);
        else
            finished = PumpWaitingMessages(done, kUploadLimitMs);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        m_script.whileSheetShows = nullptr;
        if (!finished) Fail("the upload did not finish");
        return seconds;
    }

private:
    CKelvardinDoc& Document() { return *m_frame->GetActiveDocument(); }

    CIniProfile m_profile;
    CKelvardinApp m_app;
    CUiEnvironment m_environment;
    CUserScript m_script;
    CMainFrame* m_frame = nullptr;
};

double Run(const CString& settings, WORD port, const CUploadCheck& check, bool withSheet) {
    CProgram program(settings, port);
    return program.Upload(check, withSheet);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    SimShowcaseOptions options;
    options.intercoms = SimShowcaseOptions::kMaxIntercoms;
    options.trunks = SimShowcaseOptions::kMaxTrunks;
    CSimController sim(true);
    const SimSetup setup = MakeShowcaseSetup(options);
    sim.ChangeState([&](CorvaneState& state) { state.UseSetup(setup); });
    InstallShowcaseHandlers(sim, options);
    CSimUdpLink peer(sim);

    QTemporaryDir dir;
    const CString settings = FromQString(QDir(dir.path()).filePath("Kelvardin.ini"));
    {
        CIniProfile profile(settings);
        profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NET:");
        profile.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"127.0.0.1");
        profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"AutoConnect", 0);
        profile.WriteProfileInt(u"Settings\\Startup and Shutdown", u"ConfirmExit", 0);
        profile.WriteProfileString(u"Settings\\Files and Directories", u"SetupFileDirectory",
                                   FromQString(dir.path()));
        if (!profile.Flush()) Fail("the settings file could not be written");
    }
    // The first start learns the controller's size and abilities, as a technician's program
    // knows them; the next one shows that an upload after Connect brings all it has.
    const CUploadCheck check(setup);
    CProgram(settings, peer.Port()).UploadAll(check);
    CProgram(settings, peer.Port()).UploadAll(check);
    CPartialSaveSheet::SetLastPage(0);

    // Rounds of one run of each, each going first every other round.
    std::vector<double> without;
    std::vector<double> with;
    std::vector<double> ratios;
    for (int i = 0; i < rounds; ++i) {
        double open = 0;
        if (i % 2) open = Run(settings, peer.Port(), check, true);
        const double closed = Run(settings, peer.Port(), check, false);
        if (i % 2 == 0) open = Run(settings, peer.Port(), check, true);
        without.push_back(closed);
        with.push_back(open);
        ratios.push_back(open / closed);
        std::printf("  round %d: %.2f s without the sheet, %.2f s with it\n", i + 1, closed, open);
        std::fflush(stdout);
    }
    std::printf("upload after Connect of %d intercoms and %d trunks, %d rounds\n",
                options.intercoms, options.trunks, rounds);
    std::printf("  without the Partial Save sheet: median %.2f s\n", Median(without));
    std::printf("  with it open:                   median %.2f s\n", Median(with));
    return Report("with the sheet against without:", Median(ratios), kTargetRatio) ? 0 : 1;
}

// Uploads a large controller's setup with its names and alphas from the simulated controller
// over UDP on loopback into a document, and sets its wall time against the controller's own
// round-trip floor: the same requests made one after the other by a bare client, measured in the
// same run. Each run starts its own threads, as connecting the link does. The number of
// requests must be the least that the managers' range limits allow.
//
// upload_bench [rounds, default 30]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench/bare_client.h"
#include "link/command_codes.h"
#include "link/link_messages.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "platform/base/thread.h"
#include "tests/link/link_harness.h"
#include "tests/sim/sim_udp_link.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration;

constexpr double kTargetRatio = 1.2;
constexpr int kAlphasPerList = 100;
constexpr int kAlphaTypes = 8;

// 999 trunks, 31 intercoms, 20 groups; every alpha list of every intercom holds 100 alphas.
SimSetup LargeSetup() {
    SimSetup s;
    s.capabilities = 0x08000000 | 0x00020000 | 0x01000000 | 0x00010000;
    s.trunks = 999;
    s.intercoms = 31;
    s.groups = 20;
    const unsigned wire[kAlphaTypes] = {0, 1, 2, 3, 4, 5, 6, 8};
    for (int icom = 0; icom < s.intercoms; ++icom) {
        s.names[icom] = {"N4", "NAME 6", "NAME 8", "WIDE NAME"};
        for (unsigned type : wire)
            s.alphas[{icom, type}] = std::vector<std::string>(kAlphasPerList, "ALFA");
    }
    return s;
}

int Pages(int items, int perRequest) {
    return (items + perRequest - 1) / perRequest;
}

// The least number of requests that the range limits allow for the upload of the setup.
int MinimumRequests(const SimSetup& s) {
    const int icoms = s.intercoms;
    return Pages(s.trunks, 50) +                       // trunk definitions
           3 * Pages(icoms, 255) +                     // connections, baud rates, COM ports
           3 * Pages(icoms, 128) +                     // two address sets, cascade costs
           4 +                                         // the four options
           Pages(s.groups, 20) +                       // groups
           3 * Pages(icoms, 128) + Pages(icoms, 64) +  // names of 4, 6, 8 and 16
           kAlphaTypes * icoms * std::max(1, Pages(kAlphasPerList, 128));
}

bool IsDataCommand(DWORD command) {
    return command != kCmdOpenSession && command != kCmdNetworkControl &&
           command != kCmdStandbyAddress;
}

bool IsDataRequest(const SimFrame& f) {
    return IsDataCommand(f.command);
}

// The data manager as the program runs it, its replies handled into the document. It counts
// the data requests it builds on the engine thread and the data replies it dispatches on the
// thread that handles them.
class CCountingDataMgr : public CCVDataMgr {
public:
    ~CCountingDataMgr() override { Disconnect(); }
    std::size_t RequestCount() const { return m_requests; }
    std::size_t ReplyCount() const { return m_replies; }

protected:
    BOOL GetManagerRequest(CMessage& request) override {
        const BOOL built = CCVDataMgr::GetManagerRequest(request);
        if (built) ++m_requests;
        return built;
    }
    void DispatchReply(const CDualMessage& pair, CKelvardinDoc* doc) override {
        CCVDataMgr::DispatchReply(pair, doc);
        if (IsDataCommand(pair.request.command)) ++m_replies;
    }

private:
    std::atomic<std::size_t> m_requests = 0;
    std::size_t m_replies = 0;
};

// The upload through the link, from StartUpload until the last reply has been handled into
// the document: seconds, and the data requests it made.
double LinkRun(CSimController& sim, WORD port, std::vector<SimFrame>& requests) {
    CKelvardinDoc doc;
    doc.ResetToDefaultSetup();
    CCountingDataMgr mgr;
    CLinkTestWindow window(mgr);
    window.SetDocument(&doc);
    BringUpLink(mgr, window, port);
    mgr.GoOnline();
    // The first status reply asks for a few one-shot items of its own; they are not part of
    // the upload, so they are left to finish before the clock starts. The upload follows at
    // once, as the bare client's requests follow one another: an idle pause would start it on
    // a machine gone quiet.
    if (!window.PumpUntil(
            [&] {
                return mgr.RequestCount() > 0 && mgr.GetPendingTotal() == 0 &&
                       mgr.ReplyCount() >= mgr.RequestCount();
            },
            std::chrono::seconds(10))) {
        std::fprintf(stderr, "the first status reply's own requests did not finish\n");
        std::exit(2);
    }
    const std::size_t before = sim.Requests().size();
    // Only the end of the upload says 0 done; from then on no data request is built.
    bool ended = false;
    window.SetObserver([&](const CLinkTestWindow::Message& m) {
        if (m.message == WM_LINK_UPLOAD_PROGRESS && m.wParam == 0) ended = true;
    });
    const std::size_t requestsBefore = mgr.RequestCount();
    const std::size_t repliesBefore = mgr.ReplyCount();
    const auto start = Clock::now();
    mgr.StartUpload();
    const bool done = window.PumpUntil(
        [&] {
            return ended && mgr.ReplyCount() - repliesBefore >= mgr.RequestCount() - requestsBefore;
        },
        std::chrono::seconds(120));
    const double seconds = duration<double>(Clock::now() - start).count();
    if (!done) {
        std::fprintf(stderr, "the upload did not finish\n");
        std::exit(2);
    }
    // The replies went into the document: the last intercom's name is there.
    if (ToUtf8(doc.GetIcomText(30, 4, TRUE, FALSE)) != "N4") {
        std::fprintf(stderr, "the document did not take the replies\n");
        std::exit(2);
    }
    requests.clear();
    const auto all = sim.Requests();
    std::copy_if(all.begin() + static_cast<std::ptrdiff_t>(before), all.end(),
                 std::back_inserter(requests), IsDataRequest);
    mgr.Disconnect();
    return seconds;
}

// The same requests made one after the other by a bare client: seconds. The client works on a
// thread of its own while this one waits, as the link's engine works while its window waits.
// This thread is also the link's window thread: had it made the exchanges too, each side's runs
// would change where the machine places the other side's threads.
double FloorRun(WORD port, const std::vector<SimFrame>& requests) {
    double seconds = 0;
    CThread thread;
    const bool started = thread.Start([&] {
        CBareClient client(port);
        CMessage request;
        const auto start = Clock::now();
        for (const SimFrame& f : requests) {
            request.command = f.command;
            request.SetPayload(f.payload);
            client.Exchange(request);
        }
        seconds = duration<double>(Clock::now() - start).count();
    });
    if (!started) {
        std::fprintf(stderr, "cannot start the bare client's thread\n");
        std::exit(2);
    }
    thread.Join();
    return seconds;
}

// The value below which the given share of the values lie.
double Quantile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    CMemoryProfile profile;
    CAppState app(profile);
    app.m_ipAddress.Set(u"127.0.0.1");
    app.m_bIncludeAlphasInSetupFiles = TRUE;
    // Data replies are handled into the document only online.
    app.SetMode(CAppState::kModeOnline);
    const SimSetup setup = LargeSetup();
    app.GetConfig().SetFromControllerReply(CCVStatusRec(setup.Status().data()));
    CSimController sim(true);
    sim.ChangeState([&](CorvaneState& s) { s.UseSetup(setup); });
    CSimUdpLink peer(sim);

    // Rounds of one run of each, taken in turn and each going first every other round. The
    // ratio is the median of the rounds' own ratios, each of two runs made one right after the
    // other. The best run of each side would instead compare the rare runs in which all of a
    // client's threads happened to land on one processor.
    std::vector<SimFrame> requests;
    // A first upload warms up what the first of anything pays for.
    LinkRun(sim, peer.Port(), requests);
    std::vector<double> links;
    std::vector<double> floors;
    std::vector<double> ratios;
    for (int i = 0; i < rounds; ++i) {
        double link = 0;
        if (i % 2) link = LinkRun(sim, peer.Port(), requests);
        const double floor = FloorRun(peer.Port(), requests);
        if (i % 2 == 0) link = LinkRun(sim, peer.Port(), requests);
        links.push_back(link);
        floors.push_back(floor);
        ratios.push_back(link / floor);
    }
    const int n = static_cast<int>(requests.size());
    const int least = MinimumRequests(setup);
    const double ratio = Quantile(ratios, 0.5);
    std::printf("upload of %d trunks, %d intercoms, %d groups, %d alphas per list, %d rounds\n",
                setup.trunks, setup.intercoms, setup.groups, kAlphasPerList, rounds);
    std::printf("  requests: %d (least the range limits allow: %d) %s\n", n, least,
                n == least ? "ok" : "TOO MANY");
    const auto times = [n](const char* what, const std::vector<double>& runs) {
        const double median = Quantile(runs, 0.5);
        std::printf("  %s median %5.1f ms (%.1f us per exchange), best %5.1f ms\n", what,
                    median * 1e3, median * 1e6 / n, Quantile(runs, 0) * 1e3);
    };
    times("controller round-trip floor:", floors);
    times("through the link:           ", links);
    std::printf("  ratio: %.2f (target at most %.1f) %s; quartiles %.2f and %.2f\n", ratio,
                kTargetRatio, ratio <= kTargetRatio ? "ok" : "TOO SLOW", Quantile(ratios, 0.25),
                Quantile(ratios, 0.75));
    return n == least && ratio <= kTargetRatio ? 0 : 1;
}

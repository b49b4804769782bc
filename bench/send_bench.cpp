// Pushes queued set requests through a send of changes to the simulated controller over UDP on
// loopback, and sets its wall time against the controller's own round-trip floor: the same
// exchanges made by a bare client loop, measured in the same run. The link should add little:
// it sends the next queued request as soon as a reply is in.
//
// send_bench [set requests, default 2000] [rounds, default 10]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench/bare_client.h"
#include "link/command_codes.h"
#include "link/link_messages.h"
#include "model/app_state.h"
#include "platform/base/profile.h"
#include "tests/link/link_harness.h"
#include "tests/sim/sim_udp_link.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration;

constexpr double kTargetRatio = 1.2;

// The exchanges of a send made one after the other by a bare client: seconds.
double FloorRun(WORD port, int sets) {
    CBareClient client(port);
    CSetRequestSource source(sets);
    CMessage set;
    const auto start = Clock::now();
    client.Exchange(kCmdAskControl);
    client.Exchange(kCmdOpenDownload);
    while (source.BuildNext(set))
        client.Exchange(set);
    client.Exchange(kCmdCommit);
    client.Exchange(kCmdReleaseControl);
    return duration<double>(Clock::now() - start).count();
}

// The same send through the link, from StartSendAll to its end: seconds.
double LinkRun(WORD port, int sets) {
    CTestDevice device;
    CLinkTestWindow window(device);
    BringUpLink(device, window, port);
    const auto start = Clock::now();
    device.StartSendAll(CLinkSession::Now(), std::make_unique<CSetRequestSource>(sets));
    const bool done = window.PumpUntil([&] { return window.Count(WM_LINK_SEND_DONE) > 0; },
                                       std::chrono::seconds(120));
    const double seconds = duration<double>(Clock::now() - start).count();
    if (!done || window.Count(WM_LINK_SEND_FAILED) > 0) {
        std::fprintf(stderr, "the send did not finish\n");
        std::exit(2);
    }
    device.Disconnect();
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int sets = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    CMemoryProfile profile;
    CAppState app(profile);
    app.m_ipAddress.Set(u"127.0.0.1");
    CSimController sim(true);
    CSimUdpLink peer(sim);

    // The best of a few rounds of each, taken in turn and each going first every other
    // round, so that both see the same machine.
    double floor = 1e9;
    double link = 1e9;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2) link = std::min(link, LinkRun(peer.Port(), sets));
        floor = std::min(floor, FloorRun(peer.Port(), sets));
        if (i % 2 == 0) link = std::min(link, LinkRun(peer.Port(), sets));
    }
    const double ratio = link / floor;
    std::printf("send of %d set requests (%d exchanges), best of %d rounds\n", sets, sets + 4,
                rounds);
    std::printf("  controller round-trip floor: %8.1f ms (%.1f us per exchange)\n", floor * 1e3,
                floor * 1e6 / (sets + 4));
    std::printf("  through the link:            %8.1f ms (%.1f us per exchange)\n", link * 1e3,
                link * 1e6 / (sets + 4));
    std::printf("  ratio: %.2f (target at most %.1f) %s\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "ok" : "TOO SLOW");
    return ratio <= kTargetRatio ? 0 : 1;
}

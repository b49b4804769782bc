// The simulated controller on its own, for trying the program by hand: it answers on the
// loopback address with a believable setup until Ctrl+C stops it.
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <stdexcept>

#include "tests/sim/sim_handlers.h"
#include "tests/sim/sim_server_options.h"
#include "tests/sim/sim_udp_link.h"

namespace {

constexpr unsigned kOpenSession = 59;

}  // namespace

int main(int argc, char** argv) {
    const SimServerOptions options = ParseSimServerOptions({argv + 1, argv + argc});
    if (options.help) {
        std::fputs(SimServerUsage(argv[0]).c_str(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", argv[0], options.error.c_str(),
                     SimServerUsage(argv[0]).c_str());
        return 2;
    }
    // Blocked before the link's thread starts, so that only sigwait takes them; a shell that
    // starts the simulator in the background leaves SIGINT ignored, which would drop it.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigprocmask(SIG_BLOCK, &stop, nullptr);

    CSimController controller{true};
    controller.ChangeState(
        [&](CorvaneState& state) { state.UseSetup(MakeShowcaseSetup(options.setup)); });
    InstallShowcaseHandlers(controller, options.setup);
    // Every session a client opens is a client connecting.
    controller.SetHandler(kOpenSession, [open = SimDefaultHandlers().at(kOpenSession)](
                                            CorvaneState& state, const SimFrame& request) {
        auto reply = open(state, request);
        if (reply && reply->tag != 0xFFFF) {
            std::printf("client connected (session %u)\n", reply->tag);
            std::fflush(stdout);
        }
        return reply;
    });
    try {
        CSimUdpLink link{controller, kIPv4Loopback, options.port};
        std::printf(
            "simulated Corvane on 127.0.0.1 UDP %u: %d intercoms, %d trunks, %d groups "
            "(Ctrl+C stops it)\n",
            link.Port(), options.setup.intercoms, options.setup.trunks, options.setup.groups);
        std::fflush(stdout);
        int signal = 0;
        sigwait(&stop, &signal);
    } catch (const std::runtime_error&) {
        std::fprintf(stderr, "%s: cannot use UDP port %u on 127.0.0.1 (in use?)\n", argv[0],
                     options.port);
        return 1;
    }
    return 0;
}

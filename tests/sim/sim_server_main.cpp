// The simulated controller on its own, for trying the program by hand: it answers on the
// loopback address at the controller's UDP port until it is stopped.
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "tests/sim/sim_udp_link.h"

int main(int argc, char** argv) {
    const long port = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 27410;
    if (port <= 0 || port > 65535) {
        std::fprintf(stderr, "usage: %s [udp-port]\n", argv[0]);
        return 2;
    }
    // Blocked before the link's thread starts, so that only sigwait takes them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    CSimController controller{true};
    CSimUdpLink link{controller, kIPv4Loopback, static_cast<std::uint16_t>(port)};
    std::printf("simulated controller on 127.0.0.1:%u\n", link.Port());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}

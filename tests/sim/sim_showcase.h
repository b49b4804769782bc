#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/sim/sim_controller.h"

// What the simulated controller started by hand holds: a believable installation rather than
// the tests' made-up records.
struct SimShowcaseOptions {
    static constexpr int kMaxIntercoms = 255;
    static constexpr int kMaxTrunks = 10000;
    static constexpr int kMaxGroups = 255;

    int intercoms = 24;
    int trunks = 600;
    int groups = 12;
    bool standby = true;         // a standby controller beside the active one
    bool outOfService = true;    // trunks out of service, counted in the trunk summary
    bool ifbsl = true;           // IFBSL alphas
    bool alphaCounters = false;  // alpha change counters
    bool unicode = true;         // wide (16-byte) names
    bool network = true;         // intercoms reached over the network, with IP addresses
    bool cascadeCosts = true;    // a cascade cost per intercom
    // While logging is on, a trunk request is logged on the first poll after each interval.
    std::chrono::milliseconds logInterval{4000};
};

// Counts of one trunk summary record, in the order of the reply.
struct SimTrunkCounts {
    unsigned trunks = 0;
    unsigned allocated = 0;
    unsigned inUse = 0;
    unsigned maintenance = 0;
    unsigned outOfService = 0;
};

// The setup of the installation: names, groups, alphas, trunk definitions and states, the
// intercoms' settings.
SimSetup MakeShowcaseSetup(const SimShowcaseOptions& options);

// Answers that follow from the setup rather than stand in it: trunk summaries counted from
// the trunks, each trunk's inspection from its ends and state, the status, error counters and
// firmware version of both controllers and of each intercom, and the request log of trunk
// requests.
void InstallShowcaseHandlers(CSimController& controller, const SimShowcaseOptions& options);

// The summary that the controller reports for item (0 its own totals, k + 1 intercom k)
// towards intercom icom, counted from the trunks as the setup now holds them.
SimTrunkCounts SimCountTrunks(const SimSetup& setup, int item, int icom);

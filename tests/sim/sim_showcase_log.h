#pragma once

#include <chrono>
#include <string>

#include "tests/sim/sim_controller.h"
#include "tests/sim/sim_setup.h"

// One trunk request as the controller logs it: who asked for which trunk, and when.
struct SimTrunkRequest {
    std::chrono::system_clock::time_point at;
    int trunk = 0;     // the trunk given, from 0
    bool from = true;  // asked from the trunk's first end towards its second
    bool granted = true;
};

// The request log record of the request: 70 characters and a line end, laid out so that the
// viewer's default masks show the time, both ends, the trunk asked for and the one given.
std::string SimLogRecord(const SimSetup& setup, const SimTrunkRequest& request);

// A controller that logs trunk requests: logging switched on and off by 13 and reported by 10,
// a few records held from the start, and a new one on a presence poll once every interval
// while logging is on, fetched one at a time by 7.
void InstallShowcaseLog(CSimController& controller, std::chrono::milliseconds interval);

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/sim/sim_showcase.h"

// The simulator program's command line.
struct SimServerOptions {
    static constexpr std::uint16_t kDefaultPort = 27410;

    std::uint16_t port = kDefaultPort;
    SimShowcaseOptions setup;
    bool help = false;
    // Empty when the command line is good; else what is wrong with it.
    std::string error;
};

SimServerOptions ParseSimServerOptions(const std::vector<std::string>& args);
// The text of --help.
std::string SimServerUsage(const std::string& program);

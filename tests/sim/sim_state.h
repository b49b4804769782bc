#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/sim/sim_codec.h"
#include "tests/sim/sim_setup.h"

// What the simulated controller knows about itself and its clients.
struct CorvaneState {
    // The data it answers get requests from.
    SimSetup setup;
    // The 26-byte status record of the presence poll's answer.
    std::array<std::uint8_t, 26> status = DefaultStatus();

    void UseSetup(SimSetup s) {
        setup = std::move(s);
        status = setup.Status();
    }
    // The standby controller's IPv4 address (host byte order); none makes 61 a NAK.
    std::optional<std::uint32_t> standbyAddress;
    // Every network session request is refused (tag 0xFFFF) while set.
    bool refuseSessions = false;
    std::uint16_t nextTag = 1;
    std::set<std::uint16_t> sessions;
    // Nothing is answered at all while set, as if the controller had gone.
    bool silent = false;

    // Exclusive control: the next denyControl requests for it are refused.
    int denyControl = 0;
    // The status bytes of the next answers to commit (3) and commit again (23); 0 when none
    // is left.
    std::deque<std::uint8_t> commitStatuses;
    int commits = 0;   // commits answered with status 0 or 1
    int releases = 0;  // releases of exclusive control
    // Set requests accepted, in order; a request sent again is not recorded twice.
    std::vector<SimFrame> setRequests;
    // The request log records waiting to be fetched (7 with byte 1), oldest first.
    std::deque<std::string> logRecords;

    // An extended controller with Unicode names: 12 intercoms, 96 trunks, 8 groups, with
    // out-of-service trunks and IFBSL alphas.
    static std::array<std::uint8_t, 26> DefaultStatus() { return SimSetup().Status(); }
};

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "tests/sim/sim_controller.h"

// Byte helpers and request layouts that the simulated controller's handlers share.

// Trunk state bits of a trunk state record.
inline constexpr std::uint8_t kSimTrunkInUse = 0x01;
inline constexpr std::uint8_t kSimTrunkAllocated = 0x02;
inline constexpr std::uint8_t kSimTrunkMaintenance = 0x04;
inline constexpr std::uint8_t kSimTrunkOutOfService = 0x08;
// The status capability bit that adds out-of-service counts to trunk summaries.
inline constexpr std::uint32_t kSimOutOfServiceTrunks = 0x10000;
// The capability bits of IFBSL alphas (refused without it) and of the alpha change counters.
inline constexpr std::uint32_t kSimIFBSLAlphas = 0x1000000;
inline constexpr std::uint32_t kSimAlphaCounters = 0x40000000;

inline unsigned SimU16(const SimFrame& request, std::size_t at) {
    return request.payload.size() < at + 2
               ? 0
               : static_cast<unsigned>(request.payload[at] << 8 | request.payload[at + 1]);
}

inline void SimPutU16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

// The items first .. first + count - 1 that exist, for a request of that range.
inline unsigned SimClip(unsigned first, unsigned count, int size) {
    const auto n = static_cast<unsigned>(std::max(size, 0));
    return first >= n ? 0 : std::min(count, n - first);
}

// What a trunk summary request (34 or 57) asks for: its item, the intercom range and the
// size of each record.
struct SimSummaryRequest {
    int item = 0;
    unsigned first = 0;
    unsigned count = 31;
    std::size_t recordSize = 10;
};

// Nothing when the request is not laid out as this controller expects.
inline std::optional<SimSummaryRequest> SimReadSummaryRequest(const SimSetup& setup,
                                                              const SimFrame& request) {
    const bool oos = setup.capabilities & kSimOutOfServiceTrunks;
    const bool paged = setup.Extended() && setup.intercoms > 31;
    const std::size_t itemBytes = paged ? 2 : 1;
    if (request.payload.size() != itemBytes + (oos ? 1 : 0) + (paged ? 4 : 0)) return {};
    SimSummaryRequest summary;
    summary.item = static_cast<int>(paged ? SimU16(request, 0) : request.payload[0]);
    if (request.command == 34) {
        summary.recordSize = request.payload.size() == 1 ? 6 : oos ? 10 : 8;
    } else if (paged) {
        // Without an intercom range the extended controller answers the fixed table of 31.
        const std::size_t at = itemBytes + (oos ? 1 : 0);
        summary.first = SimU16(request, at);
        summary.count = SimClip(summary.first, SimU16(request, at + 2), setup.intercoms);
    }
    return summary;
}

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "tests/sim/sim_showcase.h"
#include "tests/sim/sim_showcase_log.h"
#include "tests/sim/sim_wire.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Counters = std::array<std::uint8_t, 4>;

constexpr unsigned kActive = 0, kIntercoms = 1, kStandby = 2;
constexpr std::uint8_t kStatusOk = 0x80;
// The code the controllers report for themselves.
constexpr std::uint8_t kControllerCode = 13;
// Intercom frame models by model index; 11 and 12 name none.
constexpr int kModels = 11;

std::uint8_t StateOf(const SimSetup& setup, int trunk) {
    std::uint8_t state = setup.Record(14, trunk, 1)[0];
    if (auto it = setup.trunkModes.find(trunk); it != setup.trunkModes.end())
        state = it->second == 2 ? state | kSimTrunkMaintenance : state & ~kSimTrunkMaintenance;
    return state;
}

void Count(SimTrunkCounts& c, std::uint8_t state) {
    ++c.trunks;
    if (state & kSimTrunkMaintenance)
        ++c.maintenance;
    else if (state & kSimTrunkInUse)
        ++c.inUse;
    else if (state & kSimTrunkAllocated)
        ++c.allocated;
    if (state & kSimTrunkOutOfService) ++c.outOfService;
}

// The summaries of item towards every intercom, in one walk over the trunks.
std::vector<SimTrunkCounts> CountAll(const SimSetup& setup, int item) {
    std::vector<SimTrunkCounts> counts(static_cast<std::size_t>(std::max(setup.intercoms, 0)));
    const int owner = item - 1;
    for (int t = 0; t < setup.trunks; ++t) {
        const Bytes record = setup.Record(8, t, 13);
        const int a = record[0];
        const int b = record[3];
        const std::uint8_t state = StateOf(setup, t);
        for (int side = 0; side < 2; ++side) {
            const int end = side == 0 ? a : b;
            const int far = side == 0 ? b : a;
            // A trunk that comes back to its own intercom counts once.
            if (end >= setup.intercoms || (side == 1 && a == b)) continue;
            if (owner < 0 || owner == far) Count(counts[static_cast<std::size_t>(end)], state);
        }
    }
    return counts;
}

// 34 and 57: the counts laid out as the request asks, as many of the five as the record holds.
std::optional<SimFrame> OnSummary(CorvaneState& state, const SimFrame& request) {
    const SimSetup& setup = state.setup;
    const auto summary = SimReadSummaryRequest(setup, request);
    if (!summary || summary->item > setup.intercoms) return SimRefusal(request);
    const auto counts = CountAll(setup, summary->item);
    Bytes out;
    for (unsigned i = summary->first; i < summary->first + summary->count; ++i) {
        const SimTrunkCounts c = i < counts.size() ? counts[i] : SimTrunkCounts{};
        const unsigned values[] = {c.trunks, c.allocated, c.inUse, c.maintenance, c.outOfService};
        for (std::size_t k = 0; k < summary->recordSize / 2; ++k)
            SimPutU16(out, values[k]);
    }
    return SimReplyTo(request, std::move(out));
}

constexpr std::uint8_t kCascadable = 0x02;  // trunk definition flag
constexpr unsigned kStationPorts = 16;      // the stations on every intercom's first ports
constexpr std::size_t kEndsSize = 6;        // a trunk definition's two ends
constexpr unsigned kNoCascade = 0xFFFF;
// The state bytes (A, B) of a request that talks on the trunk, and of one that waits to.
constexpr std::uint8_t kTalkingA = 0x02, kTalkingB = 0x01;
constexpr std::uint8_t kWaitingA = 0x41, kWaitingB = 0x42;

bool Busy(std::uint8_t state) {
    return (state & (kSimTrunkInUse | kSimTrunkAllocated)) &&
           !(state & (kSimTrunkMaintenance | kSimTrunkOutOfService));
}

// count requests from the stations of intercom icom, the first one talking, the rest waiting.
void PutRequests(Bytes& out, std::uint8_t icom, int trunk, int count) {
    out.push_back(static_cast<std::uint8_t>(count));
    for (int k = 0; k < count; ++k) {
        out.push_back(icom);
        SimPutU16(out, static_cast<unsigned>(trunk + k) % kStationPorts);
        out.push_back(k == 0 ? kTalkingA : kWaitingA);
        out.push_back(k == 0 ? kTalkingB : kWaitingB);
    }
}

// 35: the trunk's own ends; a busy trunk has requests at both ends and, when in use and
// cascadable, is cascaded with the next trunk.
std::optional<SimFrame> OnInspect(CorvaneState& state, const SimFrame& request) {
    const SimSetup& setup = state.setup;
    const unsigned trunk = SimU16(request, 0);
    if (request.payload.size() != 2 || trunk >= static_cast<unsigned>(setup.trunks))
        return SimRefusal(request);
    const int t = static_cast<int>(trunk);
    const Bytes record = setup.Record(8, t, 13);
    const std::uint8_t trunkState = StateOf(setup, t);
    Bytes out(record.begin(), record.begin() + kEndsSize);
    const bool busy = Busy(trunkState);
    const bool cascaded =
        busy && (trunkState & kSimTrunkInUse) && (record[12] & kCascadable) && setup.trunks > 1;
    if (cascaded) {
        const int next = (t + 1) % setup.trunks;
        SimPutU16(out, static_cast<unsigned>(next));
        const Bytes far = setup.Record(8, next, 13);
        out.insert(out.end(), far.begin(), far.begin() + kEndsSize);
    } else {
        SimPutU16(out, kNoCascade);
    }
    PutRequests(out, record[0], t, busy ? 1 + t % 3 : 0);
    PutRequests(out, record[3], t, busy ? 1 + t / 3 % 2 : 0);
    return SimReplyTo(request, std::move(out));
}

// 21: the firmware of each controller of the installation.
std::string VersionText(bool standby) {
    const std::string firmware = "Corvane trunking controller, firmware 5.2.11 (2026-02-17)";
    return standby ? "Active: " + firmware + "\nStandby: " + firmware : firmware;
}

// The controllers' and intercoms' error counters, until a client clears them.
struct ErrorCounts {
    std::mutex lock;
    Counters active{};
    Counters standby{3, 0, 1, 0};
    std::map<int, Counters> intercoms;
};

Counters IntercomErrors(int icom) {
    return icom % 7 == 5 ? Counters{2, 0, 1, 0} : Counters{};
}

// 18, 19 and 20: selector (0 active, 1 intercoms, 2 standby), first, count.
struct StatusRequest {
    unsigned selector = 0;
    unsigned first = 0;
    unsigned count = 0;
};

std::optional<StatusRequest> ReadStatusRequest(const CorvaneState& state, const SimFrame& request,
                                               bool standby) {
    if (request.payload.size() != 3) return std::nullopt;
    StatusRequest r{request.payload[0], request.payload[1], request.payload[2]};
    if (r.selector == kIntercoms) {
        r.count = SimClip(r.first, r.count, state.setup.intercoms);
        return r;
    }
    if (r.selector == kActive || (r.selector == kStandby && standby)) return r;
    return std::nullopt;
}

}  // namespace

SimTrunkCounts SimCountTrunks(const SimSetup& setup, int item, int icom) {
    const auto counts = CountAll(setup, item);
    return icom >= 0 && icom < static_cast<int>(counts.size())
               ? counts[static_cast<std::size_t>(icom)]
               : SimTrunkCounts{};
}

void InstallShowcaseHandlers(CSimController& controller, const SimShowcaseOptions& options) {
    const bool standby = options.standby;
    auto errors = std::make_shared<ErrorCounts>();
    for (int i = 0; i < options.intercoms; ++i)
        errors->intercoms[i] = IntercomErrors(i);

    InstallShowcaseLog(controller, options.logInterval);
    controller.SetHandler(34, OnSummary);
    controller.SetHandler(35, OnInspect);
    const std::string version = VersionText(standby);
    controller.SetHandler(21, [version](CorvaneState&, const SimFrame& request) {
        return std::optional<SimFrame>(SimReplyTo(request, Bytes(version.begin(), version.end())));
    });
    controller.SetHandler(57, OnSummary);
    controller.SetHandler(
        18, [standby](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
            const auto r = ReadStatusRequest(state, request, standby);
            if (!r) return SimRefusal(request);
            if (r->selector != kIntercoms)
                return SimReplyTo(request, {kStatusOk | kControllerCode});
            Bytes out;
            for (unsigned i = r->first; i < r->first + r->count; ++i)
                out.push_back(static_cast<std::uint8_t>(kStatusOk | i % kModels));
            return SimReplyTo(request, std::move(out));
        });
    controller.SetHandler(
        19,
        [standby, errors](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
            const auto r = ReadStatusRequest(state, request, standby);
            if (!r) return SimRefusal(request);
            std::lock_guard guard(errors->lock);
            Bytes out;
            auto put = [&out](const Counters& c) { out.insert(out.end(), c.begin(), c.end()); };
            if (r->selector == kActive) put(errors->active);
            if (r->selector == kStandby) put(errors->standby);
            for (unsigned i = r->first; r->selector == kIntercoms && i < r->first + r->count; ++i)
                put(errors->intercoms[static_cast<int>(i)]);
            return SimReplyTo(request, std::move(out));
        });
    controller.SetHandler(
        20,
        [standby, errors](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
            const auto r = ReadStatusRequest(state, request, standby);
            if (!r) return SimRefusal(request);
            std::lock_guard guard(errors->lock);
            if (r->selector == kActive) errors->active = {};
            if (r->selector == kStandby) errors->standby = {};
            for (unsigned i = r->first; r->selector == kIntercoms && i < r->first + r->count; ++i)
                errors->intercoms[static_cast<int>(i)] = {};
            return SimReplyTo(request);
        });
    // 56: flags (OK, current), the frame model, its size in ports and a short text.
    controller.SetHandler(
        56, [](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
            if (request.payload.size() != 1 || request.payload[0] >= state.setup.intercoms)
                return SimRefusal(request);
            const unsigned icom = request.payload[0];
            Bytes out{0x03, static_cast<std::uint8_t>(icom % kModels)};
            SimPutU16(out, 64u << (icom % 3));
            out.insert(out.end(), {0, 0, 0});
            for (char c : std::string("Online"))
                out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(0);
            return SimReplyTo(request, std::move(out));
        });
}

#include "tests/sim/sim_data_handlers.h"

#include <algorithm>

#include "tests/sim/sim_wire.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// count records of size bytes: the ones the client set, the others made up from their number.
SimFrame Records(const SimSetup& setup, const SimFrame& request, unsigned first, unsigned count,
                 std::size_t size) {
    const unsigned key =
        SimSetup::RecordKey(request.command, request.command == 70 ? request.payload[0] : 0);
    Bytes out;
    for (unsigned i = first; i < first + count; ++i) {
        const Bytes record = setup.Record(key, static_cast<int>(i), size);
        out.insert(out.end(), record.begin(), record.end());
    }
    return SimReplyTo(request, std::move(out));
}

// A range request with a byte (or, with words, u16) first and count after skip bytes. Only the
// bits of countMask count: a group request's count byte carries its wide-name flag as well.
SimFrame RangeRecords(const SimSetup& setup, const SimFrame& request, std::size_t skip, bool words,
                      int size, std::size_t recordSize, unsigned countMask = 0xFFFF) {
    const std::size_t need = skip + (words ? 4 : 2);
    if (request.payload.size() < need) return SimRefusal(request);
    const unsigned first = words ? SimU16(request, skip) : request.payload[skip];
    const unsigned count =
        (words ? SimU16(request, skip + 2) : request.payload[skip + 1]) & countMask;
    return Records(setup, request, first, SimClip(first, count, size), recordSize);
}

using Handler = CSimController::Handler;

Handler Range(std::size_t skip, bool words, int SimSetup::*size, std::size_t recordSize) {
    return [=](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
        return RangeRecords(state.setup, request, skip, words, state.setup.*size, recordSize);
    };
}

// A one-shot option value: the one set, else the given bytes.
Handler Option(Bytes payload) {
    return [payload](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
        auto it = state.setup.records.find({request.command, 0});
        return SimReplyTo(request, it != state.setup.records.end() ? it->second : payload);
    };
}

Handler Fixed(Bytes payload) {
    return [payload](CorvaneState&, const SimFrame& request) -> std::optional<SimFrame> {
        return SimReplyTo(request, payload);
    };
}

// 5: u16 total, then the labels of the page that exist.
std::optional<SimFrame> OnLabels(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 5) return SimRefusal(request);
    const unsigned icom = request.payload[0];
    const unsigned kind = SimU16(request, 1) >> 12;
    const unsigned first = SimU16(request, 1) & 0xFFF;
    const unsigned format = SimU16(request, 3) >> 12;
    const unsigned count = SimU16(request, 3) & 0xFFF;
    constexpr unsigned kIFBSLKind = 8;
    if (format > 4 || (kind == kIFBSLKind && !(state.setup.capabilities & kSimIFBSLAlphas)))
        return SimRefusal(request);
    static constexpr std::size_t kSizes[] = {4, 4, 6, 8, 16};
    static constexpr int kLengthIndex[] = {0, 0, 1, 2, 3};
    const std::size_t size = kSizes[format];
    std::vector<std::string> labels;
    if (kind == 7) {
        for (int i = 0; i < state.setup.intercoms; ++i) {
            auto it = state.setup.names.find(i);
            labels.push_back(it == state.setup.names.end() ? std::string()
                                                           : it->second[kLengthIndex[format]]);
        }
    } else if (auto it = state.setup.alphas.find({static_cast<int>(icom), kind});
               it != state.setup.alphas.end()) {
        labels = it->second;
    }
    const auto total = static_cast<unsigned>(labels.size());
    Bytes out{static_cast<std::uint8_t>(total >> 8), static_cast<std::uint8_t>(total)};
    for (unsigned i = first; i < std::min(first + count, total); ++i) {
        const std::string& label = labels[i];
        if (format == 4) {
            for (std::size_t c = 0; c < 8; ++c) {
                out.push_back(0);
                out.push_back(c < label.size() ? static_cast<std::uint8_t>(label[c]) : 0);
            }
        } else {
            for (std::size_t c = 0; c < size; ++c)
                out.push_back(c < label.size() ? static_cast<std::uint8_t>(label[c]) : 0);
        }
    }
    return SimReplyTo(request, std::move(out));
}

// 14: one state byte per trunk, with the maintenance bit of the trunks the client put into
// maintenance (mode 2) or back to normal.
std::optional<SimFrame> OnTrunkStates(CorvaneState& state, const SimFrame& request) {
    constexpr std::uint8_t kMaintenance = 0x04;
    SimFrame reply = RangeRecords(state.setup, request, 0, true, state.setup.trunks, 1);
    const unsigned first = SimU16(request, 0);
    for (const auto& [trunk, mode] : state.setup.trunkModes) {
        const auto at = static_cast<std::size_t>(trunk) - first;
        if (reply.nak || trunk < static_cast<int>(first) || at >= reply.payload.size()) continue;
        reply.payload[at] = static_cast<std::uint8_t>(
            mode == 2 ? reply.payload[at] | kMaintenance : reply.payload[at] & ~kMaintenance);
    }
    return reply;
}

// 18 and 19: with selector 1 a range of intercoms, else the one controller.
Handler StatusOrErrors(std::size_t recordSize) {
    return [=](CorvaneState& state, const SimFrame& request) -> std::optional<SimFrame> {
        if (request.payload.size() != 3) return SimRefusal(request);
        if (request.payload[0] != 1) return Records(state.setup, request, 0, 1, recordSize);
        return RangeRecords(state.setup, request, 1, false, state.setup.intercoms, recordSize);
    };
}

// 32 and 84: groups of 16 (28 with wide names) or 56 bytes.
std::optional<SimFrame> OnGroups(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 2) return SimRefusal(request);
    constexpr std::uint8_t kWideNames = 0x80;
    const bool extended = request.command == 84;
    const bool wide = !extended && (request.payload[1] & kWideNames);
    const std::size_t size = extended ? 56 : wide ? 28 : 16;
    return RangeRecords(state.setup, request, 0, false, state.setup.groups, size,
                        extended ? 0xFFu : 0x7Fu);
}

// 34 and 57: the records of a summary request, as the request lays them out.
std::optional<SimFrame> OnSummary(CorvaneState& state, const SimFrame& request) {
    const auto summary = SimReadSummaryRequest(state.setup, request);
    if (!summary) return SimRefusal(request);
    return Records(state.setup, request, 0, summary->count, summary->recordSize);
}

// 56: an intercom's status, eight bytes and a short text.
std::optional<SimFrame> OnEnhancedStatus(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 1 || request.payload[0] >= state.setup.intercoms)
        return SimRefusal(request);
    return SimReplyTo(request, {0x80, 1, 0, 13, 0, 0, 0, 'O', 'K', 0});
}

// 75: an intercom's remote trunking: start (none unless one was set), bit count, the bits.
std::optional<SimFrame> OnRemoteTrunking(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 1 || request.payload[0] >= state.setup.intercoms)
        return SimRefusal(request);
    const auto n = static_cast<unsigned>(state.setup.intercoms);
    const auto start = state.setup.records.find({75, request.payload[0]});
    const std::uint8_t first =
        start != state.setup.records.end() && !start->second.empty() ? start->second[0] : 0;
    Bytes out{first, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    out.resize(3 + (n + 7) / 8);
    return SimReplyTo(request, std::move(out));
}

// 76: the number of counters per intercom, then the counters of each intercom asked for.
std::optional<SimFrame> OnAlphaCounters(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 5) return SimRefusal(request);
    constexpr std::uint8_t kCounters = 9;
    const unsigned count = SimClip(SimU16(request, 1), SimU16(request, 3), state.setup.intercoms);
    Bytes out{kCounters};
    out.resize(1 + kCounters * count, 1);
    return SimReplyTo(request, std::move(out));
}

// 35: an inspection record with no side 2 and no entries.
std::optional<SimFrame> OnInspect(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 2 || SimU16(request, 0) >= unsigned(state.setup.trunks))
        return SimRefusal(request);
    return SimReplyTo(request, {0, 0, 1, 0, 0, 2, 0xFF, 0xFF, 0, 0});
}

}  // namespace

void AddSimDataHandlers(std::map<unsigned, Handler>& handlers) {
    handlers[5] = OnLabels;
    handlers[8] = Range(0, true, &SimSetup::trunks, 13);
    handlers[14] = OnTrunkStates;
    handlers[15] = Range(0, false, &SimSetup::intercoms, 1);
    handlers[18] = StatusOrErrors(1);
    handlers[19] = StatusOrErrors(4);
    handlers[27] = Range(0, false, &SimSetup::intercoms, 1);
    handlers[32] = OnGroups;
    handlers[84] = OnGroups;
    handlers[34] = OnSummary;
    handlers[57] = OnSummary;
    handlers[35] = OnInspect;
    handlers[56] = OnEnhancedStatus;
    handlers[68] = Range(0, false, &SimSetup::intercoms, 1);
    handlers[70] = Range(1, false, &SimSetup::intercoms, 4);
    handlers[75] = OnRemoteTrunking;
    handlers[76] = OnAlphaCounters;
    handlers[81] = Range(0, true, &SimSetup::intercoms, 2);
    // One-shot queries and commands.
    handlers[11] = Option({0, 5});
    handlers[64] = Option({0, 30});
    handlers[46] = Option({1});
    handlers[48] = Option({0});
    handlers[50] = Option({1});
    handlers[37] = Fixed({124, 1, 1, 12, 0, 0});
    handlers[58] = Fixed({1, 8});
    handlers[21] = Fixed({'C', 'V'});
    handlers[78] = Fixed({1, 0, 0, 0, 0, 0});
    for (unsigned ack : {13u, 17u, 20u, 29u, 31u, 39u, 67u, 79u, 83u})
        handlers[ack] = Fixed({});
}

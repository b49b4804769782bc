#include "tests/sim/sim_handlers.h"

#include "tests/sim/sim_data_handlers.h"
#include "tests/sim/sim_set_requests.h"

namespace {

constexpr std::uint8_t kPoll = 0x9E;
constexpr std::uint8_t kRelease = 0x1A;

// 59: open a network session; the reply's tag is the session's.
std::optional<SimFrame> OnOpenSession(CorvaneState& state, const SimFrame& request) {
    SimFrame reply = SimReplyTo(request);
    if (state.refuseSessions) {
        reply.tag = 0xFFFF;
        return reply;
    }
    while (state.sessions.count(state.nextTag) || state.nextTag == 0 || state.nextTag >= 0xFFFE)
        state.nextTag = state.nextTag >= 0xFFFD ? 1 : state.nextTag + 1;
    reply.tag = state.nextTag++;
    state.sessions.insert(reply.tag);
    return reply;
}

// 60: the network control byte, a presence poll or the end of the session.
std::optional<SimFrame> OnNetworkControl(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 1) return SimRefusal(request);
    if (request.payload[0] == kPoll) {
        std::vector<std::uint8_t> payload{kPoll};
        payload.insert(payload.end(), state.status.begin(), state.status.end());
        return SimReplyTo(request, std::move(payload));
    }
    if (request.payload[0] == kRelease) {
        state.sessions.erase(request.tag);
        return SimReplyTo(request, {kRelease});
    }
    return SimRefusal(request);
}

// 61: the standby controller's address, a.b.c.d in byte order.
std::optional<SimFrame> OnStandbyAddress(CorvaneState& state, const SimFrame& request) {
    if (!state.standbyAddress) return SimRefusal(request);
    std::uint32_t a = *state.standbyAddress;
    return SimReplyTo(request,
                      {static_cast<std::uint8_t>(a >> 24), static_cast<std::uint8_t>(a >> 16),
                       static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a)});
}

// 25: exclusive control, unless the controller is told to refuse it.
std::optional<SimFrame> OnAskControl(CorvaneState& state, const SimFrame& request) {
    if (state.denyControl > 0) {
        --state.denyControl;
        return SimRefusal(request);
    }
    return SimReplyTo(request);
}

// 4: open the download of changes.
std::optional<SimFrame> OnOpenDownload(CorvaneState&, const SimFrame& request) {
    return SimReplyTo(request);
}

// 3 and 23: commit, with the next scripted status.
std::optional<SimFrame> OnCommit(CorvaneState& state, const SimFrame& request) {
    std::uint8_t status = 0;
    if (!state.commitStatuses.empty()) {
        status = state.commitStatuses.front();
        state.commitStatuses.pop_front();
    }
    if (status <= 1) ++state.commits;
    return SimReplyTo(request, {status});
}

// 26: release exclusive control.
std::optional<SimFrame> OnReleaseControl(CorvaneState& state, const SimFrame& request) {
    ++state.releases;
    return SimReplyTo(request);
}

// A set request: applied to the setup, recorded and acknowledged with no payload. (A request
// sent again is answered from the controller's last reply, not here.)
std::optional<SimFrame> OnSet(CorvaneState& state, const SimFrame& request) {
    state.setRequests.push_back(request);
    ApplySimSetRequest(state.setup, request);
    return SimReplyTo(request);
}

// 10: the controller's logging state.
std::optional<SimFrame> OnLoggingState(CorvaneState&, const SimFrame& request) {
    return SimReplyTo(request, {0});
}

// 7: the oldest waiting request log record after a nonzero byte; 0 alone when none waits or
// the client switches the transfer off (byte 0).
std::optional<SimFrame> OnLogRecord(CorvaneState& state, const SimFrame& request) {
    if (request.payload.size() != 1) return SimRefusal(request);
    if (request.payload[0] == 0 || state.logRecords.empty()) return SimReplyTo(request, {0});
    std::vector<std::uint8_t> payload{1};
    payload.insert(payload.end(), state.logRecords.front().begin(), state.logRecords.front().end());
    state.logRecords.pop_front();
    return SimReplyTo(request, std::move(payload));
}

// 45: a command line, answered with its own text.
std::optional<SimFrame> OnCommandLine(CorvaneState&, const SimFrame& request) {
    std::vector<std::uint8_t> text{'O', 'K', ' '};
    text.insert(text.end(), request.payload.begin(), request.payload.end());
    return SimReplyTo(request, std::move(text));
}

// 22: 255 bytes of memory, each the low byte of its address.
std::optional<SimFrame> OnReadMemory(CorvaneState&, const SimFrame& request) {
    if (request.payload.size() != 7) return SimRefusal(request);
    std::uint32_t start = 0;
    for (int i = 2; i < 6; ++i)
        start = start << 8 | request.payload[static_cast<std::size_t>(i)];
    std::vector<std::uint8_t> bytes(255);
    for (std::uint32_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(start + i);
    return SimReplyTo(request, std::move(bytes));
}

}  // namespace

SimFrame SimStatusReply(const CorvaneState& state) {
    SimFrame reply;
    reply.command = 1;
    reply.payload.assign(state.status.begin(), state.status.end());
    return reply;
}

std::map<unsigned, CSimController::Handler> SimDefaultHandlers() {
    std::map<unsigned, CSimController::Handler> handlers = {
        {3, OnCommit},       {4, OnOpenDownload}, {7, OnLogRecord},       {10, OnLoggingState},
        {22, OnReadMemory},  {23, OnCommit},      {25, OnAskControl},     {26, OnReleaseControl},
        {45, OnCommandLine}, {59, OnOpenSession}, {60, OnNetworkControl}, {61, OnStandbyAddress},
    };
    AddSimDataHandlers(handlers);
    for (unsigned set : {6, 9, 12, 16, 17, 28, 33, 39, 47, 51, 65, 69, 71, 82, 85})
        handlers[set] = OnSet;
    return handlers;
}

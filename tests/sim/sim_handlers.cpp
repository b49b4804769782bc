#include "tests/sim/sim_handlers.h"

namespace {

constexpr std::uint8_t kPoll = 0x9E;
constexpr std::uint8_t kRelease = 0x1A;

SimFrame Refuse(const SimFrame& request) {
    SimFrame reply = SimReplyTo(request);
    reply.nak = true;
    return reply;
}

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
    if (request.payload.size() != 1) return Refuse(request);
    if (request.payload[0] == kPoll) {
        std::vector<std::uint8_t> payload{kPoll};
        payload.insert(payload.end(), state.status.begin(), state.status.end());
        return SimReplyTo(request, std::move(payload));
    }
    if (request.payload[0] == kRelease) {
        state.sessions.erase(request.tag);
        return SimReplyTo(request, {kRelease});
    }
    return Refuse(request);
}

// 61: the standby controller's address, a.b.c.d in byte order.
std::optional<SimFrame> OnStandbyAddress(CorvaneState& state, const SimFrame& request) {
    if (!state.standbyAddress) return Refuse(request);
    std::uint32_t a = *state.standbyAddress;
    return SimReplyTo(request,
                      {static_cast<std::uint8_t>(a >> 24), static_cast<std::uint8_t>(a >> 16),
                       static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a)});
}

}  // namespace

SimFrame SimStatusReply(const CorvaneState& state) {
    SimFrame reply;
    reply.command = 1;
    reply.payload.assign(state.status.begin(), state.status.end());
    return reply;
}

std::map<unsigned, CSimController::Handler> SimDefaultHandlers() {
    return {
        {59, OnOpenSession},
        {60, OnNetworkControl},
        {61, OnStandbyAddress},
    };
}

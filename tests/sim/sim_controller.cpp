#include "tests/sim/sim_controller.h"

#include <algorithm>
#include <functional>
#include <string>

#include "tests/sim/sim_handlers.h"

namespace {

constexpr unsigned kOpenSession = 59;
constexpr unsigned kStandbyAddress = 61;
constexpr unsigned kReadMemory = 22;
constexpr unsigned kWriteMemory = 31;
constexpr std::uint16_t kNoSession = 0xFFFF;
constexpr std::uint16_t kUnknownSession = 0xFFFE;

}  // namespace

SimFrame SimReplyTo(const SimFrame& request, std::vector<std::uint8_t> payload) {
    SimFrame reply;
    reply.command = request.command;
    reply.sequence = request.sequence;
    reply.tag = request.tag;
    reply.payload = std::move(payload);
    return reply;
}

SimFrame SimRefusal(const SimFrame& request) {
    SimFrame reply = SimReplyTo(request);
    reply.nak = true;
    return reply;
}

CSimController::CSimController(bool network)
    : m_network(network), m_reader(network), m_handlers(SimDefaultHandlers()) {}

void CSimController::SetHandler(unsigned command, Handler handler) {
    std::lock_guard guard(m_lock);
    m_handlers[command] = std::move(handler);
}

void CSimController::ScriptReply(unsigned command, std::vector<std::uint8_t> payload) {
    std::lock_guard guard(m_lock);
    m_scripted[command].push_back(std::move(payload));
}

void CSimController::InjectFault(SimFault fault, int times, std::optional<unsigned> command) {
    std::lock_guard guard(m_lock);
    m_faults.insert(m_faults.end(), times, {fault, command});
}

void CSimController::SetLateReplyDelay(int ms) {
    std::lock_guard guard(m_lock);
    m_lateReplyMs = ms;
}

void CSimController::SetRandomFaults(double dropRate, double byteRate, unsigned seed) {
    std::lock_guard guard(m_lock);
    m_dropRate = dropRate;
    m_byteRate = byteRate;
    m_seed = seed;
    m_random.seed(seed);
    m_spoilRounds.clear();
}

void CSimController::ChangeState(const std::function<void(CorvaneState&)>& change) {
    std::lock_guard guard(m_lock);
    change(m_state);
}

std::vector<SimFrame> CSimController::Requests() const {
    std::lock_guard guard(m_lock);
    return m_requests;
}

SimSetup CSimController::Setup() const {
    std::lock_guard guard(m_lock);
    return m_state.setup;
}

std::vector<std::uint8_t> CSimController::RawBytes() const {
    std::lock_guard guard(m_lock);
    return m_rawBytes;
}

int CSimController::BadFrames() const {
    std::lock_guard guard(m_lock);
    return m_badFrames;
}

bool CSimController::WaitForRequests(
    const std::function<bool(const std::vector<SimFrame>&)>& condition,
    std::chrono::milliseconds within) const {
    std::unique_lock lock(m_lock);
    return m_arrived.wait_for(lock, within, [&] { return condition(m_requests); });
}

std::vector<SimWrite> CSimController::OnSerialBytes(std::span<const std::uint8_t> bytes) {
    std::lock_guard guard(m_lock);
    std::vector<SimInput> inputs;
    for (std::uint8_t b : bytes)
        m_reader.Feed(b, inputs);
    return Answer(inputs);
}

std::vector<SimWrite> CSimController::OnDatagram(std::span<const std::uint8_t> datagram) {
    std::lock_guard guard(m_lock);
    std::vector<SimInput> inputs;
    m_reader.Reset();
    for (std::uint8_t b : datagram)
        m_reader.Feed(b, inputs);
    m_reader.Reset();
    if (inputs.empty()) ++m_badFrames;
    return Answer(inputs);
}

std::vector<SimWrite> CSimController::Answer(const std::vector<SimInput>& inputs) {
    std::vector<SimWrite> out;
    for (const SimInput& in : inputs) {
        if (m_state.silent) {
            if (in.kind == SimInput::Kind::Frame) m_requests.push_back(in.frame);
            if (in.kind == SimInput::Kind::RawByte) m_rawBytes.push_back(in.rawByte);
            m_arrived.notify_all();
            continue;
        }
        switch (in.kind) {
            case SimInput::Kind::BadFrame: ++m_badFrames; break;
            case SimInput::Kind::RawByte:
                m_rawBytes.push_back(in.rawByte);
                m_arrived.notify_all();
                // On the network the control bytes travel inside command 60.
                if (!m_network && in.rawByte == 0x9E) Emit(SimStatusReply(m_state), out);
                break;
            case SimInput::Kind::Frame: {
                m_requests.push_back(in.frame);
                m_arrived.notify_all();
                // The payload too: the link's release at exit may reuse the sequence number
                // of the poll just before it.
                const bool again = m_lastRequest && m_lastRequest->command == in.frame.command &&
                                   m_lastRequest->sequence == in.frame.sequence &&
                                   m_lastRequest->tag == in.frame.tag &&
                                   m_lastRequest->payload == in.frame.payload &&
                                   in.frame.sequence != 0;
                std::optional<SimFrame> reply = again ? m_lastReply : Reply(in.frame);
                m_lastRequest = in.frame;
                m_lastReply = reply;
                if (reply) Emit(std::move(*reply), out);
                break;
            }
        }
    }
    return out;
}

std::optional<SimFrame> CSimController::Reply(const SimFrame& request) {
    if (m_network) {
        if (auto refused = SessionCheck(request)) return refused;
    }
    if (auto it = m_scripted.find(request.command); it != m_scripted.end() && !it->second.empty()) {
        SimFrame reply = SimReplyTo(request, std::move(it->second.front()));
        it->second.pop_front();
        return reply;
    }
    if (auto it = m_handlers.find(request.command); it != m_handlers.end())
        return it->second(m_state, request);
    // A command this controller does not know is refused.
    return SimRefusal(request);
}

std::optional<SimFrame> CSimController::SessionCheck(const SimFrame& request) const {
    if (request.command == kOpenSession || request.command == kStandbyAddress) return std::nullopt;
    // Memory requests for the standby processor come straight to the standby controller.
    const bool memory = request.command == kReadMemory || request.command == kWriteMemory;
    if (request.tag == kNoSession && memory) return std::nullopt;
    if (request.tag == kNoSession) return SimRefusal(request);
    if (!m_state.sessions.count(request.tag)) {
        SimFrame reply = SimReplyTo(request);
        reply.tag = kUnknownSession;
        return reply;
    }
    return std::nullopt;
}

void CSimController::Emit(SimFrame reply, std::vector<SimWrite>& out) {
    std::optional<SimFault> fault;
    auto pending = std::find_if(m_faults.begin(), m_faults.end(), [&](const PendingFault& f) {
        return !f.command || *f.command == reply.command;
    });
    if (pending != m_faults.end()) {
        fault = pending->fault;
        m_faults.erase(pending);
    }
    std::uniform_real_distribution<double> chance(0, 1);
    if (!fault && m_dropRate > 0 && chance(m_random) < m_dropRate) return;
    if (fault == SimFault::DropReply) return;
    if (fault == SimFault::Nak) reply.nak = true;
    if (fault == SimFault::Ctrl) reply.ctrl = true;
    if (fault == SimFault::WrongSequence) reply.sequence = (reply.sequence + 1) % 4096;
    auto body = SimFrameBody(reply, m_network, fault == SimFault::BadChecksum);
    if (fault == SimFault::CorruptByte) body[m_network ? 2 : 0] ^= 0x01;
    std::size_t split = 0;
    SimWrite write{SimWrapBody(body, &split)};
    write.foreignSource = fault == SimFault::ForeignSource;
    if (fault == SimFault::LateReply) write.delayMs = m_lateReplyMs;
    if (fault == SimFault::SplitEndByte) {
        SimWrite rest{{write.bytes.begin() + static_cast<std::ptrdiff_t>(split), write.bytes.end()},
                      50};
        write.bytes.resize(split);
        out.push_back(std::move(write));
        out.push_back(std::move(rest));
        return;
    }
    if (fault == SimFault::StrayBytes) write.bytes.insert(write.bytes.begin(), {0x11, 0x22, 0x33});
    if (fault == SimFault::CutOff) write.bytes.resize(write.bytes.size() * 2 / 3);
    if (fault == SimFault::Oversize) {
        write.bytes.assign(5000, 0x01);
        write.bytes.front() = 0xD5;
        write.bytes.back() = 0xDD;
    }
    if (m_byteRate > 0) Spoil(reply, write.bytes);
    out.push_back(std::move(write));
}

void CSimController::Spoil(const SimFrame& reply, std::vector<std::uint8_t>& bytes) {
    std::string key(reply.payload.begin(), reply.payload.end());
    key.push_back(static_cast<char>(reply.command));
    key.push_back(static_cast<char>(reply.command >> 8));
    std::seed_seq seed{m_seed, m_spoilRounds[key]++,
                       static_cast<unsigned>(std::hash<std::string>{}(key))};
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> chance(0, 1);
    for (std::uint8_t& b : bytes)
        if (chance(random) < m_byteRate) b ^= static_cast<std::uint8_t>(1u << (random() % 8));
}

#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "tests/sim/sim_codec.h"
#include "tests/sim/sim_state.h"

// Faults the controller puts into its next replies, one fault per reply, in order.
enum class SimFault {
    DropReply,      // no reply at all
    Nak,            // the reply refuses the request
    WrongSequence,  // the reply carries the next sequence number instead
    BadChecksum,    // the checksum byte is off by one
    CorruptByte,    // a header byte changes after the checksum was made
    SplitEndByte,   // the frame goes out in two writes, split after an escaped end byte
    StrayBytes,     // noise before the frame
    CutOff,         // the frame stops short, without its end byte
    Oversize,       // a frame far longer than any reply instead of the reply
    ForeignSource,  // network: the reply comes from another port
    Ctrl,           // the reply carries the CTRL flag (exclusive control lost)
    LateReply,      // the reply comes after the controller's late-reply delay
};

// One write towards the client: a chunk of the serial stream or one datagram.
struct SimWrite {
    std::vector<std::uint8_t> bytes;
    int delayMs = 0;
    bool foreignSource = false;
};

// The simulated controller, apart from its transport: it decodes what the client sends,
// answers through one handler per command code and spoils replies on request.
class CSimController {
public:
    using Handler = std::function<std::optional<SimFrame>(CorvaneState&, const SimFrame&)>;

    explicit CSimController(bool network);

    // Test side, from any thread.
    void SetHandler(unsigned command, Handler handler);
    // The next request with this command gets exactly this payload back.
    void ScriptReply(unsigned command, std::vector<std::uint8_t> payload);
    // With a command given, only replies to that command take the faults.
    void InjectFault(SimFault fault, int times = 1, std::optional<unsigned> command = {});
    void SetLateReplyDelay(int ms);
    // Beside the injected faults: each reply is dropped at the drop rate, and each byte of a
    // reply that goes out has one bit flipped at the byte rate. The same seed, the same
    // choices; the bytes spoilt depend only on the reply and how often it went out before,
    // not on what else (polls) the link sent meanwhile.
    void SetRandomFaults(double dropRate, double byteRate, unsigned seed = 1);
    void ChangeState(const std::function<void(CorvaneState&)>& change);
    std::vector<SimFrame> Requests() const;
    // The controller's setup as the client's requests have left it.
    SimSetup Setup() const;
    std::vector<std::uint8_t> RawBytes() const;
    int BadFrames() const;
    // True when the frames that have come in satisfy the condition within the time.
    bool WaitForRequests(const std::function<bool(const std::vector<SimFrame>&)>& condition,
                         std::chrono::milliseconds within) const;

    // Transport side: a chunk of the serial stream, or one whole datagram.
    std::vector<SimWrite> OnSerialBytes(std::span<const std::uint8_t> bytes);
    std::vector<SimWrite> OnDatagram(std::span<const std::uint8_t> datagram);

private:
    std::vector<SimWrite> Answer(const std::vector<SimInput>& inputs);
    std::optional<SimFrame> Reply(const SimFrame& request);
    std::optional<SimFrame> SessionCheck(const SimFrame& request) const;
    void Emit(SimFrame reply, std::vector<SimWrite>& out);

    const bool m_network;
    CSimStreamReader m_reader;
    mutable std::mutex m_lock;
    mutable std::condition_variable m_arrived;
    CorvaneState m_state;
    std::map<unsigned, Handler> m_handlers;
    std::map<unsigned, std::deque<std::vector<std::uint8_t>>> m_scripted;
    struct PendingFault {
        SimFault fault;
        std::optional<unsigned> command;
    };
    std::deque<PendingFault> m_faults;
    int m_lateReplyMs = 0;
    void Spoil(const SimFrame& reply, std::vector<std::uint8_t>& bytes);

    double m_dropRate = 0;
    double m_byteRate = 0;
    unsigned m_seed = 1;
    std::mt19937 m_random;
    // How often each reply went out with bytes at risk, by its command and payload.
    std::map<std::string, unsigned> m_spoilRounds;
    // The last request answered and its answer: the same request again (a resend after a
    // lost or spoilt reply) gets the same answer and changes nothing.
    std::optional<SimFrame> m_lastRequest;
    std::optional<SimFrame> m_lastReply;
    std::vector<SimFrame> m_requests;
    std::vector<std::uint8_t> m_rawBytes;
    int m_badFrames = 0;
};

// A reply to the request: same command, sequence and tag, with this payload.
SimFrame SimReplyTo(const SimFrame& request, std::vector<std::uint8_t> payload = {});
// The request refused: its reply with the NAK flag.
SimFrame SimRefusal(const SimFrame& request);

#include "tests/sim/sim_showcase_log.h"

#include <ctime>
#include <memory>
#include <mutex>

#include "tests/sim/sim_handlers.h"

namespace {

using Clock = std::chrono::system_clock;

constexpr unsigned kLoggingState = 10, kLoggingOnOff = 13, kNetworkControl = 60;
constexpr std::uint8_t kPoll = 0x9E;
constexpr std::size_t kRecordText = 70;
// From 100 intercoms on the viewer reads the wider layout.
constexpr int kWideFrom = 100;
constexpr int kStartRecords = 6;
constexpr auto kStartSpacing = std::chrono::milliseconds(97310);
// Every this many requests finds no trunk free.
constexpr int kRefusedEvery = 9;
constexpr unsigned kRequestCode = 1, kGranted = 0, kNoTrunkFree = 5;
constexpr unsigned kPortsPerCard = 16;

std::string Digits(unsigned value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() > width) text = text.substr(text.size() - width);
    return std::string(width - text.size(), '0') + text;
}

struct End {
    unsigned icom = 0;
    unsigned port = 0;
};

End EndOf(const std::vector<std::uint8_t>& trunk, std::size_t at) {
    return {trunk[at], (static_cast<unsigned>(trunk[at + 1]) << 8 | trunk[at + 2]) & 0xFFFu};
}

struct LogState {
    std::mutex lock;
    bool on = false;
    Clock::time_point last;
    int next = 0;  // counts the requests made up so far
};

// The trunk of the n-th request: spread over the trunks rather than in order.
int TrunkOf(const SimSetup& setup, int n) {
    if (setup.trunks <= 0) return 0;
    return static_cast<int>((static_cast<unsigned>(n) * 2654435761u >> 8) %
                            static_cast<unsigned>(setup.trunks));
}

SimTrunkRequest RequestOf(const SimSetup& setup, int n, Clock::time_point at) {
    return {at, TrunkOf(setup, n), n % 3 != 1, n % kRefusedEvery != kRefusedEvery - 1};
}

}  // namespace

std::string SimLogRecord(const SimSetup& setup, const SimTrunkRequest& request) {
    const bool wide = setup.intercoms >= kWideFrom;
    const std::vector<std::uint8_t> trunk = setup.Record(8, request.trunk, 13);
    const End first = EndOf(trunk, 0), second = EndOf(trunk, 3);
    const End asking = request.from ? first : second;
    const End far = request.from ? second : first;

    const std::time_t seconds = Clock::to_time_t(request.at);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto hundredths = static_cast<unsigned>(
        std::chrono::duration_cast<std::chrono::milliseconds>(request.at.time_since_epoch())
            .count() %
        1000 / 10);

    // Intercoms, trunks and cards are counted from 1 as the program shows them.
    const unsigned given = request.granted ? static_cast<unsigned>(request.trunk) + 1 : 0;
    const std::size_t icomWidth = wide ? 3 : 2, trunkWidth = wide ? 5 : 3;
    std::string r = Digits(static_cast<unsigned>(local.tm_year % 100), 2) +
                    Digits(static_cast<unsigned>(local.tm_mon + 1), 2) +
                    Digits(static_cast<unsigned>(local.tm_mday), 2) + ' ' +
                    Digits(static_cast<unsigned>(local.tm_hour), 2) +
                    Digits(static_cast<unsigned>(local.tm_min), 2) +
                    Digits(static_cast<unsigned>(local.tm_sec), 2) + Digits(hundredths, 2) + ' ';
    r += Digits(asking.icom + 1, icomWidth) + ' ' + Digits(asking.port / kPortsPerCard + 1, 2) +
         ' ' + Digits(asking.port, 3) + ' ';
    // The far intercom has one place more and no gap after it.
    r += Digits(far.icom + 1, icomWidth + 1) + Digits(far.port / kPortsPerCard + 1, 2) + ' ' +
         Digits(far.port, 3) + ' ';
    r += Digits(static_cast<unsigned>(request.trunk) + 1, trunkWidth) + ' ';
    r += Digits(given, trunkWidth) + ' ' + Digits(0, trunkWidth) + ' ';
    // Four places that only the narrow layout has: the trunk's state after the request.
    if (!wide) r += request.granted ? "USED" : "FREE";
    r += Digits(kRequestCode, 2) + ' ' + Digits(request.granted ? kGranted : kNoTrunkFree, 2) + ' ';
    // The rest, which the viewer's default masks do not show, names both ends (4 characters).
    const auto name = [&](unsigned icom) {
        auto it = setup.names.find(static_cast<int>(icom));
        return it == setup.names.end() ? std::string() : it->second[0];
    };
    r += name(asking.icom) + " > " + name(far.icom);
    r.resize(kRecordText, ' ');
    return r + "\r\n";
}

void InstallShowcaseLog(CSimController& controller, std::chrono::milliseconds interval) {
    auto log = std::make_shared<LogState>();
    log->last = Clock::now();
    controller.ChangeState([&](CorvaneState& state) {
        // What the controller logged before anyone looked, a minute or two apart.
        for (int n = 0; n < kStartRecords; ++n) {
            const auto at = log->last - kStartSpacing * (kStartRecords - n);
            state.logRecords.push_back(SimLogRecord(state.setup, RequestOf(state.setup, n, at)));
        }
        log->next = kStartRecords;
    });
    controller.SetHandler(kLoggingOnOff,
                          [log](CorvaneState&, const SimFrame& request) -> std::optional<SimFrame> {
                              if (request.payload.size() != 1) return SimRefusal(request);
                              std::lock_guard guard(log->lock);
                              if (!log->on && request.payload[0] != 0) log->last = Clock::now();
                              log->on = request.payload[0] != 0;
                              return SimReplyTo(request);
                          });
    controller.SetHandler(
        kLoggingState, [log](CorvaneState&, const SimFrame& request) -> std::optional<SimFrame> {
            std::lock_guard guard(log->lock);
            return SimReplyTo(request, {static_cast<std::uint8_t>(log->on ? 1 : 0)});
        });
    // Trunks are asked for between the polls; the poll is where the controller notices.
    controller.SetHandler(
        kNetworkControl, [log, interval, poll = SimDefaultHandlers().at(kNetworkControl)](
                             CorvaneState& state, const SimFrame& request) {
            if (request.payload.size() == 1 && request.payload[0] == kPoll) {
                std::lock_guard guard(log->lock);
                const auto now = Clock::now();
                if (log->on && now - log->last >= interval) {
                    log->last = now;
                    state.logRecords.push_back(
                        SimLogRecord(state.setup, RequestOf(state.setup, log->next++, now)));
                }
            }
            return poll(state, request);
        });
}

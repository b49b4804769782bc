#include "tests/sim/sim_server_options.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

struct Feature {
    const char* name;
    bool SimShowcaseOptions::*flag;
    const char* what;
};

constexpr Feature kFeatures[] = {
    {"standby", &SimShowcaseOptions::standby, "a standby controller beside the active one"},
    {"oos", &SimShowcaseOptions::outOfService, "trunks out of service"},
    {"ifbsl", &SimShowcaseOptions::ifbsl, "IFBSL alphas"},
    {"counters", &SimShowcaseOptions::alphaCounters, "alpha change counters"},
    {"unicode", &SimShowcaseOptions::unicode, "wide 8-character names"},
    {"network", &SimShowcaseOptions::network, "intercoms reached over the network"},
    {"cascade", &SimShowcaseOptions::cascadeCosts, "intercom cascade costs"},
};

// A whole decimal number from low to high, else false.
bool ParseNumber(const std::string& text, int low, int high, int& out) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end || value < low || value > high) return false;
    out = value;
    return true;
}

// A comma-separated list of feature names, or "none".
bool ParseFeatures(const std::string& text, SimShowcaseOptions& options, std::string& error) {
    for (const Feature& f : kFeatures)
        options.*f.flag = false;
    if (text == "none") return true;
    std::stringstream list(text);
    std::string name;
    while (std::getline(list, name, ',')) {
        bool known = false;
        for (const Feature& f : kFeatures) {
            if (name != f.name) continue;
            options.*f.flag = true;
            known = true;
        }
        if (!known) {
            error = "unknown feature '" + name + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

SimServerOptions ParseSimServerOptions(const std::vector<std::string>& args) {
    SimServerOptions options;
    struct Number {
        const char* name;
        int low;
        int high;
        int* value;
    };
    int port = options.port;
    const Number numbers[] = {
        {"--port", 1, 65535, &port},
        {"--intercoms", 1, SimShowcaseOptions::kMaxIntercoms, &options.setup.intercoms},
        {"--trunks", 1, SimShowcaseOptions::kMaxTrunks, &options.setup.trunks},
        {"--groups", 0, SimShowcaseOptions::kMaxGroups, &options.setup.groups},
    };
    for (std::size_t i = 0; i < args.size() && options.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        const bool takesValue =
            arg == "--features" || std::any_of(std::begin(numbers), std::end(numbers),
                                               [&](const Number& n) { return arg == n.name; });
        if (!takesValue) {
            options.error = "unknown option '" + arg + "'";
            break;
        }
        if (i + 1 >= args.size()) {
            options.error = arg + " needs a value";
            break;
        }
        const std::string& value = args[++i];
        if (arg == "--features") {
            ParseFeatures(value, options.setup, options.error);
            continue;
        }
        for (const Number& n : numbers) {
            if (arg != n.name || ParseNumber(value, n.low, n.high, *n.value)) continue;
            options.error = arg + " takes a number from " + std::to_string(n.low) + " to " +
                            std::to_string(n.high) + ", not '" + value + "'";
        }
    }
    options.port = static_cast<std::uint16_t>(port);
    return options;
}

std::string SimServerUsage(const std::string& program) {
    const SimShowcaseOptions defaults;
    std::string features;
    for (const Feature& f : kFeatures)
        features += std::string("                     ") + f.name + ": " + f.what + "\n";
    return "usage: " + program +
           " [options]\n"
           "A simulated Corvane on 127.0.0.1, for trying Kelvardin ONLINE; Ctrl+C stops it.\n"
           "  --port N           UDP port (default " +
           std::to_string(SimServerOptions::kDefaultPort) +
           ")\n"
           "  --intercoms N      intercoms, 1 to " +
           std::to_string(SimShowcaseOptions::kMaxIntercoms) + " (default " +
           std::to_string(defaults.intercoms) +
           ")\n"
           "  --trunks N         trunks, 1 to " +
           std::to_string(SimShowcaseOptions::kMaxTrunks) + " (default " +
           std::to_string(defaults.trunks) +
           ")\n"
           "  --groups N         intercom groups, 0 to " +
           std::to_string(SimShowcaseOptions::kMaxGroups) + " (default " +
           std::to_string(defaults.groups) +
           ")\n"
           "  --features LIST    the features it has, comma-separated, or none (default all but\n"
           "                     counters):\n" +
           features + "  --help             this text\n";
}

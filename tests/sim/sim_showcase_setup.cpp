#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "tests/sim/sim_showcase.h"
#include "tests/sim/sim_wire.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Status flags and capability bits of the status record.
constexpr std::uint8_t kSupervision = 0x04;
constexpr std::uint8_t kEnhancedStatus = 0x08;
constexpr std::uint8_t kExtended = 0x10;
constexpr std::uint8_t kUnicodeNames = 0x40;
constexpr std::uint32_t kCascadeCosts = 0x20000;
constexpr std::uint32_t kNetworkIntercoms = 0x8000000;
constexpr std::uint32_t kTwoControllers = 0x20000000;

// Wire alpha kinds.
constexpr unsigned kPort = 0, kPartyLine = 1, kIfb = 2, kSourceLine = 3, kRelay = 4, kIso = 5,
                   kUser = 6, kIfbsl = 8;
constexpr std::uint8_t kNone = 0xFF;

// The trunk definition flag of a trunk that may be cascaded.
constexpr std::uint8_t kCascadable = 0x02;

// The intercoms' names at 8, 6 and 4 characters; intercoms past the list are numbered frames.
struct SiteName {
    const char* name8;
    const char* name6;
    const char* name4;
};
constexpr SiteName kSites[] = {
    {"STUDIO A", "STUD A", "STDA"}, {"STUDIO B", "STUD B", "STDB"}, {"STUDIO C", "STUD C", "STDC"},
    {"MCR", "MCR", "MCR"},          {"NEWSROOM", "NEWS", "NEWS"},   {"SPORT", "SPORT", "SPRT"},
    {"OB TRUCK", "OB TRK", "OBTK"}, {"AUDIO 1", "AUDIO1", "AUD1"},  {"AUDIO 2", "AUDIO2", "AUD2"},
    {"EDIT 1", "EDIT 1", "EDT1"},   {"EDIT 2", "EDIT 2", "EDT2"},   {"GALLERY", "GALLRY", "GALL"},
    {"TX CTRL", "TX CTL", "TXC"},   {"RADIO 1", "RADIO1", "RAD1"},  {"RADIO 2", "RADIO2", "RAD2"},
    {"PLAYOUT", "PLYOUT", "PLAY"},  {"GRAPHICS", "GRAPHX", "GFX"},  {"ARCHIVE", "ARCHIV", "ARCH"},
    {"WEATHER", "WEATHR", "WTHR"},  {"RECEPTN", "RECEPT", "RECP"},  {"CAM ROOM", "CAMRM", "CAMR"},
    {"VT AREA", "VT", "VT"},        {"LIGHTING", "LIGHTS", "LX"},   {"TECH OPS", "TECHOP", "TOPS"},
};
constexpr int kSiteCount = static_cast<int>(std::size(kSites));

// The stations on every intercom's first ports.
constexpr const char* kStations[] = {"DIR",  "PROD", "VIS", "SND",  "LX",   "CAM1", "CAM2", "CAM3",
                                     "CAM4", "FLR",  "GFX", "RPLY", "EDIT", "TAL",  "PRES", "ENG"};
constexpr int kStationPorts = static_cast<int>(std::size(kStations));

// A few resources of every other kind.
struct KindAlphas {
    unsigned kind;
    std::vector<std::string> labels;
};

struct GroupPlan {
    const char* name;
    std::vector<int> sites;  // empty: every intercom
};

std::array<std::string, 4> NamesOf(int icom) {
    if (icom < kSiteCount) {
        const SiteName& s = kSites[icom];
        return {s.name4, s.name6, s.name8, s.name8};
    }
    const std::string n = std::to_string(icom + 1);
    const std::string n3 = std::string(3 - std::min<std::size_t>(n.size(), 3), '0') + n;
    return {"F" + n3, "FRM" + n, "FRAME " + n, "FRAME " + n};
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string TwoDigits(int n) {
    return std::string(n < 10 ? "0" : "") + std::to_string(n);
}

void PutU32(Bytes& out, std::uint32_t value) {
    SimPutU16(out, value >> 16);
    SimPutU16(out, value & 0xFFFF);
}

// A trunk end or assignment: intercom, then kind in the top four bits over the number.
void PutAssign(Bytes& out, std::uint8_t icom, unsigned kind, unsigned number) {
    out.push_back(icom);
    SimPutU16(out, kind << 12 | (number & 0xFFF));
}

void PutWide(Bytes& out, const std::string& text, std::size_t chars) {
    const std::string padded = Padded(text, chars);
    for (char c : padded)
        SimPutU16(out, static_cast<unsigned char>(c));
}

// Which intercoms each trunk joins: every intercom to its next few neighbours, trunks in
// blocks per pair so that the trunk list reads in order.
std::vector<std::pair<int, int>> TrunkPairs(int intercoms) {
    if (intercoms < 2) return {{0, 0}};
    const int reach = std::clamp(intercoms / 2, 1, 3);
    std::set<std::pair<int, int>> pairs;
    for (int i = 0; i < intercoms; ++i)
        for (int d = 1; d <= reach; ++d) {
            const int j = (i + d) % intercoms;
            pairs.insert({std::min(i, j), std::max(i, j)});
        }
    return {pairs.begin(), pairs.end()};
}

// Most trunks idle, some allocated or in use, a few in maintenance or out of service.
std::uint8_t StateOf(int trunk, bool outOfService) {
    const unsigned roll = (static_cast<unsigned>(trunk + 2) * 2654435761u >> 16) % 100;
    if (roll < 4) return kSimTrunkMaintenance;
    if (roll < 8) return outOfService ? kSimTrunkOutOfService : 0;
    if (roll < 18) return kSimTrunkInUse;
    if (roll < 30) return kSimTrunkAllocated;
    return 0;
}

void AddTrunks(SimSetup& setup, const SimShowcaseOptions& options) {
    constexpr int kLastPort = 998;
    const auto pairs = TrunkPairs(options.intercoms);
    std::vector<int> nextPort(static_cast<std::size_t>(options.intercoms), kStationPorts);
    std::size_t block = pairs.size();
    int inBlock = 0;
    auto takePort = [&](int icom) {
        int& next = nextPort[static_cast<std::size_t>(icom)];
        const int port = next;
        next = next >= kLastPort ? kStationPorts : next + 1;
        return port;
    };
    for (int t = 0; t < options.trunks; ++t) {
        const std::size_t p =
            static_cast<std::size_t>(t) * pairs.size() / static_cast<std::size_t>(options.trunks);
        inBlock = p == block ? inBlock + 1 : 1;
        block = p;
        const auto [a, b] = pairs[p];
        const int portA = takePort(a);
        const int portB = a == b ? takePort(a) : takePort(b);
        auto& alphasA = setup.alphas[{a, kPort}];
        auto& alphasB = setup.alphas[{b, kPort}];
        for (auto [alphas, port, far] : {std::tuple{&alphasA, portA, b}, {&alphasB, portB, a}}) {
            if (alphas->size() <= static_cast<std::size_t>(port))
                alphas->resize(static_cast<std::size_t>(port) + 1);
            // The far intercom's short name, then the trunk's place among those to it.
            (*alphas)[static_cast<std::size_t>(port)] =
                Padded(NamesOf(far)[0], 4) + TwoDigits(inBlock % 100);
        }
        Bytes record;
        PutAssign(record, static_cast<std::uint8_t>(a), kPort, static_cast<unsigned>(portA));
        PutAssign(record, static_cast<std::uint8_t>(b), kPort, static_cast<unsigned>(portB));
        for (int i = 0; i < 2; ++i)
            record.insert(record.end(), {kNone, kNone, kNone});
        record.push_back(t % 8 == 7 ? 0 : kCascadable);
        setup.records[{8, t}] = record;
        setup.records[{14, t}] = {StateOf(t, options.outOfService)};
    }
}

void AddAlphas(SimSetup& setup, const SimShowcaseOptions& options, int icom) {
    auto& ports = setup.alphas[{icom, kPort}];
    if (ports.size() < static_cast<std::size_t>(kStationPorts))
        ports.resize(static_cast<std::size_t>(kStationPorts));
    std::copy(std::begin(kStations), std::end(kStations), ports.begin());
    std::vector<KindAlphas> kinds = {
        {kPartyLine, {"PROD", "ENG", "CAMS", "ALL"}},
        {kIfb, {"IFB1", "IFB2", "IFB3", "IFB4"}},
        {kSourceLine, {"PGM", "PVW"}},
        {kRelay, {"ONAIR", "REHS"}},
        {kIso, {"ISO1", "ISO2"}},
        {kUser, {"USR1"}},
    };
    if (options.ifbsl) kinds.push_back({kIfbsl, {"ISL1", "ISL2"}});
    for (auto& [kind, labels] : kinds)
        setup.alphas[{icom, kind}] = labels;
}

void AddIntercom(SimSetup& setup, const SimShowcaseOptions& options, int i) {
    setup.names[i] = NamesOf(i);
    const bool network = options.network && i % 4 != 3;
    setup.records[{15, i}] = {1};  // 38.4K
    setup.records[{27, i}] = {network ? kNone : static_cast<std::uint8_t>(1 + i % 8)};
    setup.records[{68, i}] = {network ? std::uint8_t{1} : std::uint8_t{0}};
    // Documentation address ranges: nothing is ever sent to them.
    Bytes primary, backup;
    PutU32(primary, network ? 0xC6336400u + 1 + static_cast<unsigned>(i) % 254 : 0);
    PutU32(backup, network ? 0xCB007100u + 1 + static_cast<unsigned>(i) % 254 : 0);
    setup.records[{SimSetup::RecordKey(70, 0), i}] = primary;
    setup.records[{SimSetup::RecordKey(70, 1), i}] = backup;
    Bytes cost;
    SimPutU16(cost, 10 + static_cast<unsigned>(i % 5) * 10);
    setup.records[{81, i}] = cost;
    AddAlphas(setup, options, i);
}

void AddGroups(SimSetup& setup, const SimShowcaseOptions& options) {
    const std::vector<GroupPlan> plans = {
        {"ALL FRAMES", {}},        {"STUDIOS", {0, 1, 2, 11}}, {"NEWS", {4, 16, 18}},
        {"SPORT", {5, 6}},         {"AUDIO", {7, 8}},          {"EDIT SUITES", {9, 10}},
        {"RADIO", {13, 14}},       {"CONTROL", {3, 12, 15}},   {"OUTSIDE", {6, 20}},
        {"PRESENTATION", {3, 15}}, {"SUPPORT", {17, 19, 23}},  {"LIGHTING", {22, 2}},
    };
    for (int g = 0; g < options.groups; ++g) {
        std::string name =
            g < static_cast<int>(plans.size()) ? plans[g].name : "GROUP " + std::to_string(g + 1);
        std::vector<bool> member(static_cast<std::size_t>(options.intercoms));
        if (g < static_cast<int>(plans.size()) && plans[g].sites.empty())
            member.assign(member.size(), true);
        else if (g < static_cast<int>(plans.size()))
            for (int s : plans[g].sites)
                if (s < options.intercoms) member[static_cast<std::size_t>(s)] = true;
        // Numbered frames join the groups in turn.
        for (int i = kSiteCount; i < options.intercoms; ++i)
            member[static_cast<std::size_t>(i)] =
                g == 0 || (options.groups > 1 && i % (options.groups - 1) == g - 1);
        std::uint32_t mask = 0;
        Bytes bitmap(32);
        for (int i = 0; i < options.intercoms; ++i) {
            if (!member[static_cast<std::size_t>(i)]) continue;
            // Bit k + 1 is intercom k.
            if (i < 31) mask |= 1u << (i + 1);
            bitmap[static_cast<std::size_t>(i + 1) / 8] |=
                static_cast<std::uint8_t>(1u << ((i + 1) % 8));
        }
        Bytes shortForm;
        if (options.unicode) {
            PutWide(shortForm, name, 12);
        } else {
            const std::string padded = Padded(name, 12);
            shortForm.assign(padded.begin(), padded.end());
        }
        PutU32(shortForm, mask);
        setup.records[{32, g}] = shortForm;
        Bytes extended;
        PutWide(extended, name, 12);
        extended.insert(extended.end(), bitmap.begin(), bitmap.end());
        setup.records[{84, g}] = extended;
    }
}

}  // namespace

SimSetup MakeShowcaseSetup(const SimShowcaseOptions& options) {
    SimSetup setup;
    setup.flags = kSupervision | kEnhancedStatus | kExtended;
    if (options.unicode) setup.flags |= kUnicodeNames;
    setup.capabilities = 0;
    if (options.outOfService) setup.capabilities |= kSimOutOfServiceTrunks;
    if (options.cascadeCosts) setup.capabilities |= kCascadeCosts;
    if (options.ifbsl) setup.capabilities |= kSimIFBSLAlphas;
    if (options.alphaCounters) setup.capabilities |= kSimAlphaCounters;
    if (options.network) setup.capabilities |= kNetworkIntercoms;
    if (options.standby) setup.capabilities |= kTwoControllers;
    setup.intercoms = options.intercoms;
    setup.trunks = options.trunks;
    setup.groups = options.groups;
    for (int i = 0; i < options.intercoms; ++i)
        AddIntercom(setup, options, i);
    AddTrunks(setup, options);
    AddGroups(setup, options);
    return setup;
}

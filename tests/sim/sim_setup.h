#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The controller's setup as a test builds it: its size and abilities, which its status record
// reports, and the names and alphas it holds. What a test does not give (trunk definitions,
// states, intercom values) the controller makes up from the item's number.
struct SimSetup {
    // Flags of the status record: 0x04 trunk supervision, 0x08 enhanced status, 0x10 an
    // extended controller, 0x40 Unicode names.
    std::uint8_t flags = 0x04 | 0x08 | 0x10 | 0x40;
    // The capability word: 0x10000 out-of-service trunks, 0x1000000 IFBSL alphas, 0x40000000
    // alpha change counters...
    std::uint32_t capabilities = 0x01010000;
    // The change count of the alphas that the status reports, for every alpha length.
    std::uint8_t alphaChanges = 0;
    int trunks = 96;
    int intercoms = 12;
    int groups = 8;
    // The intercom names by length index (4, 6, 8, 16 characters); none are blank.
    std::map<int, std::array<std::string, 4>> names;
    // The alphas of an intercom and a wire alpha type.
    std::map<std::pair<int, unsigned>, std::vector<std::string>> alphas;
    // The trunks the client put into maintenance (1) or normal mode (0).
    std::map<int, std::uint8_t> trunkModes;
    // Records set by the client, in the layout of the get reply, by RecordKey and item.
    std::map<std::pair<unsigned, int>, std::vector<std::uint8_t>> records;

    // The key of a get code's records; the intercom addresses (70) also by their set.
    static unsigned RecordKey(unsigned getCode, unsigned set = 0) { return getCode | set << 8; }
    // The record of an item as a get reply carries it: the one set, else size bytes made up
    // from the item's number.
    std::vector<std::uint8_t> Record(unsigned key, int item, std::size_t size) const {
        auto it = records.find({key, item});
        if (it != records.end() && it->second.size() == size) return it->second;
        return std::vector<std::uint8_t>(size, static_cast<std::uint8_t>(item));
    }

    bool Extended() const { return flags & 0x10; }
    std::array<std::uint8_t, 26> Status() const {
        std::array<std::uint8_t, 26> s{};
        s[0] = flags;
        s[1] = static_cast<std::uint8_t>(intercoms > 255 ? 0 : intercoms);
        s[2] = static_cast<std::uint8_t>(trunks >> 8);
        s[3] = static_cast<std::uint8_t>(trunks);
        s[5] = 6;
        s[10] = static_cast<std::uint8_t>(groups);
        for (std::size_t i = 11; i <= 14; ++i)
            s[i] = alphaChanges;
        s[16] = static_cast<std::uint8_t>(intercoms >> 8);
        s[17] = static_cast<std::uint8_t>(intercoms);
        for (int i = 0; i < 4; ++i)
            s[22 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(capabilities >> (24 - 8 * i));
        return s;
    }
};

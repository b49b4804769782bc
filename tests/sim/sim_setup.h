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
    // The capability word: 0x10000 out-of-service trunks, 0x1000000 IFBSL alphas...
    std::uint32_t capabilities = 0x01010000;
    int trunks = 96;
    int intercoms = 12;
    int groups = 8;
    // The intercom names by length index (4, 6, 8, 16 characters); none are blank.
    std::map<int, std::array<std::string, 4>> names;
    // The alphas of an intercom and a wire alpha type.
    std::map<std::pair<int, unsigned>, std::vector<std::string>> alphas;

    bool Extended() const { return flags & 0x10; }
    std::array<std::uint8_t, 26> Status() const {
        std::array<std::uint8_t, 26> s{};
        s[0] = flags;
        s[1] = static_cast<std::uint8_t>(intercoms > 255 ? 0 : intercoms);
        s[2] = static_cast<std::uint8_t>(trunks >> 8);
        s[3] = static_cast<std::uint8_t>(trunks);
        s[5] = 6;
        s[10] = static_cast<std::uint8_t>(groups);
        s[16] = static_cast<std::uint8_t>(intercoms >> 8);
        s[17] = static_cast<std::uint8_t>(intercoms);
        for (int i = 0; i < 4; ++i)
            s[22 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(capabilities >> (24 - 8 * i));
        return s;
    }
};

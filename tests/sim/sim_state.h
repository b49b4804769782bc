#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>

// What the simulated controller knows about itself and its clients.
struct CorvaneState {
    // The 26-byte status record of the presence poll's answer.
    std::array<std::uint8_t, 26> status = DefaultStatus();
    // The standby controller's IPv4 address (host byte order); none makes 61 a NAK.
    std::optional<std::uint32_t> standbyAddress;
    // Every network session request is refused (tag 0xFFFF) while set.
    bool refuseSessions = false;
    std::uint16_t nextTag = 1;
    std::set<std::uint16_t> sessions;

    // An extended controller with Unicode names: 12 intercoms, 96 trunks, 8 groups.
    static std::array<std::uint8_t, 26> DefaultStatus() {
        std::array<std::uint8_t, 26> s{};
        s[0] = 0x04 | 0x08 | 0x10 | 0x40;
        s[1] = 12;
        s[3] = 96;
        s[5] = 6;
        s[10] = 8;
        s[17] = 12;
        s[22] = 0x01;  // capability word 0x01010000: OOSTrunks, IFBSLSupport
        s[23] = 0x01;
        return s;
    }
};

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <string>
#include <vector>

#include "link/frame_codec.h"
#include "platform/io/interface_addresses.h"
#include "shell/device_search.h"

namespace {

using Bytes = std::vector<BYTE>;

// The fields of an answer, as a device sends them.
struct Answer {
    BYTE type = 2;
    BYTE flags = 1;
    WORD first = 8, second = 3;
    DWORD partner = 0;
    std::string name = "Studio", description = "Floor 2";
    Bytes tail = {};  // frame number and count, when sent
};

// The payload of an answer: a tag, the command with its flags, a sequence number, the fields.
Bytes Payload(const Answer& a, WORD command = kCmdSearchIntercoms, BYTE flags = 0) {
    Bytes p = {0x12,
               0x34,
               static_cast<BYTE>(command),
               static_cast<BYTE>(flags | ((command >> 4) & 0x30)),
               0x01,
               a.type,
               a.flags};
    for (WORD w : {a.first, a.second})
        p.insert(p.end(), {static_cast<BYTE>(w >> 8), static_cast<BYTE>(w)});
    for (int shift = 24; shift >= 0; shift -= 8)
        p.push_back(static_cast<BYTE>(a.partner >> shift));
    for (const std::string* text : {&a.name, &a.description}) {
        p.push_back(static_cast<BYTE>(text->size()));
        p.insert(p.end(), text->begin(), text->end());
    }
    p.insert(p.end(), a.tail.begin(), a.tail.end());
    return p;
}

Bytes Frame(Bytes payload) {
    payload.push_back(FrameChecksum(payload));
    Bytes frame(2 * payload.size() + 2);
    frame.resize(DelimitFrame(payload, frame));
    return frame;
}

Bytes Framed(const Answer& a, WORD command = kCmdSearchIntercoms) {
    return Frame(Payload(a, command));
}

bool Parse(const Bytes& datagram, CFoundDevice& device) {
    std::vector<BYTE> payload;
    return UnframeSearchAnswer(datagram, payload) && ParseSearchAnswer(payload, device);
}

}  // namespace

TEST(DeviceSearch, RequestFrames) {
    EXPECT_EQ(BuildSearchRequest(222, 1), (Bytes{0xD5, 0xFF, 0xFF, 0xDE, 0x00, 0x01, 0x23, 0xDD}));
    EXPECT_EQ(BuildSearchRequest(209, 0x7FF),
              (Bytes{0xD5, 0xFF, 0xFF, 0xD1, 0x07, 0xFF, 0x2B, 0xDD}));
    EXPECT_EQ(BuildSearchRequest(222, 0xDA),
              (Bytes{0xD5, 0xFF, 0xFF, 0xDE, 0x00, 0xDA, 0xDA, 0x4A, 0xDD}));
}

TEST(DeviceSearch, AnswersAreReadWithinTheirDatagram) {
    CFoundDevice device;
    ASSERT_TRUE(Parse(
        Framed({.type = 8, .flags = 0xFE, .partner = 0x0A000002, .name = "CV \xE9", .tail = {1, 3}},
               kCmdSearchControllers),
        device));
    EXPECT_EQ(device.command, kCmdSearchControllers);
    EXPECT_EQ(device.GetLabel(), CString(u"CV \u00E9 (Standby)"));
    EXPECT_EQ(device.GetTypeName(), CString(u"CV-8800"));
    EXPECT_EQ(device.GetConnectionsText(), CString(u"3 / 8 Available"));
    EXPECT_EQ(device.partner, 0x0A000002u);
    EXPECT_EQ(device.description, CString(u"Floor 2"));
    EXPECT_EQ(device.GetFrameText(), CString(u"Frame 2 of 3"));
    EXPECT_EQ(device.GetKey(), CFoundDevice::kNoAddress);  // the sender is the caller's to set

    ASSERT_TRUE(Parse(Framed({.type = 6}), device));
    EXPECT_TRUE(device.active && device.IsSingleFrame() && device.frameCount == 0);
    EXPECT_EQ(device.GetKey(), 6u);
    EXPECT_EQ(device.GetLabel(), CString(u"Studio"));

    Bytes trailing = Framed({});
    trailing.insert(trailing.end(), {0xD5, 0x00});  // after the end byte: not read
    EXPECT_TRUE(Parse(trailing, device));

    // 17 bytes of fixed fields and two texts of 255 bytes leave 1473 for a payload of 2000.
    Answer longest{.name = std::string(255, 'n'), .description = std::string(255, 'd')};
    longest.tail.resize(1473);
    ASSERT_EQ(Payload(longest).size(), kMaxSearchPayload);
    EXPECT_TRUE(Parse(Framed(longest), device));
    longest.tail.push_back(0);

    auto changed = [](Bytes bytes, auto change) {
        change(bytes);
        return bytes;
    };
    const Bytes plain = Payload({});
    const Bytes frame = Frame(plain);
    const struct {
        const char* what;
        Bytes datagram;
    } malformed[] = {
        {"name past the end", Frame(changed(plain, [](Bytes& p) { p[15] = 50; }))},
        {"no description length",
         Frame(changed(Payload({.name = "", .description = ""}), [](Bytes& p) { p.pop_back(); }))},
        {"cut in the fixed fields", Frame(Bytes(plain.begin(), plain.begin() + 12))},
        {"refused", Frame(Payload({}, kCmdSearchIntercoms, 0x80))},
        {"sequence beyond 0x7FF", Frame(Payload({}, kCmdSearchIntercoms, 0x08))},
        {"other command", Framed({}, 0x1DE)},
        {"no start byte", Bytes(frame.begin() + 1, frame.end())},
        {"no end byte", Bytes(frame.begin(), frame.end() - 1)},
        {"start byte inside", changed(frame, [](Bytes& f) { f[4] = 0xD5; })},
        {"payload too long", Framed(longest)},
        {"checksum alone", Bytes{0xD5, 0x00, 0xDD}},
    };
    for (const auto& m : malformed) {
        CFoundDevice kept;
        kept.name = u"kept";
        EXPECT_FALSE(Parse(m.datagram, kept)) << m.what;
        EXPECT_EQ(kept.name, CString(u"kept")) << m.what;
    }
}

TEST(DeviceSearch, LoopbackSearchReadsAnswersOfItsKind) {
    CDeviceSearch search(TRUE);
    ASSERT_EQ(search.Open(0), 0);
    CUdpSocket first, second;
    ASSERT_EQ(first.Create(), 0);
    ASSERT_EQ(first.Bind({0x7F000002, 0}), 0);
    const WORD port = first.LocalEndpoint().port;
    ASSERT_EQ(second.Create(), 0);
    ASSERT_EQ(second.Bind({0x7F000003, port}), 0);
    const DWORD targets[] = {0x7F000002, 0x7F000003};
    search.SendSearch(targets, port);

    // Each device answers the requester at the port it sent from.
    for (CUdpSocket* peer : {&first, &second}) {
        std::array<BYTE, 64> request{};
        std::size_t size = 0;
        CIPv4Endpoint from;
        ASSERT_EQ(peer->ReceiveFrom(request, size, from), 0);
        EXPECT_EQ(Bytes(request.begin(), request.begin() + size), BuildSearchRequest(222, 1));
        EXPECT_EQ(from.port, search.GetAnswerPort());
        from.address = kIPv4Loopback;
        if (peer == &first) {
            peer->SendTo(Framed({.name = "A"}), from);
            peer->SendTo(Framed({.flags = 0, .name = "A"}), from);  // a repeat, now standby
        } else {
            peer->SendTo(Framed({.type = 1}, kCmdSearchControllers), from);
            peer->SendTo(Bytes{0xD5, 0x01, 0xDD}, from);
            peer->SendTo(Framed({.type = 3, .name = "B", .tail = {0, 2}}), from);
        }
    }

    const struct {
        CDeviceSearch::ReadResult result;
        DWORD address = 0;
        const char16_t* name = u"";
        BOOL active = FALSE;
    } expected[] = {
        {CDeviceSearch::ReadResult::Device, 0x7F000002, u"A", TRUE},
        {CDeviceSearch::ReadResult::Device, 0x7F000002, u"A", FALSE},
        {CDeviceSearch::ReadResult::Dropped},
        {CDeviceSearch::ReadResult::Dropped},
        {CDeviceSearch::ReadResult::Device, 0x7F000003, u"B", TRUE},
        {CDeviceSearch::ReadResult::Nothing},
    };
    for (const auto& e : expected) {
        CFoundDevice device;
        ASSERT_EQ(search.ReadAnswer(device), e.result);
        if (e.result != CDeviceSearch::ReadResult::Device) continue;
        EXPECT_EQ(device.address, e.address);
        EXPECT_EQ(device.name, CString(e.name));
        EXPECT_EQ(device.active, e.active);
    }
}

TEST(DeviceSearch, BroadcastTargetsOfUpBroadcastInterfaces) {
    auto v4 = [](const char* text) {
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        inet_pton(AF_INET, text, &sa.sin_addr);
        return sa;
    };
    sockaddr_in lan = v4("192.168.1.20"), lanMask = v4("255.255.255.0"), lo = v4("127.0.0.1"),
                loMask = v4("255.0.0.0"), wan = v4("10.1.2.3"), wanMask = v4("255.255.0.0");
    sockaddr v6{.sa_family = AF_INET6, .sa_data = {}};
    auto as = [](sockaddr_in& sa) { return reinterpret_cast<sockaddr*>(&sa); };
    ifaddrs list[] = {
        {nullptr, const_cast<char*>("lo"), IFF_UP | IFF_LOOPBACK, as(lo), as(loMask), {}, nullptr},
        {nullptr,
         const_cast<char*>("eth0"),
         IFF_UP | IFF_BROADCAST,
         as(lan),
         as(lanMask),
         {},
         nullptr},
        {nullptr, const_cast<char*>("eth0"), IFF_UP | IFF_BROADCAST, &v6, &v6, {}, nullptr},
        {nullptr, const_cast<char*>("eth1"), IFF_BROADCAST, as(wan), as(wanMask), {}, nullptr},
        {nullptr,
         const_cast<char*>("tun0"),
         IFF_UP | IFF_POINTOPOINT,
         as(wan),
         as(wanMask),
         {},
         nullptr},
        {nullptr,
         const_cast<char*>("eth2"),
         IFF_UP | IFF_BROADCAST,
         as(wan),
         as(wanMask),
         {},
         nullptr},
        {nullptr, const_cast<char*>("eth3"), IFF_UP | IFF_BROADCAST, nullptr, nullptr, {}, nullptr},
    };
    for (std::size_t i = 0; i + 1 < std::size(list); ++i)
        list[i].ifa_next = &list[i + 1];
    EXPECT_EQ(DirectedBroadcastAddressesOf(list), (std::vector<DWORD>{0xC0A801FF, 0x0A01FFFF}));
}

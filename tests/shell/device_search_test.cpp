#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/frame_codec.h"
#include "shell/io/device_search.h"

namespace {

using Bytes = std::vector<BYTE>;

// An answer's payload: a tag, the command with its flag bits, a sequence number, the fields.
Bytes Payload(BYTE type, const std::string& name, Bytes tail = {},
              WORD command = kCmdSearchIntercoms, BYTE flags = 0) {
    Bytes p = {0x12,
               0x34,
               static_cast<BYTE>(command),
               static_cast<BYTE>(flags | ((command >> 4) & 0x30)),
               1,
               type,
               0xFE,
               0,
               8,
               0,
               3,
               10,
               0,
               0,
               2,
               static_cast<BYTE>(name.size())};
    const std::string text = name + '\x07' + "Floor 2";
    p.insert(p.end(), text.begin(), text.end());
    p.insert(p.end(), tail.begin(), tail.end());
    return p;
}

Bytes Frame(Bytes payload) {
    payload.push_back(FrameChecksum(payload));
    Bytes frame(2 * payload.size() + 2);
    frame.resize(DelimitFrame(payload, frame));
    return frame;
}

bool Parse(const Bytes& datagram, CFoundDevice& device) {
    Bytes payload;
    return UnframeSearchAnswer(datagram, payload) && ParseSearchAnswer(payload, device);
}

}  // namespace

TEST(DeviceSearch, RequestAndAnswersReadWithinTheirDatagram) {
    EXPECT_EQ(BuildSearchRequest(222, 1), (Bytes{0xD5, 0xFF, 0xFF, 0xDE, 0x00, 0x01, 0x23, 0xDD}));
    EXPECT_EQ(BuildSearchRequest(209, 0xDA),
              (Bytes{0xD5, 0xFF, 0xFF, 0xD1, 0x00, 0xDA, 0xDA, 0x57, 0xDD}));

    CFoundDevice device;
    ASSERT_TRUE(Parse(Frame(Payload(8, "CV \xE9", {1, 3}, kCmdSearchControllers)), device));
    EXPECT_EQ(device.GetLabel(), CString(u"CV \u00E9 (Standby)"));
    EXPECT_EQ(device.GetConnectionsText(), CString(u"3 / 8 Available"));
    EXPECT_EQ(device.partner, 0x0A000002u);
    EXPECT_EQ(device.GetFrameText(), CString(u"Frame 2 of 3"));

    Bytes longest = Payload(2, std::string(255, 'n'));  // a payload of exactly 2000 bytes
    longest.resize(kMaxSearchPayload);
    EXPECT_TRUE(Parse(Frame(longest), device));
    longest.push_back(0);
    const Bytes good = Frame(Payload(2, "A"));
    const struct {
        const char* what;
        Bytes datagram;
    } malformed[] = {
        {"name past the end", Frame(Bytes(longest.begin(), longest.begin() + 100))},
        {"no description", Frame(Bytes(good.begin() + 1, good.begin() + 18))},
        {"refused", Frame(Payload(2, "A", {}, kCmdSearchIntercoms, 0x80))},
        {"other command", Frame(Payload(2, "A", {}, 0x1DE))},
        {"no start byte", Bytes(good.begin() + 1, good.end())},
        {"no end byte", Bytes(good.begin(), good.end() - 1)},
        {"start byte inside", Bytes{0xD5, 0x12, 0xD5, 0xDD}},
        {"payload too long", Frame(longest)},
    };
    for (const auto& m : malformed)
        EXPECT_FALSE(Parse(m.datagram, device)) << m.what;
    EXPECT_EQ(device.name, CString(std::u16string(255, u'n')));  // untouched by the failures
}

TEST(DeviceSearch, LoopbackSearchTakesAnswersOfItsKind) {
    CDeviceSearch search(TRUE);
    ASSERT_EQ(search.Open(0), 0);
    CUdpSocket peer;
    ASSERT_EQ(peer.Create(), 0);
    ASSERT_EQ(peer.Bind({0x7F000002, 0}), 0);
    const DWORD target = 0x7F000002;
    search.SendSearch({&target, 1}, peer.LocalEndpoint().port);

    std::array<BYTE, 64> request{};
    std::size_t size = 0;
    CIPv4Endpoint from;
    ASSERT_EQ(peer.ReceiveFrom(request, size, from), 0);
    EXPECT_EQ(Bytes(request.begin(), request.begin() + size), BuildSearchRequest(222, 1));
    EXPECT_EQ(from.port, search.GetAnswerPort());
    from.address = kIPv4Loopback;
    for (const Bytes& answer : {Frame(Payload(3, "A")), Frame(Payload(4, "B")),
                                Frame(Payload(1, "CV", {}, kCmdSearchControllers)), Bytes{0xD5}})
        peer.SendTo(answer, from);

    using Read = CDeviceSearch::ReadResult;
    CFoundDevice device;
    for (const char16_t* name : {u"A", u"B"}) {
        ASSERT_EQ(search.ReadAnswer(device), Read::Device);
        EXPECT_EQ(device.name, CString(name));
        EXPECT_EQ(device.address, 0x7F000002u);
    }
    EXPECT_EQ(search.ReadAnswer(device), Read::Dropped);
    EXPECT_EQ(search.ReadAnswer(device), Read::Dropped);
    EXPECT_EQ(search.ReadAnswer(device), Read::Nothing);
}

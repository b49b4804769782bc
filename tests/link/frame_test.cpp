#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "fake_comm.h"
#include "link/frame_codec.h"
#include "link/message_queue.h"
#include "link/pellam_udp_frame.h"

namespace {

using Bytes = std::vector<BYTE>;

CMessage Message(DWORD command, DWORD sequence, Bytes payload = {}) {
    CMessage m;
    m.command = command;
    m.sequence = sequence;
    m.SetPayload(payload);
    return m;
}

// A framer over a fake transport, and the bytes it writes.
template <class Frame>
struct Framed {
    explicit Framed(bool datagrams) {
        auto comm = std::make_unique<CFakeComm>(datagrams);
        fake = comm.get();
        frame = std::make_unique<Frame>(std::move(comm));
    }
    Bytes Sent(const CMessage& m) {
        EXPECT_EQ(frame->Send(m), LINK_OK);
        return fake->Written().back();
    }
    int Receive(std::vector<Bytes> chunks, CMessage& m) {
        for (auto& c : chunks)
            fake->Deliver(std::move(c));
        return frame->Receive(m);
    }
    CFakeComm* fake;
    std::unique_ptr<Frame> frame;
};

struct Serial : Framed<CPellamFrame> {
    Serial() : Framed(false) {}
};
struct Network : Framed<CPellamUDPFrame> {
    Network() : Framed(true) {}
};

}  // namespace

TEST(Frame, SerialAndNetworkVectors) {
    Serial serial;
    EXPECT_EQ(serial.fake->GetEndByte(), 0xDD);
    EXPECT_EQ(serial.Sent(Message(5, 1)), (Bytes{0xD5, 0x05, 0x00, 0x01, 0xFA, 0xDD}));
    // Ten command bits, twelve sequence bits and both flags fill the flags byte.
    CMessage full = Message(0x3FF, 0xFFF);
    full.nak = full.ctrl = TRUE;
    EXPECT_EQ(serial.Sent(full), (Bytes{0xD5, 0xFF, 0xFF, 0xFF, 0x03, 0xDD}));
    // Header bytes are escaped like any other.
    EXPECT_EQ(serial.Sent(Message(0x2A5, 0x1AD)),
              (Bytes{0xD5, 0xDA, 0xA5, 0x21, 0xDA, 0xAD, 0x8D, 0xDD}));
    // Bits beyond the widths do not spill into the flags.
    EXPECT_EQ(serial.Sent(Message(0x405, 0x1001)), serial.Sent(Message(5, 1)));

    Network network;
    EXPECT_EQ(network.Sent(Message(59, 2)),
              (Bytes{0xD5, 0xFF, 0xFF, 0x3B, 0x00, 0x02, 0xC5, 0xDD}));
    EXPECT_EQ(network.frame->SetTag(0x1234), 1);
    EXPECT_EQ(network.frame->SetTag(0x1234), 0);
    EXPECT_EQ(network.Sent(Message(60, 7, {0x9E})),
              (Bytes{0xD5, 0x12, 0x34, 0x3C, 0x00, 0x07, 0xDA, 0x9E, 0xD9, 0xDD}));
}

TEST(Frame, EachEscapedByteAndAnEscapedChecksum) {
    Serial serial;
    const struct {
        BYTE payload, checksum;
    } cases[] = {{0x1A, 0xE0}, {0x9E, 0x5C}, {0xA5, 0x55}, {0xAD, 0x4D},
                 {0xD5, 0x25}, {0xDA, 0x20}, {0xDD, 0x1D}};
    for (const auto& c : cases) {
        Bytes wire{0xD5, 0x05, 0x00, 0x01, 0xDA, c.payload, c.checksum, 0xDD};
        EXPECT_EQ(serial.Sent(Message(5, 1, {c.payload})), wire) << int(c.payload);
        CMessage back;
        ASSERT_EQ(serial.Receive({wire}, back), LINK_OK);
        EXPECT_EQ(back.Payload().size(), 1u);
        EXPECT_EQ(back.payload[0], c.payload);
    }
    // A checksum of 0xDD travels escaped; the read stops at that end byte and goes on.
    Bytes wire{0xD5, 0x05, 0x00, 0x01, 0x1D, 0xDA, 0xDD, 0xDD};
    EXPECT_EQ(serial.Sent(Message(5, 1, {0x1D})), wire);
    CMessage back;
    ASSERT_EQ(serial.Receive({wire}, back), LINK_OK);
    EXPECT_EQ(back.command, 5u);
    EXPECT_EQ(back.length, 1u);
    EXPECT_TRUE(serial.fake->Drained());
}

TEST(Frame, LastByteEscapedCountsTheEscapeRun) {
    EXPECT_FALSE(LastByteEscaped(Bytes{0xDD}));
    EXPECT_TRUE(LastByteEscaped(Bytes{0x01, 0xDA, 0xDD}));
    EXPECT_FALSE(LastByteEscaped(Bytes{0x01, 0xDA, 0xDA, 0xDD}));
    EXPECT_TRUE(LastByteEscaped(Bytes{0xDA, 0xDA, 0xDA, 0xDD}));
}

TEST(Frame, ReceiveDecodesHeaderTagAndShortestFrames) {
    // Command, sequence, NAK, CTRL, length and tag.
    auto fields = [](const CMessage& m) {
        return std::tuple(m.command, m.sequence, bool(m.nak), bool(m.ctrl), m.length, int(m.tag));
    };
    Serial serial;
    CMessage m;
    m.tag = 0x4242;  // a serial frame has no tag
    ASSERT_EQ(serial.Receive({{0xD5, 0xFF, 0xFF, 0xFF, 0x03, 0xDD}}, m), LINK_OK);
    EXPECT_EQ(fields(m), std::tuple(0x3FFu, 0xFFFu, true, true, 0u, 0x4242));

    Network network;
    ASSERT_EQ(network.Receive({{0xD5, 0x12, 0x34, 0x3C, 0x00, 0x07, 0xDA, 0x9E, 0xD9, 0xDD}}, m),
              LINK_OK);
    EXPECT_EQ(fields(m), std::tuple(60u, 7u, false, false, 1u, 0x1234));
    ASSERT_EQ(network.Receive({{0xD5, 0xFF, 0xFF, 0x3B, 0x00, 0x02, 0xC5, 0xDD}}, m), LINK_OK);
    EXPECT_EQ(fields(m), std::tuple(59u, 2u, false, false, 0u, 0xFFFF));
}

TEST(Frame, ReceiveErrors) {
    Serial serial;
    CMessage m;
    EXPECT_EQ(serial.Receive({{0xD5, 0x05, 0x00, 0x01, 0xFB, 0xDD}}, m), LINK_CHECKSUM);
    EXPECT_EQ(serial.Receive({{0xD5, 0x05, 0x00, 0xDD}}, m), LINK_FRAMING);
    // Six bytes on the line, but only four once unescaped: too short for a header.
    EXPECT_EQ(serial.Receive({{0xD5, 0xDA, 0x00, 0xDA, 0x00, 0xDD}}, m), LINK_FRAMING);
    // Noise in front of a frame spoils its sum.
    EXPECT_EQ(serial.Receive({{0x11, 0xD5, 0x05, 0x00, 0x01, 0xFA, 0xDD}}, m), LINK_CHECKSUM);
    // 2001 payload bytes with a good sum.
    Bytes longFrame{0xD5, 0x05, 0x00, 0x01};
    longFrame.insert(longFrame.end(), 2001, 0x01);
    longFrame.push_back(0x29);
    longFrame.push_back(0xDD);
    EXPECT_EQ(serial.Receive({longFrame}, m), LINK_FRAMING);
    // More bytes than a frame can hold, without an end byte.
    EXPECT_EQ(serial.Receive({Bytes(5000, 0x01)}, m), LINK_OVERFLOW);
    serial.Receive({}, m);
    // A frame cut off before its end byte.
    EXPECT_EQ(serial.Receive({{0xD5, 0x05, 0x00}}, m), LINK_TIMEOUT);
    // An escaped end byte with nothing after it.
    EXPECT_EQ(serial.Receive({{0xD5, 0x05, 0x00, 0x01, 0xDA, 0xDD}}, m), LINK_TIMEOUT);

    Network network;
    // Delimiters are checked before the sum, which would be right here.
    EXPECT_EQ(network.Receive({{0xD4, 0xFF, 0xFF, 0x3B, 0x00, 0x02, 0xC5, 0xDD}}, m), LINK_FRAMING);
    EXPECT_EQ(network.Receive({{0xD5, 0xFF, 0xFF, 0x3B, 0x00, 0x02, 0xC5, 0xDC}}, m), LINK_FRAMING);
    EXPECT_EQ(network.Receive({{0xD5, 0xFF, 0x3B, 0x00, 0x02, 0xC6, 0xDD}}, m), LINK_FRAMING);
    EXPECT_EQ(network.Receive({{0xD5, 0xFF, 0xFF, 0x3B, 0x00, 0x02, 0xC4, 0xDD}}, m),
              LINK_CHECKSUM);
    EXPECT_EQ(network.Receive({Bytes(kMaxFrameBytes + 1, 0x01)}, m), LINK_OVERFLOW);
    EXPECT_EQ(network.Receive({Bytes{}}, m), LINK_FRAMING);
    // A datagram ending in an escaped end byte is continued by the next one.
    ASSERT_EQ(
        network.Receive({{0xD5, 0xFF, 0xFF, 0x3B, 0x00, 0x02, 0x07, 0xDA, 0xDD}, {0xE1, 0xDD}}, m),
        LINK_OK);
    EXPECT_EQ(m.Payload()[0], 0x07);
    EXPECT_EQ(m.Payload()[1], 0xDD);
}

TEST(Frame, RawSendsAndLimits) {
    Serial serial;
    EXPECT_EQ(serial.frame->SendRaw(Message(0, 0)), LINK_FRAMING);
    EXPECT_TRUE(serial.fake->Written().empty());
    EXPECT_EQ(serial.frame->SendRaw(Message(0, 0, {0x9E})), LINK_OK);
    EXPECT_EQ(serial.fake->Written().back(), Bytes{0x9E});
    CMessage tooLong = Message(5, 1);
    tooLong.length = CMessage::kMaxPayload + 1;
    EXPECT_EQ(serial.frame->Send(tooLong), LINK_OVERFLOW);
    EXPECT_EQ(serial.frame->SendRaw(tooLong), LINK_FRAMING);
    EXPECT_EQ(serial.fake->Written().size(), 1u);
    EXPECT_EQ(serial.frame->GetMaxSequence(), 4094);

    // The largest payload, every byte escaped, fits the send and receive buffers.
    Network network;
    CMessage biggest = Message(0x3FF, 0xFFF, Bytes(CMessage::kMaxPayload, 0xDD));
    biggest.tag = 0xDDDD;
    network.frame->SetTag(0xDDDD);
    Bytes wire = network.Sent(biggest);
    // Everything but the three header bytes and the checksum is escaped.
    EXPECT_EQ(wire.size(), kMaxFrameBytes - 4);
    CMessage back;
    ASSERT_EQ(network.Receive({wire}, back), LINK_OK);
    EXPECT_EQ(back.length, CMessage::kMaxPayload);
    EXPECT_EQ(back.payload, biggest.payload);
}

TEST(MessageQueue, KeepsOrderAcrossReuseAndCompaction) {
    CMessageQueue<CMessage> queue;
    CMessage out;
    // A long message, then short ones in the same slots: only their own bytes count.
    queue.push_back(Message(7, 1, Bytes(300, 0xAA)));
    queue.TakeFront(out);
    EXPECT_EQ(out.length, 300u);
    queue.push_back(Message(8, 2, {1, 2}));
    queue.TakeFront(out);
    EXPECT_EQ(out.command, 8u);
    EXPECT_EQ(Bytes(out.Payload().begin(), out.Payload().end()), (Bytes{1, 2}));
    EXPECT_TRUE(queue.empty());

    // Taken slower than filled: the waiting ones move to the front and keep their order.
    DWORD next = 0;
    for (DWORD filled = 0; filled < 1000; ++filled) {
        queue.push_back(Message(filled % 1024, 0, {static_cast<BYTE>(filled)}));
        if (filled % 3 == 0) continue;
        queue.TakeFront(out);
        ASSERT_EQ(out.command, next % 1024);
        ASSERT_EQ(out.payload[0], static_cast<BYTE>(next++));
    }
    EXPECT_EQ(queue.size(), 1000u - next);
    while (!queue.empty()) {
        queue.TakeFront(out);
        ASSERT_EQ(out.payload[0], static_cast<BYTE>(next++));
    }
    EXPECT_EQ(next, 1000u);
}

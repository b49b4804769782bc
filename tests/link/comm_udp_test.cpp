#include <gtest/gtest.h>

#include <thread>

#include "link/comm_udp.h"
#include "link/link_result.h"
#include "link/pellam_udp_frame.h"
#include "tests/link/link_test_util.h"
#include "tests/sim/sim_udp_link.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr DWORD kReadTimeoutMs = 250;
constexpr std::uint32_t kSecondLoopback = 0x7F000002;

// A network framer on a UDP transport, talking to a simulated controller on loopback.
class UdpLink : public ::testing::Test {
protected:
    UdpLink() {
        auto comm = std::make_unique<CCommUDP>(&sink, peer.Port());
        comm->SetReadTimeout(kReadTimeoutMs);
        CString error;
        EXPECT_TRUE(comm->Open(u"127.0.0.1", error)) << ToUtf8(error);
        udp = comm.get();
        frame = std::make_unique<CPellamUDPFrame>(std::move(comm));
    }

    // Opens a session and takes its tag, as the link's set-up does.
    void OpenSession() {
        CMessage reply;
        ASSERT_EQ(Exchange(*frame, MakeMessage(59, 1), reply), LINK_OK);
        ASSERT_LT(reply.tag, 0xFFFE);
        EXPECT_EQ(frame->SetTag(reply.tag), 1);
        sink.Clear();
    }

    CRecordingSink sink;
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CCommUDP* udp;
    std::unique_ptr<CPellamUDPFrame> frame;
};

}  // namespace

TEST_F(UdpLink, SessionSetUpPresencePollAndRelease) {
    CMessage reply;
    // Without a standby controller the address request is refused.
    ASSERT_EQ(Exchange(*frame, MakeMessage(61, 1), reply), LINK_OK);
    EXPECT_TRUE(reply.nak);
    sim.ChangeState([](CorvaneState& s) { s.standbyAddress = 0x0A000002; });
    ASSERT_EQ(Exchange(*frame, MakeMessage(61, 2), reply), LINK_OK);
    EXPECT_FALSE(reply.nak);
    EXPECT_EQ(PayloadOf(reply), (Bytes{10, 0, 0, 2}));
    // A poll outside a session is refused with no tag.
    ASSERT_EQ(Exchange(*frame, MakeMessage(60, 3, {0x9E}), reply), LINK_OK);
    EXPECT_TRUE(reply.nak);
    EXPECT_EQ(reply.tag, 0xFFFF);
    EXPECT_EQ(TakeActivity(sink).size(), 6u);

    OpenSession();
    const WORD tag = frame->GetTag();
    ASSERT_EQ(Exchange(*frame, MakeMessage(60, 4094, {0x9E}), reply), LINK_OK);
    EXPECT_EQ(reply.command, 60u);
    EXPECT_EQ(reply.sequence, 4094u);
    EXPECT_EQ(reply.tag, tag);
    ASSERT_EQ(reply.length, 27u);
    EXPECT_EQ(reply.payload[0], 0x9E);
    auto status = CorvaneState::DefaultStatus();
    EXPECT_TRUE(std::equal(status.begin(), status.end(), reply.payload.begin() + 1));
    EXPECT_EQ(TakeActivity(sink), (std::vector<std::pair<WPARAM, LPARAM>>{{0, 0}, {1, 0}}));

    ASSERT_EQ(Exchange(*frame, MakeMessage(60, 17, {0x1A}), reply), LINK_OK);
    EXPECT_EQ(reply.sequence, 17u);
    EXPECT_FALSE(reply.nak);
    // The released session is no longer known to the controller.
    ASSERT_EQ(Exchange(*frame, MakeMessage(60, 5, {0x9E}), reply), LINK_OK);
    EXPECT_EQ(reply.tag, 0xFFFE);

    sim.ChangeState([](CorvaneState& s) { s.refuseSessions = true; });
    ASSERT_EQ(Exchange(*frame, MakeMessage(59, 6), reply), LINK_OK);
    EXPECT_EQ(reply.tag, 0xFFFF);

    auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 8u);
    EXPECT_EQ(requests[0].tag, 0xFFFF);
    EXPECT_EQ(requests[4].tag, tag);
    EXPECT_EQ(requests[4].payload, (std::vector<std::uint8_t>{0x9E}));
}

TEST_F(UdpLink, EveryInjectedFault) {
    OpenSession();
    const FaultCase cases[] = {
        {SimFault::DropReply, LINK_TIMEOUT},    {SimFault::Nak, LINK_OK},
        {SimFault::WrongSequence, LINK_OK},     {SimFault::BadChecksum, LINK_CHECKSUM},
        {SimFault::CorruptByte, LINK_CHECKSUM}, {SimFault::SplitEndByte, LINK_OK},
        {SimFault::StrayBytes, LINK_FRAMING},   {SimFault::CutOff, LINK_FRAMING},
        {SimFault::Oversize, LINK_OVERFLOW},    {SimFault::ForeignSource, LINK_TIMEOUT},
    };
    DWORD sequence = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        ExpectSpoiltReply(*frame, sim, c, ++sequence);
        // Reads report the transport's result; the framer's own errors are not its.
        auto activity = TakeActivity(sink);
        EXPECT_EQ(activity.front(), (std::pair<WPARAM, LPARAM>{0, 0}));
        if (c.result == LINK_TIMEOUT) {
            EXPECT_EQ(activity.size(), 1u);
        } else {
            EXPECT_EQ(activity.size(), c.fault == SimFault::SplitEndByte ? 3u : 2u);
            EXPECT_EQ(activity.back(),
                      (c.result == LINK_OVERFLOW ? std::pair<WPARAM, LPARAM>{3, LINK_OVERFLOW}
                                                 : std::pair<WPARAM, LPARAM>{1, 0}));
        }
        // The next exchange is sound again.
        CMessage reply;
        ASSERT_EQ(Exchange(*frame, MakeMessage(60, ++sequence, {0x9E}), reply), LINK_OK);
        EXPECT_EQ(reply.sequence, sequence);
        sink.Clear();
    }
    EXPECT_EQ(udp->GetStrayDatagrams(), 1u);
}

TEST_F(UdpLink, DatagramsQueueInOrderAndOversizedOnesAreDropped) {
    OpenSession();
    CMessage warmup;
    ASSERT_EQ(Exchange(*frame, MakeMessage(60, 1, {0x9E}), warmup), LINK_OK);
    peer.SendBytes(SimWrapBody(SimFrameBody({70, 1, false, false, 7, {0xA1}}, true)));
    peer.SendBytes(Bytes(9000, 0x01));
    peer.SendBytes(SimWrapBody(SimFrameBody({70, 2, false, false, 7, {0xA2}}, true)));
    peer.SendBytes(Bytes(20, 0x01));

    CMessage m;
    ASSERT_EQ(frame->Receive(m), LINK_OK);
    EXPECT_EQ(m.sequence, 1u);
    EXPECT_EQ(frame->Receive(m), LINK_OVERFLOW);
    ASSERT_EQ(frame->Receive(m), LINK_OK);
    EXPECT_EQ(m.sequence, 2u);
    EXPECT_EQ(m.payload[0], 0xA2);
    // A datagram larger than the caller's buffer is lost; the queue is then empty.
    Bytes small(10);
    std::size_t count = 0;
    EXPECT_EQ(udp->Read(small, count), LINK_OVERFLOW);
    EXPECT_EQ(udp->Read(small, count), LINK_TIMEOUT);
}

TEST_F(UdpLink, OnlyThePeerIsHeardAndThePeerCanMove) {
    OpenSession();
    CUdpSocket stranger;
    ASSERT_EQ(stranger.Create(), 0);
    ASSERT_EQ(stranger.Bind({kIPv4Loopback, 0}), 0);
    auto good = SimWrapBody(SimFrameBody({60, 9, false, false, frame->GetTag(), {0x9E}}, true));
    ASSERT_EQ(stranger.SendTo(good, {kIPv4Loopback, udp->GetLocalPort()}), 0);
    CMessage m;
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);
    EXPECT_EQ(udp->GetStrayDatagrams(), 1u);

    // A standby controller on another address, same port.
    CSimController standbySim{true};
    standbySim.ChangeState([](CorvaneState& s) { s.status[1] = 99; });
    CSimUdpLink standby{standbySim, kSecondLoopback, peer.Port()};
    DWORD address = kSecondLoopback;
    ASSERT_EQ(udp->SetPeerAddress(address), 1);
    EXPECT_EQ(address, kIPv4Loopback);
    frame->SetTag(CMessage::kNoTag);
    ASSERT_EQ(Exchange(*frame, MakeMessage(59, 1), m), LINK_OK);
    EXPECT_EQ(standbySim.Requests().size(), 1u);
    // The old peer is a stranger now.
    peer.SendBytes(good);
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);
    EXPECT_EQ(udp->GetStrayDatagrams(), 2u);

    udp->Close();
    address = 0x01020304;
    EXPECT_EQ(udp->SetPeerAddress(address), 0);
    EXPECT_EQ(address, 0x01020304u);
}

TEST_F(UdpLink, TimeOutsAndClosing) {
    CMessage m;
    auto start = steady_clock::now();
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);
    EXPECT_GE(MillisecondsSince(start), kReadTimeoutMs - 10);
    EXPECT_TRUE(sink.Messages().empty());

    // The reader is blocked waiting for datagrams; closing wakes it.
    udp->Close();
    EXPECT_FALSE(udp->IsOpen());
    EXPECT_EQ(frame->Send(MakeMessage(5, 1)), LINK_NOT_OPEN);
    EXPECT_EQ(frame->Receive(m), LINK_NOT_OPEN);
    EXPECT_EQ(TakeActivity(sink),
              (std::vector<std::pair<WPARAM, LPARAM>>{{2, LINK_NOT_OPEN}, {3, LINK_NOT_OPEN}}));
    CString error;
    EXPECT_FALSE(udp->Open(u"", error));
    EXPECT_EQ(error, CString(u"Could not resolve host."));
    // Reopening works, and destroying an open transport stops its reader.
    ASSERT_TRUE(udp->Open(u"localhost", error));
    ASSERT_EQ(Exchange(*frame, MakeMessage(59, 1), m), LINK_OK);
    frame.reset();
}

#include <gtest/gtest.h>

#include <chrono>

#include "link/comm_serial.h"
#include "link/comm_udp.h"
#include "link/link_messages.h"
#include "link/link_result.h"
#include "link/link_timing.h"
#include "link/pellam_udp_frame.h"
#include "platform/base/codepage.h"
#include "tests/sim/sim_serial_link.h"
#include "tests/sim/sim_udp_link.h"
#include "tests/support/recording_sink.h"

namespace {

using Bytes = std::vector<BYTE>;
using Activity = std::vector<std::pair<WPARAM, LPARAM>>;
using std::chrono::steady_clock;

constexpr DWORD kTimeoutMs = 250;

CMessage Message(DWORD command, DWORD sequence, Bytes payload = {}) {
    CMessage m;
    m.command = command;
    m.sequence = sequence;
    m.SetPayload(payload);
    return m;
}

int Exchange(CMsgFrame& frame, const CMessage& request, CMessage& reply) {
    EXPECT_EQ(frame.Send(request), LINK_OK);
    return frame.Receive(reply);
}

// The activity reports posted since the sink was last cleared, as (wParam, lParam) pairs.
Activity TakeActivity(CRecordingSink& sink) {
    Activity out;
    for (const auto& m : sink.Messages()) {
        EXPECT_EQ(m.message, WM_LINK_ACTIVITY);
        out.emplace_back(m.wParam, m.lParam);
    }
    sink.Clear();
    return out;
}

// A read that waits the whole time-out and reports nothing.
void ExpectTimeOut(CMsgFrame& frame, CRecordingSink& sink) {
    sink.Clear();
    const auto start = steady_clock::now();
    CMessage m;
    EXPECT_EQ(frame.Receive(m), LINK_TIMEOUT);
    EXPECT_GE(steady_clock::now() - start, std::chrono::milliseconds(kTimeoutMs - 10));
    EXPECT_TRUE(sink.Messages().empty());
}

struct FaultCase {
    SimFault fault;
    int result;  // of the client's read
};

// Asks for a reply (command 70, scripted with an escaped end byte in it) that the controller
// spoils with the case's fault; checks the read's result and what a reply that came carries.
void ExpectSpoiltReply(CMsgFrame& frame, CSimController& sim, const FaultCase& c, DWORD sequence) {
    const Bytes scripted{0x01, 0xDD, 0x02};
    sim.ScriptReply(70, scripted);
    sim.InjectFault(c.fault);
    CMessage reply;
    ASSERT_EQ(Exchange(frame, Message(70, sequence, {1}), reply), c.result);
    if (c.result != LINK_OK) return;
    EXPECT_EQ(Bytes(reply.Payload().begin(), reply.Payload().end()), scripted);
    EXPECT_EQ(bool(reply.nak), c.fault == SimFault::Nak);
    EXPECT_EQ(reply.sequence, c.fault == SimFault::WrongSequence ? sequence + 1 : sequence);
}

// Frames of command 70 with these sequence numbers, as the controller writes them.
Bytes Wrapped(std::initializer_list<unsigned> sequences, bool network, std::uint16_t tag = 0) {
    Bytes out;
    for (unsigned sequence : sequences) {
        const Bytes frame =
            SimWrapBody(SimFrameBody({70, sequence, false, false, tag, {0xA1}}, network));
        out.insert(out.end(), frame.begin(), frame.end());
    }
    return out;
}

// A serial framer on a pseudo-terminal whose other end is a simulated controller.
class SerialLink : public ::testing::Test {
protected:
    SerialLink() {
        auto comm = std::make_unique<CCommSerial>(&sink);
        CLinkTiming timing;
        timing.serialByteTimeoutMs = kTimeoutMs;
        EXPECT_EQ(comm->Open(CString::FromUtf8(line.DevicePath())), LINK_OK);
        EXPECT_EQ(comm->SetTimeouts(timing.SerialTimeouts(38400)), LINK_OK);
        EXPECT_EQ(comm->SetBaudRate(38400), LINK_OK);
        serial = comm.get();
        frame = std::make_unique<CPellamFrame>(std::move(comm));
    }

    CRecordingSink sink;
    CSimController sim{false};
    CSimSerialLink line{sim};
    CCommSerial* serial;
    std::unique_ptr<CPellamFrame> frame;
};

// A network framer on a UDP transport, talking to a simulated controller on loopback, in a
// session.
class UdpLink : public ::testing::Test {
protected:
    UdpLink() {
        auto comm = std::make_unique<CCommUDP>(&sink, peer.Port());
        comm->SetReadTimeout(kTimeoutMs);
        CString error;
        EXPECT_TRUE(comm->Open(u"127.0.0.1", error)) << ToUtf8(error);
        udp = comm.get();
        frame = std::make_unique<CPellamUDPFrame>(std::move(comm));
        CMessage reply;
        EXPECT_EQ(Exchange(*frame, Message(59, 1), reply), LINK_OK);
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

TEST(SerialPortNames, MapToDevices) {
    EXPECT_EQ(SerialDevicePath(u"COM1:"), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath(u"com12:"), "/dev/ttyS11");
    EXPECT_EQ(SerialDevicePath(u"Com3"), "/dev/ttyS2");
    EXPECT_EQ(SerialDevicePath(u"/dev/ttyUSB0"), "/dev/ttyUSB0");
    for (const char16_t* bad : {u"COM0:", u"COM:", u"COMX:", u"LPT1:", u"ttyS0", u"", u"COM1:x"})
        EXPECT_EQ(SerialDevicePath(bad), "") << ToUtf8(CString(bad));
}

TEST(SerialPortOpen, ResultCodes) {
    CSimController sim{false};
    CSimSerialLink line{sim};
    const CString path = CString::FromUtf8(line.DevicePath());
    CCommSerial comm(nullptr);
    EXPECT_EQ(comm.SetBaudRate(9600), LINK_NOT_OPEN);
    EXPECT_EQ(comm.SetTimeouts({}), LINK_NOT_OPEN);
    EXPECT_EQ(comm.Close(), LINK_NOT_OPEN);
    EXPECT_EQ(comm.Open(u"/nonexistent/tty"), LINK_SYSTEM_ERROR);
    EXPECT_EQ(comm.Open(u"/dev/null"), LINK_SYSTEM_ERROR);  // not a terminal
    EXPECT_EQ(comm.Open(u"LPT1:"), LINK_SYSTEM_ERROR);
    ASSERT_EQ(comm.Open(path), LINK_OK);
    EXPECT_EQ(comm.Open(path), LINK_NOT_OPEN);
    // Nobody else gets the port while it is open.
    CCommSerial other(nullptr);
    EXPECT_EQ(other.Open(path), LINK_SYSTEM_ERROR);
    EXPECT_EQ(comm.SetBaudRate(12345), LINK_SYSTEM_ERROR);
    EXPECT_EQ(comm.SetBaudRate(9600), LINK_OK);
    EXPECT_EQ(comm.Close(), LINK_OK);
    EXPECT_EQ(comm.Close(), LINK_NOT_OPEN);
    EXPECT_EQ(other.Open(path), LINK_OK);
    // A transport that goes gives its port up.
    other.Close();
    {
        CCommSerial gone(nullptr);
        ASSERT_EQ(gone.Open(path), LINK_OK);
    }
    EXPECT_EQ(other.Open(path), LINK_OK);
}

TEST_F(SerialLink, ReadsStopAtTheEndByteAndTimeOut) {
    line.SendBytes(Wrapped({1, 2}, false));
    CMessage m;
    for (DWORD sequence : {1, 2}) {
        ASSERT_EQ(frame->Receive(m), LINK_OK);
        EXPECT_EQ(m.sequence, sequence);
    }
    EXPECT_EQ(TakeActivity(sink), (Activity{{1, 0}, {1, 0}}));
    ExpectTimeOut(*frame, sink);
    // A frame cut off by the time-out.
    const Bytes one = Wrapped({1}, false);
    line.SendBytes(Bytes(one.begin(), one.end() - 2));
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);

    // A full buffer without the end byte.
    line.SendBytes(Bytes(4000, 0x01));
    Bytes buffer(4000);
    std::size_t count = 0;
    EXPECT_EQ(serial->Read(buffer, count), LINK_OVERFLOW);
    EXPECT_EQ(count, 4000u);
    EXPECT_EQ(TakeActivity(sink), (Activity{{3, LINK_OVERFLOW}}));

    serial->Close();
    EXPECT_EQ(frame->Send(Message(5, 1)), LINK_NOT_OPEN);
    EXPECT_EQ(frame->Receive(m), LINK_NOT_OPEN);
}

TEST_F(SerialLink, EveryInjectedFault) {
    const FaultCase cases[] = {
        {SimFault::DropReply, LINK_TIMEOUT},    {SimFault::Nak, LINK_OK},
        {SimFault::WrongSequence, LINK_OK},     {SimFault::BadChecksum, LINK_CHECKSUM},
        {SimFault::CorruptByte, LINK_CHECKSUM}, {SimFault::SplitEndByte, LINK_OK},
        {SimFault::StrayBytes, LINK_CHECKSUM},  {SimFault::CutOff, LINK_TIMEOUT},
        {SimFault::Oversize, LINK_OVERFLOW},
    };
    DWORD sequence = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        ExpectSpoiltReply(*frame, sim, c, ++sequence);
        // Whatever is left of a spoilt frame is read past; then the link is sound again.
        CMessage reply;
        while (frame->Receive(reply) != LINK_TIMEOUT) {
        }
        ASSERT_EQ(frame->SendRaw(Message(0, 0, {0x9E})), LINK_OK);
        ASSERT_EQ(frame->Receive(reply), LINK_OK);
        EXPECT_EQ(reply.command, 1u);
    }
    EXPECT_EQ(sim.BadFrames(), 0);
}

TEST_F(UdpLink, EveryInjectedFault) {
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
        Activity expected{{0, 0}};
        if (c.fault == SimFault::SplitEndByte) expected.push_back({1, 0});
        if (c.result != LINK_TIMEOUT)
            expected.push_back(c.result == LINK_OVERFLOW
                                   ? std::pair<WPARAM, LPARAM>{3, LINK_OVERFLOW}
                                   : std::pair<WPARAM, LPARAM>{1, 0});
        EXPECT_EQ(TakeActivity(sink), expected);
        // The next exchange is sound again.
        CMessage reply;
        ASSERT_EQ(Exchange(*frame, Message(60, ++sequence, {0x9E}), reply), LINK_OK);
        EXPECT_EQ(reply.sequence, sequence);
        sink.Clear();
    }
    EXPECT_EQ(udp->GetStrayDatagrams(), 1u);
}

TEST_F(UdpLink, DatagramsQueueInOrderAndOversizedOnesAreDropped) {
    CMessage m;
    ASSERT_EQ(Exchange(*frame, Message(60, 1, {0x9E}), m), LINK_OK);  // the peer is known
    peer.SendBytes(Wrapped({1}, true, 7));
    peer.SendBytes(Bytes(9000, 0x01));
    peer.SendBytes(Wrapped({2}, true, 7));
    peer.SendBytes(Bytes(20, 0x01));
    for (auto [result, sequence] : {std::pair{LINK_OK, 1u}, {LINK_OVERFLOW, 1u}, {LINK_OK, 2u}}) {
        ASSERT_EQ(frame->Receive(m), result);
        EXPECT_EQ(m.sequence, sequence);
    }
    // A datagram larger than the caller's buffer is lost; the queue is then empty.
    Bytes small(10);
    std::size_t count = 0;
    EXPECT_EQ(udp->Read(small, count), LINK_OVERFLOW);
    EXPECT_EQ(udp->Read(small, count), LINK_TIMEOUT);
}

TEST_F(UdpLink, OnlyThePeerIsHeardAndThePeerCanMove) {
    CUdpSocket stranger;
    ASSERT_EQ(stranger.Create(), 0);
    ASSERT_EQ(stranger.Bind({kIPv4Loopback, 0}), 0);
    const Bytes good = Wrapped({9}, true, frame->GetTag());
    ASSERT_EQ(stranger.SendTo(good, {kIPv4Loopback, udp->GetLocalPort()}), 0);
    CMessage m;
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);
    EXPECT_EQ(udp->GetStrayDatagrams(), 1u);

    // A standby controller on another address, same port.
    CSimController standbySim{true};
    CSimUdpLink standby{standbySim, 0x7F000002, peer.Port()};
    DWORD address = 0x7F000002;
    ASSERT_EQ(udp->SetPeerAddress(address), 1);
    EXPECT_EQ(address, kIPv4Loopback);
    frame->SetTag(CMessage::kNoTag);
    ASSERT_EQ(Exchange(*frame, Message(59, 1), m), LINK_OK);
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

// The release at exit takes a random low sequence number that the poll just before it may
// have had: the controller ends the session instead of answering it as the poll sent again,
// and a true resend still gets the first answer.
TEST_F(UdpLink, AReleaseWithThePollsSequenceIsNotTakenForThePollSentAgain) {
    CMessage reply;
    ASSERT_EQ(Exchange(*frame, Message(60, 4, {0x9E}), reply), LINK_OK);
    EXPECT_EQ(reply.Payload().front(), 0x9E);
    ASSERT_EQ(Exchange(*frame, Message(60, 4, {0x1A}), reply), LINK_OK);
    EXPECT_EQ(Bytes(reply.Payload().begin(), reply.Payload().end()), Bytes{0x1A});
    sim.ChangeState([](CorvaneState& state) { EXPECT_TRUE(state.sessions.empty()); });

    ASSERT_EQ(Exchange(*frame, Message(60, 4, {0x1A}), reply), LINK_OK);
    EXPECT_EQ(Bytes(reply.Payload().begin(), reply.Payload().end()), Bytes{0x1A});
    EXPECT_EQ(reply.tag, frame->GetTag());
}

TEST_F(UdpLink, TimeOutsAndClosing) {
    ExpectTimeOut(*frame, sink);
    // The reader is blocked waiting for datagrams; closing wakes it.
    udp->Close();
    EXPECT_FALSE(udp->IsOpen());
    CMessage m;
    EXPECT_EQ(frame->Send(Message(5, 1)), LINK_NOT_OPEN);
    EXPECT_EQ(frame->Receive(m), LINK_NOT_OPEN);
    EXPECT_EQ(TakeActivity(sink), (Activity{{2, LINK_NOT_OPEN}, {3, LINK_NOT_OPEN}}));
    CString error;
    EXPECT_FALSE(udp->Open(u"", error));
    EXPECT_EQ(error, CString(u"Could not resolve host."));
    // Reopening works, and destroying an open transport stops its reader.
    ASSERT_TRUE(udp->Open(u"localhost", error));
    ASSERT_EQ(Exchange(*frame, Message(59, 1), m), LINK_OK);
    frame.reset();
}

#include <gtest/gtest.h>

#include <thread>

#include "link/comm_serial.h"
#include "link/link_result.h"
#include "link/link_timing.h"
#include "link/pellam_frame.h"
#include "tests/link/link_test_util.h"
#include "tests/sim/sim_serial_link.h"

namespace {

using std::chrono::steady_clock;

constexpr DWORD kByteTimeoutMs = 250;

CSerialTimeouts ShortTimeouts() {
    CLinkTiming timing;
    timing.serialByteTimeoutMs = kByteTimeoutMs;
    return timing.SerialTimeouts(38400);
}

// A serial framer on a pseudo-terminal whose other end is a simulated controller.
class SerialLink : public ::testing::Test {
protected:
    SerialLink() {
        auto comm = std::make_unique<CCommSerial>(&sink);
        EXPECT_EQ(comm->Open(CString::FromUtf8(line.DevicePath())), LINK_OK);
        EXPECT_EQ(comm->SetTimeouts(ShortTimeouts()), LINK_OK);
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
}

TEST_F(SerialLink, PresencePollAndFramedExchange) {
    ASSERT_EQ(frame->SendRaw(MakeMessage(0, 0, {0x9E})), LINK_OK);
    CMessage reply;
    ASSERT_EQ(frame->Receive(reply), LINK_OK);
    EXPECT_EQ(reply.command, 1u);
    EXPECT_EQ(reply.sequence, 0u);
    auto status = CorvaneState::DefaultStatus();
    EXPECT_EQ(PayloadOf(reply), Bytes(status.begin(), status.end()));
    EXPECT_EQ(sim.RawBytes(), (std::vector<std::uint8_t>{0x9E}));
    EXPECT_EQ(TakeActivity(sink), (std::vector<std::pair<WPARAM, LPARAM>>{{0, 0}, {1, 0}}));

    sim.ScriptReply(70, {0xD5, 0xDD, 0x00});
    ASSERT_EQ(Exchange(*frame, MakeMessage(70, 4094, {0x01, 0x9E}), reply), LINK_OK);
    EXPECT_EQ(reply.command, 70u);
    EXPECT_EQ(reply.sequence, 4094u);
    EXPECT_EQ(PayloadOf(reply), (Bytes{0xD5, 0xDD, 0x00}));
    ASSERT_EQ(sim.Requests().size(), 1u);
    EXPECT_EQ(sim.Requests()[0].payload, (std::vector<std::uint8_t>{0x01, 0x9E}));
    // Commands the controller does not know are refused.
    ASSERT_EQ(Exchange(*frame, MakeMessage(99, 9), reply), LINK_OK);
    EXPECT_TRUE(reply.nak);
    EXPECT_EQ(sim.BadFrames(), 0);
}

TEST_F(SerialLink, ReadsStopAtTheEndByteAndTimeOut) {
    auto one = SimWrapBody(SimFrameBody({70, 1, false, false, 0, {0xA1}}, false));
    auto two = SimWrapBody(SimFrameBody({70, 2, false, false, 0, {0xA2}}, false));
    Bytes both = one;
    both.insert(both.end(), two.begin(), two.end());
    line.SendBytes(both);
    CMessage m;
    ASSERT_EQ(frame->Receive(m), LINK_OK);
    EXPECT_EQ(m.sequence, 1u);
    ASSERT_EQ(frame->Receive(m), LINK_OK);
    EXPECT_EQ(m.sequence, 2u);
    sink.Clear();

    auto start = steady_clock::now();
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);
    EXPECT_GE(MillisecondsSince(start), kByteTimeoutMs - 10);
    EXPECT_TRUE(sink.Messages().empty());
    // A frame cut off by the time-out.
    line.SendBytes(Bytes(one.begin(), one.end() - 2));
    EXPECT_EQ(frame->Receive(m), LINK_TIMEOUT);

    // A full buffer without the end byte.
    line.SendBytes(Bytes(4000, 0x01));
    Bytes buffer(4000);
    std::size_t count = 0;
    EXPECT_EQ(serial->Read(buffer, count), LINK_OVERFLOW);
    EXPECT_EQ(count, 4000u);
    EXPECT_EQ(TakeActivity(sink), (std::vector<std::pair<WPARAM, LPARAM>>{{3, LINK_OVERFLOW}}));

    serial->Close();
    EXPECT_EQ(frame->Send(MakeMessage(5, 1)), LINK_NOT_OPEN);
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
        ASSERT_EQ(frame->SendRaw(MakeMessage(0, 0, {0x9E})), LINK_OK);
        ASSERT_EQ(frame->Receive(reply), LINK_OK);
        EXPECT_EQ(reply.command, 1u);
    }
}

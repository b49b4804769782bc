// Arbitrary replies, and the main window's answers to what the link tells it, in an order that
// the input chooses, into a device link whose engine stands idle. Every reply handler and step of
// the send procedure must take anything without harm and leave the link in one of its states.
//
// Input: a byte whose bit 0 picks the network, then operations, each a byte and its operands.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>

#include "link/device_comm.h"
#include "model/app_state.h"
#include "platform/base/profile.h"
#include "tests/link/fake_comm.h"
#include "tests/link/link_harness.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class CInput {
public:
    CInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_at == m_size; }
    BYTE Byte() { return m_at < m_size ? m_data[m_at++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// The engine thread finds nothing to do: the fuzzing thread asks for requests in its place.
class CFuzzDevice : public CDEVICEComm {
public:
    ~CFuzzDevice() override { Disconnect(); }
    int GetNextRequest(CMessage& request) override {
        if (std::this_thread::get_id() != m_player) return kRequestNone;
        return CDEVICEComm::GetNextRequest(request);
    }
    void OnResponse(CKelvardinDoc*) override {
        CDualMessage pair;
        const ReplyCheck check = TakeReply(pair);
        if (check == ReplyCheck::kDispatch && !HandleLinkReply(pair) && pair.reply.command == 1)
            OnControllerStatus();
        FinishReply(check);
    }

private:
    const std::thread::id m_player = std::this_thread::get_id();
};

class CFuzzDialogs : public ILinkDialogs {
public:
    explicit CFuzzDialogs(CInput& input) : m_input(input) {}
    int ExclusiveControlDenied() override { return m_input.Byte() % 3; }
    void ShowMessage(const CString&) override {}

private:
    CInput& m_input;
};

// The commands whose replies the link itself reads, and two it only passes on.
constexpr std::array<DWORD, 10> kCommands = {1, 3, 4, 23, 25, 26, 59, 60, 61, 9};

CDualMessage ReadPair(CInput& in) {
    CDualMessage pair;
    pair.request.command = kCommands[in.Byte() % kCommands.size()];
    pair.request.sequence = 7;
    const BYTE flags = in.Byte();
    CMessage& reply = pair.reply;
    reply.command = (flags & 0x04) ? in.Byte() : pair.request.command;
    reply.sequence = (flags & 0x08) ? 8 : 7;
    reply.nak = (flags & 0x01) ? TRUE : FALSE;
    reply.ctrl = (flags & 0x02) ? TRUE : FALSE;
    reply.tag = (flags & 0x10) ? 0xFFFF : (flags & 0x20) ? 0xFFFE : 0x0102;
    const BYTE length = in.Byte() % 32;
    std::array<BYTE, 32> payload{};
    for (BYTE i = 0; i < length; ++i)
        payload[i] = in.Byte();
    reply.SetPayload(std::span(payload).first(length));
    return pair;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CMemoryProfile profile;
    static CAppState app(profile);
    CInput in(data, size);
    CFuzzDialogs dialogs(in);
    CFuzzDevice device;
    CLinkTestWindow window(device);
    CLinkTiming timing;
    timing.engineWaitMs = 3600 * 1000;
    timing.commitAgainPauseMs = 0;
    device.SetTiming(timing);
    device.SetUdpTarget(in.Byte() & 1);
    device.SetDialogs(&dialogs);
    Check(device.Connect(std::make_unique<CFakeComm>(true), &window, FALSE));
    while (!in.Empty()) {
        switch (in.Byte() % 8) {
            case 0: device.PutResponse(ReadPair(in)); break;
            case 1:
                device.StartSendAll(CLinkSession::Now(),
                                    std::make_unique<CSetRequestSource>(in.Byte() % 4));
                break;
            case 2: device.Abort(); break;
            case 3: device.PullFromSource(in.Byte() % 3 - 1); break;
            case 4: device.BeginSendQueue(); break;
            case 5: device.EndSendQueue(); break;
            case 6: {
                CMessage request;
                device.GetNextRequest(request);
                break;
            }
            default:
                // The main window answers what the link has told it so far.
                window.PumpFor(std::chrono::milliseconds(0));
                break;
        }
        const int state = device.GetLinkState();
        Check(state >= kLinkClosed && state <= kLinkAwaitRelease && state != 6);
    }
    return 0;
}

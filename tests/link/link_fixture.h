#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "link/comm_serial.h"
#include "link/comm_udp.h"
#include "link/command_codes.h"
#include "link/link_messages.h"
#include "model/app_state.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "tests/link/link_harness.h"
#include "tests/sim/sim_serial_link.h"
#include "tests/sim/sim_udp_link.h"

using namespace std::chrono_literals;

// Generous bounds for anything that waits on the link: a loaded machine may be slow, a
// correct link is never this slow.
constexpr auto kPatience = 20s;

constexpr std::uint32_t kStandbyLoopback = 0x7F000002;

// Time-outs short enough for tests, long enough that a loaded machine does not miss replies.
inline CLinkTiming FastTiming() {
    CLinkTiming t;
    t.udpReadTimeoutMs = 500;
    t.serialByteTimeoutMs = 500;
    t.engineWaitMs = 100;
    t.pollIntervalMs = 500;
    t.errorPauseMs = 50;
    t.nakRetryPauseMs = 50;
    t.commitAgainPauseMs = 50;
    return t;
}

inline int CountCommand(const std::vector<SimFrame>& frames, unsigned command) {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                          [&](const SimFrame& f) { return f.command == command; }));
}

// The frames that came after the first n.
inline std::vector<SimFrame> After(std::vector<SimFrame> frames, std::size_t n) {
    frames.erase(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(n));
    return frames;
}

inline CMessage Request(DWORD command, std::vector<BYTE> payload = {}) {
    CMessage m;
    m.command = command;
    m.SetPayload(payload);
    return m;
}

// A device link, the main window it reports to and its dialogs, over a transport to a
// simulated controller. The application state is the test's own.
class LinkTest : public ::testing::Test {
protected:
    LinkTest() {
        device.SetTiming(timing);
        device.SetDialogs(&dialogs);
    }
    ~LinkTest() override { device.Disconnect(); }

    // Opens the transport and connects a link to it, looking for the controller.
    virtual void ConnectWith(CDEVICEComm& link, CLinkTestWindow& notify) = 0;
    void Connect() { ConnectWith(device, window); }
    void ConnectAndComeUp() {
        ASSERT_NO_FATAL_FAILURE(Connect());
        ASSERT_TRUE(ReachState(kLinkUp));
    }

    // Handles the window's messages until the link is in the state.
    bool ReachState(int state, std::chrono::milliseconds within = kPatience) {
        return window.PumpUntil([&] { return device.GetLinkState() == state; }, within);
    }
    bool Pump(const std::function<bool()>& done, std::chrono::milliseconds within = kPatience) {
        return window.PumpUntil(done, within);
    }
    // Hands the engine a request, as a manager would.
    void Ask(const CMessage& request) {
        device.AddManagerRequest(request);
        device.WakeEngine();
    }

    CMemoryProfile profile;
    CAppState app{profile};
    CLinkTiming timing = FastTiming();
    CTestDialogs dialogs;
    CLinkTestWindow window{device};
    CTestDevice device;
};

// The link over UDP to a controller on the loopback address.
class UdpLinkTest : public LinkTest {
protected:
    UdpLinkTest() {
        device.SetUdpTarget(TRUE);
        app.m_ipAddress.Set(u"127.0.0.1");
    }
    ~UdpLinkTest() override { device.Disconnect(); }

    void ConnectWith(CDEVICEComm& link, CLinkTestWindow& notify) override {
        auto comm = std::make_unique<CCommUDP>(&notify, peer.Port());
        comm->SetReadTimeout(timing.udpReadTimeoutMs);
        CString error;
        ASSERT_TRUE(comm->Open(app.m_ipAddress.Get(), error)) << ToUtf8(error);
        ASSERT_TRUE(link.Connect(std::move(comm), &notify, TRUE));
    }

    CSimController sim{true};
    CSimUdpLink peer{sim};
};

// The link over a pseudo-terminal to a controller behind it.
class SerialLinkTest : public LinkTest {
protected:
    ~SerialLinkTest() override { device.Disconnect(); }

    void ConnectWith(CDEVICEComm& link, CLinkTestWindow& notify) override {
        auto comm = std::make_unique<CCommSerial>(&notify);
        ASSERT_EQ(comm->Open(CString::FromUtf8(line.DevicePath())), 0);
        comm->SetTimeouts(timing.SerialTimeouts(38400));
        ASSERT_EQ(comm->SetBaudRate(38400), 0);
        ASSERT_TRUE(link.Connect(std::move(comm), &notify, TRUE));
    }

    CSimController sim{false};
    // A port of its own name, which can be pulled out and plugged in again.
    CSimSerialLink line{sim, testing::TempDir() + "ttyKV" + std::to_string(getpid())};
};

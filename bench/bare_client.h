#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "link/comm_udp.h"
#include "link/command_codes.h"
#include "link/pellam_udp_frame.h"
#include "tests/link/link_harness.h"

// What the benchmarks need around the simulated controller on loopback: a UDP transport to
// it, the device link brought up over it, and a bare client that makes exchanges one after
// the other with no link in between, the controller's round-trip floor. Each ends the
// program when the controller fails.

inline std::unique_ptr<CCommUDP> OpenLoopbackUdp(WORD port, IMessageSink* notify) {
    auto comm = std::make_unique<CCommUDP>(notify, port);
    comm->SetReadTimeout(1000);
    CString error;
    if (!comm->Open(u"127.0.0.1", error)) {
        std::fprintf(stderr, "cannot open UDP\n");
        std::exit(2);
    }
    return comm;
}

// Connects the device link to the controller over UDP and waits until the link is up.
inline void BringUpLink(CDEVICEComm& device, CLinkTestWindow& window, WORD port) {
    device.SetUdpTarget(TRUE);
    if (!device.Connect(OpenLoopbackUdp(port, &window), &window, TRUE) ||
        !window.PumpUntil([&] { return device.GetLinkState() == kLinkUp; },
                          std::chrono::seconds(10))) {
        std::fprintf(stderr, "the link did not come up\n");
        std::exit(2);
    }
}

class CBareClient {
public:
    // Opens a network session with the controller.
    explicit CBareClient(WORD port) : m_frame(OpenLoopbackUdp(port, nullptr)) {
        Exchange(kCmdOpenSession);
        m_frame.SetTag(m_reply.tag);
    }

    void Exchange(CMessage request) {
        request.sequence = m_sequence;
        m_sequence = m_sequence == 4094 ? 2 : m_sequence + 1;
        if (m_frame.Send(request) != 0 || m_frame.Receive(m_reply) != 0) {
            std::fprintf(stderr, "the controller did not answer\n");
            std::exit(2);
        }
    }
    void Exchange(DWORD command) {
        CMessage request;
        request.command = command;
        Exchange(request);
    }

private:
    CPellamUDPFrame m_frame;
    DWORD m_sequence = 1;
    CMessage m_reply;
};

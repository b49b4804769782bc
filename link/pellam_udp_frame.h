#pragma once

#include <atomic>

#include "link/pellam_frame.h"

// The network framer: serial frames with the connection tag in front, one per datagram.
class CPellamUDPFrame : public CPellamFrame {
public:
    explicit CPellamUDPFrame(std::unique_ptr<CComm> comm) : CPellamFrame(std::move(comm)) {}

    int Receive(CMessage& message) override { return ReceiveFrame(message, true); }
    int Send(const CMessage& message) override { return SendFrame(message, m_tag.load()); }

    // 1 when the tag changed, 0 when it was already held.
    int SetTag(WORD tag) { return m_tag.exchange(tag) != tag ? 1 : 0; }
    WORD GetTag() const { return m_tag; }

private:
    // Also set from the user-interface thread when a session opens.
    std::atomic<WORD> m_tag = CMessage::kNoTag;
};

#pragma once

#include <array>
#include <optional>

#include "link/frame_codec.h"
#include "link/msg_frame.h"

// The serial framer. It sets the transport's end byte to the frame's end byte.
class CPellamFrame : public CMsgFrame {
public:
    explicit CPellamFrame(std::unique_ptr<CComm> comm);

    int Receive(CMessage& message) override;
    int Send(const CMessage& message) override;
    int SendRaw(const CMessage& message) override;
    int GetMaxSequence() const override { return 4094; }

protected:
    int ReceiveFrame(CMessage& message, bool network);
    int SendFrame(const CMessage& message, std::optional<WORD> tag);

private:
    std::array<BYTE, kMaxFrameBody> m_body{};
    std::array<BYTE, kMaxFrameBytes> m_frame{};
};

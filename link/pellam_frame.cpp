#include "link/pellam_frame.h"

#include "link/link_result.h"

CPellamFrame::CPellamFrame(std::unique_ptr<CComm> comm) : CMsgFrame(std::move(comm)) {
    m_comm->SetParams(kFrameEnd);
}

int CPellamFrame::Receive(CMessage& message) {
    return ReceiveFrame(message, false);
}

int CPellamFrame::Send(const CMessage& message) {
    return SendFrame(message, std::nullopt);
}

int CPellamFrame::SendRaw(const CMessage& message) {
    if (message.length == 0 || message.length > CMessage::kMaxPayload) return LINK_FRAMING;
    return m_comm->Write(message.Payload());
}

int CPellamFrame::ReceiveFrame(CMessage& message, bool network) {
    std::size_t held = 0;
    if (int result = m_comm->Read(m_frame, held); result != LINK_OK) return result;
    // An escaped end byte ended the read early: the frame goes on.
    while (LastByteEscaped({m_frame.data(), held})) {
        std::size_t more = 0;
        if (int result = m_comm->Read(std::span(m_frame).subspan(held), more); result != LINK_OK)
            return result;
        held += more;
    }
    return DecodeFrame({m_frame.data(), held}, network, message);
}

int CPellamFrame::SendFrame(const CMessage& message, std::optional<WORD> tag) {
    std::size_t body = BuildFrameBody(message, tag, m_body);
    if (body == 0) return LINK_OVERFLOW;
    return m_comm->Write({m_frame.data(), DelimitFrame({m_body.data(), body}, m_frame)});
}

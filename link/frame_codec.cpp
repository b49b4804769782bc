#include "link/frame_codec.h"

#include <numeric>

#include "link/link_result.h"

bool NeedsEscape(BYTE byte) {
    switch (byte) {
        case 0x1A:
        case 0x9E:
        case 0xA5:
        case 0xAD:
        case kFrameStart:
        case kFrameEscape:
        case kFrameEnd: return true;
        default: return false;
    }
}

BYTE FrameChecksum(std::span<const BYTE> body) {
    unsigned sum = std::accumulate(body.begin(), body.end(), 0u);
    return static_cast<BYTE>(0x100 - (sum & 0xFF));
}

std::size_t BuildFrameBody(const CMessage& message, std::optional<WORD> tag,
                           std::span<BYTE, kMaxFrameBody> body) {
    if (message.length > CMessage::kMaxPayload) return 0;
    std::size_t n = 0;
    if (tag) {
        body[n++] = static_cast<BYTE>(*tag >> 8);
        body[n++] = static_cast<BYTE>(*tag);
    }
    body[n++] = static_cast<BYTE>(message.command);
    body[n++] =
        static_cast<BYTE>((message.nak ? 0x80 : 0) | (message.ctrl ? 0x40 : 0) |
                          ((message.command >> 4) & 0x30) | ((message.sequence >> 8) & 0x0F));
    body[n++] = static_cast<BYTE>(message.sequence);
    for (BYTE b : message.Payload())
        body[n++] = b;
    body[n] = FrameChecksum(body.first(n));
    return n + 1;
}

std::size_t DelimitFrame(std::span<const BYTE> body, std::span<BYTE> out) {
    std::size_t n = 0;
    out[n++] = kFrameStart;
    for (BYTE b : body) {
        if (NeedsEscape(b)) out[n++] = kFrameEscape;
        out[n++] = b;
    }
    out[n++] = kFrameEnd;
    return n;
}

bool LastByteEscaped(std::span<const BYTE> bytes) {
    if (bytes.size() < 2) return false;
    std::size_t escapes = 0;
    for (std::size_t i = bytes.size() - 1; i > 0 && bytes[i - 1] == kFrameEscape; --i)
        ++escapes;
    return escapes % 2 == 1;
}

std::size_t UnescapeFrame(std::span<BYTE> bytes) {
    std::size_t out = 0;
    for (std::size_t in = 0; in < bytes.size(); ++in) {
        if (bytes[in] == kFrameEscape && ++in == bytes.size()) break;
        bytes[out++] = bytes[in];
    }
    return out;
}

int DecodeFrame(std::span<BYTE> frame, bool network, CMessage& message) {
    const std::size_t overhead = network ? kNetworkFrameOverhead : kSerialFrameOverhead;
    if (frame.size() < overhead) return LINK_FRAMING;
    // The serial transport stops at the end byte, so only a datagram needs its delimiters
    // checked; both are checked before unescaping.
    if (network && (frame.front() != kFrameStart || frame.back() != kFrameEnd)) return LINK_FRAMING;
    const std::size_t count = UnescapeFrame(frame);
    const auto inner = frame.subspan(1, count >= 2 ? count - 2 : 0);
    if (std::accumulate(inner.begin(), inner.end(), 0u) % 0x100 != 0) return LINK_CHECKSUM;
    // Escapes may have hidden a frame too short to hold a header.
    if (count < overhead || count - overhead > CMessage::kMaxPayload) return LINK_FRAMING;
    std::size_t at = 1;
    if (network) {
        message.tag = static_cast<WORD>(frame[1] << 8 | frame[2]);
        at = 3;
    }
    const BYTE flags = frame[at + 1];
    message.nak = (flags & 0x80) ? TRUE : FALSE;
    message.ctrl = (flags & 0x40) ? TRUE : FALSE;
    message.command = (static_cast<DWORD>(flags & 0x30) << 4) | frame[at];
    message.sequence = (static_cast<DWORD>(flags & 0x0F) << 8) | frame[at + 2];
    message.SetPayload(frame.subspan(at + 3, count - overhead));
    return LINK_OK;
}

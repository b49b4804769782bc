#include "shell/io/search_answer.h"

#include "link/frame_codec.h"
#include "link/payload_io.h"
#include "platform/base/codepage.h"

namespace {

// The tag, the command, its flags and the sequence number come before the answer's fields.
constexpr std::size_t kAnswerHeader = 5;
// Without the bits of the NAK and control flags and of sequence numbers above 0x7FF.
constexpr BYTE kRefusedFlags = 0xC8;

CString ReadText(CPayloadReader& reader) {
    const BYTE length = reader.U8();
    const BYTE* text = reader.Take(length);
    return text ? CString(FromAnsi({reinterpret_cast<const char*>(text), length})) : CString();
}

}  // namespace

std::vector<BYTE> BuildSearchRequest(WORD command, WORD sequence) {
    CMessage request;
    request.command = command;
    request.sequence = sequence;
    std::array<BYTE, kMaxFrameBody> body{};
    const std::size_t bodyLength = BuildFrameBody(request, CMessage::kNoTag, body);
    std::vector<BYTE> frame(2 * bodyLength + 2);
    frame.resize(DelimitFrame(std::span(body).first(bodyLength), frame));
    return frame;
}

bool UnframeSearchAnswer(std::span<const BYTE> datagram, std::vector<BYTE>& payload) {
    payload.clear();
    if (datagram.empty() || datagram[0] != kFrameStart) return false;
    bool escaped = false;
    for (BYTE b : datagram.subspan(1)) {
        if (!escaped && b == kFrameEnd) {
            if (payload.empty()) return false;
            payload.pop_back();  // the checksum
            return true;
        }
        if (!escaped && b == kFrameStart) return false;
        escaped = !escaped && b == kFrameEscape;
        if (escaped) continue;
        // One byte more than a payload holds is its checksum.
        if (payload.size() > kMaxSearchPayload) return false;
        payload.push_back(b);
    }
    return false;
}

bool ParseSearchAnswer(std::span<const BYTE> payload, CFoundDevice& device) {
    if (payload.size() <= kAnswerHeader || (payload[3] & kRefusedFlags)) return false;
    const WORD command = static_cast<WORD>((payload[3] & 0x30) << 4 | payload[2]);
    if (command != kCmdSearchIntercoms && command != kCmdSearchControllers) return false;

    CPayloadReader reader(payload.subspan(kAnswerHeader));
    CFoundDevice found;
    found.command = command;
    found.type = reader.U8();
    found.active = (reader.U8() & 1) ? TRUE : FALSE;
    found.firstCount = reader.U16();
    found.secondCount = reader.U16();
    found.partner = reader.U32();
    found.name = ReadText(reader);
    found.description = ReadText(reader);
    if (!reader.Ok()) return false;
    if (reader.Left() >= 2) {
        found.frameNumber = reader.U8();
        found.frameCount = reader.U8();
    }
    found.address = device.address;
    device = std::move(found);
    return true;
}

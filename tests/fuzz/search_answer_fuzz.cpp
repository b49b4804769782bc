// Arbitrary datagrams into the device search's unframing and answer parser, and the bytes
// as a payload straight into the parser. A payload never outgrows its bound, and one framed
// anew unframes and parses to the same device.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "link/frame_codec.h"
#include "shell/search_answer.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameDevice(const CFoundDevice& a, const CFoundDevice& b) {
    return a.command == b.command && a.type == b.type && a.active == b.active &&
           a.firstCount == b.firstCount && a.secondCount == b.secondCount &&
           a.partner == b.partner && a.name == b.name && a.description == b.description &&
           a.frameNumber == b.frameNumber && a.frameCount == b.frameCount;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const BYTE> bytes(data, size);
    CFoundDevice device;
    ParseSearchAnswer(bytes, device);

    std::vector<BYTE> payload;
    if (!UnframeSearchAnswer(bytes, payload)) return 0;
    Check(payload.size() <= kMaxSearchPayload);
    const bool parsed = ParseSearchAnswer(payload, device);

    std::vector<BYTE> body = payload;
    body.push_back(FrameChecksum(body));
    std::vector<BYTE> frame(2 * body.size() + 2);
    frame.resize(DelimitFrame(body, frame));
    std::vector<BYTE> again;
    Check(UnframeSearchAnswer(frame, again) && again == payload);
    CFoundDevice reparsed;
    Check(ParseSearchAnswer(again, reparsed) == parsed);
    Check(!parsed || SameDevice(device, reparsed));
    return 0;
}

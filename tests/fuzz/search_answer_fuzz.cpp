// Arbitrary datagrams into the device search's unframing and answer parser, and the same
// bytes as a payload straight into the parser: every read stays within its datagram and no
// payload outgrows its bound.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "shell/io/search_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const BYTE> bytes(data, size);
    CFoundDevice device;
    ParseSearchAnswer(bytes, device);
    std::vector<BYTE> payload;
    if (!UnframeSearchAnswer(bytes, payload)) return 0;
    if (payload.size() > kMaxSearchPayload) std::abort();
    if (ParseSearchAnswer(payload, device) && device.name.GetLength() > 255) std::abort();
    return 0;
}

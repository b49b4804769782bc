// Arbitrary bytes into both framers through an in-memory transport: the first byte picks the
// serial framer (one byte stream) or the network one (datagrams whose lengths the input
// choose). Every frame that decodes must encode and decode back to the same message.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "link/link_result.h"
#include "link/pellam_udp_frame.h"
#include "tests/link/fake_comm.h"

namespace {

std::unique_ptr<CPellamFrame> MakeFrame(bool network, std::unique_ptr<CComm> comm) {
    if (network) return std::make_unique<CPellamUDPFrame>(std::move(comm));
    return std::make_unique<CPellamFrame>(std::move(comm));
}

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckRoundTrip(bool network, const CMessage& decoded) {
    auto comm = std::make_unique<CFakeComm>(network);
    CFakeComm* fake = comm.get();
    auto frame = MakeFrame(network, std::move(comm));
    if (network) static_cast<CPellamUDPFrame&>(*frame).SetTag(decoded.tag);
    Check(frame->Send(decoded) == LINK_OK);
    fake->Deliver(fake->Written().back());
    CMessage again;
    again.tag = decoded.tag;
    Check(frame->Receive(again) == LINK_OK);
    Check(again.command == decoded.command && again.sequence == decoded.sequence &&
          again.nak == decoded.nak && again.ctrl == decoded.ctrl && again.tag == decoded.tag &&
          std::ranges::equal(again.Payload(), decoded.Payload()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool network = data[0] & 1;
    auto comm = std::make_unique<CFakeComm>(network);
    CFakeComm* fake = comm.get();
    auto frame = MakeFrame(network, std::move(comm));

    std::size_t at = 1;
    while (at < size) {
        std::size_t length = size - at;
        if (network) {
            // Short lengths as they are, the top values for datagrams too long for a frame.
            const std::size_t wanted = data[at] < 0xF0 ? data[at] : (data[at] - 0xEFu) * 512;
            length = std::min(wanted, size - ++at);
        }
        fake->Deliver({data + at, data + at + length});
        at += length;
    }
    CMessage message;
    while (!fake->Drained()) {
        int result = frame->Receive(message);
        Check(IsLinkResultCode(result));
        Check(message.length <= CMessage::kMaxPayload);
        if (result == LINK_OK) CheckRoundTrip(network, message);
    }
    return 0;
}

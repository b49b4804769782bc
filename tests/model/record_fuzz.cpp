// Decodes every record form from arbitrary bytes and lengths, shorter than the form included,
// under an arbitrary controller configuration, and checks that what a decoded record writes
// reads back to the same bytes. Also parses controller status records.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "model/app_state.h"
#include "model/records.h"
#include "platform/base/byte_order.h"
#include "platform/base/profile.h"

namespace {

struct RecordKind {
    std::function<std::unique_ptr<CCVObject>()> make;
    // The form a length selects, or 0 when the length selects none.
    std::function<int(int length)> formOf;
};

const RecordKind kKinds[] = {
    {[] { return std::make_unique<COptions>(); }, [](int) { return COptions::kWireSize; }},
    {[] { return std::make_unique<CTrunk>(); }, [](int) { return CTrunk::kWireSize; }},
    {[] { return std::make_unique<CIntercom>(); },
     [](int length) { return length == 16 ? 16 : CIntercom::kWireSize; }},
    {[] { return std::make_unique<CGroup>(); },
     [](int length) { return length == 24 || length == 32 || length == 34 ? length : 0; }},
    {[] { return std::make_unique<CAlpha>(); },
     [](int length) { return length == 40 ? 40 : CAlpha::kWireSize; }},
};

const int kFormLengths[] = {16, 24, 32, 34, 40};

std::vector<BYTE> Encode(CCVObject& record, int form) {
    std::vector<BYTE> bytes(static_cast<size_t>(form));
    if (record.ToWire(bytes.data(), form, FALSE) != form) std::abort();
    return bytes;
}

void DecodeAndCheck(const RecordKind& kind, const BYTE* body, int length, BOOL mark) {
    auto record = kind.make();
    record->FromWire(body, length, mark);
    record->IsModified();
    const int form = kind.formOf(length);
    if (form == 0) return;
    const std::vector<BYTE> first = Encode(*record, form);
    auto again = kind.make();
    again->FromWire(first.data(), form, FALSE);
    if (Encode(*again, form) != first) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CMemoryProfile profile;
    static CAppState app(profile);
    constexpr size_t kHeader = 7;
    if (size < kHeader) return 0;

    CCVConfig& config = app.GetConfig();
    config.m_dwCapabilities = GetU32BE(data);
    config.RefreshCapabilitySet();
    config.m_wNumIntercoms = static_cast<WORD>(1 + data[4] % 255);
    config.m_nAlphaSize = 4 + 2 * (data[5] % 4);
    app.m_bAllocInSeconds = data[5] & 0x10;
    const BOOL mark = (data[5] & 0x20) != 0;
    const BYTE* body = data + kHeader;
    const int bodySize = static_cast<int>(size - kHeader);
    const int chosen = std::min<int>(data[6] % 48, bodySize);

    for (const RecordKind& kind : kKinds) {
        DecodeAndCheck(kind, body, chosen, mark);
        for (int length : kFormLengths) {
            if (length <= bodySize) DecodeAndCheck(kind, body, length, mark);
        }
    }

    if (bodySize >= CCVStatusRec::kWireSize) {
        CCVConfig reply(config);
        reply.SetFromControllerReply(CCVStatusRec(body));
        if (reply.m_wNumIntercoms > CCVConfig::kMaxIntercoms ||
            reply.m_wNumTrunks > CCVConfig::kMaxTrunks)
            std::abort();
    }
    return 0;
}

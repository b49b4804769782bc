// Arbitrary request and reply payloads of every data code, checked against their requests
// as the data manager checks them and handed to the handlers against a default setup on
// controllers of four kinds. Nothing may be read outside a payload.
//
// Input: a code index, a controller kind, the request's length and bytes, then the reply.
#include <array>
#include <cstdint>
#include <memory>

#include "link/data_replies.h"
#include "link/reply_context.h"
#include "link/reply_layouts.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/snmp_config.h"
#include "platform/base/profile.h"

namespace {

constexpr std::array<DWORD, 25> kCodes = {5,  7,  8,  11, 14, 15, 18, 19, 27, 32, 34, 35, 37,
                                          46, 48, 50, 56, 57, 64, 66, 68, 70, 75, 81, 84};

constexpr DWORD kAlphaCounters = 76;

class CFuzzContext : public IReplyContext {
public:
    void PostToMainWindow(UINT, WPARAM, LPARAM) override {}
    BOOL AppendControllerLog(const CString&) override { return TRUE; }
    void SetClock() override {}
    CSNMPConfig& GetSNMPConfig() override { return m_snmp; }
    void EndMiscWait(int) override {}
    void FailMiscWait(int) override {}

private:
    CSNMPConfig m_snmp;
};

struct CKind {
    WORD flags;
    DWORD capabilities;
    WORD intercoms;
};

constexpr std::array<CKind, 4> kKinds = {{
    {0, 0, 31},
    {0x10 | 0x40 | 0x04, 0xFFFF0000u, 40},
    {0, 0x10000, 31},
    {0x10, 0x10000 | 0x20000, 255},
}};

void Configure(const CKind& kind) {
    CCVConfig& config = GetApp().GetConfig();
    config.m_wFlags = kind.flags;
    config.m_dwCapabilities = kind.capabilities;
    config.m_wNumIntercoms = kind.intercoms;
    config.m_wNumTrunks = 600;
    config.RefreshCapabilitySet();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CMemoryProfile profile;
    static CAppState app(profile);
    static std::array<std::unique_ptr<CKelvardinDoc>, kKinds.size()> docs;
    static CFuzzContext context;
    if (size < 3) return 0;

    const DWORD code = kCodes[data[0] % kCodes.size()];
    const std::size_t kind = data[1] % kKinds.size();
    Configure(kKinds[kind]);
    if (!docs[kind]) {
        docs[kind] = std::make_unique<CKelvardinDoc>();
        docs[kind]->ResetToDefaultSetup();
    }
    std::size_t at = 3;
    const std::size_t requestLength = std::min<std::size_t>(data[2] % 8, size - at);

    CDualMessage pair;
    pair.request.command = code;
    pair.request.SetPayload({data + at, requestLength});
    at += requestLength;
    pair.reply.command = code;
    pair.reply.SetPayload({data + at, size - at});
    ReplyFitsRequest(pair, CLinkConfig::From(app));
    FindDataReplyHandler(code)(context, pair, *docs[kind]);
    // The alpha change counters have no handler of their own, but are checked all the same.
    pair.request.command = pair.reply.command = kAlphaCounters;
    ReplyFitsRequest(pair, CLinkConfig::From(app));
    return 0;
}

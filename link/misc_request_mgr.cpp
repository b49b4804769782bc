#include "link/misc_request_mgr.h"

#include <algorithm>
#include <ctime>
#include <mutex>
#include <utility>

#include "link/command_codes.h"

namespace {

// What an item sends when it is a fixed request: its code and payload.
struct CFixedItem {
    UINT item;
    DWORD command;
    std::vector<BYTE> payload;
};

const CFixedItem kFixedItems[] = {
    {CMiscRequestMgr::kLogRecordMore, 7, {1}},
    {CMiscRequestMgr::kLogRecord, 7, {0}},
    {CMiscRequestMgr::kReadClock, 37, {}},
    {CMiscRequestMgr::kLoggingOn, 13, {1}},
    {CMiscRequestMgr::kLoggingOff, 13, {0}},
    {CMiscRequestMgr::kLoggingState, 10, {}},
    {CMiscRequestMgr::kComPortRange, 58, {}},
    {CMiscRequestMgr::kClearCVErrors, 20, {0, 0, 1}},
    {CMiscRequestMgr::kClearStandbyErrors, 20, {2, 0, 1}},
    {CMiscRequestMgr::kAutoClear, 46, {}},
    {CMiscRequestMgr::kDynamicAlloc, 48, {}},
    {CMiscRequestMgr::kWaitForTalkKey, 50, {}},
    {CMiscRequestMgr::kCode21Text, 21, {0, 0}},
    {CMiscRequestMgr::kCVStatus, 18, {0, 0, 1}},
    {CMiscRequestMgr::kCVErrors, 19, {0, 0, 1}},
    {CMiscRequestMgr::kStandbyStatus, 18, {2, 0, 1}},
    {CMiscRequestMgr::kStandbyErrors, 19, {2, 0, 1}},
    {CMiscRequestMgr::kSessionSetup, kCmdStandbyAddress, {}},
    {CMiscRequestMgr::kReadSnmp, 66, {}},
};

DWORD CommandOfPayloadItem(UINT item) {
    switch (item) {
        case CMiscRequestMgr::kWriteMemory0:
        case CMiscRequestMgr::kWriteMemory1: return kCmdWriteMemory;
        case CMiscRequestMgr::kReadMemory0:
        case CMiscRequestMgr::kReadMemory1: return kCmdReadMemory;
        case CMiscRequestMgr::kCommandLine: return kCmdClp;
        default: return 67;  // write the SNMP configuration
    }
}

}  // namespace

CMiscRequestMgr::CMiscRequestMgr() {
    SetSize(kItems);
}

BOOL CMiscRequestMgr::CarriesPayload(UINT item) {
    return item == kWriteMemory0 || item == kReadMemory0 || item == kCommandLine ||
           item == kWriteMemory1 || item == kReadMemory1 || item == kWriteSnmp;
}

void CMiscRequestMgr::AddWithPayload(UINT item, std::span<const BYTE> payload) {
    if (!CarriesPayload(item)) return;
    std::lock_guard guard(Lock());
    m_payloads[item].emplace(payload.begin(), payload.end());
    Add(item);
}

void CMiscRequestMgr::SetAlphaCounterCursor(UINT icom) {
    std::lock_guard guard(Lock());
    m_nCounterCursor = icom;
}

BOOL CMiscRequestMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    std::lock_guard guard(Lock());
    const UINT item = GetFirst();
    if (item >= kItems) return FALSE;
    m_nBuiltItem = item;
    m_nBuiltCounterCursor = m_nCounterCursor;
    // The counters stay pending until every intercom has been asked for.
    if (item == kAlphaCounters) {
        if (BuildAlphaCounters(message, config)) return TRUE;
        Remove(item);
        return FALSE;
    }
    const BOOL built = BuildItem(item, message, config);
    Remove(item);
    return built;
}

void CMiscRequestMgr::Requeue(const CMessage& /*request*/) {
    std::lock_guard guard(Lock());
    const UINT item = std::exchange(m_nBuiltItem, kItems);
    if (item >= kItems) return;
    if (item == kAlphaCounters) m_nCounterCursor = m_nBuiltCounterCursor;
    if (CarriesPayload(item)) {
        // A copy marked since is newer and goes instead.
        if (!m_builtPayload) return;
        if (!m_payloads[item]) m_payloads[item] = std::move(m_builtPayload);
        m_builtPayload.reset();
    }
    Add(item);
}

BOOL CMiscRequestMgr::BuildItem(UINT item, CMessage& message, const CLinkConfig& config) {
    const auto fixed = std::find_if(std::begin(kFixedItems), std::end(kFixedItems),
                                    [&](const CFixedItem& f) { return f.item == item; });
    if (fixed != std::end(kFixedItems)) {
        CRequestWriter(message, fixed->command).Bytes(fixed->payload);
        return TRUE;
    }
    if (CarriesPayload(item)) {
        // Marked without its data: there is nothing to send.
        if (!m_payloads[item]) return FALSE;
        CRequestWriter(message, CommandOfPayloadItem(item)).Bytes(*m_payloads[item]);
        m_builtPayload = std::exchange(m_payloads[item], std::nullopt);
        return TRUE;
    }
    switch (item) {
        case kSetClock: {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            CRequestWriter(message, kCmdSetClock)
                .Byte(static_cast<UINT>(local.tm_year))
                .Byte(static_cast<UINT>(local.tm_mon + 1))
                .Byte(static_cast<UINT>(local.tm_mday))
                .Byte(static_cast<UINT>(local.tm_hour))
                .Byte(static_cast<UINT>(local.tm_min))
                .Byte(static_cast<UINT>(local.tm_sec));
            return TRUE;
        }
        case kTakeLogDirection:
        case kReleaseLogDirection:
            if (!config.HasCapability(CCVConfig::kLogToken)) return FALSE;
            CRequestWriter(message, item == kTakeLogDirection ? 78 : 79);
            return TRUE;
        case kAllocTimeout: CRequestWriter(message, config.secondsMode ? 64 : 11); return TRUE;
        default: return FALSE;
    }
}

BOOL CMiscRequestMgr::BuildAlphaCounters(CMessage& message, const CLinkConfig& config) {
    const UINT icoms = static_cast<UINT>(std::max(config.intercoms, 0));
    if (!config.HasCapability(CCVConfig::kAlphaCounters) || m_nCounterCursor >= icoms) return FALSE;
    const int format = LabelFormat(config.alphaSize, config);
    if (format < 0) return FALSE;
    const UINT count = std::min(kCounterIntercoms, icoms - m_nCounterCursor);
    CRequestWriter(message, 76).Byte(static_cast<UINT>(format)).U16(m_nCounterCursor).U16(count);
    m_nCounterCursor += count;
    return TRUE;
}

#include "link/misc_request_mgr.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <mutex>
#include <utility>

#include "link/command_codes.h"
#include "link/wire_clock.h"

namespace {

// What each item sends: its code and either a fixed payload, the copy it was marked with
// (whose first bytes, when given, tell items of one code apart), or one built when it goes.
enum class Payload { kFixed, kCarried, kBuilt };

struct CItemForm {
    UINT item;
    DWORD command;
    Payload kind;
    std::vector<BYTE> bytes;
};

const CItemForm kItemForms[] = {
    {CMiscRequestMgr::kLogRecordMore, kCmdLogRecord, Payload::kFixed, {1}},
    {CMiscRequestMgr::kLogRecord, kCmdLogRecord, Payload::kFixed, {0}},
    {CMiscRequestMgr::kReadClock, kCmdClock, Payload::kFixed, {}},
    {CMiscRequestMgr::kSetClock, kCmdSetClock, Payload::kBuilt, {}},
    {CMiscRequestMgr::kTakeLogDirection, kCmdTakeLogDirection, Payload::kFixed, {}},
    {CMiscRequestMgr::kLoggingOn, kCmdLoggingOnOff, Payload::kFixed, {1}},
    {CMiscRequestMgr::kLoggingOff, kCmdLoggingOnOff, Payload::kFixed, {0}},
    {CMiscRequestMgr::kReleaseLogDirection, kCmdReleaseLogDirection, Payload::kFixed, {}},
    {CMiscRequestMgr::kLoggingState, kCmdLoggingState, Payload::kFixed, {}},
    {CMiscRequestMgr::kComPortRange, kCmdComPortRange, Payload::kFixed, {}},
    {CMiscRequestMgr::kClearCVErrors, kCmdClearErrors, Payload::kFixed, {0, 0, 1}},
    {CMiscRequestMgr::kClearStandbyErrors, kCmdClearErrors, Payload::kFixed, {2, 0, 1}},
    {CMiscRequestMgr::kAllocTimeout, kCmdTimeoutMinutes, Payload::kBuilt, {}},
    {CMiscRequestMgr::kAllocTimeout, kCmdTimeoutSeconds, Payload::kBuilt, {}},
    {CMiscRequestMgr::kAutoClear, kCmdAutoClear, Payload::kFixed, {}},
    {CMiscRequestMgr::kDynamicAlloc, kCmdDynamicAlloc, Payload::kFixed, {}},
    {CMiscRequestMgr::kWaitForTalkKey, kCmdWaitForTalkKey, Payload::kFixed, {}},
    {CMiscRequestMgr::kCode21Text, kCmdCode21Text, Payload::kFixed, {0, 0}},
    {CMiscRequestMgr::kCVStatus, kCmdCommStatus, Payload::kFixed, {0, 0, 1}},
    {CMiscRequestMgr::kCVErrors, kCmdCommErrors, Payload::kFixed, {0, 0, 1}},
    {CMiscRequestMgr::kStandbyStatus, kCmdCommStatus, Payload::kFixed, {2, 0, 1}},
    {CMiscRequestMgr::kStandbyErrors, kCmdCommErrors, Payload::kFixed, {2, 0, 1}},
    {CMiscRequestMgr::kWriteMemory0, kCmdWriteMemory, Payload::kCarried, {0, 0}},
    {CMiscRequestMgr::kReadMemory0, kCmdReadMemory, Payload::kCarried, {0, 0}},
    {CMiscRequestMgr::kCommandLine, kCmdClp, Payload::kCarried, {}},
    {CMiscRequestMgr::kSessionSetup, kCmdStandbyAddress, Payload::kFixed, {}},
    {CMiscRequestMgr::kWriteMemory1, kCmdWriteMemory, Payload::kCarried, {0, 1}},
    {CMiscRequestMgr::kReadMemory1, kCmdReadMemory, Payload::kCarried, {0, 1}},
    {CMiscRequestMgr::kReadSnmp, kCmdSNMPConfig, Payload::kFixed, {}},
    {CMiscRequestMgr::kWriteSnmp, kCmdSetSNMPConfig, Payload::kCarried, {}},
    {CMiscRequestMgr::kAlphaCounters, kCmdAlphaCounters, Payload::kBuilt, {}},
};

const CItemForm* FormOf(UINT item) {
    const auto form = std::find_if(std::begin(kItemForms), std::end(kItemForms),
                                   [&](const CItemForm& f) { return f.item == item; });
    return form != std::end(kItemForms) ? &*form : nullptr;
}

}  // namespace

CMiscRequestMgr::CMiscRequestMgr() {
    SetSize(kItems);
}

BOOL CMiscRequestMgr::CarriesPayload(UINT item) {
    const CItemForm* form = FormOf(item);
    return form && form->kind == Payload::kCarried;
}

BOOL CMiscRequestMgr::Acts(UINT item) {
    const CItemForm* form = FormOf(item);
    return form && ActsOnController(form->command);
}

int CMiscRequestMgr::ItemOfRequest(const CMessage& request) {
    const auto payload = request.Payload();
    for (const CItemForm& form : kItemForms) {
        if (form.command != request.command) continue;
        const bool starts = payload.size() >= form.bytes.size() &&
                            std::equal(form.bytes.begin(), form.bytes.end(), payload.begin());
        if (form.kind == Payload::kBuilt ||
            (starts && (form.kind == Payload::kCarried || payload.size() == form.bytes.size())))
            return static_cast<int>(form.item);
    }
    return -1;
}

BOOL CMiscRequestMgr::Queues(UINT item) {
    return item == kWriteMemory0 || item == kWriteMemory1;
}

void CMiscRequestMgr::AddWithPayload(UINT item, std::span<const BYTE> payload) {
    if (!CarriesPayload(item)) return;
    std::lock_guard guard(Lock());
    if (!Queues(item)) m_payloads[item].clear();
    m_payloads[item].emplace_back(payload.begin(), payload.end());
    Add(item);
}

void CMiscRequestMgr::RemoveActing() {
    std::lock_guard guard(Lock());
    for (const CItemForm& form : kItemForms) {
        if (!ActsOnController(form.command)) continue;
        Remove(form.item);
        m_payloads[form.item].clear();
    }
}

void CMiscRequestMgr::RemoveAll() {
    std::lock_guard guard(Lock());
    CRequestMgr::RemoveAll();
    for (auto& payloads : m_payloads)
        payloads.clear();
}

std::vector<std::vector<BYTE>> CMiscRequestMgr::TakeQueued(UINT item) {
    std::lock_guard guard(Lock());
    if (item >= kItems) return {};
    Remove(item);
    std::deque<std::vector<BYTE>> queued = std::exchange(m_payloads[item], {});
    return {std::make_move_iterator(queued.begin()), std::make_move_iterator(queued.end())};
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
    // Queued writes go one request each.
    if (m_payloads[item].empty()) Remove(item);
    return built;
}

void CMiscRequestMgr::Requeue(const CMessage& /*request*/) {
    std::lock_guard guard(Lock());
    const UINT item = std::exchange(m_nBuiltItem, kItems);
    if (item >= kItems) return;
    if (item == kAlphaCounters) m_nCounterCursor = m_nBuiltCounterCursor;
    if (CarriesPayload(item)) {
        if (!m_builtPayload) return;
        // A copy marked since is newer and goes instead, unless copies queue: then the
        // request goes again first.
        if (Queues(item) || m_payloads[item].empty())
            m_payloads[item].push_front(std::move(*m_builtPayload));
        m_builtPayload.reset();
    }
    Add(item);
}

BOOL CMiscRequestMgr::BuildItem(UINT item, CMessage& message, const CLinkConfig& config) {
    const CItemForm* form = FormOf(item);
    if (!form) return FALSE;
    switch (form->kind) {
        case Payload::kFixed:
            if ((item == kTakeLogDirection || item == kReleaseLogDirection) &&
                !config.HasCapability(CCVConfig::kLogToken))
                return FALSE;
            CPayloadWriter(message, form->command).Bytes(form->bytes);
            return TRUE;
        case Payload::kCarried:
            // Marked without its data: there is nothing to send.
            if (m_payloads[item].empty()) return FALSE;
            CPayloadWriter(message, form->command).Bytes(m_payloads[item].front());
            m_builtPayload = std::move(m_payloads[item].front());
            m_payloads[item].pop_front();
            return TRUE;
        case Payload::kBuilt: break;
    }
    if (item == kSetClock) {
        CPayloadWriter out(message, kCmdSetClock);
        WriteWireClock(out, std::time(nullptr));
        return TRUE;
    }
    if (item != kAllocTimeout) return FALSE;
    CPayloadWriter(message, config.secondsMode ? kCmdTimeoutSeconds : kCmdTimeoutMinutes);
    return TRUE;
}

BOOL CMiscRequestMgr::BuildAlphaCounters(CMessage& message, const CLinkConfig& config) {
    const UINT icoms = static_cast<UINT>(std::max(config.intercoms, 0));
    if (!config.HasCapability(CCVConfig::kAlphaCounters) || m_nCounterCursor >= icoms) return FALSE;
    const int format = LabelFormat(config.alphaSize, config);
    if (format < 0) return FALSE;
    const UINT count = std::min(kCounterIntercoms, icoms - m_nCounterCursor);
    CPayloadWriter(message, kCmdAlphaCounters)
        .U8(static_cast<UINT>(format))
        .U16(m_nCounterCursor)
        .U16(count);
    m_nCounterCursor += count;
    return TRUE;
}

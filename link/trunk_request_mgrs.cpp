#include "link/trunk_request_mgrs.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "link/command_codes.h"

namespace {

constexpr BYTE kMaintMode = 2;
constexpr BYTE kNormalMode = 0;

}  // namespace

BOOL CTrunkDefsMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    return BuildRange(message, kCmdTrunkDefs, kTrunkDefsPerMessage, Width::kWord);
}

BOOL CTrunkStatusMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    if (!BuildRange(message, kCmdTrunkStates, 500, Width::kWord)) return FALSE;
    if (config.HasCapability(CCVConfig::kOOSTrunks)) message.payload[message.length++] = 1;
    return TRUE;
}

BOOL CTrunkInspectMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    UINT trunk = 0;
    if (!TakeOne(trunk)) return FALSE;
    CPayloadWriter(message, kCmdTrunkInspect).U16(trunk);
    return TRUE;
}

BOOL CMaintModeMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    UINT trunk = 0;
    if (!TakeOne(trunk)) return FALSE;
    CPayloadWriter(message, kCmdTrunkMode).U16(trunk).U8(kMaintMode);
    return TRUE;
}

BOOL CNormalModeMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    UINT trunk = 0;
    if (!TakeOne(trunk)) return FALSE;
    CPayloadWriter(message, kCmdTrunkMode).U16(trunk).U8(kNormalMode);
    return TRUE;
}

BOOL CTrunkSummaryMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    std::lock_guard guard(Lock());
    if (m_nCurrent >= static_cast<int>(GetSize())) m_nCurrent = -1;
    if (m_nCurrent < 0) {
        UINT item = 0;
        if (!TakeOne(item)) return FALSE;
        m_nCurrent = static_cast<int>(item);
        m_nOffset = 0;
    }
    const BOOL extended = config.IsExtended();
    const BOOL paged = extended && config.intercoms > 31;
    CPayloadWriter request(message, extended ? kCmdTrunkSummaryEx : kCmdTrunkSummary);
    if (paged)
        request.U16(static_cast<UINT>(m_nCurrent));
    else
        request.U8(static_cast<UINT>(m_nCurrent));
    if (config.HasCapability(CCVConfig::kOOSTrunks)) request.U8(1);
    m_nBuiltItem = m_nCurrent;
    m_nBuiltOffset = paged ? m_nOffset : -1;
    if (!paged) {
        m_nCurrent = m_nOffset = -1;
        return TRUE;
    }
    const int count = std::clamp<int>(config.intercoms - m_nOffset, 0, kIntercomsPerRequest);
    request.U16(static_cast<UINT>(m_nOffset)).U16(static_cast<UINT>(count));
    m_nOffset += count;
    if (m_nOffset >= config.intercoms) m_nCurrent = m_nOffset = -1;
    return TRUE;
}

void CTrunkSummaryMgr::GiveUp(const CMessage& /*request*/) {
    std::lock_guard guard(Lock());
    if (m_nCurrent >= 0 && m_nCurrent == std::exchange(m_nBuiltItem, -1))
        m_nCurrent = m_nOffset = -1;
}

void CTrunkSummaryMgr::Requeue(const CMessage& /*request*/) {
    std::lock_guard guard(Lock());
    const int item = std::exchange(m_nBuiltItem, -1);
    if (item < 0) return;
    if (m_nBuiltOffset < 0 || (m_nCurrent >= 0 && m_nCurrent != item)) {
        Add(static_cast<UINT>(item));
        return;
    }
    m_nCurrent = item;
    m_nOffset = m_nBuiltOffset;
}

#include "link/icom_request_mgrs.h"

#include <mutex>

#include "link/command_codes.h"
#include "link/wire_group.h"

namespace {

// The selector byte of status and error requests that names the intercoms.
constexpr BYTE kIntercoms = 1;

}  // namespace

BOOL CIcomBaudMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    return BuildRange(message, kCmdIcomBaud, kIcomBytesPerMessage, Width::kByte);
}

BOOL CIcomPortMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    return BuildRange(message, kCmdIcomPort, kIcomBytesPerMessage, Width::kByte);
}

BOOL CIcomConnMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    if (!config.HasCapability(CCVConfig::kEthernetToMC)) return Drop();
    return BuildRange(message, kCmdIcomConn, kIcomBytesPerMessage, Width::kByte);
}

BOOL CIcomAddrMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    if (!config.HasCapability(CCVConfig::kEthernetToMC)) return Drop();
    return BuildRange(message, kCmdIcomAddress, kAddressesPerMessage, Width::kByte,
                      {BYTE(m_bPrimary ? 0 : 1)});
}

BOOL CIcomCostMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    if (!config.HasCapability(CCVConfig::kCascadeCosts)) return Drop();
    return BuildRange(message, kCmdIcomCost, kCostsPerMessage, Width::kWord);
}

BOOL CIcomRemTrunkingMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    if (!config.HasCapability(CCVConfig::kTwoCVsSupport)) return Drop();
    UINT icom = 0;
    if (!TakeOne(icom)) return FALSE;
    CPayloadWriter(message, kCmdRemoteTrunking).U8(icom);
    return TRUE;
}

BOOL CIcomStatusMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    if (!config.HasFlag(CCVConfig::kEnhancedStatus))
        return BuildRange(message, kCmdCommStatus, kIcomBytesPerMessage, Width::kByte,
                          {kIntercoms});
    UINT icom = 0;
    if (!TakeOne(icom)) return FALSE;
    CPayloadWriter(message, kCmdIcomStatus).U8(icom);
    return TRUE;
}

BOOL CIcomErrorsMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    return BuildRange(message, kCmdCommErrors, 64, Width::kByte, {kIntercoms});
}

BOOL CClearIcomErrorsMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    UINT icom = 0;
    if (!TakeOne(icom)) return FALSE;
    CPayloadWriter(message, kCmdClearErrors).U8(kIntercoms).U8(icom).U8(1);
    return TRUE;
}

BOOL CClearAllocationsMgr::BuildRequest(CMessage& message, const CLinkConfig&) {
    std::lock_guard guard(Lock());
    if (!HasPending()) return FALSE;
    const BOOL all = GetCount() == GetSize();
    const UINT icom = GetCursor();
    if (GetSize() == 31)
        CPayloadWriter(message, kCmdClearAllocations).U8(all ? 31 : icom);
    else
        CPayloadWriter(message, kCmdClearAllocationsEx).U16(all ? 0 : icom + 1);
    if (all) {
        RemoveAll();
        Taken(0, GetSize());
    } else {
        Remove(icom);
        Taken(icom, 1);
    }
    return TRUE;
}

BOOL CIcomGroupMgr::BuildRequest(CMessage& message, const CLinkConfig& config) {
    const bool extended = UsesExtendedGroups(config.intercoms);
    if (!BuildRange(message, extended ? kCmdGroupsEx : kCmdGroups, kGroupsPerMessage, Width::kByte))
        return FALSE;
    if (!extended && config.HasFlag(CCVConfig::kUnicodeSupport))
        message.payload[1] |= kWideGroupNames;
    return TRUE;
}

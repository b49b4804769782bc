#include "link/data_replies.h"

#include <array>
#include <utility>

#include "link/command_codes.h"

DataReplyHandler FindDataReplyHandler(DWORD code) {
    static constexpr std::array<std::pair<DWORD, DataReplyHandler>, 25> kHandlers = {{
        {kCmdNames, OnNamesReply},
        {kCmdLogRecord, OnLogRecordReply},
        {kCmdTrunkDefs, OnTrunkDefsReply},
        {kCmdTimeoutMinutes, OnTimeoutReply},
        {kCmdTrunkStates, OnTrunkStatesReply},
        {kCmdIcomBaud, OnIcomBaudReply},
        {kCmdCommStatus, OnCommStatusReply},
        {kCmdCommErrors, OnCommErrorsReply},
        {kCmdIcomPort, OnIcomPortReply},
        {kCmdGroups, OnGroupsReply},
        {kCmdTrunkSummary, OnTrunkSummaryReply},
        {kCmdTrunkInspect, OnTrunkInspectReply},
        {kCmdClock, OnClockReply},
        {kCmdAutoClear, OnAutoClearReply},
        {kCmdDynamicAlloc, OnDynamicAllocReply},
        {kCmdWaitForTalkKey, OnWaitForTalkKeyReply},
        {kCmdIcomStatus, OnIcomStatusReply},
        {kCmdTrunkSummaryEx, OnTrunkSummaryReply},
        {kCmdTimeoutSeconds, OnTimeoutReply},
        {kCmdSNMPConfig, OnSNMPConfigReply},
        {kCmdIcomConn, OnIcomConnReply},
        {kCmdIcomAddress, OnIcomAddressReply},
        {kCmdRemoteTrunking, OnRemoteTrunkingReply},
        {kCmdIcomCost, OnIcomCostReply},
        {kCmdGroupsEx, OnGroupsReply},
    }};
    for (const auto& [handled, handler] : kHandlers)
        if (handled == code) return handler;
    return nullptr;
}

#pragma once

#include "platform/base/win_types.h"

// Command codes of the controller's messages that the link itself sends or reads. A request
// and its reply carry the same code.
constexpr DWORD kCmdStatus = 1;  // the serial answer to the presence poll
constexpr DWORD kCmdCommit = 3;
constexpr DWORD kCmdOpenDownload = 4;
constexpr DWORD kCmdLoggingState = 10;
constexpr DWORD kCmdSetClock = 17;
constexpr DWORD kCmdReadMemory = 22;
constexpr DWORD kCmdCommitAgain = 23;
constexpr DWORD kCmdAskControl = 25;
constexpr DWORD kCmdReleaseControl = 26;
constexpr DWORD kCmdWriteMemory = 31;
constexpr DWORD kCmdClp = 45;  // one command line of the command line protocol
constexpr DWORD kCmdOpenSession = 59;
constexpr DWORD kCmdNetworkControl = 60;  // carries a control byte on the network
constexpr DWORD kCmdStandbyAddress = 61;

// Control bytes: sent raw on the serial port, inside command 60 on the network.
constexpr BYTE kPresencePoll = 0x9E;
constexpr BYTE kReleaseSession = 0x1A;

// The tag of a network reply from a controller that no longer knows the session (a frame
// outside any session carries CMessage::kNoTag).
constexpr WORD kUnknownSessionTag = 0xFFFE;

// Codes of the setup and status data. A set code is its get code + 1.
constexpr DWORD kCmdNames = 5;  // names and alphas
constexpr DWORD kCmdSetNames = 6;
constexpr DWORD kCmdLogRecord = 7;
constexpr DWORD kCmdTrunkDefs = 8;
constexpr DWORD kCmdSetTrunkDefs = 9;
constexpr DWORD kCmdTimeoutMinutes = 11;
constexpr DWORD kCmdSetTimeoutMinutes = 12;
constexpr DWORD kCmdLoggingOnOff = 13;
constexpr DWORD kCmdTrunkStates = 14;
constexpr DWORD kCmdIcomBaud = 15;
constexpr DWORD kCmdSetIcomBaud = 16;
constexpr DWORD kCmdCommStatus = 18;
constexpr DWORD kCmdCommErrors = 19;
constexpr DWORD kCmdClearErrors = 20;
constexpr DWORD kCmdCode21Text = 21;
constexpr DWORD kCmdIcomPort = 27;
constexpr DWORD kCmdSetIcomPort = 28;
constexpr DWORD kCmdClearAllocations = 29;
constexpr DWORD kCmdGroups = 32;
constexpr DWORD kCmdSetGroups = 33;
constexpr DWORD kCmdTrunkSummary = 34;
constexpr DWORD kCmdTrunkInspect = 35;
constexpr DWORD kCmdClock = 37;
constexpr DWORD kCmdTrunkMode = 39;  // maintenance or normal mode of one trunk
constexpr DWORD kCmdAutoClear = 46;
constexpr DWORD kCmdSetAutoClear = 47;
constexpr DWORD kCmdDynamicAlloc = 48;
constexpr DWORD kCmdWaitForTalkKey = 50;
constexpr DWORD kCmdSetWaitForTalkKey = 51;
constexpr DWORD kCmdIcomStatus = 56;
constexpr DWORD kCmdTrunkSummaryEx = 57;
constexpr DWORD kCmdComPortRange = 58;
constexpr DWORD kCmdTimeoutSeconds = 64;
constexpr DWORD kCmdSetTimeoutSeconds = 65;
constexpr DWORD kCmdSNMPConfig = 66;
constexpr DWORD kCmdSetSNMPConfig = 67;
constexpr DWORD kCmdIcomConn = 68;
constexpr DWORD kCmdSetIcomConn = 69;
constexpr DWORD kCmdIcomAddress = 70;
constexpr DWORD kCmdSetIcomAddress = 71;
constexpr DWORD kCmdRemoteTrunking = 75;
constexpr DWORD kCmdAlphaCounters = 76;
constexpr DWORD kCmdTakeLogDirection = 78;
constexpr DWORD kCmdReleaseLogDirection = 79;
constexpr DWORD kCmdIcomCost = 81;
constexpr DWORD kCmdSetIcomCost = 82;
constexpr DWORD kCmdClearAllocationsEx = 83;
constexpr DWORD kCmdGroupsEx = 84;
constexpr DWORD kCmdSetGroupsEx = 85;

// Whether a request acts on the controller rather than reads from it. The controller may have
// run one whose reply was lost, so it is never sent a second time on its own.
constexpr bool ActsOnController(DWORD code) {
    switch (code) {
        case kCmdCommit:
        case kCmdOpenDownload:
        case kCmdSetNames:
        case kCmdSetTrunkDefs:
        case kCmdSetTimeoutMinutes:
        case kCmdLoggingOnOff:
        case kCmdSetIcomBaud:
        case kCmdSetClock:
        case kCmdClearErrors:
        case kCmdCommitAgain:
        case kCmdAskControl:
        case kCmdReleaseControl:
        case kCmdSetIcomPort:
        case kCmdClearAllocations:
        case kCmdWriteMemory:
        case kCmdSetGroups:
        case kCmdTrunkMode:
        case kCmdClp:
        case kCmdSetAutoClear:
        case kCmdSetWaitForTalkKey:
        case kCmdSetTimeoutSeconds:
        case kCmdSetSNMPConfig:
        case kCmdSetIcomConn:
        case kCmdSetIcomAddress:
        case kCmdTakeLogDirection:
        case kCmdReleaseLogDirection:
        case kCmdSetIcomCost:
        case kCmdClearAllocationsEx:
        case kCmdSetGroupsEx: return true;
        default: return false;
    }
}

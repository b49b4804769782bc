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

#pragma once

#include <utility>
#include <vector>

#include "platform/base/cstring.h"

// A command the user gave that may not have been done: its session ended before it went out,
// had ended by the time the user confirmed it, or the link failed with it unanswered.
struct CUndoneCommand {
    enum Kind : int {
        kClearAllocations,
        kMaintMode,
        kNormalMode,
        kSendFile,
        kCommandLine,
        // The kinds named by the list of plain names, in its order.
        kSendChanges,
        kClearIcomErrors,
        kClearCVErrors,
        kClearStandbyErrors,
        kSnmpConfig,
        kSetClock,
        kLoggingOn,
        kLoggingOff,
    };
    static constexpr int kAll = -1;

    CUndoneCommand(Kind what, int on = kAll, CString line = {})  // NOLINT
        : kind(what), target(on), text(std::move(line)) {}

    Kind kind;
    // The intercom or trunk, zero-based, or kAll.
    int target;
    // What the command line carried.
    CString text;

    bool operator==(const CUndoneCommand&) const = default;
    // The command as the user knows it, with its intercom, trunk or line.
    CString Name() const;
};

// The one message that names every command given up.
CString UndoneCommandsText(const std::vector<CUndoneCommand>& commands);

#pragma once

#include "model/cv_config.h"
#include "platform/base/win_types.h"

class CAppState;

// What the request managers need to know of the controller, copied from the live configuration
// on the user-interface thread under the device lock, so that the engine thread never reads
// the configuration while the user interface changes it.
struct CLinkConfig {
    WORD flags = 0;
    DWORD capabilities = 0;
    int trunks = 0;
    int intercoms = 0;
    int groups = 0;
    int alphaSize = 4;
    // The allocation time-out is asked for in seconds (the capability and the setting).
    BOOL secondsMode = FALSE;

    static CLinkConfig From(const CAppState& app);

    BOOL HasFlag(WORD flag) const { return (flags & flag) != 0; }
    BOOL HasCapability(DWORD capability) const { return (capabilities & capability) != 0; }
    BOOL IsExtended() const { return HasFlag(CCVConfig::kNewCorvane); }
};

// The wire format of a label length on this controller: 0 on one that is not extended;
// else 4: 1, 6: 2, 8: 3, 16: 4 (only with Unicode names, -1 without) and 0 for any other.
int LabelFormat(int length, const CLinkConfig& config);

#pragma once

#include "platform/base/win_types.h"

// Every interval at which a screen asks the controller for its data while it is shown, in one
// place: the program uses the defaults and tests shorten them. The screens' timers run them
// under the user interface's time scale.
struct CScreenTiming {
    UINT trunkDefsStatusPollMs = 2000;
    UINT trunkDefsPollMs = 10000;
    UINT trunkDefsRemTrunkingPollMs = 5000;
    UINT trunkSummPollMs = 1000;
    UINT trunkInspectPollMs = 1000;
    UINT trunkOptsPollMs = 5000;

    UINT icomSetupPollMs = 5000;
    UINT icomStatusPollMs = 1000;
    UINT icomErrorsPollMs = 2000;
    UINT icomRemTrunkingPollMs = 2500;
    UINT icomGroupPollMs = 5000;
    UINT icomAlphasPollMs = 10000;

    // The standby controller's status, and both controllers' error counters.
    UINT cvStatusPollMs = 1000;
    UINT cvErrorsPollMs = 2000;
    // The memory page shown, read again.
    UINT memoryReadMs = 1000;
    // A burst of replies widens the fitted columns to the rows in view once, this long after
    // its first.
    UINT columnFitMs = 250;
    // The cells that replies changed are painted together, at most this often while replies
    // keep coming: at a display's pace, not once per reply.
    UINT replyPaintMs = 40;
};

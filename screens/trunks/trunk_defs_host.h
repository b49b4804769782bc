#pragma once

#include "model/value_records.h"
#include "platform/base/win_types.h"

// What the trunk definitions screen asks of the main window beyond IScreenHost: the two
// selection dialogs, the maintenance-mode operations, and whether a command the screen hands
// on would be carried out now. The main window implements it beside IScreenHost; without it
// the screen opens no dialog and greys what it cannot hand on.
class ITrunkDefsHost {
public:
    virtual ~ITrunkDefsHost() = default;

    // "Select Intercom" with the intercom preselected and the trunk's other end left out: the
    // intercom chosen, -1 when cancelled or none was chosen.
    virtual int SelectIntercom(int preselect, int excluded) = 0;
    // "Select Assignment" from the assignment given, the intercom fixed (-1 any), the type
    // list index fixed (-1 any) and the other end's intercom left out: true with the alpha
    // chosen in assign.
    virtual bool SelectAssign(CAssign& assign, int fixedIcom, int typeFilter, int excluded) = 0;
    // The main window's set- and clear-maintenance operations, the trunk preselected (-1 none).
    virtual void SetMaintenanceMode(int trunk) = 0;
    virtual void ClearMaintenanceMode(int trunk) = 0;
    // Whether the main window would carry the command out now: its screen exists and the
    // command rule allows it.
    virtual bool IsCommandAvailable(UINT id) = 0;
};

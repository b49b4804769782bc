#pragma once

#include <functional>

#include "platform/base/cstring.h"
#include "platform/ui/popup_menu.h"

// The context menu of the trunk definitions: the selected trunk's section, the clicked
// intercom's section, the Fixed and Cascadable flags, Clear changes and the assignment dialog.
namespace trunk_menu {

enum : UINT {
    kMenuId = 138,
    kTrunkCaption = 32874,
    kMaintenance = 32793,
    kNormal = 32794,
    kInspect = 32792,
    kIcomCaption = 32873,
    kClearAllocations = 32823,
    kViewSummary = 32783,
    kViewDefinitions = 32784,
    kViewSetup = 32785,
    kViewStatus = 32786,
    kViewAlphas = 32787,
    kSetFixed = 32920,
    kClearFixed = 32921,
    kSetCascade = 32918,
    kClearCascade = 32919,
    kClearChanges = 32788,
    kChooseAssignment = 32929,
};

// The main window's command that carries the menu command out, 0 for one the screen carries
// out itself.
UINT CommandSentFor(UINT item);

}  // namespace trunk_menu

// What the menu depends on: the right-clicked selection and the program's state.
struct CTrunkMenuState {
    int trunk = -1;  // the trunk the selection stands for, -1 for none
    int icom = -1;   // the shown intercom of the clicked end or fixed assignment, -1 for none
    CString icomName;
    DWORD field = 0;  // the clicked column's trunk field; 0 for a selection of several columns
    bool single = true;
    bool hasAssign = false;  // the clicked cell shows an end or a fixed assignment
    bool online = false;
    bool selectionHasChanges = false;
    bool maintenanceAllowed = false;  // the setting, and the controller supervises trunks
    bool inMaintenance = false;
    bool fixed = false;
    bool fixedAssignValid = false;  // either fixed assignment names a resource
    bool cascadable = false;
};

// The menu for the state. A command the main window carries out is greyed while available
// says it would not.
CPopupMenu BuildTrunkDefsMenu(const CTrunkMenuState& state,
                              const std::function<bool(UINT command)>& available);

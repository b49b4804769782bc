#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/base/win_types.h"

// The trunk inspection's two context menus, as the entries a menu is made of: the intercom
// menu of an end or a request table, and the trunk menu of the inspected or the cascade trunk.
namespace inspect_menu {

enum : UINT {
    kSeparator = 0,
    kViewSummary = 32783,
    kViewDefinitions = 32784,
    kViewSetup = 32785,
    kViewStatus = 32786,
    kViewAlphas = 32787,
    kIcomCaption = 32873,
    kTrunkCaption = 32874,
};

struct CEntry {
    UINT id;
    CString text;
    bool enabled = true;
    bool operator==(const CEntry&) const = default;
};

// The caption names the intercom; outside ONLINE the controller's views and its clearing
// are greyed.
std::vector<CEntry> IcomMenu(const CString& caption, bool online);

struct CTrunkMenuState {
    int trunk = -1;
    bool inspected = false;    // the trunk the screen shows already
    bool maintenance = false;  // "AllowMaintenanceMode" and a controller with trunk supervision
    bool online = false;
    bool inMaintenance = false;
};
std::vector<CEntry> TrunkMenu(const CTrunkMenuState& state);

// Shows the entries as a popup menu at the screen point: the command chosen, 0 for none. A
// menu of fewer than two entries is not shown.
UINT Track(const std::vector<CEntry>& entries, CPoint screenPoint);

}  // namespace inspect_menu

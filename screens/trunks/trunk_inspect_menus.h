#pragma once

#include "platform/ui/popup_menu.h"

class CKelvardinDoc;

// The trunk inspection's two context menus: the intercom menu of an end or a request table,
// and the trunk menu of the inspected or the cascade trunk.
namespace inspect_menu {

constexpr UINT kTrunkResourceId = 136;

// The intercom menu cut down to the clearing of the intercom's allocations and the screens
// that show it; outside ONLINE the controller's views and the clearing are greyed.
CPopupMenu ForIntercom(const CKelvardinDoc& doc, int icom, bool online);

struct CTrunkMenuState {
    int trunk = -1;
    bool inspected = false;    // the trunk the screen shows already
    bool maintenance = false;  // "AllowMaintenanceMode" and a controller with trunk supervision
    bool online = false;
    bool inMaintenance = false;
};
// The trunk's caption, its maintenance commands and "Inspect trunk", as far as they apply.
CPopupMenu ForTrunk(const CTrunkMenuState& state);

}  // namespace inspect_menu

#pragma once

#include <string>
#include <vector>

#include "platform/base/win_types.h"

// What an item of the menu bar needs to be there at all: the restriction settings and the
// controller's abilities leave items out (they are never removed by position).
enum class MenuNeed {
    kAlways,
    kMemoryPeek,   // "AllowMemoryPeek"
    kMemoryPoke,   // "AllowMemoryPeek" and "AllowMemoryPoke"
    kCommandLine,  // "AllowCommandLineProtocol"
    kMaintenance,  // "AllowMaintenanceMode" and the controller's trunk supervision
};

struct CMenuRules {
    bool memoryPeek = false;
    bool memoryPoke = false;
    bool commandLine = false;
    bool maintenance = false;

    bool Allows(MenuNeed need) const;
    bool operator==(const CMenuRules&) const = default;
};

// One item: its command (0 for a separator), its text with its mnemonic, its key (empty for
// none) and what it needs. A checkable item shows a check mark while its command is on.
struct CMenuItemDesc {
    UINT id = 0;
    const char16_t* text = u"";
    const char* key = "";
    MenuNeed need = MenuNeed::kAlways;
    bool checkable = false;
};

struct CMenuDesc {
    const char16_t* title;
    std::vector<CMenuItemDesc> items;
};

// The menu bar as the program defines it, every item included.
const std::vector<CMenuDesc>& MainMenuTable();
// The menu bar as it shows under the rules: the items whose need is not met are left out, and
// so is every separator that would then stand first, last or beside another.
std::vector<CMenuDesc> VisibleMenus(const CMenuRules& rules);

// The name of a command as its menu item reads, without the mnemonic and the ellipsis (a tool
// button's tip); empty for a command without a menu item.
std::u16string CommandTitle(UINT id);

// Keys of commands that no menu item carries.
struct CAcceleratorDesc {
    UINT id;
    const char* key;
};
const std::vector<CAcceleratorDesc>& ExtraAccelerators();

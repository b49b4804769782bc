#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/base/win_types.h"

// A popup menu as plain data: commands (an id, a text and whether they can be chosen) and
// separators, in order. A screen writes out its whole menu, then leaves out by id what does
// not apply; the separators follow on their own, so that none stands first, last or beside
// another.
class CMenuModel {
public:
    struct Item {
        UINT id = 0;  // 0 for a separator
        CString text;
        bool enabled = true;
        bool IsSeparator() const { return id == 0; }
        bool operator==(const Item&) const = default;
    };

    void Add(UINT id, const CString& text);
    void AddSeparator();
    void Remove(UINT id);
    void Enable(UINT id, bool enable);
    void SetText(UINT id, const CString& text);

    bool Has(UINT id) const { return Find(id) != nullptr; }
    // Null when the menu has no such command.
    const Item* Find(UINT id) const;
    bool IsEnabled(UINT id) const;
    // The items as the menu shows them: the separators tidied.
    std::vector<Item> Items() const;
    // The ids of the commands, in order.
    std::vector<UINT> Commands() const;
    bool IsEmpty() const { return Commands().empty(); }

private:
    Item* FindItem(UINT id);

    std::vector<Item> m_items;
};

// Shows the menu at the screen point through the modal seam; answers the id of the command
// chosen, 0 when none was (an empty menu is not shown).
UINT TrackPopupMenu(const CMenuModel& menu, CPoint screenPoint);

#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/base/win_types.h"

class QWidget;

// A popup menu as data: commands, separators and submenus, changed by command id as a menu
// resource is once loaded, and shown by TrackPopupMenu. Rules that trim a menu work on it
// without a window, so tests read what the user would be offered.
class CPopupMenu {
public:
    struct Item {
        // The command; for a submenu an id of its own that no command carries; 0 for a
        // separator.
        UINT id = 0;
        CString text;
        bool enabled = true;
        bool checked = false;
        bool isDefault = false;  // shown bold, as a double click would choose it
        bool isPopup = false;
        std::vector<Item> popup;

        bool IsSeparator() const { return id == 0 && !isPopup; }
    };

    // The resource id names the shown menu ("menu133") for tests.
    explicit CPopupMenu(UINT resourceId = 0) : m_nResourceId(resourceId) {}

    UINT GetResourceId() const { return m_nResourceId; }
    const std::vector<Item>& GetItems() const { return m_items; }

    void AppendItem(UINT id, const CString& text);
    void AppendSeparator();
    void AppendPopup(UINT id, const CString& text, const CPopupMenu& popup);

    // The item with the id, looked for in the submenus too; null when there is none.
    const Item* Find(UINT id) const;
    Item* Find(UINT id);
    // Each answers false when no item has the id.
    bool Remove(UINT id);
    bool Check(UINT id, bool checked);
    bool Enable(UINT id, bool enabled);
    bool SetDefault(UINT id);
    // New text for the item; a disabled one shows as a caption.
    bool Modify(UINT id, const CString& text, bool enabled);
    // Leaves no separator first, last or beside another, in the submenus too, and no empty
    // submenu.
    void TidySeparators();

private:
    UINT m_nResourceId;
    std::vector<Item> m_items;
};

// Shows the menu at a point of the screen through the modal seam: the command chosen, 0 for
// none.
UINT TrackPopupMenu(const CPopupMenu& menu, CPoint screenPoint, QWidget* parent);

#include "platform/ui/menu_model.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"

void CMenuModel::Add(UINT id, const CString& text) {
    m_items.push_back({id, text, true});
}

void CMenuModel::AddSeparator() {
    m_items.push_back({});
}

void CMenuModel::Remove(UINT id) {
    if (id == 0) return;
    std::erase_if(m_items, [id](const Item& item) { return item.id == id; });
}

void CMenuModel::Enable(UINT id, bool enable) {
    if (Item* item = FindItem(id)) item->enabled = enable;
}

void CMenuModel::SetText(UINT id, const CString& text) {
    if (Item* item = FindItem(id)) item->text = text;
}

CMenuModel::Item* CMenuModel::FindItem(UINT id) {
    if (id == 0) return nullptr;
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [id](const Item& item) { return item.id == id; });
    return it == m_items.end() ? nullptr : &*it;
}

const CMenuModel::Item* CMenuModel::Find(UINT id) const {
    return const_cast<CMenuModel*>(this)->FindItem(id);
}

bool CMenuModel::IsEnabled(UINT id) const {
    const Item* item = Find(id);
    return item && item->enabled;
}

std::vector<CMenuModel::Item> CMenuModel::Items() const {
    std::vector<Item> shown;
    bool pendingSeparator = false;
    for (const Item& item : m_items) {
        if (item.IsSeparator()) {
            pendingSeparator = !shown.empty();
            continue;
        }
        if (pendingSeparator) shown.push_back({});
        pendingSeparator = false;
        shown.push_back(item);
    }
    return shown;
}

std::vector<UINT> CMenuModel::Commands() const {
    std::vector<UINT> ids;
    for (const Item& item : m_items) {
        if (!item.IsSeparator()) ids.push_back(item.id);
    }
    return ids;
}

UINT TrackPopupMenu(const CMenuModel& model, CPoint screenPoint) {
    if (model.IsEmpty()) return 0;
    QMenu menu;
    for (const CMenuModel::Item& item : model.Items()) {
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text.str()));
        action->setData(item.id);
        action->setEnabled(item.enabled);
    }
    const int chosen = ExecPopupMenu(menu, screenPoint);
    // Only a command the menu offered, and could be chosen, counts.
    return chosen > 0 && model.IsEnabled(static_cast<UINT>(chosen)) ? static_cast<UINT>(chosen) : 0;
}

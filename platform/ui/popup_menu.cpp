#include "platform/ui/popup_menu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"

namespace {

using Item = CPopupMenu::Item;
using Items = std::vector<Item>;

Item* FindIn(Items& items, UINT id) {
    for (Item& item : items) {
        if (item.id == id) return &item;
        if (!item.isPopup) continue;
        if (Item* found = FindIn(item.popup, id)) return found;
    }
    return nullptr;
}

bool RemoveFrom(Items& items, UINT id) {
    const auto it =
        std::find_if(items.begin(), items.end(), [id](const Item& item) { return item.id == id; });
    if (it != items.end()) {
        items.erase(it);
        return true;
    }
    return std::any_of(items.begin(), items.end(),
                       [id](Item& item) { return item.isPopup && RemoveFrom(item.popup, id); });
}

void Tidy(Items& items) {
    for (Item& item : items) {
        if (item.isPopup) Tidy(item.popup);
    }
    std::erase_if(items, [](const Item& item) { return item.isPopup && item.popup.empty(); });
    Items kept;
    for (Item& item : items) {
        if (item.IsSeparator() && (kept.empty() || kept.back().IsSeparator())) continue;
        kept.push_back(std::move(item));
    }
    if (!kept.empty() && kept.back().IsSeparator()) kept.pop_back();
    items = std::move(kept);
}

void Fill(QMenu& menu, const Items& items) {
    for (const Item& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (item.isPopup) {
            QMenu* sub = menu.addMenu(ToQString(item.text));
            sub->setEnabled(item.enabled);
            Fill(*sub, item.popup);
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(static_cast<int>(item.id));
        action->setEnabled(item.enabled);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (item.isDefault) menu.setDefaultAction(action);
    }
}

}  // namespace

void CPopupMenu::AppendItem(UINT id, const CString& text) {
    Item item;
    item.id = id;
    item.text = text;
    m_items.push_back(std::move(item));
}

void CPopupMenu::AppendSeparator() {
    m_items.emplace_back();
}

void CPopupMenu::AppendPopup(UINT id, const CString& text, const CPopupMenu& popup) {
    Item item;
    item.id = id;
    item.text = text;
    item.isPopup = true;
    item.popup = popup.m_items;
    m_items.push_back(std::move(item));
}

const CPopupMenu::Item* CPopupMenu::Find(UINT id) const {
    return const_cast<CPopupMenu*>(this)->Find(id);
}

CPopupMenu::Item* CPopupMenu::Find(UINT id) {
    return id == 0 ? nullptr : FindIn(m_items, id);
}

bool CPopupMenu::Remove(UINT id) {
    return id != 0 && RemoveFrom(m_items, id);
}

bool CPopupMenu::Check(UINT id, bool checked) {
    Item* item = Find(id);
    if (item) item->checked = checked;
    return item != nullptr;
}

bool CPopupMenu::Enable(UINT id, bool enabled) {
    Item* item = Find(id);
    if (item) item->enabled = enabled;
    return item != nullptr;
}

bool CPopupMenu::SetDefault(UINT id) {
    Item* item = Find(id);
    if (item) item->isDefault = true;
    return item != nullptr;
}

bool CPopupMenu::Modify(UINT id, const CString& text, bool enabled) {
    Item* item = Find(id);
    if (!item) return false;
    item->text = text;
    item->enabled = enabled;
    return true;
}

void CPopupMenu::TidySeparators() {
    Tidy(m_items);
}

UINT TrackPopupMenu(const CPopupMenu& menu, CPoint screenPoint, QWidget* parent) {
    QMenu shown(parent);
    if (menu.GetResourceId() != 0)
        shown.setObjectName(QStringLiteral("menu%1").arg(menu.GetResourceId()));
    Fill(shown, menu.GetItems());
    const int chosen = ExecPopupMenu(shown, screenPoint);
    return chosen > 0 ? static_cast<UINT>(chosen) : 0;
}

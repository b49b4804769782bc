#include "shell/controls/kelvardin_tree_ctrl.h"

#include <deque>

#include "platform/ui/qt_convert.h"
#include "shell/controls/view_focus_mark.h"

CKelvardinTreeCtrl::CKelvardinTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
}

QTreeWidgetItem* CKelvardinTreeCtrl::WalkItems(QTreeWidgetItem* start, const WalkCallback& callback,
                                               UINT flags) {
    if (!start) return nullptr;
    const bool firstMatch = (flags & kFirstMatch) != 0;
    if (!(flags & kSkipStart) && callback(start) && firstMatch) return start;

    if (flags & kDepthFirst) {
        for (int i = 0; i < start->childCount(); ++i) {
            QTreeWidgetItem* found = WalkItems(start->child(i), callback, flags & ~kSkipStart);
            if (found && firstMatch) return found;
        }
        return nullptr;
    }
    // Level by level: each row of siblings, then the rows of their children in turn.
    std::deque<QTreeWidgetItem*> parents{start};
    while (!parents.empty()) {
        QTreeWidgetItem* parent = parents.front();
        parents.pop_front();
        for (int i = 0; i < parent->childCount(); ++i) {
            QTreeWidgetItem* item = parent->child(i);
            if (!(flags & kChildrenOnly) && item->childCount() > 0) parents.push_back(item);
            if (callback(item) && firstMatch) return item;
        }
    }
    return nullptr;
}

int CKelvardinTreeCtrl::GetItemLevel(const QTreeWidgetItem* item) const {
    int level = 0;
    for (; item && item != invisibleRootItem(); item = item->parent())
        ++level;
    return level;
}

const QTreeWidgetItem* CKelvardinTreeCtrl::ParentOf(const QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    return item->parent() ? item->parent() : invisibleRootItem();
}

bool CKelvardinTreeCtrl::IsChildOf(const QTreeWidgetItem* parent,
                                   const QTreeWidgetItem* item) const {
    return item && ParentOf(item) == parent;
}

bool CKelvardinTreeCtrl::IsDescendantOf(const QTreeWidgetItem* ancestor,
                                        const QTreeWidgetItem* item) const {
    if (!item || !ancestor) return false;
    for (const QTreeWidgetItem* up = ParentOf(item); up; up = up->parent()) {
        if (up == ancestor) return true;
    }
    return false;
}

bool CKelvardinTreeCtrl::AreSiblings(const QTreeWidgetItem* first,
                                     const QTreeWidgetItem* second) const {
    return first && second && ParentOf(first) == ParentOf(second);
}

CKelvardinTreeCtrl::WalkCallback CKelvardinTreeCtrl::MatchItemText(const CString& text) {
    return [wanted = ToQString(text)](QTreeWidgetItem* item) { return item->text(0) == wanted; };
}

void CKelvardinTreeCtrl::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    DrawViewFocusMark(*this);
}

void CKelvardinTreeCtrl::focusInEvent(QFocusEvent* event) {
    QTreeWidget::focusInEvent(event);
    UpdateViewFocusMark(*this);
}

void CKelvardinTreeCtrl::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    UpdateViewFocusMark(*this);
}

void CKelvardinTreeCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeWidget::currentChanged(current, previous);
    // Only the rows are painted again; the mark round the inside goes or comes as a whole.
    if (current.isValid() != previous.isValid()) UpdateViewFocusMark(*this);
}

#pragma once

#include <QTreeWidget>

#include <functional>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A tree with a general walk over an item's subtree and a few tests of how items relate.
// The tree's invisible root item stands for its top level.
class CKelvardinTreeCtrl : public QTreeWidget {
public:
    // True for an item that matches.
    using WalkCallback = std::function<bool(QTreeWidgetItem* item)>;
    // Walk flags.
    static constexpr UINT kSkipStart = 0x01;     // the start itself is not offered
    static constexpr UINT kDepthFirst = 0x02;    // each child's subtree before the next child
    static constexpr UINT kFirstMatch = 0x04;    // stop at, and answer, the first match
    static constexpr UINT kChildrenOnly = 0x08;  // breadth first, the start's children only

    explicit CKelvardinTreeCtrl(QWidget* parent = nullptr);

    // Offers the start and its subtree to the callback: level by level, or depth first. With
    // kFirstMatch the first item that matches, otherwise null.
    virtual QTreeWidgetItem* WalkItems(QTreeWidgetItem* start, const WalkCallback& callback,
                                       UINT flags);
    // 1 for a top-level item, one more per level below; 0 for none.
    virtual int GetItemLevel(const QTreeWidgetItem* item) const;
    virtual bool IsChildOf(const QTreeWidgetItem* parent, const QTreeWidgetItem* item) const;
    // Whether the ancestor is above the item; never for the item itself.
    virtual bool IsDescendantOf(const QTreeWidgetItem* ancestor, const QTreeWidgetItem* item) const;
    virtual bool AreSiblings(const QTreeWidgetItem* first, const QTreeWidgetItem* second) const;

    // A callback that matches items whose first column reads exactly the text.
    static WalkCallback MatchItemText(const CString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    const QTreeWidgetItem* ParentOf(const QTreeWidgetItem* item) const;
};

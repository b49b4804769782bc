#pragma once

#include "platform/ui/drag_image.h"
#include "shell/controls/kelvardin_tree_ctrl.h"
#include "shell/sheets/kelvardin_page.h"

class QLabel;
class QPushButton;

// A page of the partial-save sheet with two trees, the objects available and those chosen for
// the file. An item moves with its whole subtree: with the Add and Remove buttons, a double
// click or a drag from one tree onto the other. The copy goes under copies of its parents,
// among its siblings in the order of their data, and parents left without objects go. Every
// item's data ends in the number of objects it stands for itself; the counters add them up.
class CPSTreeDragPage : public CKelvardinPage {
public:
    enum ControlId : UINT {
        kAdd = 1021,
        kRemove = 1022,
        kAvailableTree = 1027,
        kChosenTree = 1028,
        kAvailableCount = 1050,
        kChosenCount = 1051,
        kAvailableLabel = 1052,
        kChosenLabel = 1053,
        kIntro = 1066,
    };

    // The longest text an item shows.
    static constexpr int kMaxItemText = 19;

    CPSTreeDragPage(UINT templateId, int pageIndex, const char16_t* title, UINT counterId);
    ~CPSTreeDragPage() override;

    CKelvardinTreeCtrl* GetAvailableTree() const { return m_available; }
    CKelvardinTreeCtrl* GetChosenTree() const { return m_chosen; }
    CKelvardinTreeCtrl* GetFocusedTree() const { return m_focused; }
    const CDragImage& GetDragImage() const { return m_dragImage; }

    // The counter text of a tree: the objects of the selected item's subtree, of all.
    virtual CString FormatCount(CKelvardinTreeCtrl& tree, int& selected, int& total) const;
    // Marks the objects of an item's data chosen for the partial save, or not.
    virtual void SetChosen(DWORD data, bool chosen) = 0;

    // Moves the selected item with its subtree to the other tree.
    void MoveSelected(CKelvardinTreeCtrl& from, CKelvardinTreeCtrl& to);
    // The item of the destination with the item's data: the one there, or a new copy.
    QTreeWidgetItem* CopyItem(CKelvardinTreeCtrl& from, QTreeWidgetItem* item,
                              CKelvardinTreeCtrl& to);
    void CopyChildren(CKelvardinTreeCtrl& from, QTreeWidgetItem* item, CKelvardinTreeCtrl& to);

    static DWORD GetItemData(const QTreeWidgetItem* item);
    static void SetItemData(QTreeWidgetItem* item, DWORD data);
    // The number of objects the item stands for itself: the low 16 bits of its data.
    static int GetItemCount(const QTreeWidgetItem* item) { return GetItemData(item) & 0xFFFF; }
    // The objects of the item and its whole subtree.
    static int CountSubtree(CKelvardinTreeCtrl& tree, QTreeWidgetItem* item);
    static CKelvardinTreeCtrl::WalkCallback MatchItemData(DWORD data);

protected:
    void OnInitDialog() override;
    void OnSetActive() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Fills the available tree (and the chosen one, through moves).
    virtual void FillTrees() = 0;
    void UpdateCounters();

private:
    CKelvardinTreeCtrl* MakeTree(UINT id);
    void UpdateCounter(CKelvardinTreeCtrl& tree);
    CKelvardinTreeCtrl* OtherTree(const CKelvardinTreeCtrl& tree) const;
    void OnAdd();
    void OnRemove();

    void BeginDrag(CKelvardinTreeCtrl& source);
    void DragMove(QPoint screenPos);
    void EndDrag(QPoint screenPos);

    const int m_pageIndex;
    const CString m_title;
    const UINT m_counterId;
    CKelvardinTreeCtrl* m_available = nullptr;
    CKelvardinTreeCtrl* m_chosen = nullptr;
    CKelvardinTreeCtrl* m_focused = nullptr;
    QLabel* m_availableCount = nullptr;
    QLabel* m_chosenCount = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    bool m_busy = false;

    CKelvardinTreeCtrl* m_dragSource = nullptr;
    CDragImage m_dragImage;
    QPoint m_pointer;
};

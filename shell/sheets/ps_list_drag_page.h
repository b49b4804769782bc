#pragma once

#include <functional>
#include <vector>

#include "platform/ui/drag_image.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/controls/list_ctrl_sort.h"
#include "shell/sheets/kelvardin_page.h"

class CKelvardinDoc;
class QLabel;
class QPushButton;
class QVBoxLayout;

// One column of a partial-save list: its heading and the field it shows. With an alpha field,
// the field's value is an assignment and the column shows that field of its alpha.
struct CPSColumn {
    UINT headingId;
    DWORD fieldId;
    DWORD alphaFieldId = 0;
};

// What a list page of the partial-save sheet shows.
struct CPSListPageInfo {
    UINT templateId;
    int pageIndex;          // as the sheet remembers the page last shown
    int objectType;         // of the objects listed
    const char16_t* title;  // "Trunks"
    std::vector<CPSColumn> columns;
    UINT counterId;   // "(%1 of %2 trunks selected)"
    int compareKind;  // of the columns after the first
};

// A page of the partial-save sheet with two lists, the objects available and those chosen for
// the file. Every move between them marks the moved objects chosen (0x8000) in the document at
// once: with the Add and Remove buttons, a double click or a drag from one list onto the other.
// The selection commands act on the list that last had the focus. Rows of objects with changes
// are drawn in the changed colours.
class CPSListDragPage : public CKelvardinPage, public IListCompareOwner {
public:
    enum ControlId : UINT {
        kAvailableList = 1019,
        kChosenList = 1020,
        kAdd = 1021,
        kRemove = 1022,
        kSelectAll = 1023,
        kDeselectAll = 1024,
        kInvertSelection = 1025,
        kAvailableCount = 1050,
        kChosenCount = 1051,
        kAvailableLabel = 1052,
        kChosenLabel = 1053,
        kIntro = 1066,
    };

    // Without a document the lists stay empty and moves mark nothing.
    CPSListDragPage(CPSListPageInfo info, CKelvardinDoc* doc);
    ~CPSListDragPage() override;

    CKelvardinListCtrl* GetAvailableList() const { return m_available; }
    CKelvardinListCtrl* GetChosenList() const { return m_chosen; }
    // The list that last had the focus; null until one had.
    CKelvardinListCtrl* GetFocusedList() const { return m_focused; }
    const CDragImage& GetDragImage() const { return m_dragImage; }

    // The counter text under a list.
    virtual CString FormatCount(int selected, int rows) const;
    // Whether the object of a row's data has changes.
    virtual bool IsChanged(LPARAM data) const;
    // Marks the object of a row's data chosen for the partial save, or not.
    virtual void SetChosen(LPARAM data, bool chosen);

    // Moves the selected rows to the other list, where they are the selection.
    void MoveItems(CKelvardinListCtrl& from, CKelvardinListCtrl& to);
    void OnSelectAll();
    void OnDeselectAll();
    void OnInvertSelection();

    int GetCompareKind(const CKelvardinListCtrl& list, int column, bool ascending) override;

    static int CountSelectedRows(const CKelvardinListCtrl& list);

    // Shows the document's texts again in the rows of both lists (names that came from the
    // controller), in their sort order; the rows stay where they are chosen and selected.
    // Only rows whose texts differ are rewritten, and a list is sorted again only when its
    // sort column changed and fitted again only when any of its texts did.
    virtual void RefreshTexts();
    // Lists the document's objects again after the setup changed size: the objects that are
    // still there stay chosen or available, and selected, as they were.
    virtual void Refill();

protected:
    void OnInitDialog() override;
    void OnSetActive() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Controls of the page's own, below the selection buttons.
    virtual void AddPageControls(QVBoxLayout& /*layout*/) {}
    virtual int GetFirstSortColumn() const { return 0; }
    CKelvardinDoc* GetDocument() const { return m_doc; }
    // The text the row of an object shows in a column, as the document has it now.
    virtual CString GetRowText(LPARAM data, int column) const;
    // RefreshTexts over the rows of the objects that may show other texts now; every other
    // row is known to show what it did.
    void RefreshRows(const std::function<bool(LPARAM)>& mayHaveChanged);
    // Selects the rows of the focused list whose data is wanted and unselects the others, as
    // one operation; nothing when no list has had the focus.
    void SelectFocusedRows(const std::function<bool(LPARAM)>& wanted);
    void UpdateCounters();

private:
    CKelvardinListCtrl* MakeList(UINT id);
    QPushButton* MakeButton(UINT id, const char16_t* text, void (CPSListDragPage::*handler)());
    void FillLists();
    void FillRows();
    void UpdateCounter(const CKelvardinListCtrl& list);
    CKelvardinListCtrl* OtherList(const CKelvardinListCtrl& list) const;
    // Runs a change of the focused list's selection without counting on each step.
    void ChangeFocusedSelection(const std::function<void(CKelvardinListCtrl&)>& change);
    void OnAdd();
    void OnRemove();

    void BeginDrag(CKelvardinListCtrl& source);
    void DragMove(QPoint screenPos);
    void EndDrag(QPoint screenPos);

    const CPSListPageInfo m_info;
    CKelvardinDoc* const m_doc;
    CKelvardinListCtrl* m_available = nullptr;
    CKelvardinListCtrl* m_chosen = nullptr;
    CKelvardinListCtrl* m_focused = nullptr;
    QLabel* m_availableCount = nullptr;
    QLabel* m_chosenCount = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    bool m_busy = false;
    bool m_refreshed = false;

    CKelvardinListCtrl* m_dragSource = nullptr;
    CDragImage m_dragImage;
    QPoint m_pointer;  // where the pointer last moved, on the screen
};

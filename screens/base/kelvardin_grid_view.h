#pragma once

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "grid/grid_notify.h"
#include "platform/ui/view.h"
#include "platform/ui/wnd_timer.h"
#include "screens/base/column_desc.h"
#include "screens/base/column_widths.h"

class CKelvardinDoc;
class CKelvardinGridCtrl;
class IScreenHost;

// The base of the grid screens: one screen grid filling the view, its column layout and
// widths kept between runs, the reaction to the document's update hints, clear changes,
// context menus by mouse and keyboard, context help and printing through the grid.
class CKelvardinGridView : public CView {
public:
    static constexpr UINT kGridId = 1003;
    static constexpr char16_t kWidthsSection[] = u"Windows\\Views";
    // Beside each screen's widths value: the keys that tie its widths to their columns.
    static constexpr char16_t kKeysSuffix[] = u"Keys";

    explicit CKelvardinGridView(IScreenHost& host);
    ~CKelvardinGridView() override;

    IScreenHost& GetHost() const { return m_host; }
    // The document; none while there is no main window.
    CKelvardinDoc* GetDocument() const;
    CKelvardinGridCtrl* GetGrid() const { return m_pGrid.get(); }

    // Whether the screen's cells are for reading only.
    virtual BOOL IsReadOnlyView() { return TRUE; }
    // The record a cell's object index stands for.
    virtual int MapRowIndex(int index) const { return index; }
    // (Re)creates the grid, keeping the selection and focus that still fit.
    virtual void CreateGrid();
    // Counts, headers, cell classes, bindings and comparisons from the column tables.
    virtual void SetupGrid() = 0;
    // 0x20000 plus the screen's command id.
    virtual DWORD GetHelpID() = 0;
    // The grid sorts by the column; ascending is the new direction.
    virtual void OnColumnClick(int column, int ascending);
    // A right click on a cell (or the keyboard's context menu): the screen's menu.
    virtual LRESULT OnGridRClick(NM_GRIDVIEW* record);
    // In screen coordinates: the cursor when it lies on the record's cell, else the cell's
    // centre; the cursor without a record.
    virtual CPoint GetContextMenuPoint(const NM_GRIDVIEW* record);
    // The trunk the focus cell stands for, -1 for none.
    virtual int GetSelectedTrunk() { return -1; }
    // Brings the grid up to date with the document (and asks the controller for data).
    virtual void UpdateGrid() = 0;
    virtual void LoadColumnWidths();
    virtual void SaveColumnWidths();
    virtual void ClearSelectedChanges();
    virtual void ClearAllChanges() {}
    virtual BOOL SelectionHasChanges();

    // The update handler of the screens' commands: the command rule's answer.
    static void OnUpdateCommand(CCmdUI* update);

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnDestroy() override;
    void OnTimer(UINT_PTR id) override;
    // The data of the grid's sort column changed: the rows are put back in its order soon,
    // once for a burst of replies, while the screen is shown and nothing holds its rows.
    void SortDataChanged();
    // Posts the order check, when one is due.
    void KeepSortOrderSoon();

    // Whether anything holds the rows by their positions now, so that they are neither sorted
    // again, nor filtered, nor made again: a loop run over the screen (a dialog, a message box,
    // a menu, a drag or a print, whoever opened it), a drag hovering over the grid, an open
    // edit or a press of the mouse on the grid.
    bool AreRowsHeld() const;

    // Fitted columns are to widen to new data shortly.
    bool IsColumnFitPending() const { return m_fitTimer.IsRunning(); }
    // Cells changed by replies are to be painted shortly.
    bool IsPaintPending() const { return m_paintTimer.IsRunning(); }

    // Context help: the id of the point (client coordinates) and the screen's own.
    virtual DWORD OnHelpHitTest(CPoint point);
    void OnCommandHelp();

    BOOL OnPreparePrinting(CPrintInfo& info) override;
    void OnBeginPrinting(CDC& dc, CPrintInfo& info) override;
    void OnPrint(CDC& dc, CPrintInfo& info) override;
    void OnEndPrinting(CDC& dc, CPrintInfo& info) override;

protected:
    // Makes the grid control; a screen may make one of a derived class.
    virtual std::unique_ptr<CKelvardinGridCtrl> NewGridCtrl();
    // How every screen starts on a hint: nothing without a grid, the rebuild hint makes the
    // grid again, any other goes through this view's own handling first. True when the screen
    // still has the hint to act on.
    bool TakeHint(CView* sender, LPARAM hint, void* hintObject);
    // The columns of a table from the first column on: count, headers, comparisons and the
    // class of the cells below the fixed rows. The rows must be set first.
    void ApplyColumnTable(std::span<const ColumnDesc> table, int firstColumn = 0);
    // A rebuild while a loop runs over the screen, or a drag hovers over the grid, waits until
    // it ends, since the grid held by position would go; true when it waits.
    bool DeferRebuild(LPARAM hint);
    // Sorts the grid again as the user last sorted it: by the column, in that direction.
    void ReplaySort(int column, BOOL ascending);
    // Sizes the columns again by the screen's own rule (a new configuration): the widths the
    // layout sets are the screen's, never taken for the user's, and the user's go back over
    // them.
    void LayOutColumns(const std::function<void()>& layOut);
    // The data under the cells changed: the cells whose look changed are painted with those
    // of the replies at the next paint interval, and the rows follow the sort column. Every
    // reply asks for it.
    void PaintChangedCells();
    // The rows' filter is to be applied again with the next order check.
    void RowFilterChanged();
    // The rows' filter applied now, or with the order check once nothing holds the rows.
    void RefilterRows();
    // Shows and hides the rows by the screen's filter again: the rows moved, or what the
    // filter reads changed.
    virtual void ApplyRowFilter() {}
    // Cancel Changes: the question, then the changes chosen cleared; non-zero when cleared.
    LRESULT OnClearChanges();
    // The keyboard's context menu for the focus cell.
    void OnContextMenuKey();
    bool HasContextMenuCell() const;
    void RunPrint(UINT command);

    int m_nDefColWidth = 10;
    CString m_strWidthsValue = u"DefaultColumnWidths";
    DWORD m_nHelpOffset = 0;

private:
    void PaintPendingChanges();

    // How a column came by its width, and the key it had then.
    struct ColumnWidthState {
        enum Kind { kFitted, kStored, kDragged };
        CString key;
        Kind kind = kFitted;
        // The width fitted or applied, that a drag changes.
        int width = 0;
    };

    std::vector<CString> ColumnKeys() const;
    // The widths this screen can show: never wider than all screens together.
    static WidthBounds UsableWidths();
    // Fitted columns (never the user's) widen to the rows in view that have grown; soon after
    // a hint, so that a burst of replies measures once.
    void ScheduleColumnFit();
    void FitColumnsWithNewData();
    void FitColumn(int col);
    int VisibleRowsWidth(int col, CDC& dc) const;
    // Takes the grid's widths into the screen's memory: a width other than the one fitted or
    // applied is the user's from then on. A column whose heading arrived since takes the width
    // stored for it, unless the user sized it here. True when a width was applied.
    bool KeepColumnWidths();
    // The order check and the filter that waited for the burst of replies to end, and for
    // whatever held the rows.
    void KeepRowOrder();

    IScreenHost& m_host;
    CColumnWidths m_widths;
    // Per column of the grid.
    std::vector<ColumnWidthState> m_columnWidths;
    // The fitted widths by column key, kept for the rebuilds of this run.
    std::map<CString, int> m_sessionFits;
    CWndTimer m_fitTimer;
    CWndTimer m_paintTimer;
    std::unique_ptr<CKelvardinGridCtrl> m_pGrid;
    // The sort column's data changed since the rows were last in its order (or the screen was
    // hidden, hearing no replies); the filter is to be applied again; the check is posted.
    bool m_bSortCheckDue = false;
    bool m_bFilterDue = false;
    bool m_bRowCheckPosted = false;
    // A rebuild that waits for what holds the rows.
    bool m_bRebuildDue = false;
    // The last print job found no room on its page for a row.
    bool m_bNoRoomToPrint = false;
};

// The help id of a point on a grid cell: the offset, the help id times 0x10000 and the
// column plus 1, taken in 32 bits.
DWORD GridCellHelpId(DWORD offset, DWORD helpId, int column);

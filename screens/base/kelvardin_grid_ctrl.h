#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "grid/grid_ctrl.h"
#include "model/app_state.h"
#include "model/obj_spec.h"

class CKelvardinDoc;
class CKelvardinGridView;
class IScreenHost;

// The grid of every screen: cut, paste and drop become one step of the main window's undo
// history each, a drop onto a read-only cell is refused, the printed page header carries the
// window's title and the selector's text, a header click sorts with a toggling direction and
// refreshes the panes, and keys, Enter and right clicks are first offered to the screen.
class CKelvardinGridCtrl : public CGridCtrl {
public:
    CKelvardinGridCtrl();
    ~CKelvardinGridCtrl() override;

    // Pastes the data's text from the cell on as one undo step; the paste's answer.
    virtual BOOL PasteWithUndo(int row, int col, COleDataObject* data);

    // While a sort runs the cells read their texts once, not on every comparison; each sort is
    // a new pass, so that no text read for an earlier one is taken for the current data.
    bool IsSorting() const { return m_bSorting; }
    unsigned GetSortPass() const { return m_nSortPass; }

    // Puts the rows back into the order of the sort column and direction when its data changed
    // under them, the focus and selection staying on their records. Nothing while an edit is
    // open or when the rows are in order; true when the rows moved.
    bool RestoreSortOrder();

    // A hidden row (height 0) takes no focus: when the focus row is hidden, the focus goes to
    // the nearest row below that shows, else above, and its cell alone is selected and anchors
    // the selection; with no row shown there is no focus and no selection.
    void KeepFocusOnShownRow();

    // The first cell, scanning the non-fixed rows down and each row's non-fixed columns left
    // to right, bound to obj (and to altSpec, unless altSpec has no type or is an assignment
    // key entry); (-1, -1) when none is.
    void FindCellForObject(CCellID& cell, const CObjSpec& obj, const CObjSpec& altSpec) const;
    void RedrawGridRow(int row);
    void RedrawGridColumn(int col);

    void CutSelectedText() override;
    void OnBeginDrag() override;
    void OnEditPaste() override;
    void OnDragLeave() override;
    BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    void PrintHeader(CDC* dc, CPrintInfo* info) override;
    void OnFixedRowClick(CCellID& cell) override;
    void OnEditCell(int row, int col, CPoint point, UINT ch) override;
    void OnEndEditCell(int row, int col, const CString& text) override;
    void OnEditorClosed() override;

    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnSysKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnMoveRefused() override;
    void BeginMovedCell() override;
    MoveTry EndMovedCell(std::uint64_t key, bool stored, bool shown) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnSetFocus(CWnd* oldWnd) override;
    BOOL OnImeStartComposition() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The screen the grid belongs to, null when it belongs to none.
    CKelvardinGridView* GetView() const;
    IScreenHost* GetHost() const;
    CKelvardinDoc* GetDocument() const;
    // The height that shows n rows (every row for a negative n); 0 for a grid without rows.
    int RowsHeight(LPARAM n) const;

private:
    friend class CMoveDropScope;

    // The drop onto the last drag-over cell, the rows still held by the drag.
    BOOL DropText(COleDataObject* data);

    // Around cells changed through the edit protocol (a typed edit, a paste, a cut, a drop and
    // the cells a move leaves): a change of the sort column, which makes the grid forget its
    // sort, keeps the mark, and the rows follow their new values.
    class CSortColumnEdit {
    public:
        explicit CSortColumnEdit(CKelvardinGridCtrl& grid);
        ~CSortColumnEdit();
        CSortColumnEdit(const CSortColumnEdit&) = delete;
        CSortColumnEdit& operator=(const CSortColumnEdit&) = delete;

    private:
        CKelvardinGridCtrl& m_grid;
        int m_column;
    };

    // What the cells of the move under way that are still refused were refused for, in the
    // order they were first tried.
    void TellMoveRefusal();

    bool m_bSorting = false;
    unsigned m_nSortPass = 0;
    std::vector<std::pair<std::uint64_t, std::vector<CHeldReport>>> m_moveRefusals;
};

#pragma once

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "grid/cell_class.h"
#include "grid/cell_id.h"
#include "grid/grid_cell.h"
#include "grid/grid_notify.h"
#include "grid/in_place_editor.h"
#include "grid/title_tip.h"
#include "platform/ui/drag_drop.h"
#include "platform/ui/print.h"
#include "platform/ui/wnd.h"

class QPixmap;
class QWidget;

// Which cell borders the grid draws.
constexpr int GVL_NONE = 0;
constexpr int GVL_HORZ = 1;
constexpr int GVL_VERT = 2;
constexpr int GVL_BOTH = 3;

// What the auto-size operations measure: the fixed rows, the data rows.
constexpr UINT GVS_HEADER = 1;
constexpr UINT GVS_DATA = 2;
constexpr UINT GVS_BOTH = 3;

// Supplies a virtual grid's cell: the model row, the stored column, the state bits the grid
// computed, the owner's parameter and the grid; the cell is lent, or null.
using GRIDCALLBACK = CGridCellBase* (*)(int row, int col, UINT state, LPARAM param,
                                        CGridCtrl* grid);
// Orders two cells: negative, 0 or positive as the first sorts before, with or after.
using PFNGRIDCOMPARE = int (*)(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param);

// Cells' texts compared unit by unit, no locale; 0 when either cell is missing.
int CompareCellsText(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param);

// Lets drags be dropped on a grid's window. The window hears the drops itself; these pass a
// drop to the grid only when it is for the grid's window.
class CGridDropTarget {
public:
    BOOL Register(CGridCtrl* grid);
    void Revoke();
    BOOL IsRegistered() const { return m_bRegistered; }
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);
    void OnDragLeave(CWnd* wnd);
    // Copy with Ctrl, else move; never a scroll: a drag does not scroll the grid.
    DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point) const;

private:
    CGridCtrl* m_pGridCtrl = nullptr;
    BOOL m_bRegistered = FALSE;
};

// The table window on which every screen is built: cells in rows and columns with fixed
// (header) rows at the top and fixed columns at the left, or, in virtual mode, cells supplied
// by the owner on demand. Row and column arguments are display positions.
class CGridCtrl : public CWnd {
public:
    CGridCtrl();
    ~CGridCtrl() override;

    static constexpr DWORD kDefaultStyle =
        WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL;
    BOOL Create(const CRect& rect, CWnd* parent, UINT id, DWORD style = kDefaultStyle);
    BOOL Create(const CRect& rect, QWidget* parent, UINT id, DWORD style = kDefaultStyle);

    // Counts; each answers TRUE when nothing had to change.
    BOOL SetRowCount(int rows = 10);
    BOOL SetColumnCount(int cols = 10);
    BOOL SetFixedRowCount(int fixedRows = 1);
    BOOL SetFixedColumnCount(int fixedCols = 1);
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }

    // Inserts a row at the position (at the end for -1, always in virtual mode); answers its
    // index, -1 when it could not.
    int InsertRow(const CString& heading, int position = -1);
    // Adds rows at the end, as many InsertRow calls without a heading would, but at the cost of
    // one: the rows already there keep their order. Answers the index of the first, -1 when
    // none could be added.
    int AppendRows(int count);
    BOOL DeleteRow(int row);
    BOOL DeleteColumn(int col);
    BOOL DeleteNonFixedRows();
    BOOL DeleteAllItems();

    // -1 out of range. A size of 0 hides the row or column.
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    BOOL SetRowHeight(int row, int height);
    BOOL SetColumnWidth(int col, int width);

    BOOL IsValid(int row, int col) const;
    BOOL IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    BOOL IsValid(const CCellRange& range) const;

    // Cells. In virtual mode GetCell answers a cell lent until the next GetCell.
    CGridCellBase* GetCell(int row, int col) const;
    BOOL SetCell(int row, int col, std::unique_ptr<CGridCellBase> cell);
    BOOL SetDefaultCellType(const CCellClass* cellClass);
    BOOL SetCellType(int row, int col, const CCellClass* cellClass);
    CGridDefaultCell* GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const;

    BOOL SetItemText(int row, int col, const CString& text);
    CString GetItemText(int row, int col) const;
    BOOL SetItemState(int row, int col, UINT state);
    UINT GetItemState(int row, int col) const;
    BOOL SetItemFormat(int row, int col, UINT format);
    UINT GetItemFormat(int row, int col) const;
    BOOL SetItemFont(int row, int col, const LogFont* font);
    BOOL SetItemBkColour(int row, int col, COLORREF color = CLR_DEFAULT);
    BOOL ResetItemFgColour(int row, int col);
    CSize GetItemTextExtent(int row, int col, const CString& text);
    BOOL IsItemEditing(int row, int col);
    BOOL IsCellEditable(int row, int col) const;
    BOOL IsCellEditable(const CCellID& cell) const { return IsCellEditable(cell.row, cell.col); }
    BOOL IsCellSelected(int row, int col) const;
    BOOL IsCellSelected(const CCellID& cell) const { return IsCellSelected(cell.row, cell.col); }
    BOOL IsCellFixed(int row, int col) const { return row < m_nFixedRows || col < m_nFixedCols; }
    // The cell changed; (-1, -1) the whole grid. Either may forget the sort order.
    void SetModified(int row = -1, int col = -1);

    // Notifications to the owner (else the parent): the owner's answer, 0 when none heard it.
    LRESULT SendMessageToParent(int row, int col, int code) const;
    LRESULT SendDisplayRequestToParent(GridDisplayRecord* record) const;
    LRESULT SendCacheHintToParent(const CCellRange& range) const;

    // Virtual mode: no cells are stored; the owner lends them through the callback, or fills a
    // display request. There is no way back.
    void EnableVirtualMode();
    BOOL GetVirtualMode() const { return m_bVirtualMode; }
    void SetCallbackFunc(GRIDCALLBACK callback, LPARAM param);
    GRIDCALLBACK GetCallbackFunc() const { return m_pfnCallback; }
    // The model row shown at a display row (itself outside virtual mode).
    int GetModelRow(int row) const;
    // The display row that shows a model row, -1 when none does.
    int FindDisplayRow(int modelRow) const;

    // Options.
    void SetEditable(BOOL editable = TRUE) { m_bEditable = editable; }
    BOOL IsEditable() const { return m_bEditable; }
    void SetListMode(BOOL listMode = TRUE) { m_bListMode = listMode; }
    BOOL GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(BOOL single = TRUE) { m_bSingleRowSelection = single; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void SetSingleColSelection(BOOL single = TRUE) { m_bSingleColSelection = single; }
    BOOL GetSingleColSelection() const { return m_bSingleColSelection; }
    // Off, no cell counts as selected; the selection and the focus are cleared either way.
    void EnableSelection(BOOL enable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    // A click on a fixed column's cell selects rows; one on a fixed row's cell selects columns.
    void SetFixedRowSelection(BOOL select) { m_bFixedRowSelection = select; }
    BOOL GetFixedRowSelection() const { return m_bFixedRowSelection; }
    void SetFixedColumnSelection(BOOL select) { m_bFixedColumnSelection = select; }
    BOOL GetFixedColumnSelection() const { return m_bFixedColumnSelection; }
    void SetHeaderSort(BOOL sortOnClick = TRUE) { m_bSortOnClick = sortOnClick; }
    BOOL GetHeaderSort() const { return m_bSortOnClick; }
    void EnableDragAndDrop(BOOL allow = TRUE) { m_bAllowDragAndDrop = allow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetHandleTabKey(BOOL handle = TRUE) { m_bHandleTabKey = handle; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetDoubleBuffering(BOOL buffer = TRUE) { m_bDoubleBuffer = buffer; }
    BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(BOOL enable = TRUE) { m_bTitleTips = enable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    void SetTitleTipBackClr(COLORREF color = CLR_DEFAULT) { m_crTTipBackClr = color; }
    COLORREF GetTitleTipBackClr() const { return m_crTTipBackClr; }
    void SetTitleTipTextClr(COLORREF color = CLR_DEFAULT) { m_crTTipTextClr = color; }
    COLORREF GetTitleTipTextClr() const { return m_crTTipTextClr; }
    void SetRowResize(BOOL resize = TRUE) { m_bAllowRowResize = resize; }
    BOOL GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(BOOL resize = TRUE) { m_bAllowColumnResize = resize; }
    BOOL GetColumnResize() const { return m_bAllowColumnResize; }
    void EnableHiddenColUnhide(BOOL enable = TRUE) { m_bHiddenColUnhide = enable; }
    BOOL GetHiddenColUnhide() const { return m_bHiddenColUnhide; }
    void EnableHiddenRowUnhide(BOOL enable = TRUE) { m_bHiddenRowUnhide = enable; }
    BOOL GetHiddenRowUnhide() const { return m_bHiddenRowUnhide; }
    void EnableColumnHide(BOOL enable = TRUE) { m_bAllowColHide = enable; }
    BOOL GetColumnHide() const { return m_bAllowColHide; }
    void EnableRowHide(BOOL enable = TRUE) { m_bAllowRowHide = enable; }
    BOOL GetRowHide() const { return m_bAllowRowHide; }
    void SetAutoSizeStyle(UINT style = GVS_BOTH) { m_nAutoSizeColumnStyle = style; }
    UINT GetAutoSizeStyle() const { return m_nAutoSizeColumnStyle; }
    void SetGridLines(int lines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    void SetFrameFocusCell(BOOL frame) { m_bFrameFocus = frame; }
    BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
    // Header cells in the focus cell's row and column are drawn pressed in.
    void SetTrackFocusCell(BOOL track) { m_bTrackFocusCell = track; }
    BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }
    COLORREF GetGridBkColor() const { return m_crGridBkColour; }
    void SetGridBkColor(COLORREF color) { m_crGridBkColour = color; }
    COLORREF GetGridLineColor() const { return m_crGridLineColour; }
    void SetGridLineColor(COLORREF color) { m_crGridLineColour = color; }
    // Off, the grid neither paints nor works out its scroll bars.
    // Switched on, it paints whole, unless the caller has it paint only what changed.
    void SetRedraw(BOOL allow, BOOL resetScrollBars = FALSE, BOOL repaint = TRUE);
    BOOL IsDrawingAllowed() const { return m_bAllowDraw; }

    // Geometry, in client coordinates; cell rectangles hold their last pixel.
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    CCellID GetTopleftNonFixedCell(BOOL forceRecalculation = FALSE) const;
    CCellRange GetVisibleNonFixedCellRange(CRect* rect = nullptr) const;
    CCellRange GetVisibleFixedCellRange() const;
    BOOL GetCellOrigin(int row, int col, CPoint* origin) const;
    BOOL GetCellOrigin(const CCellID& cell, CPoint* origin) const {
        return GetCellOrigin(cell.row, cell.col, origin);
    }
    BOOL GetCellRect(int row, int col, CRect* rect) const;
    BOOL GetCellRect(const CCellID& cell, CRect* rect) const {
        return GetCellRect(cell.row, cell.col, rect);
    }
    BOOL GetCellRangeRect(const CCellRange& range, CRect* rect) const;
    CCellID GetCellFromPt(CPoint point, BOOL allowFixedCells = TRUE) const;
    BOOL IsCellVisible(int row, int col) const;
    BOOL IsCellVisible(const CCellID& cell) const { return IsCellVisible(cell.row, cell.col); }
    BOOL MouseOverColumnResizeArea(CPoint point) const;
    BOOL MouseOverRowResizeArea(CPoint point) const;
    // Paints what lies outside the cells, and under them the default cells' backgrounds.
    void FillBackground(CDC* dc);

    // Scrolling; positions are pixels of the non-fixed rows and columns scrolled off.
    void ResetScrollBars();
    void EnableScrollBars(int bar, BOOL enable = TRUE);
    BOOL SetScrollPos32(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos32(int bar, BOOL getTrackPos = FALSE) const;
    int GetScrollMax(int bar) const { return bar == SB_VERT ? m_nVScrollMax : m_nHScrollMax; }
    void EnsureVisible(int row, int col);
    void EnsureVisible(const CCellID& cell) { EnsureVisible(cell.row, cell.col); }

    // Sizing to the contents.
    void AutoSize(UINT style = 0);
    BOOL AutoSizeRow(int row);
    BOOL AutoSizeColumn(int col, UINT style = 0, BOOL resetScroll = TRUE);
    void AutoSizeColumns(UINT style = 0);

    // Sorting.
    BOOL SortItems(int col, BOOL ascending, LPARAM param = 0);
    BOOL SortItemsWithNotify(PFNGRIDCOMPARE compare, int col, BOOL ascending, LPARAM param = 0);
    BOOL SortRange(PFNGRIDCOMPARE compare, int col, BOOL ascending, LPARAM param, int firstRow);
    // Whether the rows stand in the order of the sort column and direction, as SortItems with
    // this parameter leaves them; a grid without a sort column is in its order.
    BOOL IsInSortOrder(LPARAM param = 0);
    void SetSortColumn(int col);
    int GetSortColumn() const { return m_nSortColumn; }
    void SetSortAscending(BOOL ascending) { m_bAscending = ascending; }
    BOOL GetSortAscending() const { return m_bAscending; }
    void SetCompareFunction(PFNGRIDCOMPARE compare) { m_pfnCompare = compare; }
    void SetColumnCompareFunction(int col, PFNGRIDCOMPARE compare);
    void EnableColumnCompare(BOOL enable = TRUE) { m_bEnableColCompare = enable; }

    // Selection and focus.
    void SetSelectedRange(const CCellRange& range, BOOL forceRepaint = FALSE, BOOL select = TRUE);
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, BOOL forceRepaint = FALSE,
                          BOOL select = TRUE);
    CCellRange GetSelectedCellRange() const;
    int GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.size()); }
    void SelectAllCells();
    void SelectColumns(CCellID cell, BOOL forceRedraw = FALSE, BOOL select = TRUE);
    void SelectRows(CCellID cell, BOOL forceRedraw = FALSE, BOOL select = TRUE);
    void SelectCells(CCellID cell, BOOL forceRedraw = FALSE, BOOL select = TRUE);
    void OnSelecting(const CCellID& cell);
    // Answers the previous focus cell.
    CCellID SetFocusCell(int row, int col);
    CCellID SetFocusCell(CCellID cell) { return SetFocusCell(cell.row, cell.col); }
    CCellID GetFocusCell() const { return m_idCurrentCell; }
    // The anchor that Shift extends the selection from.
    CCellID GetSelectionStartCell() const { return m_SelectionStartCell; }
    void SetSelectionStartCell(CCellID cell) { m_SelectionStartCell = cell; }
    // A press of the left button on the grid is under way (a selection dragged out, a press
    // that may yet edit, drag or size): it holds the cells it started on by their positions
    // until the button goes up.
    bool IsTrackingPress() const;
    // A drag hovers over the grid, from wherever it started: from its entry to its drop, its
    // leaving or the next mouse input heard as usual, the cell under it is the one it would
    // drop on.
    bool IsDragOver() const { return m_bDragOver; }
    // Whether the data dropped is this grid's own drag moving its cells: only then are the
    // cells it came from cleared once their text has landed here. Any other drop, from another
    // window or program, leaves its source holding what it carries, whatever its action.
    bool IsOwnDragMove(const COleDataObject* data) const;
    // The cells such a move came from, which it clears; none for any other drop.
    std::vector<CCellID> GetMovedCells(const COleDataObject* data) const;

    // Drawing at once, and invalidating for the next paint.
    BOOL RedrawCell(int row, int col, CDC* dc = nullptr);
    BOOL RedrawCell(const CCellID& cell) { return RedrawCell(cell.row, cell.col); }
    BOOL RedrawRow(int row);
    BOOL InvalidateCellRect(int row, int col);
    BOOL InvalidateCellRect(const CCellID& cell) { return InvalidateCellRect(cell.row, cell.col); }
    BOOL InvalidateRangeRect(const CCellRange& range);
    // Invalidates the cells in view that would not look as the paints left them (a cell never
    // painted whole counts as changed), whatever changed them; true when any would not.
    BOOL InvalidateChangedCells();
    void Refresh();

    // The font of every cell that has none of its own: it goes to the four default cells.
    void SetFont(const LogFont& font, BOOL redraw = TRUE);
    LogFont GetFont() const;

    // Printing, driven by the owner's view: begin once, print each page, end once.
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    virtual void PrintFixedRowCells(int firstCol, int stopCol, int row, CRect& rect, CDC* dc,
                                    BOOL& first);
    virtual void PrintColumnHeadings(CDC* dc, CPrintInfo* info);
    virtual void PrintHeader(CDC* dc, CPrintInfo* info);
    virtual void PrintFooter(CDC* dc, CPrintInfo* info);
    virtual void PrintRowButtons(CDC* dc, CPrintInfo* info);

    // Editing, the clipboard and drag and drop.
    virtual void CutSelectedText();
    virtual std::unique_ptr<COleDataSource> CopyTextFromGrid();
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* data, BOOL selectPastedCells = TRUE);
    BOOL PasteTextToGrid(int row, int col, COleDataObject* data, BOOL selectPastedCells = TRUE) {
        return PasteTextToGrid(CCellID(row, col), data, selectPastedCells);
    }
    virtual void OnBeginDrag();
    DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point) override;
    void OnDragLeave() override;
    BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    // The focus cell drawn on a picture masked by the default cell's background; none when the
    // cell does not show.
    virtual std::unique_ptr<QPixmap> CreateDragImage(CPoint* hotSpot);
    // Whether the edit commands can run now.
    BOOL CanCopy() const;
    BOOL CanCut() const;
    BOOL CanPaste() const;
    // Empties the selected cells of the range through the edit protocol, cell by cell.
    void ClearCells(const CCellRange& selection);
    CCellID GetLastDragOverCell() const { return m_LastDragOverCell; }
    int GetMouseScrollLines() const { return m_nRowsPerWheelNotch; }

    // Own virtual operations (the screens override some of them).
    virtual void OnFixedColumnClick(CCellID& cell);
    virtual void OnFixedRowClick(CCellID& cell);
    virtual void OnEditCell(int row, int col, CPoint point, UINT ch);
    virtual void OnEndEditCell(int row, int col, const CString& text);
    virtual BOOL ValidateEdit(int row, int col, const CString& text);
    virtual BOOL EndEditing();
    // The in-place editor's control is gone: no edit is open any more.
    virtual void OnEditorClosed() {}
    // A move of the grid's own cells was refused in part: nothing of it is to stay.
    virtual void OnMoveRefused() {}
    // How one try of a moved cell's text went: given up ends the whole move at once, as the
    // user's Cancel of a choice the try asked for, or a refusal of the choice the user made.
    enum class MoveTry { kLanded, kRefused, kGivenUp };
    // Around each try of a moved cell's text, which the rest of the move may make good: what
    // it would tell is held, told when it landed and kept for the cell (key) while it is
    // refused. shown: the cell shows the text though the try stored nothing, as an alpha its
    // end's port cell has just set does. The end answers how the try went.
    virtual void BeginMovedCell() {}
    virtual MoveTry EndMovedCell(std::uint64_t /*key*/, bool stored, bool shown) {
        return stored || shown ? MoveTry::kLanded : MoveTry::kRefused;
    }
    // Takes the editor just opened over a cell and holds it until its control goes, which is
    // after its edit ended and the event loop turned.
    template <class Editor>
    Editor* SetInPlaceEditor(std::unique_ptr<Editor> editor) {
        Editor* open = editor.get();
        AdoptInPlaceEditor(std::move(editor));
        return open;
    }
    CInPlaceEditor* GetInPlaceEditor() const { return m_pInPlaceEditor.get(); }
    // Deletes the editor whose control is gone; false when this grid does not hold it.
    bool ReleaseInPlaceEditor(const CInPlaceEditor* editor);
    // One text edit ends at a time: ending moves the focus, which ends editors. FALSE while
    // another end is under way.
    bool BeginEditorEnd();
    void FinishEditorEnd() { m_bEditorEnding = false; }
    virtual void OnDraw(CDC* dc);
    virtual std::unique_ptr<CGridCellBase> CreateCell(int row, int col);
    virtual void DestroyCell(int row, int col);
    virtual void ShiftRowOrder(int row, int delta);

    // Window handlers.
    void OnPaint(CDC& dc) override;
    void OnSysColorChange() override;
    void OnHScroll(UINT code, UINT pos) override;
    void OnVScroll(UINT code, UINT pos) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnMouseLeave() override;
    BOOL OnSetCursor() override;
    void OnTimer(UINT_PTR id) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnSysKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnImeChar(UINT ch, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnKillFocus(CWnd* newWnd) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override;

protected:
    using GridRow = std::vector<std::unique_ptr<CGridCellBase>>;
    using CellMap = std::unordered_map<std::uint64_t, CCellID>;

    // The cell as stored, without the virtual-mode lookup.
    CGridCellBase* StoredCell(int row, int col) const;
    int StoredColumn(int col) const { return m_arColOrder[static_cast<size_t>(col)]; }
    void ResetSelectedRange();
    // The comparison a sort by the column uses.
    PFNGRIDCOMPARE SortCompare(int col) const;
    int CompareVirtualRows(PFNGRIDCOMPARE compare, int modelRow1, int modelRow2, LPARAM param);
    void HideTitleTip();
    void HideStaleTitleTip();
    // The edit protocol for text that did not come from an editor: the owner's vetoes and the
    // cell's validation apply, and a refusal puts the old text back.
    BOOL SetTextAsIfEdited(int row, int col, const CString& text);
    // Runs the drag of the data; answers what the target did with it. It runs inside the
    // drag's nested-loop scope, whatever runs it.
    virtual DROPEFFECT DoDragDrop(COleDataSource& source);
    // The cell shows as the target of the drag hovering over the grid, and no other does.
    void SetDropHighlight(const CCellID& cell);
    // The drop target shows as one no longer; the drag may still be over the grid.
    void ClearDropHighlight();
    void EndStaleDragOver();

    COLORREF m_crGridBkColour = 0;
    COLORREF m_crGridLineColour = RGB(192, 192, 192);
    COLORREF m_crWindowText = 0;
    COLORREF m_crWindowColour = 0;
    COLORREF m_cr3DFace = 0;
    COLORREF m_crShadow = 0;
    COLORREF m_crTTipBackClr = CLR_DEFAULT;
    COLORREF m_crTTipTextClr = CLR_DEFAULT;

    BOOL m_bVirtualMode = FALSE;
    LPARAM m_lParam = 0;
    GRIDCALLBACK m_pfnCallback = nullptr;
    int m_nGridLines = GVL_BOTH;
    BOOL m_bEditable = TRUE;
    BOOL m_bListMode = FALSE;
    BOOL m_bSingleRowSelection = FALSE;
    BOOL m_bSingleColSelection = FALSE;
    BOOL m_bAllowDraw = TRUE;
    BOOL m_bEnableSelection = TRUE;
    BOOL m_bFixedColumnSelection = TRUE;
    BOOL m_bFixedRowSelection = TRUE;
    BOOL m_bSortOnClick = FALSE;
    BOOL m_bAllowDragAndDrop = FALSE;
    BOOL m_bHandleTabKey = TRUE;
    BOOL m_bDoubleBuffer = TRUE;
    BOOL m_bTitleTips = TRUE;
    BOOL m_bFrameFocus = TRUE;
    BOOL m_bTrackFocusCell = TRUE;
    BOOL m_bAllowRowResize = TRUE;
    BOOL m_bAllowColumnResize = TRUE;
    BOOL m_bHiddenColUnhide = TRUE;
    BOOL m_bHiddenRowUnhide = TRUE;
    BOOL m_bAllowColHide = TRUE;
    BOOL m_bAllowRowHide = TRUE;
    int m_nBarState = 0;  // 1: horizontal bar shown, 2: vertical bar shown
    UINT m_nAutoSizeColumnStyle = GVS_BOTH;

    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;
    std::vector<int> m_arRowHeights;  // by display row
    std::vector<int> m_arColWidths;   // by stored column
    int m_nVScrollMax = 0;
    int m_nHScrollMax = 0;

    const CCellClass* m_pRtcDefault = nullptr;
    // Normal, fixed-column, fixed-row and fixed-corner default cells.
    std::array<CGridDefaultCell, 4> m_defaultCells;
    std::vector<GridRow> m_RowData;  // by display row, each by stored column; empty when virtual

    enum MouseMode {
        MOUSE_NOTHING = 0,
        MOUSE_SELECT_ALL = 1,
        MOUSE_SELECT_COL = 2,
        MOUSE_SELECT_ROW = 3,
        MOUSE_SELECT_CELLS = 4,
        MOUSE_OVER_ROW_DIVIDE = 6,
        MOUSE_SIZING_ROW = 7,
        MOUSE_OVER_COL_DIVIDE = 8,
        MOUSE_SIZING_COL = 9,
        MOUSE_PREPARE_EDIT = 10,
        MOUSE_PREPARE_DRAG = 11,
        MOUSE_DRAGGING = 12,
    };
    int m_MouseMode = MOUSE_NOTHING;
    CCellID m_LeftClickDownCell;
    CCellID m_SelectionStartCell;
    CCellID m_idCurrentCell;
    mutable CCellID m_idTopLeftCell;
    int m_nResizeCaptureRange = 3;
    CellMap m_SelectedCellMap;
    CellMap m_PrevSelectedCellMap;
    CPoint m_LeftClickDownPoint;
    CPoint m_LastMousePoint;
    int m_nClickDownRow = -1;
    BOOL m_bLMouseButtonDown = FALSE;
    bool m_bDoubleClickPress = false;  // the press under way is a double click's second
    BOOL m_bRMouseButtonDown = FALSE;
    UINT_PTR m_nTimerID = 0;
    UINT m_nTimerInterval = 25;
    int m_nRowsPerWheelNotch = 3;  // -1: a page per notch
    CTitleTip m_TitleTip;
    CGridDropTarget m_DropTarget;
    CCellID m_LastDragOverCell;
    CCellID m_DropHighlightCell;

    LogFont m_PrinterFont;
    CSize m_CharSize;
    int m_nPageHeight = 0;
    CSize m_LogicalPageSize;
    CSize m_PaperSize;
    int m_nPageWidth = 0;
    int m_nCurrPrintRow = 0;
    int m_nPageEndRow = 0;  // the first row of the next page
    int m_nCurrPrintCol = 0;
    int m_nNumPages = 0;
    int m_nHeaderHeight = 2;  // in character heights
    int m_nFooterHeight = 2;
    int m_nLeftMargin = 4;  // in character widths
    int m_nRightMargin = 4;
    int m_nGap = 1;

    BOOL m_bAscending = TRUE;
    int m_nSortColumn = -1;
    PFNGRIDCOMPARE m_pfnCompare = nullptr;
    std::vector<PFNGRIDCOMPARE> m_arColCompareFunctions;
    BOOL m_bEnableColCompare = FALSE;
    int m_CurCol = -1;              // the stored column of a virtual-mode sort
    std::vector<int> m_arRowOrder;  // virtual mode: the model row of each display row
    std::vector<int> m_arColOrder;  // the stored column of each display column
    bool m_bDestroying = false;

private:
    CGridCellBase* VirtualCell(int row, int col) const;
    BOOL GrowRows(int rows);
    BOOL GrowColumns(int cols);
    void ReportOutOfMemory();
    void PruneSelection();
    void ForgetSortColumn();
    void FinishCreate();
    CPoint RelativeToCell(const CCellID& cell, CPoint point) const;
    bool InTextArea(const CCellID& cell, CPoint point) const;
    void MoveTrackLine(const CRect& line);
    bool StartSizing(CPoint point, bool column);
    std::vector<int> BodyRowHeights() const;
    void PrintBody(CDC* dc);
    // A cell dragged, and where its text lies in the dragged text: its line and its field.
    struct DraggedCell {
        CCellID cell;
        int line;
        int field;
    };
    // Where a pasted text landed: the lines and fields written, and the cells they went to.
    struct PastedText {
        std::unordered_set<std::uint64_t> fields;
        std::unordered_set<std::uint64_t> cells;
    };
    void ClearDraggedCells(const PastedText* pasted);
    // A moved cell's text, where it goes and where it lies in the dragged text, and how many
    // texts had landed when it was last tried.
    struct MovedText {
        CCellID cell;
        int line;
        int field;
        CString text;
        size_t landedAtTry;
    };
    // Stores the text as an edit; once landed, the landed texts hold it.
    MoveTry TryMovedText(const MovedText& text, PastedText& landed);
    bool LandRefusedTexts(std::vector<MovedText>& refused, PastedText& landed);
    BOOL RefuseMove();
    void FinishDropMove(COleDataObject* data, PastedText pasted);
    void AdoptInPlaceEditor(std::unique_ptr<CInPlaceEditor> editor);

    // What a cell's drawing depends on.
    struct CellLook {
        CString text;
        DWORD state = 0;
        COLORREF textColor = 0;
        COLORREF backColor = 0;
        COLORREF selectedTextColor = 0;
        COLORREF selectedBackColor = 0;
        DWORD format = 0;
        UINT margin = 0;
        std::optional<LogFont> font;
        // A heading's sort mark (0 none, 1 descending, 2 ascending) and its pressed edge.
        int sortMark = 0;
        bool pressed = false;
        bool operator==(const CellLook&) const = default;
    };
    CellLook LookOf(const CGridCellBase& cell, int row, int col) const;
    // Keeps the looks of the cells that stay where they were painted in the view.
    void FollowPaintedRange(const CCellRange& visible);
    // Remembers how a cell drawn by a paint looks on screen, or forgets it when the paint
    // showed only part of it.
    void KeepPaintedLook(const CGridCellBase& cell, int row, int col, CDC::Reach reach);

    // The cell lent by a virtual-mode GetCell without a callback.
    mutable CGridCell m_virtualCell;
    // The two cells a virtual-mode sort fills from display requests.
    CGridCell m_sortCells[2];
    CRect m_rectTrackLine;   // the line that follows a dragged divider
    CRect m_rectCursorClip;  // where a dragged divider may go
    // While this grid is the source of a drag: the cells dragged, where a drop on this grid
    // landed, and whether the move is done.
    bool m_bDragSource = false;
    bool m_bMoveDone = false;
    bool m_bDragOver = false;
    DROPEFFECT m_dropEffect = DROPEFFECT_NONE;
    std::vector<DraggedCell> m_draggedCells;
    std::optional<PastedText> m_ownDrop;
    bool m_bInResetScrollBars = false;
    bool m_bResetScrollBarsAgain = false;
    bool m_bInOnSize = false;
    // The open in-place editor, and those that ended while their controls still wait for the
    // event loop; each goes with its control.
    std::unique_ptr<CInPlaceEditor> m_pInPlaceEditor;
    std::vector<std::unique_ptr<CInPlaceEditor>> m_closingEditors;
    bool m_bEditorEnding = false;
    // How the paints left the cells on screen, kept while the same cells are in view.
    std::unordered_map<std::uint64_t, CellLook> m_paintedLooks;
    CCellRange m_paintedRange;
};

#include "grid/grid_ctrl.h"

#include <algorithm>

#include "platform/ui/sys_info.h"

namespace {

enum DefaultCell { kNormal, kFixedCol, kFixedRow, kFixedCorner };

}  // namespace

int CompareCellsText(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM) {
    if (!cell1 || !cell2) return 0;
    const int order = cell1->GetText().str().compare(cell2->GetText().str());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

CGridCtrl::CGridCtrl() {
    m_crWindowText = GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = GetSysColor(COLOR_WINDOW);
    m_cr3DFace = GetSysColor(COLOR_3DFACE);
    m_crShadow = GetSysColor(COLOR_3DSHADOW);
    m_pRtcDefault = CellClassOf<CGridCell>();

    for (CGridDefaultCell& cell : m_defaultCells) {
        cell.SetGrid(this);
        cell.SetTextClr(m_crWindowText);
        cell.SetBackClr(m_cr3DFace);
    }
    m_defaultCells[kNormal].SetBackClr(m_crWindowColour);
    m_crGridBkColour = m_crShadow;
    m_nRowsPerWheelNotch = GetWheelScrollLines();
}

CGridCtrl::~CGridCtrl() {
    m_bDestroying = true;
    DeleteAllItems();
    m_TitleTip.DestroyWindow();
    m_DropTarget.Revoke();
    DestroyWindow();
}

BOOL CGridCtrl::Create(const CRect& rect, CWnd* parent, UINT id, DWORD style) {
    if (!CWnd::Create(style, rect, parent, id)) return FALSE;
    FinishCreate();
    return TRUE;
}

BOOL CGridCtrl::Create(const CRect& rect, QWidget* parent, UINT id, DWORD style) {
    if (!CWnd::Create(style, rect, parent, id)) return FALSE;
    FinishCreate();
    return TRUE;
}

void CGridCtrl::FinishCreate() {
    // Every paint covers the whole client area itself.
    SetOpaquePaint(TRUE);
    m_TitleTip.SetParentWnd(this);
    m_DropTarget.Register(this);
    const CGridDefaultCell* def = GetDefaultCell(FALSE, FALSE);
    std::fill(m_arRowHeights.begin(), m_arRowHeights.end(), def->GetHeight());
    std::fill(m_arColWidths.begin(), m_arColWidths.end(), def->GetWidth());
    std::fill(m_arColCompareFunctions.begin(), m_arColCompareFunctions.end(), nullptr);
    ResetScrollBars();
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const {
    const int which = fixedRow && fixedCol ? kFixedCorner
                      : fixedRow           ? kFixedRow
                      : fixedCol           ? kFixedCol
                                           : kNormal;
    return const_cast<CGridDefaultCell*>(&m_defaultCells[which]);
}

void CGridCtrl::EnableSelection(BOOL enable) {
    ResetSelectedRange();
    m_bEnableSelection = enable;
    ResetSelectedRange();
}

void CGridCtrl::ResetSelectedRange() {
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

void CGridCtrl::SetGridLines(int lines) {
    m_nGridLines = lines;
    Refresh();
}

void CGridCtrl::SetRedraw(BOOL allow, BOOL resetScrollBars, BOOL repaint) {
    if (allow && !m_bAllowDraw) {
        m_bAllowDraw = TRUE;
        if (repaint) Refresh();
    }
    m_bAllowDraw = allow;
    if (resetScrollBars) ResetScrollBars();
}

LRESULT CGridCtrl::SendMessageToParent(int row, int col, int code) const {
    CWnd* owner = GetOwner();
    if (!IsWindow() || !owner || !owner->IsWindow()) return 0;
    NM_GRIDVIEW record;
    record.hdr.code = code;
    record.iRow = row;
    record.iColumn = col;
    return const_cast<CGridCtrl*>(this)->SendNotify(record.hdr);
}

LRESULT CGridCtrl::SendDisplayRequestToParent(GridDisplayRecord* record) const {
    CWnd* owner = GetOwner();
    if (!IsWindow() || !owner || !owner->IsWindow()) return 0;
    record->hdr.hwndFrom = const_cast<CGridCtrl*>(this);
    record->hdr.idFrom = GetDlgCtrlID();
    record->hdr.code = GRIDN_GETDISPINFO;
    return const_cast<CGridCtrl*>(this)->SendNotify(record->hdr);
}

LRESULT CGridCtrl::SendCacheHintToParent(const CCellRange& range) const {
    CWnd* owner = GetOwner();
    if (!IsWindow() || !owner || !owner->IsWindow()) return 0;
    GridCacheHintRecord record;
    record.hdr.code = GRIDN_ODCACHEHINT;
    record.range = range;
    return const_cast<CGridCtrl*>(this)->SendNotify(record.hdr);
}

void CGridCtrl::EnableVirtualMode() {
    EndEditing();
    DeleteAllItems();
    m_bVirtualMode = TRUE;
    m_nAutoSizeColumnStyle = GVS_HEADER;
    m_arRowOrder.clear();
}

void CGridCtrl::SetCallbackFunc(GRIDCALLBACK callback, LPARAM param) {
    m_pfnCallback = callback;
    m_lParam = param;
}

int CGridCtrl::GetModelRow(int row) const {
    if (!m_bVirtualMode || row < 0 || row >= static_cast<int>(m_arRowOrder.size())) return row;
    return m_arRowOrder[static_cast<size_t>(row)];
}

int CGridCtrl::FindDisplayRow(int modelRow) const {
    if (!m_bVirtualMode) return modelRow >= 0 && modelRow < m_nRows ? modelRow : -1;
    const auto found = std::ranges::find(m_arRowOrder, modelRow);
    return found == m_arRowOrder.end() ? -1 : static_cast<int>(found - m_arRowOrder.begin());
}

CGridCellBase* CGridCtrl::StoredCell(int row, int col) const {
    if (m_bVirtualMode || !IsValid(row, col)) return nullptr;
    return m_RowData[static_cast<size_t>(row)][static_cast<size_t>(StoredColumn(col))].get();
}

CGridCellBase* CGridCtrl::GetCell(int row, int col) const {
    if (!IsValid(row, col)) return nullptr;
    if (!m_bVirtualMode) return StoredCell(row, col);
    return VirtualCell(row, col);
}

CGridCellBase* CGridCtrl::VirtualCell(int row, int col) const {
    if (m_bDestroying) return nullptr;
    UINT state = IsCellSelected(row, col) ? CELL_SELECTED : 0;
    if (row < m_nFixedRows) state |= CELL_FIXED | CELL_FIXEDROW;
    if (col < m_nFixedCols) state |= CELL_FIXED | CELL_FIXEDCOL;
    if (CCellID(row, col) == m_idCurrentCell) state |= CELL_FOCUSED;
    if (CCellID(row, col) == m_DropHighlightCell) state |= CELL_DROPHILITED;

    auto* self = const_cast<CGridCtrl*>(this);
    const int modelRow = m_arRowOrder[static_cast<size_t>(row)];
    if (m_pfnCallback) {
        CGridCellBase* cell = m_pfnCallback(modelRow, StoredColumn(col), state, m_lParam, self);
        if (cell) cell->SetCoords(row, col);
        return cell;
    }

    const CGridDefaultCell* def = GetDefaultCell(row < m_nFixedRows, col < m_nFixedCols);
    GridDisplayRecord record;
    record.row = modelRow;
    record.column = StoredColumn(col);
    record.state = state;
    record.format = def->GetFormat();
    record.image = def->GetImage();
    record.bkColor = def->GetBackClr();
    record.textColor = def->GetTextClr();
    record.data = def->GetData();
    if (const LogFont* font = def->GetFont()) record.font = *font;
    record.margin = def->GetMargin();
    SendDisplayRequestToParent(&record);

    m_virtualCell.SetState(record.state);
    m_virtualCell.SetBackClr(record.bkColor);
    m_virtualCell.SetFormat(record.format);
    m_virtualCell.SetImage(record.image);
    m_virtualCell.SetTextClr(record.textColor);
    m_virtualCell.SetData(record.data);
    m_virtualCell.SetFont(&record.font);
    m_virtualCell.SetMargin(record.margin);
    m_virtualCell.SetText(record.text);
    m_virtualCell.SetGrid(self);
    return &m_virtualCell;
}

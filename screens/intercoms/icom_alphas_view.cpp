#include "screens/intercoms/icom_alphas_view.h"

#include <optional>
#include <utility>

#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/base/column_desc.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/cells/cell_compare.h"

namespace {

constexpr int kAlphaColumn = 4;

const ColumnDesc kColumns[CIcomAlphasView::kColumnCount] = {
    {2289, false, CObjSpec::kAlpha, 1623, nullptr, CompareCellNumbers},  // "Icom #"
    {2290, false, CObjSpec::kAlpha, 66, nullptr, CompareCellText},       // "Name"
    {6401, false, CObjSpec::kAlpha, 1624, nullptr, CompareCellText},     // "Fn Type"
    {6402, false, CObjSpec::kAlpha, 1625, nullptr, CompareCellNumbers},  // "Number"
    {2278, false, CObjSpec::kAlpha, 1626, nullptr, CompareCellText},     // "Alpha"
};

int ContextParam(const CContext& context, int i) {
    return static_cast<int>(context.m_params[static_cast<size_t>(i)]);
}

// Switches the grid's drawing off while it lives and back to what it was after, repainting in
// full and working the scroll bars out again when that turns it on.
class CNoRedrawScope {
public:
    // Without repaint the caller paints what changed itself.
    explicit CNoRedrawScope(CGridCtrl& grid, BOOL repaint = TRUE)
        : m_grid(grid), m_was(grid.IsDrawingAllowed()), m_repaint(repaint) {
        m_grid.SetRedraw(FALSE);
    }
    ~CNoRedrawScope() { m_grid.SetRedraw(m_was, m_was, m_repaint); }
    CNoRedrawScope(const CNoRedrawScope&) = delete;
    CNoRedrawScope& operator=(const CNoRedrawScope&) = delete;

private:
    CGridCtrl& m_grid;
    BOOL m_was;
    BOOL m_repaint;
};

}  // namespace

CIcomAlphasView::CSortMemory& CIcomAlphasView::RememberedSort() {
    static CSortMemory sort;
    return sort;
}

CIcomAlphasView::CIcomAlphasView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"IntercomAlphaColumnWidths";
}

CIcomAlphasView::~CIcomAlphasView() {
    // The grid may ask for cells while its window goes; it must not reach the cells here.
    if (CKelvardinGridCtrl* grid = GetGrid()) grid->SetCallbackFunc(nullptr, 0);
    DestroyWindow();
}

int CIcomAlphasView::GetChosenIntercom() const {
    return ContextParam(GetHost().GetViewContext(kScreen), 0);
}

int CIcomAlphasView::GetChosenType() const {
    return ContextParam(GetHost().GetViewContext(kScreen), 1);
}

DWORD CIcomAlphasView::GetHelpID() {
    return 0x20000 + ID_VIEW_ICOM_ALPHAS;
}

void CIcomAlphasView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    m_timer.Start(this, GetHost().GetScreenTiming().icomAlphasPollMs);
}

int CIcomAlphasView::DefaultRowHeight() const {
    const CKelvardinGridCtrl* grid = GetGrid();
    return grid ? grid->GetDefaultCell(FALSE, FALSE)->GetHeight() : 0;
}

std::optional<DWORD> CIcomAlphasView::GetRowKey(int row) const {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || row < grid->GetFixedRowCount() || row >= grid->GetRowCount()) return std::nullopt;
    const int position = grid->GetModelRow(row) - 1;
    if (position < 0 || static_cast<size_t>(position) >= m_keys.size()) return std::nullopt;
    return m_keys[static_cast<size_t>(position)];
}

void CIcomAlphasView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    grid->EnableVirtualMode();
    grid->SetCallbackFunc(GetCellData, reinterpret_cast<LPARAM>(this));
    grid->SetFixedRowCount(1);
    grid->SetColumnCount(kColumnCount);
    grid->SetFixedColumnCount(1);
    ApplyColumnTable(kColumns);

    m_keys.Clear();
    m_removedWhileHeld.clear();
    m_bRepaintDue = false;
    const int visible = GetApp().GetVisibleIcomCount();
    if (const CKelvardinDoc* doc = GetDocument()) {
        m_keys.Reserve(doc->GetAlphas().size());
        for (const auto& [key, alpha] : doc->GetAlphas()) {
            if (static_cast<int>(key >> 24) < visible) m_keys.Append(key);
        }
    }
    grid->SetRowCount(static_cast<int>(m_keys.size()) + 1);
    m_nRowsInGrid = m_keys.size();

    CSortMemory& sort = RememberedSort();
    if (sort.column < 0) sort.column = 0;
    ReplaySort(sort.column, sort.ascending);
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

CGridCellBase* CIcomAlphasView::GetCellData(int row, int col, UINT state, LPARAM param,
                                            CGridCtrl* grid) {
    auto* view = reinterpret_cast<CIcomAlphasView*>(param);
    return view ? view->LendCell(row, col, state, grid) : nullptr;
}

CGridCellBase* CIcomAlphasView::LendCell(int row, int col, UINT state, CGridCtrl* grid) {
    if (col < 0 || col >= kColumnCount || row < 0) return nullptr;
    const ColumnDesc& column = kColumns[col];
    const bool header = row == 0;
    if (!header && static_cast<size_t>(row - 1) >= m_keys.size()) return nullptr;
    if (!header &&
        (CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(column.fieldId)) || IsReadOnlyView()))
        state |= CELL_READONLY;

    CKelvardinGridCell& cell = m_cells[m_nNextCell];
    m_nNextCell ^= 1;
    // Lending starts from a fresh cell, so the text is read from the document every time.
    cell.Lend(grid, state);
    if (header) {
        cell.SetObjSpec(CObjSpec(CObjSpec::kNone, 0, CObjSpec::kFieldRecord));
        cell.SetText(LoadResString(column.headerId));
    } else {
        cell.SetObjSpec(
            CObjSpec(column.objectType, m_keys[static_cast<size_t>(row - 1)], column.fieldId));
    }
    return &cell;
}

void CIcomAlphasView::OnColumnClick(int column, int ascending) {
    RememberedSort() = {column, ascending ? TRUE : FALSE};
}

void CIcomAlphasView::UpdateGrid() {
    CCVDataMgr& link = GetHost().GetDataMgr();
    if (GetApp().GetMode() != CAppState::kModeOnline || link.IsUploading()) return;
    // A controller that counts the changes of its alphas says itself when to ask.
    if (GetApp().GetConfig().HasCapability(CCVConfig::kAlphaCounters)) return;
    const int type = GetChosenType();
    const int icom = GetChosenIntercom();
    link.RequestAlphas(type < 0 ? -1 : type, icom < 0 ? -1 : icom);
}

void CIcomAlphasView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || DeferRebuild(lHint)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    const auto object = reinterpret_cast<LPARAM>(hintObject);
    if (hint == CUpdateHint::kAlphaStored) {
        OnAlphaStored(static_cast<DWORD>(object));
        return;
    }
    // Whatever looks at the rows next sees the alphas added so far.
    if (hint != CUpdateHint::kRebuild) AddPendingRows();
    CKelvardinGridView::OnUpdate(sender, lHint, hintObject);
    if (hint == CUpdateHint::kAlphaRemoved) {
        OnAlphaRemoved(static_cast<DWORD>(object));
    } else if (hint == CUpdateHint::kRebuild) {
        // The setup or the configuration changed: the rows are those of the document's alphas.
        CreateGrid();
    } else if (hint == CUpdateHint::kRefresh) {
        RefilterRows();
    }
}

void CIcomAlphasView::OnAlphaStored(DWORD key) {
    // A key listed already is a new label: the row stays and is repainted, and moves when the
    // rows are sorted by their labels.
    if (m_keys.Contains(key)) {
        const CKelvardinGridCtrl* grid = GetGrid();
        if (grid && grid->GetSortColumn() == kAlphaColumn) SortDataChanged();
    } else {
        const CKelvardinDoc* doc = GetDocument();
        if (static_cast<int>(key >> 24) >= GetApp().GetVisibleIcomCount() || !doc ||
            !doc->FindAlpha(key))
            return;
        m_keys.Append(key);
    }
    // A burst of alphas (a file read, an upload) gets its rows and its repaint once, after it.
    m_bRepaintDue = true;
    if (!m_bAddPosted && IsWindow()) {
        m_bAddPosted = true;
        PostMessage(WM_ADD_ALPHA_ROWS);
    }
}

void CIcomAlphasView::AddPendingRows() {
    m_bAddPosted = false;
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || !m_bRepaintDue) return;
    m_bRepaintDue = false;
    // New labels, and new rows that come into view, are painted with the other replies'.
    PaintChangedCells();
    if (m_nRowsInGrid >= m_keys.size()) return;
    const CNoRedrawScope noRedraw(*grid, FALSE);
    // Out of memory (reported by the grid), the rows not made wait for the next burst.
    const int first = grid->AppendRows(static_cast<int>(m_keys.size() - m_nRowsInGrid));
    if (first < 0) return;
    const int icom = GetChosenIntercom();
    const int type = GetChosenType();
    const int height = DefaultRowHeight();
    for (int row = first; row < grid->GetRowCount(); ++row, ++m_nRowsInGrid)
        grid->SetRowHeight(row, AlphaKeyMatches(m_keys[m_nRowsInGrid], icom, type) ? height : 0);
}

void CIcomAlphasView::OnAlphaRemoved(DWORD key) {
    if (AreRowsHeld()) {
        m_removedWhileHeld.push_back(key);
        RowFilterChanged();
        return;
    }
    RemoveRow(key);
}

void CIcomAlphasView::RemoveRow(DWORD key) {
    CKelvardinGridCtrl* grid = GetGrid();
    const int position = m_keys.Find(key);
    if (!grid || position < 0) return;
    m_keys.Remove(key);
    if (static_cast<size_t>(position) >= m_nRowsInGrid) return;
    --m_nRowsInGrid;
    if (const int row = grid->FindDisplayRow(position + 1); row >= grid->GetFixedRowCount())
        grid->DeleteRow(row);
    grid->Invalidate();
}

void CIcomAlphasView::ApplyRowFilter() {
    const CKelvardinDoc* doc = GetDocument();
    // One stored again meanwhile keeps its row.
    for (DWORD key : std::exchange(m_removedWhileHeld, {})) {
        if (!doc || !doc->FindAlpha(key)) RemoveRow(key);
    }
    ApplyChoice();
}

void CIcomAlphasView::ApplyChoice() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const CWaitCursor wait;
    const CNoRedrawScope noRedraw(*grid);
    const int icom = GetChosenIntercom();
    const int type = GetChosenType();
    const int height = DefaultRowHeight();
    for (int row = grid->GetFixedRowCount(); row < grid->GetRowCount(); ++row) {
        const std::optional<DWORD> key = GetRowKey(row);
        const int wanted = key && AlphaKeyMatches(*key, icom, type) ? height : 0;
        if (grid->GetRowHeight(row) != wanted) grid->SetRowHeight(row, wanted);
    }
    grid->KeepFocusOnShownRow();
}

BOOL CIcomAlphasView::OnCmdMsg(UINT id, CCmdUI* update) {
    // Enter on a row opens the type selector's list, which the pane owns.
    if (id != ID_EDIT_CELL) return CKelvardinGridView::OnCmdMsg(id, update);
    if (CView* pane = GetHost().GetCurrentPane()) return pane->OnCmdMsg(id, update);
    return FALSE;
}

LRESULT CIcomAlphasView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ADD_ALPHA_ROWS) {
        AddPendingRows();
        return 0;
    }
    return CKelvardinGridView::WindowProc(message, wParam, lParam);
}

void CIcomAlphasView::OnTimer(UINT_PTR id) {
    if (id != 0 && id == m_timer.m_nCurrentId && GetHost().IsCurrentScreen(*this)) UpdateGrid();
    CKelvardinGridView::OnTimer(id);
}

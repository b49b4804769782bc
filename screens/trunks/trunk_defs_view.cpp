#include "screens/trunks/trunk_defs_view.h"

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_messages.h"
#include "screens/trunks/trunk_defs_host.h"

namespace {

// Whether a reply may put a trunk's ends on other intercoms.
bool MovesTrunkEnds(CUpdateHint hint) {
    return hint.IsReply(kCmdTrunkDefs) || hint.IsReply(kCmdRemoteTrunking);
}

}  // namespace

CTrunkDefsView::CTrunkDefsView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"TrunkDefinitionColumnWidths";
}

CTrunkDefsView::~CTrunkDefsView() {
    for (CWndTimer* timer : {&m_statusTimer, &m_defsTimer, &m_remTrunkingTimer})
        timer->Stop();
    // The grid asks for cells while it goes: the window goes while they are still here.
    DestroyWindow();
}

ITrunkDefsHost* CTrunkDefsView::GetTrunkHost() {
    return dynamic_cast<ITrunkDefsHost*>(&GetHost());
}

int CTrunkDefsView::GetFilterIntercom() const {
    // "Several intercoms" arrives as a negative word: it shows every trunk, as "all" does.
    const int filter = static_cast<int>(GetHost().GetViewContext(kScreen).m_params[0]);
    return filter > 0 ? filter - 1 : -1;
}

CGridCellBase* CTrunkDefsView::GetCellData(int row, int col, UINT state, LPARAM param,
                                           CGridCtrl* grid) {
    auto* view = reinterpret_cast<CTrunkDefsView*>(param);
    if (!view || !grid) return nullptr;
    // The screen lends its cells to its own grid only, which is a screen grid.
    return view->m_cells.Lend(row, col, state, static_cast<CKelvardinGridCtrl&>(*grid),
                              view->IsReadOnlyView() != FALSE);
}

void CTrunkDefsView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    grid->EnableVirtualMode();
    grid->SetCallbackFunc(&CTrunkDefsView::GetCellData, reinterpret_cast<LPARAM>(this));
    const int trunks = GetApp().GetVisibleTrunkCount();
    grid->SetRowCount(1 + trunks);
    grid->SetColumnCount(kTrunkColumnCount);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    m_cells.Reset(trunks);
    const auto& columns = TrunkColumns();
    for (int col = 0; col < kTrunkColumnCount; ++col)
        grid->SetColumnCompareFunction(col, columns[static_cast<size_t>(col)].compare);
    if (!GetApp().GetConfig().HasCapability(CCVConfig::kOOSTrunks)) {
        for (int col = kTrunkColumnCount - 1; col >= 0; --col) {
            if (columns[static_cast<size_t>(col)].field != CTrunk::kFieldOutOfService) continue;
            grid->DeleteColumn(col);
            m_cells.EraseColumn(col);
        }
    }
    if (m_nSortColumn < 0) m_nSortColumn = 0;
    ReplaySort(m_nSortColumn, m_bSortAscending);
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CTrunkDefsView::OnColumnClick(int column, int ascending) {
    // The grid tells before it sorts: the texts are read afresh for every sort.
    m_cells.ForgetSortTexts();
    m_nSortColumn = column;
    m_bSortAscending = ascending;
}

void CTrunkDefsView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    const CScreenTiming& timing = GetHost().GetScreenTiming();
    m_statusTimer.Start(this, timing.trunkDefsStatusPollMs);
    m_defsTimer.Start(this, timing.trunkDefsPollMs);
    m_remTrunkingTimer.Start(this, timing.trunkDefsRemTrunkingPollMs);
}

bool CTrunkDefsView::MayPoll() const {
    return GetApp().GetMode() == CAppState::kModeOnline && !GetHost().GetDataMgr().IsUploading();
}

void CTrunkDefsView::RefreshTrunkStatus() {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (MayPoll() && !data.IsTrunkStatusPending()) data.RefreshTrunkStatus(-1);
}

void CTrunkDefsView::RefreshTrunkDefs() {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (MayPoll() && !data.IsTrunkDefsPending()) data.RefreshTrunkDefs();
}

void CTrunkDefsView::RefreshRemTrunking() {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (MayPoll() && !data.IsRemTrunkingPending()) data.RefreshRemTrunking();
}

void CTrunkDefsView::UpdateGrid() {
    RefreshTrunkStatus();
    RefreshTrunkDefs();
    RefreshRemTrunking();
}

void CTrunkDefsView::OnTimer(UINT_PTR id) {
    if (id == 0 || !GetHost().IsCurrentScreen(*this)) return;
    if (id == m_statusTimer.m_nCurrentId) {
        RefreshTrunkStatus();
    } else if (id == m_defsTimer.m_nCurrentId) {
        RefreshTrunkDefs();
    } else if (id == m_remTrunkingTimer.m_nCurrentId) {
        RefreshRemTrunking();
    }
    CKelvardinGridView::OnTimer(id);
}

void CTrunkDefsView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!TakeHint(sender, lHint, hintObject)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRefresh) {
        RefilterRows();
    } else if (hint.IsReply(kCmdClearAllocations) || hint.IsReply(kCmdClearAllocationsEx) ||
               hint.IsReply(kCmdTrunkMode)) {
        // Allocations cleared, or a trunk set to maintenance or normal mode.
        RefreshTrunkStatus();
    } else if (MovesTrunkEnds(hint) && GetFilterIntercom() >= 0) {
        // Trunks may have moved onto the intercom shown, or off it.
        RowFilterChanged();
    }
}

void CTrunkDefsView::ApplyFilter() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const CKelvardinDoc* doc = GetDocument();
    CWaitCursor wait;
    // A hidden row has height 0: the grid keeps its rows, and a new filter is a pass over the
    // heights. Drawing stays as the caller had it (off while the grid is being built).
    const BOOL drawing = grid->IsDrawingAllowed();
    grid->SetRedraw(FALSE);
    const int icom = GetFilterIntercom();
    const int height = grid->GetDefaultCell(FALSE, FALSE)->GetHeight();
    const int fixed = grid->GetFixedRowCount();
    for (int row = fixed; row < grid->GetRowCount(); ++row) {
        const int trunk = grid->GetModelRow(row) - fixed;
        const int now = grid->GetRowHeight(row);
        if (icom < 0 || (doc && doc->IsTrunkLinkedToIcom(trunk, icom))) {
            if (height >= 0 && now != height) grid->SetRowHeight(row, height);
        } else if (now != 0) {
            grid->SetRowHeight(row, 0);
        }
    }
    grid->SetRedraw(drawing);
    grid->ResetScrollBars();
    grid->KeepFocusOnShownRow();
}

BOOL CTrunkDefsView::OnCmdMsg(UINT id, CCmdUI* update) {
    switch (id) {
        case ID_EDIT_CELL:
            if (update) {
                update->Enable(TRUE);
            } else {
                OnEditSelectedCell();
            }
            return TRUE;
        case ID_CLEAR_ALLOCATIONS:
        case ID_MAINT_MODE:
        case ID_NORMAL_MODE: {
            ITrunkDefsHost* host = GetTrunkHost();
            // Maintenance mode is the main window's to set: the commands wait for it.
            const bool carried =
                id == ID_CLEAR_ALLOCATIONS || (host && host->IsCommandAvailable(id));
            const bool enabled = GetApp().IsCommandEnabled(id) && carried;
            if (update) {
                update->Enable(enabled);
            } else if (enabled && id == ID_CLEAR_ALLOCATIONS) {
                GetHost().ClearAllocations(-1);
            } else if (enabled && id == ID_MAINT_MODE) {
                host->SetMaintenanceMode(-1);
            } else if (enabled) {
                host->ClearMaintenanceMode(-1);
            }
            return TRUE;
        }
        default: return CKelvardinGridView::OnCmdMsg(id, update);
    }
}

LRESULT CTrunkDefsView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SCREEN_HAS_CHANGES) {
        const CKelvardinDoc* doc = GetDocument();
        return doc && doc->FindModifiedTrunk() != -1 ? 1 : 0;
    }
    return CKelvardinGridView::WindowProc(message, wParam, lParam);
}

void CTrunkDefsView::ClearAllChanges() {
    if (CKelvardinDoc* doc = GetDocument()) doc->ClearAllModified(CObjSpec::kTrunk);
}

int CTrunkDefsView::GetSelectedTrunk() {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || grid->GetSelectedCount() < 1) return -1;
    const CCellID focus = grid->GetFocusCell();
    if (!grid->IsValid(focus)) return -1;
    const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid->GetCell(focus.row, focus.col));
    if (!cell || cell->GetObjSpec().m_nType != CObjSpec::kTrunk) return -1;
    const CCellRange range = grid->GetSelectedCellRange();
    if (!range.IsValid() || range.GetMinRow() != range.GetMaxRow()) return -1;
    return cell->GetObjSpec().GetIndex();
}

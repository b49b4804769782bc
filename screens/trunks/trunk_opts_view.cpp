#include "screens/trunks/trunk_opts_view.h"

#include <vector>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_messages.h"
#include "screens/cells/bool_grid_cell.h"
#include "screens/cells/kelvardin_grid_cell.h"

namespace {

// Without trunk supervision the one row has help ids of its own.
constexpr DWORD kHelpOffsetTimeoutOnly = 0x100;
constexpr int kValueColumn = 1;

struct COptionRow {
    UINT label;
    DWORD field;
    const CCellClass* cellClass;
};

std::vector<COptionRow> OptionRows(const CAppState& app) {
    if (!app.GetConfig().HasFlag(CCVConfig::kTksupvSupport))
        return {{kIdsTimeoutSeconds, COptions::kFieldTimeout, CellClassOf<CKelvardinGridCell>()}};
    const UINT timeout = app.IsSecondsMode() ? kIdsTimeoutSeconds : kIdsTimeoutMinutes;
    return {
        {timeout, COptions::kFieldTimeout, CellClassOf<CKelvardinGridCell>()},
        {kIdsAutoClear, COptions::kFieldAutoClear, CellClassOf<CBoolGridCell>()},
        {kIdsWaitForTalkKey, COptions::kFieldWaitForTalkKey, CellClassOf<CBoolGridCell>()},
    };
}

}  // namespace

CTrunkOptsView::CTrunkOptsView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"TrunkOptionColumnWidths";
}

CTrunkOptsView::~CTrunkOptsView() {
    m_timer.Stop();
}

DWORD CTrunkOptsView::GetHelpID() {
    return 0x20000 + ID_VIEW_TRUNK_OPTIONS;
}

void CTrunkOptsView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    m_timer.Start(this, GetHost().GetScreenTiming().trunkOptsPollMs);
}

void CTrunkOptsView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const CAppState& app = GetApp();
    const std::vector<COptionRow> rows = OptionRows(app);
    m_nHelpOffset = app.GetConfig().HasFlag(CCVConfig::kTksupvSupport) ? 0 : kHelpOffsetTimeoutOnly;

    grid->SetHeaderSort(FALSE);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowCount(static_cast<int>(rows.size()) + 1);
    grid->SetColumnCount(2);

    grid->SetItemText(0, 0, LoadResString(kIdsOptionHeading));
    grid->SetItemText(0, kValueColumn, LoadResString(kIdsValueHeading));
    for (int row = 0; row < grid->GetRowCount(); ++row)
        grid->SetItemFormat(row, kValueColumn, grid->GetItemFormat(row, kValueColumn) | DT_CENTER);

    for (size_t i = 0; i < rows.size(); ++i) {
        const COptionRow& option = rows[i];
        const int row = static_cast<int>(i) + 1;
        grid->SetCellType(row, kValueColumn, option.cellClass);
        grid->SetItemText(row, 0, LoadResString(option.label));
        auto* cell = dynamic_cast<CKelvardinGridCell*>(grid->GetCell(row, kValueColumn));
        if (!cell) continue;
        if (CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(option.field)) || IsReadOnlyView())
            grid->SetItemState(row, kValueColumn,
                               grid->GetItemState(row, kValueColumn) | CELL_READONLY);
        cell->SetObjSpec(COptionSpec(option.field));
        cell->SetAltObjSpec(CObjSpec(CObjSpec::kNone, 0, 0));
        cell->SetBorders(0);
        if (option.field == COptions::kFieldTimeout) cell->SetDigitsOnly(true, false);
    }

    grid->AutoSize();
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CTrunkOptsView::UpdateGrid() {
    CCVDataMgr& dataMgr = GetHost().GetDataMgr();
    if (GetApp().GetMode() != CAppState::kModeOnline || dataMgr.IsUploading() ||
        !dataMgr.IsOnline())
        return;
    dataMgr.RefreshOptions();
}

void CTrunkOptsView::ClearAllChanges() {
    if (CKelvardinDoc* doc = GetDocument()) doc->ClearAllModified(CObjSpec::kOptions);
}

void CTrunkOptsView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!TakeHint(sender, lHint, hintObject)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint == CUpdateHint::kRefresh || hint.IsReply(kCmdDynamicAlloc)) FollowDynamicAllocation();
}

void CTrunkOptsView::FollowDynamicAllocation() {
    CKelvardinGridCtrl& grid = *GetGrid();
    const CKelvardinDoc* doc = GetDocument();
    const bool dynamic = doc && doc->GetDynamicAllocMode();
    for (DWORD field : {COptions::kFieldTimeout, COptions::kFieldAutoClear}) {
        CCellID cell;
        grid.FindCellForObject(cell, COptionSpec(field), CObjSpec());
        if (!grid.IsValid(cell)) continue;
        const UINT state = grid.GetItemState(cell.row, cell.col);
        grid.SetItemState(cell.row, cell.col,
                          dynamic ? state | CELL_READONLY : state & ~UINT{CELL_READONLY});
    }
}

DWORD CTrunkOptsView::OnHelpHitTest(CPoint point) {
    const DWORD helpId = GetHelpID();
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return helpId;
    const CCellID cell = grid->GetCellFromPt(point, TRUE);
    if (cell.row < 0 || cell.col < 0) return helpId;
    // Unsigned 32-bit arithmetic: the high half of the help id is shifted out.
    return (helpId << 16) + static_cast<DWORD>(cell.row) + 1u;
}

LRESULT CTrunkOptsView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SCREEN_HAS_CHANGES) {
        const CKelvardinDoc* doc = GetDocument();
        return doc && doc->FindModifiedOptions() != -1 ? 1 : 0;
    }
    return CKelvardinGridView::WindowProc(message, wParam, lParam);
}

void CTrunkOptsView::OnTimer(UINT_PTR id) {
    if (!GetHost().IsCurrentScreen(*this)) return;
    if (m_timer.IsRunning() && id == m_timer.m_nCurrentId) UpdateGrid();
    CKelvardinGridView::OnTimer(id);
}

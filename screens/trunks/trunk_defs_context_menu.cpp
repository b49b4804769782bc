// The trunk definitions' context menu: what the selection stands for, and its commands.
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/edit_scopes.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_ids.h"
#include "screens/trunks/trunk_defs_host.h"
#include "screens/trunks/trunk_defs_view.h"

using namespace trunk_menu;

std::optional<CTrunkMenuState> CTrunkDefsView::ReadSelection(const NM_GRIDVIEW& record) {
    const CKelvardinGridCtrl& grid = *GetGrid();
    CKelvardinDoc* doc = GetDocument();
    const auto* cell =
        dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(record.iRow, record.iColumn));
    if (!doc || !cell) return std::nullopt;
    const CObjSpec obj = cell->GetObjSpec();
    const CAppState& app = GetApp();

    CTrunkMenuState s;
    s.field = obj.m_nFieldId;
    s.single = grid.GetSelectedCount() == 1;
    int firstRow = record.iRow;
    int lastRow = record.iRow;
    if (s.single) {
        if (obj.m_nType != CObjSpec::kTrunk) return std::nullopt;
        s.trunk = obj.GetIndex();
        if (s.field >= CTrunk::kFieldEnd1 && s.field <= CTrunk::kFieldFixed2) {
            s.icom = static_cast<int>(doc->GetTrunkValue(obj) >> 24);
            s.hasAssign = true;
        } else if (s.field > CTrunk::kFieldOutOfService) {
            return std::nullopt;
        }
    } else {
        const CCellRange range = grid.GetSelectedCellRange();
        if (!range.IsValid()) return std::nullopt;
        // Rows of the Fixed or Cascadable column take the flag together; anything wider has no
        // trunk unless it lies in one row.
        const bool flags = s.field == CTrunk::kFieldFixed || s.field == CTrunk::kFieldCascadable;
        if (range.GetMinCol() == range.GetMaxCol() && flags) {
            firstRow = range.GetMinRow();
            lastRow = range.GetMaxRow();
        } else {
            s.field = 0;
        }
        if (range.GetMinRow() == range.GetMaxRow() && obj.m_nType == CObjSpec::kTrunk)
            s.trunk = obj.GetIndex();
    }
    m_menuTrunks = SelectedTrunks(record.iColumn, firstRow, lastRow);

    if (s.icom >= app.GetVisibleIcomCount()) s.icom = -1;
    if (s.icom >= 0)
        s.icomName = doc->GetIcomText(s.icom, app.GetConfig().m_nAlphaSize, TRUE, FALSE);
    s.online = app.GetMode() == CAppState::kModeOnline;
    s.selectionHasChanges = SelectionHasChanges() != FALSE;
    s.maintenanceAllowed =
        app.m_bAllowMaintenanceMode && app.GetConfig().HasFlag(CCVConfig::kTksupvSupport);
    if (s.trunk >= 0) {
        s.inMaintenance = doc->IsTrunkInMaintenance(s.trunk) != 0;
        s.fixed = doc->GetTrunkFixed(s.trunk) != FALSE;
        s.cascadable = doc->GetTrunkCascadable(s.trunk) != FALSE;
        s.fixedAssignValid = doc->GetTrunkFixedAssign(s.trunk, TRUE).IsValid() ||
                             doc->GetTrunkFixedAssign(s.trunk, FALSE).IsValid();
    }
    return s;
}

std::vector<int> CTrunkDefsView::SelectedTrunks(int col, int firstRow, int lastRow) const {
    const CKelvardinGridCtrl& grid = *GetGrid();
    std::vector<int> trunks;
    for (int row = firstRow; row <= lastRow; ++row) {
        // A row the filter hides is left alone, as Delete leaves it.
        if (!grid.IsCellSelected(row, col) || grid.GetRowHeight(row) <= 0) continue;
        const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(row, col));
        if (cell && cell->GetObjSpec().m_nType == CObjSpec::kTrunk)
            trunks.push_back(cell->GetObjSpec().GetIndex());
    }
    return trunks;
}

LRESULT CTrunkDefsView::OnGridRClick(NM_GRIDVIEW* record) {
    if (!record || !GetGrid() || GetGrid()->GetSelectedCount() < 1) return 0;
    const std::optional<CTrunkMenuState> state = ReadSelection(*record);
    if (!state) return 0;
    m_menu = *state;
    ITrunkDefsHost* host = GetTrunkHost();
    const CPopupMenu menu = BuildTrunkDefsMenu(
        m_menu, [host](UINT command) { return host && host->IsCommandAvailable(command); });
    if (menu.GetItems().empty()) return 0;
    OnMenuCommand(TrackPopupMenu(menu, GetContextMenuPoint(record), GetHost().GetWindow()));
    return 0;
}

void CTrunkDefsView::OnMenuCommand(UINT command) {
    IScreenHost& host = GetHost();
    ITrunkDefsHost* trunkHost = GetTrunkHost();
    const int icom = m_menu.icom;
    const int trunk = m_menu.trunk;
    switch (command) {
        case kViewDefinitions: ShowTrunksOf(icom); break;
        case kViewSummary:
            host.GetViewContext(kScreenTrunkSummary).m_params[0] = static_cast<DWORD>(icom + 1);
            host.PostCommand(ID_VIEW_TRUNK_SUMMARY);
            break;
        case kViewSetup: host.PostCommand(ID_VIEW_ICOM_SETUP); break;
        case kViewStatus: host.PostCommand(ID_VIEW_ICOM_STATUS); break;
        case kViewAlphas:
            host.GetViewContext(kScreenIcomAlphas).m_params[0] = static_cast<DWORD>(icom);
            host.GetViewContext(kScreenIcomAlphas).m_params[1] = static_cast<DWORD>(-1);
            host.PostCommand(ID_VIEW_ICOM_ALPHAS);
            break;
        case kClearChanges: host.PostCommand(ID_CANCEL_CHANGES); break;
        case kInspect:
            host.GetViewContext(kScreenTrunkInspect).m_params[0] = static_cast<DWORD>(trunk);
            host.PostCommand(ID_VIEW_TRUNK_INSPECT);
            break;
        case kMaintenance:
            if (trunkHost) trunkHost->SetMaintenanceMode(trunk);
            break;
        case kNormal:
            if (trunkHost) trunkHost->ClearMaintenanceMode(trunk);
            break;
        case kClearAllocations: host.ClearAllocations(icom); break;
        case kSetFixed:
        case kClearFixed: EditSelectedFlags(CTrunk::kFieldFixed, command == kSetFixed); break;
        case kSetCascade:
        case kClearCascade:
            EditSelectedFlags(CTrunk::kFieldCascadable, command == kSetCascade);
            break;
        case kChooseAssignment: OnEditSelectedCell(); break;
        default: break;
    }
}

void CTrunkDefsView::ShowTrunksOf(int icom) {
    if (icom < 0 || icom == GetFilterIntercom()) return;
    IScreenHost& host = GetHost();
    host.PushHistory(host.GetViewContext(kScreen));
    host.GetViewContext(kScreen).m_params[0] = static_cast<DWORD>(icom + 1);
    if (CKelvardinDoc* doc = GetDocument()) doc->UpdateAllFrameViews(this, CUpdateHint::kSelection);
    // The rows follow the new filter here, whether or not a selector pane answers the hint.
    ApplyFilter();
    UpdateGrid();
}

void CTrunkDefsView::EditSelectedFlags(DWORD field, bool set) {
    CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    bool changed = false;
    {
        const CUndoGroupScope group;
        for (int trunk : m_menuTrunks) {
            changed |= doc->SetObjectField(CTrunkSpec(trunk, field), set ? u"1" : u"0", TRUE,
                                           CObjSpec::Plain()) != 0;
        }
    }
    // A refusal's message box ran the event loop: the grid is found again.
    if (!changed || !GetGrid()) return;
    GetGrid()->Refresh();
    // The flags may be what the rows are sorted by.
    SortDataChanged();
}

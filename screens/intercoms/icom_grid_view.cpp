#include "screens/intercoms/icom_grid_view.h"

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/base/screen_ids.h"
#include "screens/cells/kelvardin_grid_cell.h"

namespace {

UINT PollInterval(const CScreenTiming& timing, IcomPoll poll) {
    switch (poll) {
        case IcomPoll::kSetup: return timing.icomSetupPollMs;
        case IcomPoll::kStatus: return timing.icomStatusPollMs;
        case IcomPoll::kErrors: return timing.icomErrorsPollMs;
        case IcomPoll::kRemTrunking: return timing.icomRemTrunkingPollMs;
    }
    return timing.icomStatusPollMs;
}

}  // namespace

bool IsColumnShown(IcomColumnNeed need, const CCVConfig& config) {
    switch (need) {
        case IcomColumnNeed::kAlways: return true;
        case IcomColumnNeed::kSingleName: return !config.HasFlag(CCVConfig::kNewCorvane);
        case IcomColumnNeed::kNameLengths: return config.HasFlag(CCVConfig::kNewCorvane);
        case IcomColumnNeed::kWideName: return config.HasFlag(CCVConfig::kUnicodeSupport);
        case IcomColumnNeed::kEthernet: return config.HasCapability(CCVConfig::kEthernetToMC);
        case IcomColumnNeed::kCascadeCosts: return config.HasCapability(CCVConfig::kCascadeCosts);
        case IcomColumnNeed::kEnhancedStatus: return config.HasFlag(CCVConfig::kEnhancedStatus);
        case IcomColumnNeed::kPlainStatus: return !config.HasFlag(CCVConfig::kEnhancedStatus);
        case IcomColumnNeed::kTwoCVs: return config.HasCapability(CCVConfig::kTwoCVsSupport);
    }
    return false;
}

CIcomGridView::CIcomGridView(IScreenHost& host, std::vector<IcomPoll> polls)
    : CKelvardinGridView(host) {
    for (IcomPoll poll : polls)
        m_timers.push_back({poll, std::make_unique<CWndTimer>()});
}

CIcomGridView::~CIcomGridView() {
    // The timers' windows are children of the view's: they go before it.
    m_timers.clear();
}

void CIcomGridView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const std::span<const CIcomColumn> table = ColumnTable();
    const int columns = static_cast<int>(table.size());
    const int rows = GetApp().GetVisibleIcomCount() + 1;
    grid->SetRowCount(rows);
    grid->SetColumnCount(columns);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);

    std::vector<ColumnDesc> descs;
    for (const CIcomColumn& column : table)
        descs.push_back({column.headerId, column.leftBorder, CObjSpec::kIntercom, column.fieldId,
                         column.cellClass ? column.cellClass() : nullptr, column.compare});
    ApplyColumnTable(descs);

    const BOOL readOnlyView = IsReadOnlyView();
    for (int col = 0; col < columns; ++col) {
        const CIcomColumn& column = table[static_cast<size_t>(col)];
        const bool readOnly =
            col > 0 &&
            (readOnlyView || CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(column.fieldId)));
        const bool digitsOnly = column.fieldId == CIntercom::kFieldComPort ||
                                column.fieldId == CIntercom::kFieldCascadeCost;
        for (int row = 1; row < rows; ++row) {
            auto* cell = dynamic_cast<CKelvardinGridCell*>(grid->GetCell(row, col));
            if (!cell) continue;
            cell->SetObjSpec(CIcomSpec(row - 1, column.fieldId));
            if (column.leftBorder) cell->SetBorders(CKelvardinGridCell::kBorderLeft);
            if (digitsOnly) cell->SetDigitsOnly(true);
            if (readOnly)
                grid->SetItemState(row, col, grid->GetItemState(row, col) | CELL_READONLY);
        }
    }

    // From the last column back, so that the positions still to be tested stay where they are.
    const CCVConfig& config = GetApp().GetConfig();
    for (int col = columns - 1; col >= 0; --col) {
        if (!IsColumnShown(table[static_cast<size_t>(col)].need, config)) grid->DeleteColumn(col);
    }

    if (m_nSortColumn < 0) m_nSortColumn = DefaultSortColumn();
    ReplaySort(m_nSortColumn, m_bSortAscending);
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CIcomGridView::OnColumnClick(int column, int ascending) {
    m_nSortColumn = column;
    m_bSortAscending = ascending ? TRUE : FALSE;
}

void CIcomGridView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    const CScreenTiming& timing = GetHost().GetScreenTiming();
    for (CRunningTimer& running : m_timers)
        running.timer->Start(this, PollInterval(timing, running.poll));
}

void CIcomGridView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!TakeHint(sender, lHint, hintObject)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint.IsReply() && GetHost().IsCurrentScreen(*this)) OnReplyHint(hint);
}

void CIcomGridView::OnTimer(UINT_PTR id) {
    for (const CRunningTimer& running : m_timers) {
        if (id != 0 && running.timer->m_nCurrentId == id && GetHost().IsCurrentScreen(*this))
            Poll(running.poll);
    }
    CKelvardinGridView::OnTimer(id);
}

const CWndTimer* CIcomGridView::GetPollTimer(IcomPoll poll) const {
    for (const CRunningTimer& running : m_timers) {
        if (running.poll == poll) return running.timer.get();
    }
    return nullptr;
}

bool CIcomGridView::IsOnline() const {
    return GetApp().GetMode() == CAppState::kModeOnline;
}

void CIcomGridView::Poll(IcomPoll poll) {
    CCVDataMgr& mgr = GetHost().GetDataMgr();
    if (!IsOnline() || mgr.IsUploading()) return;
    switch (poll) {
        case IcomPoll::kSetup:
            if (!mgr.IsIcomSetupPending()) mgr.RefreshIcomSetup();
            break;
        case IcomPoll::kStatus:
            if (!mgr.IsIcomStatusPending()) mgr.RefreshIcomStatus();
            break;
        case IcomPoll::kErrors:
            if (!mgr.IsIcomErrorsPending()) mgr.RefreshIcomErrors();
            break;
        case IcomPoll::kRemTrunking:
            if (!mgr.IsRemTrunkingPending()) mgr.RefreshRemTrunking();
            break;
    }
}

bool CIcomGridView::SelectedIntercoms(const NM_GRIDVIEW& record, CIcomSelection& selection) const {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || grid->GetSelectedCount() == 0) return false;
    const int visible = GetApp().GetVisibleIcomCount();
    const auto intercomOf = [&](int row, int col) {
        const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid->GetCell(row, col));
        if (!cell || cell->GetObjSpec().m_nType != CObjSpec::kIntercom) return -1;
        const int icom = cell->GetObjSpec().GetIndex();
        return icom >= 0 && icom < visible ? icom : -1;
    };
    std::vector<int> icoms;
    const CCellRange range = grid->GetSelectedCellRange();
    if (grid->GetSelectedCount() > 1 && range.GetMinRow() != range.GetMaxRow()) {
        for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
            for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
                const int icom = grid->IsCellSelected(row, col) ? intercomOf(row, col) : -1;
                if (icom >= 0) icoms.push_back(icom);
            }
        }
    } else {
        // The cell clicked decides: a header stands for every intercom.
        const auto* cell =
            dynamic_cast<const CKelvardinGridCell*>(grid->GetCell(record.iRow, record.iColumn));
        if (!cell) return false;
        if (cell->GetObjSpec().m_nType == CObjSpec::kNone) {
            for (int icom = 0; icom < visible; ++icom)
                icoms.push_back(icom);
        } else if (const int icom = intercomOf(record.iRow, record.iColumn); icom >= 0) {
            icoms.push_back(icom);
        }
    }
    if (icoms.empty()) return false;
    selection = CIcomSelection::Of(std::move(icoms), visible);
    return true;
}

LRESULT CIcomGridView::OnGridRClick(NM_GRIDVIEW* record) {
    const CKelvardinDoc* doc = GetDocument();
    CIcomSelection selection;
    if (!doc || !record || !SelectedIntercoms(*record, selection)) return 0;
    const CPopupMenu menu = ContextMenu(*doc, selection);
    const UINT command = TrackPopupMenu(menu, GetContextMenuPoint(record), GetWidget());
    if (command != 0) OnMenuCommand(command, selection);
    return 0;
}

bool CIcomGridView::RunViewCommand(UINT command, const CIcomSelection& selection) {
    // One screen shows one intercom or all of them.
    const int icom = selection.IsSingle() ? selection.index : CIcomSelection::kAll;
    IScreenHost& host = GetHost();
    switch (command) {
        case ID_ICOM_VIEW_SUMMARY:
            host.GetViewContext(kScreenTrunkSummary).m_params[0] = static_cast<DWORD>(icom + 1);
            host.PostCommand(ID_VIEW_TRUNK_SUMMARY);
            return true;
        case ID_ICOM_VIEW_DEFS:
            host.GetViewContext(kScreenTrunkDefs).m_params[0] = static_cast<DWORD>(icom + 1);
            host.PostCommand(ID_VIEW_TRUNK_DEFS);
            return true;
        case ID_ICOM_VIEW_SETUP: host.PostCommand(ID_VIEW_ICOM_SETUP); return true;
        case ID_ICOM_VIEW_STATUS: host.PostCommand(ID_VIEW_ICOM_STATUS); return true;
        case ID_ICOM_VIEW_ALPHAS: {
            CContext& alphas = host.GetViewContext(kScreenIcomAlphas);
            alphas.m_params[0] = static_cast<DWORD>(icom);
            alphas.m_params[1] = static_cast<DWORD>(-1);  // every alpha type
            host.PostCommand(ID_VIEW_ICOM_ALPHAS);
            return true;
        }
        default: return false;
    }
}

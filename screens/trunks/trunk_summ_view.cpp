#include "screens/trunks/trunk_summ_view.h"

#include <array>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/bit_array.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/popup_menu.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/cells/cell_compare.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "screens/intercoms/icom_menu.h"

namespace {

constexpr DWORD kFieldNumber = 1;
constexpr DWORD kFieldName = 66;
constexpr DWORD kFieldOutOfService = 1101;
// Five blocks of 255 fields, one per count, each by the intercom the trunks go to.
constexpr DWORD kFirstCount = 81;
constexpr DWORD kCountBlock = 255;
constexpr DWORD kLastCount = kFirstCount + 5 * kCountBlock - 1;
constexpr int kPlaceholder = -2;

constexpr DWORD kHelpId = 0x28016;

const std::array<ColumnDesc, 7> kColumns = {{
    {2289, false, CObjSpec::kIntercom, kFieldNumber, nullptr, CompareCellNumbers},
    {2290, false, CObjSpec::kIntercom, kFieldName, nullptr, CompareCellText},
    {2306, false, CObjSpec::kIntercom, kFirstCount, nullptr, CompareCellNumbers},
    {2307, false, CObjSpec::kIntercom, kFirstCount + kCountBlock, nullptr, CompareCellNumbers},
    {2308, false, CObjSpec::kIntercom, kFirstCount + 2 * kCountBlock, nullptr, CompareCellNumbers},
    {2309, false, CObjSpec::kIntercom, kFirstCount + 3 * kCountBlock, nullptr, CompareCellNumbers},
    {5506, false, CObjSpec::kIntercom, kFieldOutOfService, nullptr, CompareCellNumbers},
}};

bool IsCountField(DWORD field) {
    return field >= kFirstCount && field <= kLastCount;
}

}  // namespace

CTrunkSummView::CTrunkSummView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"TrunkSummaryColumnWidths";
}

CTrunkSummView::~CTrunkSummView() {
    m_timer.Stop();
}

int CTrunkSummView::GetSelection() const {
    return static_cast<int>(GetHost().GetViewContext(kScreen).m_params[0]);
}

int CTrunkSummView::MapRowIndex(int index) const {
    // The document reads the counts of an intercom's table, or with -1 the controller's own.
    return index < 0 ? GetSelection() - 1 : index;
}

DWORD CTrunkSummView::GetHelpID() {
    return kHelpId;
}

void CTrunkSummView::OnColumnClick(int column, int ascending) {
    m_nSortColumn = column;
    m_bSortAscending = ascending;
}

int CTrunkSummView::IntercomOfCell(const CGridCellBase* cell) {
    const auto* screenCell = dynamic_cast<const CKelvardinGridCell*>(cell);
    if (!screenCell || screenCell->GetObjSpec().m_nType != CObjSpec::kIntercom) return -1;
    const CObjSpec& obj = screenCell->GetObjSpec();
    // The out-of-service counts take part like the other four.
    if (IsCountField(obj.m_nFieldId))
        return static_cast<int>((obj.m_nFieldId - kFirstCount) % kCountBlock);
    if (obj.m_nFieldId == kFieldNumber || obj.m_nFieldId == kFieldName) return obj.GetIndex();
    return -1;
}

void CTrunkSummView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const int icoms = GetApp().GetVisibleIcomCount();
    grid->SetRowCount(1 + icoms);
    grid->SetColumnCount(static_cast<int>(kColumns.size()));
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    ApplyColumnTable(kColumns);
    for (int col = 0; col < static_cast<int>(kColumns.size()); ++col) {
        const DWORD field = kColumns[static_cast<size_t>(col)].fieldId;
        const bool readOnly =
            col > 0 &&
            (CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(field)) || IsReadOnlyView());
        for (int row = 1; row <= icoms; ++row) {
            auto* cell = dynamic_cast<CKelvardinGridCell*>(grid->GetCell(row, col));
            if (!cell) continue;
            const int icom = row - 1;
            if (readOnly)
                grid->SetItemState(row, col, grid->GetItemState(row, col) | CELL_READONLY);
            if (field == kFieldNumber || field == kFieldName) {
                cell->SetObjSpec(CIcomSpec(icom, field));
            } else {
                cell->SetObjSpec(CIcomSpec(kPlaceholder, field + static_cast<DWORD>(icom)));
            }
            cell->SetAltObjSpec(CObjSpec(CObjSpec::kNone, 0, 0));
            cell->SetBorders(0);
        }
    }
    if (!GetApp().GetConfig().HasCapability(CCVConfig::kOOSTrunks)) {
        for (int col = static_cast<int>(kColumns.size()) - 1; col >= 0; --col) {
            if (kColumns[static_cast<size_t>(col)].fieldId == kFieldOutOfService)
                grid->DeleteColumn(col);
        }
    }
    if (m_nSortColumn < 0) m_nSortColumn = GetApp().m_bSortIntercomsByIntercomNumber ? 0 : 1;
    ReplaySort(m_nSortColumn, m_bSortAscending);
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CTrunkSummView::UpdateGrid() {
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (GetApp().GetMode() != CAppState::kModeOnline || data.IsUploading() || !data.IsOnline())
        return;
    const int selection = GetSelection();
    if (selection >= 0) data.RequestTrunkSummary(selection);
}

void CTrunkSummView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    m_timer.Start(this, GetHost().GetScreenTiming().trunkSummPollMs);
}

void CTrunkSummView::OnTimer(UINT_PTR id) {
    if (!GetHost().IsCurrentScreen(*this)) return;
    if (id == m_timer.m_nCurrentId) UpdateGrid();
    CKelvardinGridView::OnTimer(id);
}

void CTrunkSummView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!TakeHint(sender, lHint, hintObject)) return;
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint.IsReply(kCmdClearAllocations) || hint.IsReply(kCmdClearAllocationsEx)) UpdateGrid();
}

BOOL CTrunkSummView::OnNotify(WPARAM id, NMHDR* header, LRESULT* result) {
    if (id == kGridId && header && header->code == NM_DBLCLK) {
        if (result) *result = 0;
        OnGridDblClick(*reinterpret_cast<NM_GRIDVIEW*>(header));
        return TRUE;
    }
    return CKelvardinGridView::OnNotify(id, header, result);
}

void CTrunkSummView::OnGridDblClick(const NM_GRIDVIEW& record) {
    const CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const int icom = IntercomOfCell(grid->GetCell(record.iRow, record.iColumn));
    if (icom >= 0) Select(icom);
}

void CTrunkSummView::Select(int icom) {
    if (icom == GetSelection() - 1) return;
    IScreenHost& host = GetHost();
    host.PushHistory(host.GetViewContext(kScreen));
    host.GetViewContext(kScreen).m_params[0] = static_cast<DWORD>(icom + 1);
    if (CKelvardinDoc* doc = GetDocument()) doc->UpdateAllFrameViews(this, CUpdateHint::kSelection);
    // The counts shown are those of the new selection until its reply comes.
    if (GetGrid()) GetGrid()->Invalidate();
    UpdateGrid();
}

BOOL CTrunkSummView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_CLEAR_ALLOCATIONS) return CKelvardinGridView::OnCmdMsg(id, update);
    if (update) {
        OnUpdateCommand(update);
    } else if (GetApp().IsCommandEnabled(id)) {
        GetHost().ClearAllocations(-1);
    }
    return TRUE;
}

bool CTrunkSummView::SelectedIntercoms(const NM_GRIDVIEW& record, int& icom, CBitArray& set) const {
    const CKelvardinGridCtrl& grid = *GetGrid();
    const auto mark = [&set](int i) {
        if (i >= 0) set.SetBit(static_cast<UINT>(i), TRUE);
    };
    icom = -1;
    if (grid.GetSelectedCount() == 1) {
        const auto* cell =
            dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(record.iRow, record.iColumn));
        if (!cell) return false;
        if (cell->GetObjSpec().IsEmpty()) {
            set.SetAll(TRUE);
            return true;
        }
        icom = IntercomOfCell(cell);
        mark(icom);
        return icom >= 0;
    }
    const CCellRange range = grid.GetSelectedCellRange();
    if (!range.IsValid()) return false;
    const bool oneRow = range.GetMinRow() == range.GetMaxRow();
    if (!oneRow) icom = -2;
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row) {
        for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) {
            if (!grid.IsCellSelected(row, col)) continue;
            const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(row, col));
            if (!cell || cell->GetObjSpec().m_nType != CObjSpec::kIntercom) continue;
            const int of = IntercomOfCell(cell);
            if (of < 0) return false;
            mark(of);
            if (oneRow) icom = of;
        }
    }
    return true;
}

LRESULT CTrunkSummView::OnGridRClick(NM_GRIDVIEW* record) {
    const CKelvardinGridCtrl* grid = GetGrid();
    CKelvardinDoc* doc = GetDocument();
    if (!record || !grid || !doc || grid->GetSelectedCount() < 1) return 0;
    if (!dynamic_cast<const CKelvardinGridCell*>(grid->GetCell(record->iRow, record->iColumn)))
        return 0;
    CBitArray set(static_cast<UINT>(GetApp().GetVisibleIcomCount()));
    int icom = -1;
    if (!SelectedIntercoms(*record, icom, set)) return 0;

    CIcomSelection selection;
    selection.index = icom;
    for (int i = set.FindNext(0); i >= 0; i = set.FindNext(i + 1))
        selection.icoms.push_back(i);
    if (selection.icoms.empty()) selection.index = CIcomSelection::kAll;
    CPopupMenu menu = icom_menu::Load();
    for (UINT id : {icom_menu::kConnectionMenu, icom_menu::kBaudMenu, icom_menu::kComMenu,
                    ID_ICOM_BROWSE_ADDRESS, ID_CLEAR_ICOM_ERRORS, ID_CANCEL_CHANGES})
        menu.Remove(id);
    menu.Modify(ID_ICOM_CAPTION, icom_menu::Caption(*doc, selection), false);
    if (GetApp().GetMode() == CAppState::kModeOnline) {
        menu.SetDefault(ID_ICOM_VIEW_SUMMARY);
    } else {
        for (UINT id : {ID_ICOM_VIEW_SUMMARY, ID_ICOM_VIEW_STATUS, ID_CLEAR_ALLOCATIONS})
            menu.Enable(id, false);
    }
    menu.TidySeparators();
    const UINT command = TrackPopupMenu(menu, GetContextMenuPoint(record), GetWidget());
    // "Several intercoms" reads as all of them: a context of -1 would blank the screens.
    RunMenuCommand(command, icom == -2 ? -1 : icom);
    return 0;
}

void CTrunkSummView::RunMenuCommand(UINT command, int icom) {
    IScreenHost& host = GetHost();
    switch (command) {
        case ID_ICOM_VIEW_SUMMARY: Select(icom); break;
        case ID_ICOM_VIEW_DEFS:
            host.GetViewContext(0).m_params[0] = static_cast<DWORD>(icom + 1);
            host.PostCommand(ID_VIEW_TRUNK_DEFS);
            break;
        case ID_ICOM_VIEW_SETUP: host.PostCommand(ID_VIEW_ICOM_SETUP); break;
        case ID_ICOM_VIEW_STATUS: host.PostCommand(ID_VIEW_ICOM_STATUS); break;
        case ID_ICOM_VIEW_ALPHAS:
            host.GetViewContext(6).m_params[0] = static_cast<DWORD>(icom);
            host.GetViewContext(6).m_params[1] = static_cast<DWORD>(-1);
            host.PostCommand(ID_VIEW_ICOM_ALPHAS);
            break;
        case ID_CLEAR_ALLOCATIONS: host.ClearAllocations(icom); break;
        default: break;
    }
}

#include "screens/intercoms/icom_group_view.h"

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
#include "screens/cells/cell_compare.h"

namespace {

constexpr DWORD kFieldDisplayName = 65;

void Bind(CKelvardinGridCtrl& grid, int row, int col, const CObjSpec& obj) {
    if (auto* cell = dynamic_cast<CKelvardinGridCell*>(grid.GetCell(row, col)))
        cell->SetObjSpec(obj);
}

}  // namespace

CIcomGroupView::CSortMemory& CIcomGroupView::RememberedSort() {
    static CSortMemory sort;
    return sort;
}

CIcomGroupView::CIcomGroupView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"IntercomGroupsColumnWidthsEx";
}

CIcomGroupView::~CIcomGroupView() = default;

DWORD CIcomGroupView::GetHelpID() {
    return 0x20000 + ID_VIEW_ICOM_GROUPS;
}

void CIcomGroupView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    m_timer.Start(this, GetHost().GetScreenTiming().icomGroupPollMs);
}

void CIcomGroupView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const int icoms = GetApp().GetVisibleIcomCount();
    const int groups = GetApp().GetConfig().m_wNumGroups;
    grid->SetRowCount(icoms + 1);
    grid->SetColumnCount(groups + kFirstGroupColumn);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(kFirstGroupColumn);

    grid->SetItemText(0, 0, LoadResString(kIdsIcomNumberHeading));
    grid->SetItemText(0, 1, LoadResString(kIdsIcomNameHeading));
    grid->SetColumnCompareFunction(0, CompareCellNumbers);
    for (int col = 1; col < grid->GetColumnCount(); ++col)
        grid->SetColumnCompareFunction(col, CompareCellText);
    for (int group = 0; group < groups; ++group)
        Bind(*grid, 0, group + kFirstGroupColumn, CGroupSpec(group, CObjSpec::kFieldRecord));
    for (int icom = 0; icom < icoms; ++icom) {
        const int row = icom + 1;
        Bind(*grid, row, 0, CIcomSpec(icom, CObjSpec::kFieldRecord));
        Bind(*grid, row, 1, CIcomSpec(icom, kFieldDisplayName));
        for (int group = 0; group < groups; ++group) {
            const int col = group + kFirstGroupColumn;
            grid->SetCellType(row, col, CellClassOf<CBoolGridCell>());
            Bind(*grid, row, col,
                 CGroupSpec(group, CGroup::kFieldFirstMember + static_cast<DWORD>(icom)));
        }
    }

    CSortMemory& sort = RememberedSort();
    if (sort.column < 0) sort.column = 0;
    ReplaySort(sort.column, sort.ascending);
    OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
}

void CIcomGroupView::OnColumnClick(int column, int ascending) {
    RememberedSort() = {column, ascending ? TRUE : FALSE};
}

void CIcomGroupView::UpdateGrid() {
    CCVDataMgr& link = GetHost().GetDataMgr();
    if (GetApp().GetMode() == CAppState::kModeOnline && !link.IsUploading())
        link.RefreshIcomGroups();
}

void CIcomGroupView::ClearAllChanges() {
    CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    const int groups = GetApp().GetConfig().m_wNumGroups;
    for (int group = 0; group < groups; ++group) {
        const CGroupSpec obj(group, CObjSpec::kFieldRecord);
        if (doc->FindObject(obj)) doc->ClearObjectModified(obj);
    }
}

void CIcomGroupView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    // A rebuild makes the grid again; a reply's cells are painted with the paint tick.
    TakeHint(sender, lHint, hintObject);
}

LRESULT CIcomGroupView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SCREEN_HAS_CHANGES) {
        const CKelvardinDoc* doc = GetDocument();
        return doc && doc->FindModifiedGroup() >= 0 ? 1 : 0;
    }
    return CKelvardinGridView::WindowProc(message, wParam, lParam);
}

void CIcomGroupView::OnTimer(UINT_PTR id) {
    if (id != 0 && id == m_timer.m_nCurrentId && GetHost().IsCurrentScreen(*this)) UpdateGrid();
    CKelvardinGridView::OnTimer(id);
}

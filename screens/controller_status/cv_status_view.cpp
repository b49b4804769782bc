#include "screens/controller_status/cv_status_view.h"

#include <algorithm>
#include <array>
#include <vector>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/doc_views.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/popup_menu.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/cells/cell_compare.h"
#include "screens/cells/kelvardin_grid_cell.h"

namespace {

constexpr DWORD kFieldLabel = 1;
constexpr DWORD kFieldStatus = 1356;
constexpr DWORD kFieldErrorsTo = 77;
constexpr DWORD kFieldBerFrom = 80;
constexpr int kControllers = 2;

constexpr UINT kMenuId = 134;
constexpr int kStatusColumn = 1;

const std::array<ColumnDesc, 6> kColumns = {{
    {6301, false, CObjSpec::kController, kFieldLabel, nullptr, CompareCellText},
    {2208, false, CObjSpec::kController, kFieldStatus, nullptr, CompareCellText},
    {6215, false, CObjSpec::kController, kFieldErrorsTo, nullptr, CompareCellNumbers},
    {6216, false, CObjSpec::kController, 78, nullptr, CompareCellNumbers},
    {6217, false, CObjSpec::kController, 79, nullptr, CompareCellNumbers},
    {6218, false, CObjSpec::kController, kFieldBerFrom, nullptr, CompareCellNumbers},
}};

bool IsOnline() {
    return GetApp().GetMode() == CAppState::kModeOnline;
}

}  // namespace

CCVStatusView::CCVStatusView(IScreenHost& host) : CKelvardinGridView(host) {
    m_strWidthsValue = u"CorvaneStatusColumnWidths";
}

CCVStatusView::~CCVStatusView() {
    m_statusTimer.Stop();
    m_errorsTimer.Stop();
}

DWORD CCVStatusView::GetHelpID() {
    return 0x20000 + ID_VIEW_CV_STATUS;
}

void CCVStatusView::SetupGrid() {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetRowCount(grid->GetFixedRowCount() + kControllers);
    grid->SetColumnCount(static_cast<int>(kColumns.size()));
    ApplyColumnTable(kColumns);
    for (int col = 0; col < static_cast<int>(kColumns.size()); ++col) {
        const ColumnDesc& column = kColumns[static_cast<size_t>(col)];
        const bool readOnly =
            col >= grid->GetFixedColumnCount() &&
            (CKelvardinDoc::IsReadOnlyObjectID(static_cast<int>(column.fieldId)) ||
             IsReadOnlyView());
        for (int row = 1; row <= kControllers; ++row) {
            auto* cell = dynamic_cast<CKelvardinGridCell*>(grid->GetCell(row, col));
            if (!cell) continue;
            if (readOnly)
                grid->SetItemState(row, col, grid->GetItemState(row, col) | CELL_READONLY);
            cell->SetObjSpec(
                CObjSpec(CObjSpec::kController, static_cast<DWORD>(row - 1), column.fieldId));
            cell->SetAltObjSpec(CObjSpec(CObjSpec::kNone, 0, 0));
            cell->SetBorders(column.flag ? CKelvardinGridCell::kBorderLeft : 0);
        }
    }
    SizeStatusColumn();
}

// The status arrives after the grid is laid out: the column makes room for the longest status
// a controller can report, which the fit to the contents then keeps.
void CCVStatusView::SizeStatusColumn() {
    CKelvardinGridCtrl* grid = GetGrid();
    const CKelvardinDoc* doc = GetDocument();
    CGridCellBase* cell = grid->GetRowCount() > 1 ? grid->GetCell(1, kStatusColumn) : nullptr;
    if (!doc || !cell) return;
    int widest = 0;
    for (int model = 0; model < CDocTexts::kModelIndexes; ++model) {
        CCommStat bad;
        bad.m_code = model;
        widest =
            std::max(widest, static_cast<int>(cell->GetTextExtent(doc->GetCommStatText(bad)).cx));
    }
    grid->SetColumnWidth(kStatusColumn, widest);
}

void CCVStatusView::OnInitialUpdate() {
    CKelvardinGridView::OnInitialUpdate();
    const CScreenTiming& timing = GetHost().GetScreenTiming();
    m_statusTimer.Start(this, timing.cvStatusPollMs);
    m_errorsTimer.Start(this, timing.cvErrorsPollMs);
}

void CCVStatusView::UpdateGrid() {
    const CCVDataMgr& data = GetHost().GetDataMgr();
    if (!IsOnline() || data.IsUploading()) return;
    RequestStatus();
    if (IsOnline()) RequestErrors();
}

bool CCVStatusView::CanAsk() const {
    const CCVDataMgr& data = GetHost().GetDataMgr();
    return data.IsConnected() && !data.IsUploading();
}

void CCVStatusView::RequestStatus() {
    if (CanAsk()) GetHost().GetDataMgr().RequestStandbyStatus();
}

void CCVStatusView::RequestErrors() {
    if (!CanAsk()) return;
    CCVDataMgr& data = GetHost().GetDataMgr();
    data.RequestCVErrors();
    if (data.IsConnected()) data.RequestStandbyErrors();
}

void CCVStatusView::OnTimer(UINT_PTR id) {
    if (GetHost().IsCurrentScreen(*this) && IsOnline()) {
        if (id == m_statusTimer.m_nCurrentId) RequestStatus();
        if (id == m_errorsTimer.m_nCurrentId) RequestErrors();
    }
    CKelvardinGridView::OnTimer(id);
}

void CCVStatusView::OnUpdate(CView* sender, LPARAM lHint, void* hintObject) {
    if (!GetGrid()) return;
    CKelvardinGridView::OnUpdate(sender, lHint, hintObject);
    const auto hint = CUpdateHint::FromParam(lHint);
    if (hint.IsReply(kCmdClearErrors) && IsOnline()) RequestErrors();
}

BOOL CCVStatusView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_CLEAR_CV_ERRORS && id != ID_CLEAR_STANDBY_ERRORS)
        return CKelvardinGridView::OnCmdMsg(id, update);
    if (update) {
        OnUpdateCommand(update);
        return TRUE;
    }
    CCVDataMgr& data = GetHost().GetDataMgr();
    if (!GetApp().IsCommandEnabled(id) || !data.IsConnected()) return TRUE;
    if (id == ID_CLEAR_CV_ERRORS) {
        data.ClearCVErrors(CLinkSession::Now());
    } else {
        data.ClearStandbyErrors(CLinkSession::Now());
    }
    return TRUE;
}

LRESULT CCVStatusView::OnGridRClick(NM_GRIDVIEW* record) {
    // The menu's commands belong to the main window.
    if (!GetDocument()) return 0;
    CPopupMenu menu(kMenuId);
    menu.AppendItem(ID_CLEAR_CV_ERRORS, u"Clear &Corvane communication errors");
    menu.AppendItem(ID_CLEAR_STANDBY_ERRORS, u"Clear &Standby communication errors");
    menu.AppendSeparator();
    menu.AppendItem(ID_CV_VERSION, u"&View Corvane firmware version");
    for (UINT id : {ID_CLEAR_CV_ERRORS, ID_CLEAR_STANDBY_ERRORS, ID_CV_VERSION})
        menu.Enable(id, GetApp().IsCommandEnabled(id) != FALSE);
    const UINT chosen = TrackPopupMenu(menu, GetContextMenuPoint(record), GetHost().GetWindow());
    if (chosen != 0) GetHost().PostCommand(chosen);
    return 0;
}

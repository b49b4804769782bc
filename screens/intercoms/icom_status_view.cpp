#include "screens/intercoms/icom_status_view.h"

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "res/command_ids.h"
#include "screens/base/screen_host.h"
#include "screens/cells/bool_grid_cell.h"
#include "screens/cells/cell_compare.h"

namespace {

using Need = IcomColumnNeed;

constexpr CIcomColumn kColumns[] = {
    {2289, false, 1, nullptr, CompareCellNumbers, Need::kAlways},
    {2290, false, 66, nullptr, CompareCellText, Need::kAlways},
    {6215, false, 77, nullptr, CompareCellNumbers, Need::kAlways},
    {6216, false, 78, nullptr, CompareCellNumbers, Need::kAlways},
    {6217, false, 79, nullptr, CompareCellNumbers, Need::kAlways},
    {6218, false, 80, nullptr, CompareCellNumbers, Need::kAlways},
    {6211, true, 1357, &CellClassOf<CBoolGridCell>, CompareCellText, Need::kEnhancedStatus},
    {2222, false, 1358, &CellClassOf<CBoolGridCell>, CompareCellText, Need::kEnhancedStatus},
    {6212, false, 1359, nullptr, CompareCellText, Need::kEnhancedStatus},
    {6213, false, 1360, nullptr, CompareCellNumbers, Need::kEnhancedStatus},
    {6214, false, 1361, nullptr, CompareCellNumbers, Need::kTwoCVs},
    {2208, false, 1362, nullptr, CompareCellText, Need::kEnhancedStatus},
    {2208, true, 1356, nullptr, CompareCellText, Need::kPlainStatus},
};

}  // namespace

CIcomStatusView::CIcomStatusView(IScreenHost& host)
    : CIcomGridView(
          host, {IcomPoll::kSetup, IcomPoll::kStatus, IcomPoll::kErrors, IcomPoll::kRemTrunking}) {
    m_strWidthsValue = u"IntercomStatusColumnWidths";
}

DWORD CIcomStatusView::GetHelpID() {
    return 0x20000 + ID_VIEW_ICOM_STATUS;
}

std::span<const CIcomColumn> CIcomStatusView::ColumnTable() const {
    return kColumns;
}

int CIcomStatusView::DefaultSortColumn() const {
    return GetApp().m_bSortIntercomsByIntercomNumber ? 0 : 1;
}

void CIcomStatusView::UpdateGrid() {
    Poll(IcomPoll::kSetup);
    Poll(IcomPoll::kStatus);
    Poll(IcomPoll::kErrors);
    Poll(IcomPoll::kRemTrunking);
}

void CIcomStatusView::OnReplyHint(CUpdateHint hint) {
    // The counters were cleared: read them again.
    if (hint.IsReply(kCmdClearErrors)) Poll(IcomPoll::kErrors);
}

BOOL CIcomStatusView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_CLEAR_ICOM_ERRORS) return CIcomGridView::OnCmdMsg(id, update);
    if (update) {
        OnUpdateCommand(update);
    } else if (GetApp().IsCommandEnabled(id)) {
        ClearErrors();
    }
    return TRUE;
}

CPopupMenu CIcomStatusView::ContextMenu(const CKelvardinDoc& doc, const CIcomSelection& selection) {
    return icom_menu::ForStatus(doc, selection, IsOnline());
}

void CIcomStatusView::OnMenuCommand(UINT command, const CIcomSelection& selection) {
    if (command == ID_CLEAR_ICOM_ERRORS) {
        ClearErrors();
        return;
    }
    RunViewCommand(command, selection);
}

void CIcomStatusView::ClearErrors() {
    CCVDataMgr& mgr = GetHost().GetDataMgr();
    if (mgr.IsConnected()) mgr.ClearIcomErrors(CLinkSession::Now());
}

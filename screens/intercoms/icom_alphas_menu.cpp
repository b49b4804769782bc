// The alphas screen's context menu: the other screens of the intercom whose alpha was clicked.
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"
#include "screens/intercoms/icom_alphas_view.h"
#include "screens/intercoms/icom_menu.h"

namespace {

void SetContextParam(CContext& context, int i, int value) {
    context.m_params[static_cast<size_t>(i)] = static_cast<DWORD>(value);
}

}  // namespace

LRESULT CIcomAlphasView::OnGridRClick(NM_GRIDVIEW* record) {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid || !record) return 0;
    const auto* cell =
        dynamic_cast<const CKelvardinGridCell*>(grid->GetCell(record->iRow, record->iColumn));
    if (!cell || cell->GetObjSpec().m_nType != CObjSpec::kAlpha) return 0;
    const int icom = static_cast<int>(cell->GetObjSpec().m_nIndex >> 24);
    if (grid->GetSelectedCount() > 1) {
        const CCellRange range = grid->GetSelectedCellRange();
        if (range.GetMinRow() != range.GetMaxRow()) return 0;
    }

    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return 0;
    // The intercom menu cut to its caption and the views of the intercom.
    CPopupMenu menu = icom_menu::Load();
    const CIcomSelection selection = CIcomSelection::Of({icom}, GetApp().GetVisibleIcomCount());
    menu.Modify(ID_ICOM_CAPTION, icom_menu::Caption(*doc, selection), false);
    for (UINT id :
         {icom_menu::kConnectionMenu, icom_menu::kBaudMenu, icom_menu::kComMenu,
          ID_ICOM_BROWSE_ADDRESS, ID_CLEAR_ICOM_ERRORS, ID_CLEAR_ALLOCATIONS, ID_CANCEL_CHANGES})
        menu.Remove(id);
    menu.TidySeparators();
    // The status screens have nothing to show without a controller.
    if (GetApp().GetMode() != CAppState::kModeOnline) {
        menu.Enable(ID_ICOM_VIEW_SUMMARY, false);
        menu.Enable(ID_ICOM_VIEW_STATUS, false);
    }
    RunMenuCommand(TrackPopupMenu(menu, GetContextMenuPoint(record), GetHost().GetWindow()), icom);
    return 0;
}

void CIcomAlphasView::RunMenuCommand(UINT command, int icom) {
    IScreenHost& host = GetHost();
    switch (command) {
        case ID_ICOM_VIEW_SUMMARY:
            SetContextParam(host.GetViewContext(kScreenTrunkSummary), 0, icom + 1);
            host.PostCommand(ID_VIEW_TRUNK_SUMMARY);
            break;
        case ID_ICOM_VIEW_DEFS:
            SetContextParam(host.GetViewContext(kScreenTrunkDefs), 0, icom + 1);
            host.PostCommand(ID_VIEW_TRUNK_DEFS);
            break;
        case ID_ICOM_VIEW_SETUP: host.PostCommand(ID_VIEW_ICOM_SETUP); break;
        case ID_ICOM_VIEW_STATUS: host.PostCommand(ID_VIEW_ICOM_STATUS); break;
        case ID_ICOM_VIEW_ALPHAS: {
            CContext& context = host.GetViewContext(kScreen);
            if (GetChosenIntercom() == icom) break;
            host.PushHistory(context);
            SetContextParam(context, 1, -1);
            SetContextParam(context, 0, icom);
            // The pane shows the new choice; the rows follow it here, as the pane's re-reading
            // of its context is no choice of the user's.
            if (CKelvardinDoc* doc = GetDocument())
                doc->UpdateAllFrameViews(this, CUpdateHint::kSelection);
            ApplyChoice();
            UpdateGrid();
            break;
        }
        default: break;
    }
}

// The alphas screen's context menu: the other screens of the intercom whose alpha was clicked.
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/popup_menu.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/icom_alphas_view.h"
#include "screens/kelvardin_grid_ctrl.h"
#include "screens/screen_host.h"

namespace {

constexpr UINT kIcomMenu = 133;
constexpr UINT kSelectedIntercom = 2376;  // "Selected intercom: %1"

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
    CString name =
        doc ? doc->GetIcomText(icom, GetApp().GetConfig().m_nAlphaSize, TRUE, FALSE) : CString();
    if (name.IsEmpty()) name = CString::Formatted(u"#%d", icom + 1);
    CPopupMenu menu(kIcomMenu);
    menu.AppendItem(ID_ICOM_CAPTION, SubstituteArgs(LoadResString(kSelectedIntercom), {name}));
    menu.Enable(ID_ICOM_CAPTION, false);
    menu.AppendSeparator();
    menu.AppendItem(ID_ICOM_VIEW_SUMMARY, u"View trunk &summary");
    menu.AppendItem(ID_ICOM_VIEW_DEFS, u"View trunk &definitions");
    menu.AppendItem(ID_ICOM_VIEW_SETUP, u"View intercom s&etup");
    menu.AppendItem(ID_ICOM_VIEW_STATUS, u"View intercom s&tatus");
    menu.AppendItem(ID_ICOM_VIEW_ALPHAS, u"View &alphas");
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
            if (CKelvardinDoc* doc = GetDocument()) doc->UpdateAllFrameViews(this, kHintSelection);
            ApplyChoice();
            UpdateGrid();
            break;
        }
        default: break;
    }
}

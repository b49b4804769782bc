// The trunk inspection's context menus: the intercom of an end or a request table, or the
// inspected or cascade trunk, as the clicked cell names them.
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "screens/base/screen_host.h"
#include "screens/trunks/trunk_inspect_form.h"
#include "screens/trunks/trunk_inspect_menus.h"
#include "screens/trunks/trunk_inspect_view.h"

namespace {

constexpr int kAllTypes = -1;

bool IsOnline() {
    return GetApp().GetMode() == CAppState::kModeOnline;
}

}  // namespace

LRESULT CTrunkInspectView::OnGridRClick(NM_GRIDVIEW* record) {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc || !GetGrid() || !record) return 0;
    const int trunk = GetInspectedTrunk();
    const inspect_form::CMenuTarget target =
        inspect_form::MenuTarget(record->iRow, record->iColumn, doc->GetTrunkInspect(trunk), trunk);
    const CPoint point = GetContextMenuPoint(record);
    switch (target.kind) {
        case inspect_form::CMenuTarget::kIntercom:
            if (target.number < GetApp().GetVisibleIcomCount()) RunIcomMenu(target.number, point);
            break;
        case inspect_form::CMenuTarget::kTrunk:
            if (target.number >= 0) RunTrunkMenu(target.number, point);
            break;
        default: break;
    }
    return 0;
}

void CTrunkInspectView::RunIcomMenu(int icom, CPoint point) {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    const CPopupMenu menu = inspect_menu::ForIntercom(*doc, icom, IsOnline());
    IScreenHost& host = GetHost();
    const DWORD selection = static_cast<DWORD>(icom + 1);
    switch (TrackPopupMenu(menu, point, GetWidget())) {
        case ID_ICOM_VIEW_SUMMARY:
            host.GetViewContext(kScreenTrunkSummary).m_params[0] = selection;
            host.PostCommand(ID_VIEW_TRUNK_SUMMARY);
            break;
        case ID_ICOM_VIEW_DEFS:
            host.GetViewContext(kScreenTrunkDefs).m_params[0] = selection;
            host.PostCommand(ID_VIEW_TRUNK_DEFS);
            break;
        case ID_ICOM_VIEW_SETUP: host.PostCommand(ID_VIEW_ICOM_SETUP); break;
        case ID_ICOM_VIEW_STATUS: host.PostCommand(ID_VIEW_ICOM_STATUS); break;
        case ID_ICOM_VIEW_ALPHAS: {
            CContext& alphas = host.GetViewContext(kScreenIcomAlphas);
            alphas.m_params[0] = static_cast<DWORD>(icom);
            alphas.m_params[1] = static_cast<DWORD>(kAllTypes);
            host.PostCommand(ID_VIEW_ICOM_ALPHAS);
            break;
        }
        case ID_CLEAR_ALLOCATIONS: host.ClearAllocations(icom); break;
        default: break;
    }
}

void CTrunkInspectView::RunTrunkMenu(int trunk, CPoint point) {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    const CAppState& app = GetApp();
    inspect_menu::CTrunkMenuState state;
    state.trunk = trunk;
    state.inspected = trunk == GetInspectedTrunk();
    state.maintenance =
        app.m_bAllowMaintenanceMode && app.GetConfig().HasFlag(CCVConfig::kTksupvSupport);
    state.online = IsOnline();
    state.inMaintenance = doc->IsTrunkInMaintenance(trunk) != 0;
    const CPopupMenu menu = inspect_menu::ForTrunk(state);
    // A caption alone is no menu.
    if (menu.GetItems().size() < 2) return;

    switch (TrackPopupMenu(menu, point, GetWidget())) {
        case ID_VIEW_TRUNK_INSPECT:
            if (!state.inspected) Inspect(trunk);
            break;
        case ID_MAINT_MODE: GetHost().SetMaintMode(trunk); break;
        case ID_NORMAL_MODE: GetHost().ClearMaintMode(trunk); break;
        default: break;
    }
}

void CTrunkInspectView::Inspect(int trunk) {
    IScreenHost& host = GetHost();
    CContext& context = host.GetViewContext(kScreen);
    host.PushHistory(context);
    context.m_params[0] = static_cast<DWORD>(trunk);
    CKelvardinDoc* doc = GetDocument();
    if (!doc) return;
    // The selector follows; then the form, whose rows would otherwise wait for a reply that
    // changes the record, and the requests for the new trunk.
    doc->UpdateAllFrameViews(nullptr, CUpdateHint::kSelection);
    doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

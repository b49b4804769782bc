// The trunk inspection's context menus: the intercom of an end or a request table, or the
// inspected or cascade trunk, as the clicked cell names them.
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/screen_host.h"
#include "screens/trunk_inspect_form.h"
#include "screens/trunk_inspect_menus.h"
#include "screens/trunk_inspect_view.h"

namespace {

constexpr UINT kSelectedIntercom = 2376;
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
    CString name = doc->GetIcomText(icom, GetApp().GetConfig().m_nAlphaSize, TRUE, FALSE);
    if (name.IsEmpty()) name = CString::Formatted(u"#%d", icom + 1);
    const CString caption = SubstituteArgs(LoadResString(kSelectedIntercom).str(), {name});

    IScreenHost& host = GetHost();
    const DWORD selection = static_cast<DWORD>(icom + 1);
    switch (inspect_menu::Track(inspect_menu::IcomMenu(caption, IsOnline()), point)) {
        case inspect_menu::kViewSummary:
            host.GetViewContext(kScreenTrunkSummary).m_params[0] = selection;
            host.PostCommand(ID_VIEW_TRUNK_SUMMARY);
            break;
        case inspect_menu::kViewDefinitions:
            host.GetViewContext(kScreenTrunkDefs).m_params[0] = selection;
            host.PostCommand(ID_VIEW_TRUNK_DEFS);
            break;
        case inspect_menu::kViewSetup: host.PostCommand(ID_VIEW_ICOM_SETUP); break;
        case inspect_menu::kViewStatus: host.PostCommand(ID_VIEW_ICOM_STATUS); break;
        case inspect_menu::kViewAlphas: {
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

    switch (inspect_menu::Track(inspect_menu::TrunkMenu(state), point)) {
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
    doc->UpdateAllFrameViews(nullptr, kHintSelection);
    doc->UpdateAllFrameViews(nullptr, kHintRefresh);
}

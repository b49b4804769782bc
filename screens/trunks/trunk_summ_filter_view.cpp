#include "screens/trunks/trunk_summ_filter_view.h"

#include "link/command_codes.h"
#include "model/kelvardin_doc.h"
#include "screens/base/screen_host.h"
#include "screens/popups/cool_edit_rules.h"
#include "screens/popups/popup_list.h"

namespace {

// The alpha list reply's object for intercom names.
constexpr LPARAM kNamesObject = 7;

// Sets the pane's updating guard for as long as it lives.
class CUpdating {
public:
    explicit CUpdating(BOOL& flag) : m_flag(flag), m_was(flag) { m_flag = TRUE; }
    ~CUpdating() { m_flag = m_was; }
    CUpdating(const CUpdating&) = delete;
    CUpdating& operator=(const CUpdating&) = delete;

private:
    BOOL& m_flag;
    const BOOL m_was;
};

}  // namespace

CTrunkSummFilterView::CTrunkSummFilterView(IScreenHost& host) : m_host(host) {}

BOOL CTrunkSummFilterView::Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) {
    m_edit.SetExpandable(TRUE);
    m_edit.SetListMode(TRUE);
    if (!CKelvardinFilterView::Create(frame, rect, parent, id)) return FALSE;
    // The base pane makes its label fixed; here a click on it expands the control.
    m_edit.SetExpandable(TRUE);
    // The list opens under the value, not at the far end of the stretched button.
    m_edit.SetPopupAnchor(cool_edit::kValue, cool_edit::kLeftBottom, cool_edit::kLeftTop);
    return TRUE;
}

CContext* CTrunkSummFilterView::Context() const {
    if (m_nViewID < 0 || m_nViewID >= kScreenCount) return nullptr;
    return &m_host.GetViewContext(m_nViewID);
}

LPARAM CTrunkSummFilterView::ChosenData() const {
    const CContext* context = Context();
    return context ? static_cast<LPARAM>(static_cast<int>(context->m_params[0])) - 1 : -1;
}

void CTrunkSummFilterView::Refill() {
    const CKelvardinDoc* doc = m_host.GetDocument();
    if (!doc) return;
    // The list is refilled as it is and the context's intercom chosen again, whatever place
    // it now has in the list.
    RefillIcomList(*doc, static_cast<int>(ChosenData()));
}

void CTrunkSummFilterView::OnInitialUpdate() {
    CKelvardinFilterView::OnInitialUpdate();
    Refill();
    OnUpdate(nullptr, CUpdateHint::kSelection.ToParam(), nullptr);
}

void CTrunkSummFilterView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* hintObject) {
    const CUpdating updating(m_bUpdating);
    const auto hint = CUpdateHint::FromParam(lHint);
    const bool names =
        hint.IsReply(kCmdNames) && reinterpret_cast<LPARAM>(hintObject) == kNamesObject;
    if (hint == CUpdateHint::kRefresh || hint == CUpdateHint::kRebuild || names) {
        Refill();
    } else if (hint == CUpdateHint::kSelection) {
        // The intercom chosen elsewhere may be one the list has no entry for yet.
        Refill();
    }
}

BOOL CTrunkSummFilterView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kEditId && HIWORD(wParam) == cool_edit::kSelChange) {
        OnIcomSelected();
        return TRUE;
    }
    return CKelvardinFilterView::OnCommand(wParam, lParam);
}

void CTrunkSummFilterView::OnIcomSelected() {
    CContext* context = Context();
    if (!context) return;
    const CPopupList* list = m_edit.GetPopupList();
    const bool hasItems = list && list->GetItemCount() > 0;
    const DWORD chosen = hasItems ? static_cast<DWORD>(m_edit.GetCurSelData() + 1) : 0;
    // The control also reports a choice it only confirmed: that is no step of the history.
    if (chosen == context->m_params[0]) return;
    if (!m_bUpdating) m_host.PushHistory(*context);
    context->m_params[0] = chosen;
    if (CKelvardinDoc* doc = m_host.GetDocument())
        doc->UpdateAllFrameViews(this, CUpdateHint::kRefresh);
}

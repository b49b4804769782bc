#include "screens/log_viewer/log_filter_view.h"

#include <chrono>

#include "model/app_state.h"
#include "model/doc_views.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "res/command_ids.h"
#include "screens/base/pane_frame.h"
#include "screens/base/screen_services.h"
#include "screens/log_viewer/log_view_rules.h"

namespace {

std::chrono::year_month_day ToYmd(const CLogDate& date) {
    return {std::chrono::year(date.year), std::chrono::month(static_cast<unsigned>(date.month)),
            std::chrono::day(static_cast<unsigned>(date.day))};
}

CLogDate FromYmd(const std::chrono::year_month_day& date) {
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

}  // namespace

CLogFilterView::CLogFilterView(IScreenServices& services) : m_services(services) {}

BOOL CLogFilterView::Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id) {
    if (!CKelvardinFilterView::Create(frame, rect, parent, id)) return FALSE;
    m_edit.SetDateMode();
    return TRUE;
}

CContext* CLogFilterView::GetContext() const {
    IPaneFrame* frame = GetFrame();
    return frame ? &frame->GetViewContext(kScreenLog) : nullptr;
}

CKelvardinDoc* CLogFilterView::GetDocument() const {
    IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetActiveDocument() : nullptr;
}

CLogDate CLogFilterView::GetDay() const {
    const CContext* context = GetContext();
    return context ? log_rules::DecodeDay(context->m_params[0]) : CLogDate{};
}

void CLogFilterView::SendHint(CUpdateHint hint) {
    if (CKelvardinDoc* doc = GetDocument()) doc->UpdateAllFrameViews(nullptr, hint);
}

void CLogFilterView::OnInitialUpdate() {
    CKelvardinFilterView::OnInitialUpdate();
    // The day the log was last written to in this run, else today.
    const std::optional<CLogDate> written = LogDateFromPath(m_services.GetLastLogFile());
    const CLogDate day = written && ToYmd(*written).ok() ? *written : LocalToday();
    if (CContext* context = GetContext()) context->m_params[0] = log_rules::EncodeDay(day);
    ShowDay();
}

void CLogFilterView::ShowDay() {
    const std::chrono::year_month_day day = ToYmd(GetDay());
    if (!day.ok()) return;
    const BOOL wasUpdating = m_bUpdating;
    m_bUpdating = TRUE;
    m_edit.SetDate(day);
    m_edit.Invalidate();
    m_bUpdating = wasUpdating;
}

void CLogFilterView::OnUpdate(CView* /*sender*/, LPARAM lHint, void* /*hintObject*/) {
    if (CUpdateHint::FromParam(lHint) == CUpdateHint::kSelection) ShowDay();
}

BOOL CLogFilterView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kEditId && HIWORD(wParam) == cool_edit::kDateTaken) {
        if (!m_bUpdating) OnDatePicked();
        return TRUE;
    }
    return CKelvardinFilterView::OnCommand(wParam, lParam);
}

void CLogFilterView::OnDatePicked() {
    std::chrono::year_month_day picked;
    CContext* context = GetContext();
    if (!context || !m_edit.GetDate(picked)) return;
    const DWORD day = log_rules::EncodeDay(FromYmd(picked));
    if (day == context->m_params[0]) return;
    GetFrame()->PushHistory(*context);
    context->m_params[0] = day;
    SendHint(CUpdateHint::kRefresh);
}

BOOL CLogFilterView::OnCmdMsg(UINT id, CCmdUI* update) {
    if (id != ID_NEXT_ENTRY && id != ID_PREV_ENTRY)
        return CKelvardinFilterView::OnCmdMsg(id, update);
    if (update) {
        update->Enable(CanStepDay());
    } else {
        StepDay(id == ID_NEXT_ENTRY ? 1 : -1);
    }
    return TRUE;
}

// Only a pane the main window has bound to its screen, with a document, steps.
bool CLogFilterView::CanStepDay() const {
    return GetContext() && m_nViewID < kScreenCount && GetDocument();
}

void CLogFilterView::StepDay(int days) {
    CContext* context = GetContext();
    if (!CanStepDay()) return;
    GetFrame()->PushHistory(*context);
    context->m_params[0] = log_rules::EncodeDay(log_rules::AddDays(GetDay(), days));
    SendHint(CUpdateHint::kSelection);
    SendHint(CUpdateHint::kRefresh);
}

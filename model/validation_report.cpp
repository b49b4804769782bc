#include "model/validation_report.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/undo_host.h"
#include "platform/base/message_box.h"
#include "platform/base/message_sink.h"
#include "res/command_ids.h"
#include "res/string_table.h"

namespace {

CString RuleText(const CEditRule& rule, std::initializer_list<CString> args) {
    return SubstituteArgs(LoadResString(rule.message).str(), args);
}

void Tell(int error, const CString& text, BOOL beep) {
    GetApp().m_nLastError = error;
    ReportValidationError(error, text, beep);
}

void Report(const CEditRule& rule, const CString& text, BOOL beep) {
    if (auto& held = GetApp().m_heldReports) {
        held->reports.push_back({rule.error, text, beep, rule.waits});
        return;
    }
    Tell(rule.error, text, beep);
}

}  // namespace

void ReportValidationError(int error, const CString& text, BOOL beep) {
    if (error < 0 || error >= CAppState::kValidationErrors) return;
    CAppState& app = GetApp();
    app.m_errorTexts[static_cast<size_t>(error)] = text;
    IUndoHost* mainFrame = app.GetUndoHost();
    if (!mainFrame) return;
    if (app.m_suppressedErrors.GetBit(static_cast<UINT>(error))) {
        if (beep) mainFrame->MessageBeep(MB_ICONSTOP);
        return;
    }
    mainFrame->PostMessage(WM_COMMAND, ID_ERROR_INFO, 0);
}

void BeginHoldingReports() {
    GetApp().m_heldReports.emplace();
}

CHeldReports EndHoldingReports(bool tell) {
    auto& slot = GetApp().m_heldReports;
    CHeldReports held = slot ? std::move(*slot) : CHeldReports{};
    slot.reset();
    if (tell) TellReports(held.reports);
    return held;
}

void TellReports(const std::vector<CHeldReport>& reports) {
    for (const CHeldReport& report : reports)
        Tell(report.error, report.text, report.beep);
}

void NoteChoiceAsked() {
    if (auto& held = GetApp().m_heldReports) held->asked = true;
}

void NoteChoiceCancelled() {
    if (auto& held = GetApp().m_heldReports) held->cancelled = true;
}

void ReportRule(const CEditRule& rule, std::initializer_list<CString> args, BOOL beep) {
    Report(rule, RuleText(rule, args), beep);
}

void CEditNotices::Add(const CEditRule& rule, std::initializer_list<CString> args, BOOL beep) {
    Add(Notice{rule, RuleText(rule, args), beep});
}

void CEditNotices::Append(const CEditNotices& other) {
    for (const Notice& notice : other.m_notices)
        Add(notice);
}

void CEditNotices::Add(Notice notice) {
    const bool known = std::any_of(m_notices.begin(), m_notices.end(), [&](const Notice& n) {
        return n.rule.error == notice.rule.error && n.text == notice.text;
    });
    if (!known) m_notices.push_back(std::move(notice));
}

void CEditNotices::Report() const {
    for (const Notice& notice : m_notices)
        ::Report(notice.rule, notice.text, notice.beep);
}

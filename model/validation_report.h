#pragma once

#include <initializer_list>
#include <vector>

#include "model/app_state.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A rule of the edit checks: its error number, the string id of its message, and whether it
// refuses for want of another field's value, which another cell of a move may yet give.
struct CEditRule {
    int error;
    unsigned message;
    bool waits = false;
};

// Stores the text as the error number's message and has the main window show it, or, when
// the user suppressed the number, only sounds the stop beep (with beep). Error numbers of 38
// or more are ignored. Never blocks.
void ReportValidationError(int error, const CString& text, BOOL beep);

// The reports of the rules and notices made from now on are held back, for an edit that may
// be refused for a reason a later edit takes away. The end tells them, in order, when asked,
// and hands them back with whether a choice was cancelled meanwhile.
void BeginHoldingReports();
CHeldReports EndHoldingReports(bool tell);
void TellReports(const std::vector<CHeldReport>& reports);
// The edit asks the user to choose, and its answer stands.
void NoteChoiceAsked();
// The user cancelled a choice the edit asked for: the edit is abandoned, not refused.
void NoteChoiceCancelled();

// Makes the rule's number the last error and reports its message with %1, %2... filled in.
void ReportRule(const CEditRule& rule, std::initializer_list<CString> args = {}, BOOL beep = TRUE);

// Warnings and questions of one edit, reported only once the value is stored, so that the
// user is never asked about a value that a later rule refused. A repeated notice is kept once.
class CEditNotices {
public:
    void Add(const CEditRule& rule, std::initializer_list<CString> args = {}, BOOL beep = TRUE);
    void Append(const CEditNotices& other);
    void Report() const;

private:
    struct Notice {
        CEditRule rule;
        CString text;
        BOOL beep;
    };
    void Add(Notice notice);
    std::vector<Notice> m_notices;
};

// A number as messages show it.
inline CString NumberText(int n) {
    return CString::Formatted(u"%d", n);
}

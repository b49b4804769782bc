#include "link/clp_history.h"

#include "model/list_control.h"

void CClpHistory::Append(const CString& line, COLORREF colour) {
    m_lines.push_back(line);
    m_colours.push_back(colour);
}

CString CClpHistory::GetLine(int n) const {
    return n >= 0 && n < GetCount() ? m_lines[static_cast<size_t>(n)] : CString();
}

COLORREF CClpHistory::GetColour(int n) const {
    return n >= 0 && n < GetCount() ? m_colours[static_cast<size_t>(n)] : 0;
}

void CClpHistory::Fill(IListControl* list, COLORREF commandColour) const {
    if (!list) return;
    list->DeleteAll();
    const int last = list->AddItem(CString(), static_cast<LPARAM>(commandColour));
    for (int i = 0; i < GetCount(); ++i)
        list->InsertItem(last + i, m_lines[static_cast<size_t>(i)],
                         static_cast<LPARAM>(m_colours[static_cast<size_t>(i)]));
}

void CClpHistory::Clear(IListControl* list, COLORREF commandColour) {
    m_lines.clear();
    m_colours.clear();
    if (!list) return;
    list->DeleteAll();
    list->AddItem(CString(), static_cast<LPARAM>(commandColour));
}

#include "shell/io/changed_list.h"

#include "model/list_control.h"
#include "res/string_table.h"

namespace {

// Range texts up to this long take one row.
constexpr int kOneRowLength = 40;
// A wrapped line takes at least this many characters, then runs on to the next comma.
constexpr int kLineLength = 23;

}  // namespace

void CChangedList::StartRow(BOOL countColumn, int count) {
    m_bHasItems = FALSE;
    m_bRangeOpen = FALSE;
    m_bFirstInRow = TRUE;
    m_bCountColumn = countColumn;
    m_nCount = count;
    m_strLabel.Empty();
    m_strCount.Empty();
    m_strRanges.Empty();
}

void CChangedList::Add(int item, UINT labelId) {
    if (!m_bHasItems) {
        m_bHasItems = TRUE;
        m_strLabel = LoadResString(labelId);
        if (m_bCountColumn) m_strCount = CString::Formatted(u"%d", m_nCount);
    }
    if (!m_bRangeOpen) {
        m_bRangeOpen = TRUE;
        m_nFirst = item;
    }
    m_nLast = item;
}

void CChangedList::FlushRange() {
    if (!m_bRangeOpen) return;
    m_bRangeOpen = FALSE;
    if (!m_bFirstInRow) m_strRanges += u", ";
    m_bFirstInRow = FALSE;
    m_strRanges += CString::Formatted(u"%d", m_nFirst + 1);
    if (m_nLast > m_nFirst) m_strRanges += CString::Formatted(u"-%d", m_nLast + 1);
}

void CChangedList::Flush() {
    FlushRange();
    if (!m_bHasItems || !m_pList) return;
    for (const CString& line : WrapRanges(m_strRanges))
        WriteRow(line);
}

std::vector<CString> CChangedList::WrapRanges(const CString& ranges) {
    if (ranges.GetLength() <= kOneRowLength) return {ranges};
    std::vector<CString> lines;
    const int length = ranges.GetLength();
    for (int at = 0; at < length;) {
        while (at < length && ranges[at] == u' ')
            ++at;
        if (at == length) break;
        const int start = at;
        while (at < length && !(at - start >= kLineLength && ranges[at - 1] == u',')) {
            ++at;
        }
        const int end = ranges[at - 1] == u',' ? at - 1 : at;
        lines.push_back(ranges.Mid(start, end - start));
    }
    return lines;
}

void CChangedList::WriteRow(const CString& ranges) {
    const int row = m_pList->InsertItem(-1, m_strLabel, 0);
    int column = 1;
    if (m_bCountColumn) m_pList->SetItemText(row, column++, m_strCount);
    m_pList->SetItemText(row, column, ranges);
}

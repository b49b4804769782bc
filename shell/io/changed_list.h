#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class IListControl;

// Builds the rows of a list of changed items: per row a label, optionally a count, and the
// items' numbers as range text ("1-3, 5, 7-9", numbers shown one above the item). The caller
// walks the items of a row in ascending order: Add for a changed one, FlushRange for one that
// has not changed, and Flush at the end. A row of more than 40 characters is wrapped over
// several list rows, each with the label again.
class CChangedList {
public:
    // The rows go to the list; without one nothing is written.
    explicit CChangedList(IListControl* list) : m_pList(list) {}
    virtual ~CChangedList() = default;

    // Starts a row; with countColumn the count goes into a column between the label and the
    // ranges.
    void StartRow(BOOL countColumn = FALSE, int count = 0);
    // A changed item; the first of the row takes its label from the string table.
    void Add(int item, UINT labelId);
    // An item that has not changed closes the open range.
    void FlushRange();
    // Ends the row and writes it when it has items.
    void Flush();

    // The lines a range text is shown in.
    static std::vector<CString> WrapRanges(const CString& ranges);

private:
    void WriteRow(const CString& ranges);

    IListControl* m_pList;
    BOOL m_bHasItems = FALSE;
    BOOL m_bRangeOpen = FALSE;
    BOOL m_bFirstInRow = TRUE;
    BOOL m_bCountColumn = FALSE;
    int m_nCount = 0;
    int m_nFirst = 0;
    int m_nLast = 0;
    CString m_strLabel;
    CString m_strCount;
    CString m_strRanges;
};

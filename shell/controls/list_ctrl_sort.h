#pragma once

#include "platform/base/cstring.h"

class CKelvardinListCtrl;
class QTreeWidgetItem;

// How a list compares the texts of one column. Kinds 2 and 8, like any unknown kind, make
// every row equal, so the rows keep their order.
enum ListCompareKind : int {
    kCompareNone = 0,
    kCompareInteger = 1,
    kCompareFloat = 3,
    kCompareText = 4,
    kCompareTextToo = 5,
    kCompareTextEmptiesLast = 6,
    kCompareDateTime = 7,
};

// Sorts a list's rows by one column, in one direction, by one kind of comparison.
class CListCtrlSortClass {
public:
    static constexpr int kMaxText = 512;

    explicit CListCtrlSortClass(CKelvardinListCtrl& list) : m_list(list) {}
    virtual ~CListCtrlSortClass() = default;

    // Reorders the rows; rows that compare equal keep their order.
    void Sort(int column, bool ascending, int kind);
    // <0, 0 or >0: how row a's text in the sort column compares to row b's.
    static int CompareFunction(const QTreeWidgetItem& a, const QTreeWidgetItem& b,
                               const CListCtrlSortClass& sorter);
    // The comparison of two texts.
    static int CompareTexts(const CString& a, const CString& b, bool ascending, int kind);

private:
    CKelvardinListCtrl& m_list;
    int m_column = 0;
    bool m_ascending = true;
    int m_kind = kCompareNone;
};

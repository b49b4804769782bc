#include "screens/cells/cell_compare.h"

#include <algorithm>

#include "model/ip_text.h"

namespace {

// Beyond any count or number a cell shows; keeps the reading from overflowing.
constexpr long long kNumberLimit = 1'000'000'000'000'000;

template <class T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// The shared rule: equal values 0, an empty first value -param, an empty second param,
// else the order of the values.
template <class T>
int CompareValues(const T& a, const T& b, bool emptyA, bool emptyB, LPARAM param) {
    if (a == b) return 0;
    if (emptyA) return static_cast<int>(-param);
    if (emptyB) return static_cast<int>(param);
    return Order(a, b);
}

bool IsEmptyText(const CString& text) {
    return text.IsEmpty() || text == u"-";
}

DWORD AddressOf(const CString& text) {
    CString copy = text;
    const DWORD address = ParseIPAddress(copy);
    return address == 0xFFFFFFFF ? 0 : address;
}

}  // namespace

long long LeadingNumber(const CString& text) {
    const std::u16string& s = text.str();
    size_t i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t'))
        ++i;
    const bool negative = i < s.size() && s[i] == u'-';
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) ++i;
    long long value = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
        value = std::min(value * 10 + (s[i] - u'0'), kNumberLimit);
    return negative ? -value : value;
}

int CompareCellNumbers(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param) {
    if (!cell1 || !cell2) return 0;
    const long long a = LeadingNumber(cell1->GetText());
    const long long b = LeadingNumber(cell2->GetText());
    return CompareValues(a, b, a == 0, b == 0, param);
}

int CompareCellText(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param) {
    if (!cell1 || !cell2) return 0;
    // Copies: a virtual grid may lend one cell for both rows.
    const CString a = cell1->GetText();
    const CString b = cell2->GetText();
    if (a == b) return 0;
    if (IsEmptyText(a)) return static_cast<int>(-param);
    if (IsEmptyText(b)) return static_cast<int>(param);
    return a.Compare(b) < 0 ? -1 : 1;
}

int CompareCellIPAddr(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param) {
    if (!cell1 || !cell2) return 0;
    const DWORD a = AddressOf(cell1->GetText());
    const DWORD b = AddressOf(cell2->GetText());
    return CompareValues(a, b, a == 0, b == 0, param);
}

#include "shell/controls/list_ctrl_sort.h"

#include <QDateTime>
#include <QLocale>
#include <QTreeWidgetItem>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "platform/ui/qt_convert.h"
#include "shell/controls/kelvardin_list_ctrl.h"

namespace {

int Sign(auto difference) {
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

bool IsBlank(char16_t ch) {
    return ch == u' ' || (ch >= u'\t' && ch <= u'\r');
}

// The leading decimal number of the text, 0 when there is none; clamped to the int range.
int LeadingInteger(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > std::numeric_limits<int>::max()) break;
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The leading floating-point number of the text, 0 when there is none.
double LeadingReal(std::u16string_view text) {
    std::string narrow;
    for (char16_t ch : text)
        narrow += ch < 0x80 ? static_cast<char>(ch) : '\x7F';
    return std::strtod(narrow.c_str(), nullptr);
}

// A date and time as the user writes them, or a date alone.
std::optional<QDateTime> ParseDateTime(const CString& text) {
    const QString value = ToQString(text).trimmed();
    const QLocale locale;
    for (QLocale::FormatType format : {QLocale::ShortFormat, QLocale::LongFormat}) {
        if (QDateTime t = locale.toDateTime(value, format); t.isValid()) return t;
        if (QDate d = locale.toDate(value, format); d.isValid()) return d.startOfDay();
    }
    if (QDateTime t = QDateTime::fromString(value, Qt::ISODate); t.isValid()) return t;
    return std::nullopt;
}

}  // namespace

void CListCtrlSortClass::Sort(int column, bool ascending, int kind) {
    m_column = column;
    m_ascending = ascending;
    m_kind = kind;
    m_list.SortRows(*this);
}

int CListCtrlSortClass::CompareFunction(const QTreeWidgetItem& a, const QTreeWidgetItem& b,
                                        const CListCtrlSortClass& sorter) {
    const int column = sorter.m_column;
    return CompareTexts(FromQString(a.text(column).left(kMaxText)),
                        FromQString(b.text(column).left(kMaxText)), sorter.m_ascending,
                        sorter.m_kind);
}

// Numbers compare by the sign of their difference, which neither overflows nor makes two
// numbers less than one apart equal.
int CListCtrlSortClass::CompareTexts(const CString& a, const CString& b, bool ascending, int kind) {
    const int direction = ascending ? 1 : -1;
    switch (kind) {
        case kCompareInteger:
            return Sign(LeadingInteger(a) - std::int64_t{LeadingInteger(b)}) * direction;
        case kCompareFloat: return Sign(LeadingReal(a) - LeadingReal(b)) * direction;
        case kCompareText:
        case kCompareTextToo: return Sign(a.Compare(b)) * direction;
        case kCompareTextEmptiesLast:
            if (a.IsEmpty()) return b.IsEmpty() ? 0 : 1;
            if (b.IsEmpty()) return -1;
            return Sign(a.Compare(b)) * direction;
        case kCompareDateTime: {
            const auto first = ParseDateTime(a);
            const auto second = ParseDateTime(b);
            if (!first || !second || *first == *second) return 0;
            return (*first < *second ? -1 : 1) * direction;
        }
        default: return 0;
    }
}

#include "platform/base/cstring.h"

#include <algorithm>

#include "platform/base/codepage.h"

FormatArg::FormatArg(const CString& text) : m_kind(Kind::Text), m_text(text.str()) {}

FormatArg::FormatArg(const char16_t* text)
    : m_kind(Kind::Text), m_text(text ? std::u16string_view(text) : std::u16string_view()) {}

FormatArg::FormatArg(const char* text)
    : m_kind(Kind::Text), m_owned(Utf8ToUtf16(text ? std::string_view(text) : "")) {
    m_text = m_owned;
}

FormatArg::FormatArg(const std::string& text) : m_kind(Kind::Text), m_owned(Utf8ToUtf16(text)) {
    m_text = m_owned;
}

CString CString::FromUtf8(std::string_view text) {
    return CString(Utf8ToUtf16(text));
}

namespace {

bool IsWhite(char16_t ch) {
    return ch == u' ' || (ch >= u'\t' && ch <= u'\r');
}

char16_t UpperOf(char16_t ch) {
    if (ch >= u'a' && ch <= u'z') return static_cast<char16_t>(ch - 32);
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return static_cast<char16_t>(ch - 32);
    return ch;
}

char16_t LowerOf(char16_t ch) {
    if (ch >= u'A' && ch <= u'Z') return static_cast<char16_t>(ch + 32);
    if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return static_cast<char16_t>(ch + 32);
    return ch;
}

}  // namespace

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

int CString::Find(char16_t ch, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_s.find(ch, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(std::u16string_view sub, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_s.find(sub, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char16_t ch) const {
    size_t at = m_s.rfind(ch);
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(std::u16string_view from, std::u16string_view to) {
    if (from.empty()) return 0;
    int count = 0;
    size_t at = 0;
    while ((at = m_s.find(from, at)) != std::u16string::npos) {
        m_s.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

int CString::Remove(char16_t ch) {
    size_t before = m_s.size();
    std::erase(m_s, ch);
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, std::u16string_view text) {
    index = std::clamp(index, 0, GetLength());
    m_s.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0) {
        m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::TrimRight() {
    while (!m_s.empty() && IsWhite(m_s.back()))
        m_s.pop_back();
    return *this;
}

CString& CString::TrimRight(std::u16string_view chars) {
    size_t end = m_s.find_last_not_of(chars);
    m_s.erase(end == std::u16string::npos ? 0 : end + 1);
    return *this;
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsWhite(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(std::u16string_view chars) {
    size_t start = m_s.find_first_not_of(chars);
    m_s.erase(0, start == std::u16string::npos ? m_s.size() : start);
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::MakeUpper() {
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), UpperOf);
    return *this;
}

CString& CString::MakeLower() {
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), LowerOf);
    return *this;
}

int CString::Compare(std::u16string_view other) const {
    int r = std::u16string_view(m_s).compare(other);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(std::u16string_view other) const {
    size_t n = std::min(m_s.size(), other.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t a = LowerOf(m_s[i]);
        char16_t b = LowerOf(other[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (m_s.size() == other.size()) return 0;
    return m_s.size() < other.size() ? -1 : 1;
}

CString SubstituteArgs(std::u16string_view message, std::initializer_list<CString> args) {
    std::u16string out;
    out.reserve(message.size());
    for (size_t i = 0; i < message.size(); ++i) {
        char16_t ch = message[i];
        if (ch == u'%' && i + 1 < message.size()) {
            char16_t next = message[i + 1];
            if (next >= u'1' && next <= u'9') {
                size_t n = static_cast<size_t>(next - u'1');
                if (n < args.size()) out += (args.begin() + n)->str();
                ++i;
                continue;
            }
        }
        out += ch;
    }
    return CString(std::move(out));
}

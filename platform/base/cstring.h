#pragma once

#include <compare>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CString;

// One argument of CString::Format. Integers keep their signedness and size so that the
// conversions can read them the way a 32-bit C runtime reads its variadic arguments.
class FormatArg {
public:
    enum class Kind { Integer, Text, Real };

    template <class T>
    requires std::is_integral_v<T> FormatArg(T value)  // NOLINT(google-explicit-constructor)
        : m_kind(Kind::Integer),
          m_int(static_cast<std::int64_t>(value)),
          m_signed(std::is_signed_v<T> && !std::is_same_v<T, char16_t>) {}
    template <class T>
    requires std::is_enum_v<T> FormatArg(T value)  // NOLINT(google-explicit-constructor)
        : FormatArg(static_cast<std::underlying_type_t<T>>(value)) {}
    FormatArg(double value) : m_kind(Kind::Real), m_real(value) {}               // NOLINT
    FormatArg(const CString& text);                                              // NOLINT
    FormatArg(const char16_t* text);                                             // NOLINT
    FormatArg(std::u16string_view text) : m_kind(Kind::Text), m_text(text) {}    // NOLINT
    FormatArg(const std::u16string& text) : m_kind(Kind::Text), m_text(text) {}  // NOLINT
    // Narrow text is taken as UTF-8.
    FormatArg(const char* text);         // NOLINT
    FormatArg(const std::string& text);  // NOLINT

    Kind kind() const { return m_kind; }
    std::int64_t integer() const { return m_int; }
    bool isSigned() const { return m_signed; }
    double real() const { return m_real; }
    std::u16string_view text() const { return m_owned.empty() ? m_text : m_owned; }

private:
    Kind m_kind = Kind::Integer;
    std::int64_t m_int = 0;
    bool m_signed = true;
    double m_real = 0.0;
    std::u16string_view m_text;
    std::u16string m_owned;
};

// UTF-16 text, counted in UTF-16 units.
class CString {
public:
    CString() = default;
    CString(const char16_t* text) : m_s(text ? text : u"") {}  // NOLINT
    CString(const char16_t* text, int count) : m_s(text, count > 0 ? count : 0) {}
    CString(std::u16string text) : m_s(std::move(text)) {}  // NOLINT
    CString(std::u16string_view text) : m_s(text) {}        // NOLINT
    CString(char16_t ch, int repeat = 1) : m_s(repeat > 0 ? repeat : 0, ch) {}

    // ASCII or UTF-8 text.
    static CString FromUtf8(std::string_view text);

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char16_t GetAt(int i) const { return m_s.at(static_cast<size_t>(i)); }
    void SetAt(int i, char16_t ch) { m_s.at(static_cast<size_t>(i)) = ch; }
    char16_t operator[](int i) const { return GetAt(i); }
    const char16_t* GetString() const { return m_s.c_str(); }
    const std::u16string& str() const { return m_s; }
    std::u16string& str() { return m_s; }
    operator std::u16string_view() const { return m_s; }  // NOLINT

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    int Find(char16_t ch, int start = 0) const;
    int Find(std::u16string_view sub, int start = 0) const;
    int ReverseFind(char16_t ch) const;
    int Replace(std::u16string_view from, std::u16string_view to);
    int Remove(char16_t ch);
    int Insert(int index, std::u16string_view text);
    int Delete(int index, int count = 1);

    // Without arguments these remove white space (blank, tab, CR, LF, VT, FF).
    CString& TrimRight();
    CString& TrimRight(std::u16string_view chars);
    CString& TrimLeft();
    CString& TrimLeft(std::u16string_view chars);
    CString& Trim();

    // Case mapping of ASCII and Latin-1 letters.
    CString& MakeUpper();
    CString& MakeLower();

    // Ordinal comparison of UTF-16 units: <0, 0, >0.
    int Compare(std::u16string_view other) const;
    int CompareNoCase(std::u16string_view other) const;

    CString& operator+=(const CString& other) {
        m_s += other.m_s;
        return *this;
    }
    CString& operator+=(std::u16string_view other) {
        m_s += other;
        return *this;
    }
    CString& operator+=(const char16_t* other) {
        m_s += other;
        return *this;
    }
    CString& operator+=(char16_t ch) {
        m_s += ch;
        return *this;
    }

    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend CString operator+(CString a, const char16_t* b) { return a += b; }
    friend CString operator+(const char16_t* a, const CString& b) { return CString(a) += b; }
    friend CString operator+(CString a, char16_t b) { return a += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_s == b; }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
        return a.m_s <=> b.m_s;
    }

    // printf-style formatting with the conversions d i u x X o c s f and %%, the flags
    // - 0 + blank #, width and precision (numbers or *), and the length modifiers h l ll I64.
    template <class... Args>
    void Format(std::u16string_view format, const Args&... args) {
        m_s = FormatList(format, {FormatArg(args)...});
    }
    template <class... Args>
    void AppendFormat(std::u16string_view format, const Args&... args) {
        m_s += FormatList(format, {FormatArg(args)...});
    }
    template <class... Args>
    static CString Formatted(std::u16string_view format, const Args&... args) {
        return CString(FormatList(format, {FormatArg(args)...}));
    }
    static std::u16string FormatList(std::u16string_view format,
                                     std::initializer_list<FormatArg> args);

private:
    std::u16string m_s;
};

// Replaces %1 to %9 in a message with the given texts; other % sequences stay as they are.
CString SubstituteArgs(std::u16string_view message, std::initializer_list<CString> args);

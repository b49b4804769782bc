#include <cstdio>
#include <string>

#include "platform/base/cstring.h"

namespace {

struct Conversion {
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool blank = false;
    bool alt = false;
    int width = -1;
    int precision = -1;
    enum class Size { Default, Short, Long64 } size = Size::Default;
    char16_t conv = 0;
};

class ArgReader {
public:
    ArgReader(const FormatArg* begin, const FormatArg* end) : m_it(begin), m_end(end) {}
    const FormatArg* next() { return m_it == m_end ? nullptr : m_it++; }

private:
    const FormatArg* m_it;
    const FormatArg* m_end;
};

// Reads an integer argument as a 32-bit C runtime would: the default and 'l' sizes are 32 bits.
std::uint64_t IntegerBits(const FormatArg* arg, Conversion::Size size, bool asSigned,
                          bool& negative) {
    negative = false;
    std::int64_t raw = 0;
    if (arg && arg->kind() == FormatArg::Kind::Integer) raw = arg->integer();
    if (arg && arg->kind() == FormatArg::Kind::Real) raw = static_cast<std::int64_t>(arg->real());
    switch (size) {
        case Conversion::Size::Short:
            if (asSigned)
                raw = static_cast<std::int16_t>(raw);
            else
                raw = static_cast<std::uint16_t>(raw);
            break;
        case Conversion::Size::Default:
            if (asSigned)
                raw = static_cast<std::int32_t>(raw);
            else
                raw = static_cast<std::uint32_t>(raw);
            break;
        case Conversion::Size::Long64: break;
    }
    if (asSigned && raw < 0) {
        negative = true;
        return static_cast<std::uint64_t>(-(raw + 1)) + 1;
    }
    return static_cast<std::uint64_t>(raw);
}

std::u16string Digits(std::uint64_t v, unsigned base, bool upper) {
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string out;
    do {
        out.insert(out.begin(), static_cast<char16_t>(set[v % base]));
        v /= base;
    } while (v != 0);
    return out;
}

void Pad(std::u16string& out, const std::u16string& prefix, std::u16string body,
         const Conversion& c, bool zeroAllowed) {
    int len = static_cast<int>(prefix.size() + body.size());
    int fill = c.width > len ? c.width - len : 0;
    if (c.left) {
        out += prefix;
        out += body;
        out.append(static_cast<size_t>(fill), u' ');
    } else if (c.zero && zeroAllowed) {
        out += prefix;
        out.append(static_cast<size_t>(fill), u'0');
        out += body;
    } else {
        out.append(static_cast<size_t>(fill), u' ');
        out += prefix;
        out += body;
    }
}

void FormatInteger(std::u16string& out, const Conversion& c, const FormatArg* arg) {
    bool isSigned = c.conv == u'd' || c.conv == u'i';
    bool negative = false;
    std::uint64_t v = IntegerBits(arg, c.size, isSigned, negative);
    unsigned base = 10;
    if (c.conv == u'x' || c.conv == u'X') base = 16;
    if (c.conv == u'o') base = 8;
    std::u16string body = Digits(v, base, c.conv == u'X');
    if (c.precision == 0 && v == 0) body.clear();
    if (c.precision > static_cast<int>(body.size())) {
        body.insert(0, static_cast<size_t>(c.precision) - body.size(), u'0');
    }
    std::u16string prefix;
    if (isSigned) {
        if (negative)
            prefix = u"-";
        else if (c.plus)
            prefix = u"+";
        else if (c.blank)
            prefix = u" ";
    }
    if (c.alt && v != 0) {
        if (base == 16) prefix = c.conv == u'X' ? u"0X" : u"0x";
        if (base == 8 && (body.empty() || body[0] != u'0')) body.insert(0, 1, u'0');
    }
    Pad(out, prefix, std::move(body), c, c.precision < 0);
}

void FormatReal(std::u16string& out, const Conversion& c, const FormatArg* arg) {
    double v = 0.0;
    if (arg && arg->kind() == FormatArg::Kind::Real) v = arg->real();
    if (arg && arg->kind() == FormatArg::Kind::Integer) v = static_cast<double>(arg->integer());
    std::string fmt = "%";
    if (c.left) fmt += '-';
    if (c.zero) fmt += '0';
    if (c.plus) fmt += '+';
    if (c.blank) fmt += ' ';
    if (c.alt) fmt += '#';
    if (c.width >= 0) fmt += std::to_string(c.width);
    if (c.precision >= 0) {
        fmt += '.';
        fmt += std::to_string(c.precision);
    }
    fmt += static_cast<char>(c.conv);
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, fmt.c_str(), v);
    if (n < 0) return;
    for (int i = 0; i < n && i < static_cast<int>(sizeof buf) - 1; ++i) {
        out += static_cast<char16_t>(static_cast<unsigned char>(buf[i]));
    }
}

void FormatText(std::u16string& out, const Conversion& c, const FormatArg* arg) {
    std::u16string body;
    if (arg && arg->kind() == FormatArg::Kind::Text) body = arg->text();
    if (c.precision >= 0 && static_cast<size_t>(c.precision) < body.size()) {
        body.resize(static_cast<size_t>(c.precision));
    }
    Pad(out, {}, std::move(body), c, false);
}

void FormatChar(std::u16string& out, const Conversion& c, const FormatArg* arg) {
    std::u16string body;
    if (arg && arg->kind() == FormatArg::Kind::Integer) {
        body = static_cast<char16_t>(arg->integer());
    } else if (arg && arg->kind() == FormatArg::Kind::Text && !arg->text().empty()) {
        body = arg->text().substr(0, 1);
    }
    Pad(out, {}, std::move(body), c, false);
}

int ReadNumber(std::u16string_view f, size_t& i) {
    int v = 0;
    while (i < f.size() && f[i] >= u'0' && f[i] <= u'9') {
        if (v < 100000) v = v * 10 + (f[i] - u'0');
        ++i;
    }
    return v;
}

int StarValue(ArgReader& args) {
    const FormatArg* a = args.next();
    if (!a || a->kind() != FormatArg::Kind::Integer) return 0;
    return static_cast<std::int32_t>(a->integer());
}

}  // namespace

std::u16string CString::FormatList(std::u16string_view f, std::initializer_list<FormatArg> list) {
    ArgReader args(list.begin(), list.end());
    std::u16string out;
    out.reserve(f.size() + 16);
    size_t i = 0;
    while (i < f.size()) {
        char16_t ch = f[i++];
        if (ch != u'%') {
            out += ch;
            continue;
        }
        if (i >= f.size()) break;
        if (f[i] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        size_t start = i - 1;
        Conversion c;
        for (bool more = true; more && i < f.size();) {
            switch (f[i]) {
                case u'-':
                    c.left = true;
                    ++i;
                    break;
                case u'0':
                    c.zero = true;
                    ++i;
                    break;
                case u'+':
                    c.plus = true;
                    ++i;
                    break;
                case u' ':
                    c.blank = true;
                    ++i;
                    break;
                case u'#':
                    c.alt = true;
                    ++i;
                    break;
                default: more = false;
            }
        }
        if (i < f.size() && f[i] == u'*') {
            c.width = StarValue(args);
            if (c.width < 0) {
                c.left = true;
                c.width = -c.width;
            }
            ++i;
        } else if (i < f.size() && f[i] >= u'0' && f[i] <= u'9') {
            c.width = ReadNumber(f, i);
        }
        if (i < f.size() && f[i] == u'.') {
            ++i;
            if (i < f.size() && f[i] == u'*') {
                c.precision = StarValue(args);
                if (c.precision < 0) c.precision = -1;
                ++i;
            } else {
                c.precision = ReadNumber(f, i);
            }
        }
        if (f.substr(i, 3) == u"I64") {
            c.size = Conversion::Size::Long64;
            i += 3;
        } else if (f.substr(i, 2) == u"ll") {
            c.size = Conversion::Size::Long64;
            i += 2;
        } else if (i < f.size() && f[i] == u'h') {
            c.size = Conversion::Size::Short;
            ++i;
        } else if (i < f.size() && (f[i] == u'l' || f[i] == u'w')) {
            ++i;  // long is 32 bits, as on the original platform
        }
        if (i >= f.size()) {
            out.append(f.substr(start));
            break;
        }
        c.conv = f[i++];
        switch (c.conv) {
            case u'd':
            case u'i':
            case u'u':
            case u'x':
            case u'X':
            case u'o': FormatInteger(out, c, args.next()); break;
            case u'f':
            case u'e':
            case u'E':
            case u'g':
            case u'G': FormatReal(out, c, args.next()); break;
            case u's':
            case u'S': FormatText(out, c, args.next()); break;
            case u'c':
            case u'C': FormatChar(out, c, args.next()); break;
            default:
                // An unknown conversion is shown as written rather than consuming an argument.
                out.append(f.substr(start, i - start));
        }
    }
    return out;
}

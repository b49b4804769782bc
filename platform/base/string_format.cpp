#include <cstdio>
#include <string>

#include "platform/base/cstring.h"

namespace {

struct Spec {
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
std::uint64_t IntegerBits(const FormatArg* arg, Spec::Size size, bool asSigned, bool& negative) {
    negative = false;
    std::int64_t raw = 0;
    if (arg && arg->kind() == FormatArg::Kind::Integer) raw = arg->integer();
    if (arg && arg->kind() == FormatArg::Kind::Real) raw = static_cast<std::int64_t>(arg->real());
    switch (size) {
        case Spec::Size::Short:
            if (asSigned)
                raw = static_cast<std::int16_t>(raw);
            else
                raw = static_cast<std::uint16_t>(raw);
            break;
        case Spec::Size::Default:
            if (asSigned)
                raw = static_cast<std::int32_t>(raw);
            else
                raw = static_cast<std::uint32_t>(raw);
            break;
        case Spec::Size::Long64:
            break;
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

void Pad(std::u16string& out, const std::u16string& prefix, std::u16string body, const Spec& spec,
         bool zeroAllowed) {
    int len = static_cast<int>(prefix.size() + body.size());
    int fill = spec.width > len ? spec.width - len : 0;
    if (spec.left) {
        out += prefix;
        out += body;
        out.append(static_cast<size_t>(fill), u' ');
    } else if (spec.zero && zeroAllowed) {
        out += prefix;
        out.append(static_cast<size_t>(fill), u'0');
        out += body;
    } else {
        out.append(static_cast<size_t>(fill), u' ');
        out += prefix;
        out += body;
    }
}

void FormatInteger(std::u16string& out, const Spec& spec, const FormatArg* arg) {
    bool isSigned = spec.conv == u'd' || spec.conv == u'i';
    bool negative = false;
    std::uint64_t v = IntegerBits(arg, spec.size, isSigned, negative);
    unsigned base = 10;
    if (spec.conv == u'x' || spec.conv == u'X') base = 16;
    if (spec.conv == u'o') base = 8;
    std::u16string body = Digits(v, base, spec.conv == u'X');
    if (spec.precision == 0 && v == 0) body.clear();
    if (spec.precision > static_cast<int>(body.size())) {
        body.insert(0, static_cast<size_t>(spec.precision) - body.size(), u'0');
    }
    std::u16string prefix;
    if (isSigned) {
        if (negative)
            prefix = u"-";
        else if (spec.plus)
            prefix = u"+";
        else if (spec.blank)
            prefix = u" ";
    }
    if (spec.alt && v != 0) {
        if (base == 16) prefix = spec.conv == u'X' ? u"0X" : u"0x";
        if (base == 8 && (body.empty() || body[0] != u'0')) body.insert(0, 1, u'0');
    }
    Pad(out, prefix, std::move(body), spec, spec.precision < 0);
}

void FormatReal(std::u16string& out, const Spec& spec, const FormatArg* arg) {
    double v = 0.0;
    if (arg && arg->kind() == FormatArg::Kind::Real) v = arg->real();
    if (arg && arg->kind() == FormatArg::Kind::Integer) v = static_cast<double>(arg->integer());
    std::string fmt = "%";
    if (spec.left) fmt += '-';
    if (spec.zero) fmt += '0';
    if (spec.plus) fmt += '+';
    if (spec.blank) fmt += ' ';
    if (spec.alt) fmt += '#';
    if (spec.width >= 0) fmt += std::to_string(spec.width);
    if (spec.precision >= 0) fmt += "." + std::to_string(spec.precision);
    fmt += static_cast<char>(spec.conv);
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, fmt.c_str(), v);
    if (n < 0) return;
    for (int i = 0; i < n && i < static_cast<int>(sizeof buf) - 1; ++i) {
        out += static_cast<char16_t>(static_cast<unsigned char>(buf[i]));
    }
}

void FormatText(std::u16string& out, const Spec& spec, const FormatArg* arg) {
    std::u16string body;
    if (arg && arg->kind() == FormatArg::Kind::Text) body = arg->text();
    if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < body.size()) {
        body.resize(static_cast<size_t>(spec.precision));
    }
    Pad(out, {}, std::move(body), spec, false);
}

void FormatChar(std::u16string& out, const Spec& spec, const FormatArg* arg) {
    std::u16string body;
    if (arg && arg->kind() == FormatArg::Kind::Integer) {
        body = static_cast<char16_t>(arg->integer());
    } else if (arg && arg->kind() == FormatArg::Kind::Text && !arg->text().empty()) {
        body = arg->text().substr(0, 1);
    }
    Pad(out, {}, std::move(body), spec, false);
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
        Spec spec;
        for (bool more = true; more && i < f.size();) {
            switch (f[i]) {
                case u'-':
                    spec.left = true;
                    ++i;
                    break;
                case u'0':
                    spec.zero = true;
                    ++i;
                    break;
                case u'+':
                    spec.plus = true;
                    ++i;
                    break;
                case u' ':
                    spec.blank = true;
                    ++i;
                    break;
                case u'#':
                    spec.alt = true;
                    ++i;
                    break;
                default:
                    more = false;
            }
        }
        if (i < f.size() && f[i] == u'*') {
            spec.width = StarValue(args);
            if (spec.width < 0) {
                spec.left = true;
                spec.width = -spec.width;
            }
            ++i;
        } else if (i < f.size() && f[i] >= u'0' && f[i] <= u'9') {
            spec.width = ReadNumber(f, i);
        }
        if (i < f.size() && f[i] == u'.') {
            ++i;
            if (i < f.size() && f[i] == u'*') {
                spec.precision = StarValue(args);
                if (spec.precision < 0) spec.precision = -1;
                ++i;
            } else {
                spec.precision = ReadNumber(f, i);
            }
        }
        if (f.substr(i, 3) == u"I64") {
            spec.size = Spec::Size::Long64;
            i += 3;
        } else if (f.substr(i, 2) == u"ll") {
            spec.size = Spec::Size::Long64;
            i += 2;
        } else if (i < f.size() && f[i] == u'h') {
            spec.size = Spec::Size::Short;
            ++i;
        } else if (i < f.size() && (f[i] == u'l' || f[i] == u'w')) {
            ++i;  // long is 32 bits, as on the original platform
        }
        if (i >= f.size()) {
            out.append(f.substr(start));
            break;
        }
        spec.conv = f[i++];
        switch (spec.conv) {
            case u'd':
            case u'i':
            case u'u':
            case u'x':
            case u'X':
            case u'o':
                FormatInteger(out, spec, args.next());
                break;
            case u'f':
            case u'e':
            case u'E':
            case u'g':
            case u'G':
                FormatReal(out, spec, args.next());
                break;
            case u's':
            case u'S':
                FormatText(out, spec, args.next());
                break;
            case u'c':
            case u'C':
                FormatChar(out, spec, args.next());
                break;
            default:
                // An unknown conversion is shown as written rather than consuming an argument.
                out.append(f.substr(start, i - start));
        }
    }
    return out;
}

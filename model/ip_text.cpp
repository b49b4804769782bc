#include "model/ip_text.h"

#include "platform/base/codepage.h"
#include "platform/io/dotted_address.h"

namespace {

constexpr DWORD kInvalidAddress = 0xFFFFFFFF;

}  // namespace

CString FormatIPAddress(DWORD address) {
    if (address == 0) return u"-";
    return DottedIPAddress(address);
}

CString DottedIPAddress(DWORD address) {
    return CString::Formatted(u"%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                              (address >> 8) & 0xFF, address & 0xFF);
}

DWORD ParseIPAddress(CString& text) {
    if (text.IsEmpty() || text == u"-") {
        text = u"-";
        return 0;
    }
    int dot = -1;
    for (int i = 0; i < 3; ++i) {
        dot = text.Find(u'.', dot + 1);
        if (dot < 0) return kInvalidAddress;
    }
    CString trimmed = text;
    trimmed.Trim();
    return ParseDottedAddress(ToAnsi(trimmed.str())).value_or(kInvalidAddress);
}

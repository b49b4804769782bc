#include "model/ip_text.h"

CString FormatIPAddress(DWORD address) {
    if (address == 0) return u"-";
    return CString::Formatted(u"%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                              (address >> 8) & 0xFF, address & 0xFF);
}

#pragma once

#include "platform/base/cstring.h"

// The communication settings' special port names, in any letter case: "NET:" the network,
// "NUL:" no link at all.
inline bool IsNetPort(const CString& port) {
    return port.CompareNoCase(u"NET:") == 0;
}
inline bool IsNulPort(const CString& port) {
    return port.CompareNoCase(u"NUL:") == 0;
}

// Settings that name no controller to talk to: "NUL:", or the network before an address is
// known (a first start). There is no link to open for them.
inline bool NamesNoController(const CString& port, CString ip) {
    return IsNulPort(port) || (IsNetPort(port) && ip.Trim().IsEmpty());
}

// The baud rates a controller's serial port runs at; any other becomes 38400.
inline int ClampBaudRate(int baud) {
    return baud == 9600 || baud == 19200 || baud == 38400 ? baud : 38400;
}

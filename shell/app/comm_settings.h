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

// The baud rates a controller's serial port runs at; any other becomes 38400.
inline int ClampBaudRate(int baud) {
    return baud == 9600 || baud == 19200 || baud == 38400 ? baud : 38400;
}

#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// An IPv4 address in host byte order as dotted text, most significant byte first; 0 is "-".
CString FormatIPAddress(DWORD address);

#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// Four dotted decimal numbers or a host name (the first IPv4 address of the answer), in host
// byte order. False, with the address unchanged, when the text is empty, is a number in any
// other form, or does not resolve.
bool ResolveHostAddress(const CString& text, DWORD& address);

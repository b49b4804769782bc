#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A dotted IPv4 text or a host name (the first IPv4 address of the answer), in host byte
// order. False, with the address unchanged, when the text is empty or does not resolve.
bool ResolveHostAddress(const CString& text, DWORD& address);

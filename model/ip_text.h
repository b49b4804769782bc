#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// An IPv4 address in host byte order as dotted text, most significant byte first; 0 is "-".
CString FormatIPAddress(DWORD address);
// The same dotted text, where 0 is "0.0.0.0".
CString DottedIPAddress(DWORD address);

// Dotted IPv4 text to an address in host byte order: four decimal numbers, whatever their
// leading zeros, between blanks. An empty text or "-" becomes "-" and gives 0 (none); any
// other text gives 0xFFFFFFFF (so does 255.255.255.255).
DWORD ParseIPAddress(CString& text);

#pragma once

#include "platform/base/cstring.h"

// The status line of an operation that failed: "FAILED:  " and why.

// A send's failure reason (WM_APP+0x503); reasons without a text of their own are unknown.
CString SendFailureText(int reason);
// WM_APP+0x50A's code for an upload the user gave up after a refusal; the link's own code for
// lost communication is LINK_UPLOAD_LOST.
constexpr int kUploadUserAbort = -1;

// An upload's failure code (a negative WM_APP+0x50A); codes without a text are unknown.
CString UploadFailureText(int code);

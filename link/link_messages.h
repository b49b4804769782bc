#pragma once

#include "platform/base/message_sink.h"

// Private messages that the link posts to its notify window (the main window).

// A transport read or wrote: wParam bit 0 set for a read, bit 1 set when the result was
// negative; lParam the result code.
constexpr UINT WM_LINK_ACTIVITY = WM_APP + 0x509;

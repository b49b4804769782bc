#pragma once

#include "platform/base/message_sink.h"

// Private messages between the main window, its screens and their grids.

// A key went down on a focused grid cell: wParam the key. A non-zero answer from the
// screen consumes it.
constexpr UINT WM_GRID_KEYDOWN = WM_APP + 0x50C;
constexpr UINT WM_GRID_SYSKEYDOWN = WM_APP + 0x50D;
// Does the screen have changes its Cancel Changes could clear? Non-zero: yes.
constexpr UINT WM_SCREEN_HAS_CHANGES = WM_APP + 0x50E;
// The main window's Cancel Changes: the screen asks what to clear and clears it; non-zero
// when it did.
constexpr UINT WM_SCREEN_CLEAR_CHANGES = WM_APP + 0x50F;
// The main window leaves the screen for another.
constexpr UINT WM_SCREEN_LEAVING = WM_APP + 0x510;
// The height that shows the first lParam rows (every row for a negative lParam).
constexpr UINT WM_ROWS_HEIGHT = WM_APP + 0x516;
// A screen puts its rows back in their sort order and filter, once for a burst of replies.
constexpr UINT WM_KEEP_ROW_ORDER = WM_APP + 0x521;

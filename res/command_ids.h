#pragma once

#include "platform/base/win_types.h"

// Command ids of the menus, toolbar and accelerators, as WM_COMMAND carries them.
constexpr UINT ID_ERROR_INFO = 32912;  // shows the last validation error

// The edit commands of the menus and the toolbar, carried out by the grids.
constexpr UINT ID_EDIT_COPY = 0xE122;
constexpr UINT ID_EDIT_CUT = 0xE123;
constexpr UINT ID_EDIT_PASTE = 0xE125;
constexpr UINT ID_EDIT_SELECT_ALL = 0xE12A;

#pragma once

#include "platform/base/win_types.h"

// Command ids of the menus, toolbar and accelerators, as WM_COMMAND carries them.
constexpr UINT ID_ERROR_INFO = 32912;  // shows the last validation error

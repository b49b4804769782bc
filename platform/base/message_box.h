#pragma once

#include "platform/base/win_types.h"

// Message box buttons and icons.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_ICONSTOP = 0x10;

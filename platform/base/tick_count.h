#pragma once

#include "platform/base/win_types.h"

// Milliseconds on a monotonic clock, wrapping at 32 bits: compare two ticks by their
// unsigned difference.
DWORD GetTickCount();

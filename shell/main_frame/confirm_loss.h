#pragma once

#include "platform/base/win_types.h"

// A question before the user's changes or setup are let go: only OK goes on.
bool ConfirmLoss(UINT question);

#pragma once

#include "platform/base/cstring.h"

// The program's string table: message and label texts by their resource id.
// An id that is not in the table gives an empty text.
CString LoadResString(unsigned id);
// True when the ids stand in strictly ascending order, which the lookup relies on.
bool StringTableIsOrdered();

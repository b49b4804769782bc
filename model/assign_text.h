#pragma once

#include "model/value_records.h"
#include "platform/base/cstring.h"

// The text of an assignment: the type's prefix and the number + 1, two digits below 99 and
// one letter with three digits from 99 to 998; empty for higher numbers or unknown types.
CString FormatAssignText(const CAssign& assign);

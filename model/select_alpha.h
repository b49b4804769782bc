#pragma once

#include <vector>

#include "model/value_records.h"
#include "platform/base/cstring.h"

// One alpha offered to the user, held by value: the controller may relabel or remove the alpha
// while the dialog that offers it is open.
struct CAlphaChoice {
    CAssign assign;
    CString label;
};

// The dialog that lets the user pick one of several alphas with the label typed. The shell
// implements it.
class ISelectAlpha {
public:
    virtual ~ISelectAlpha() = default;
    // The zero-based index of the chosen candidate, or -1 when the user cancelled.
    virtual int DoSelectAlpha(const std::vector<CAlphaChoice>& candidates) = 0;
};

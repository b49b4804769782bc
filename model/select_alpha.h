#pragma once

#include <vector>

class CAlpha;

// The dialog that lets the user pick one of several alphas with the label typed. The shell
// implements it.
class ISelectAlpha {
public:
    virtual ~ISelectAlpha() = default;
    // The zero-based index of the chosen candidate, or -1 when the user cancelled.
    virtual int DoSelectAlpha(const std::vector<const CAlpha*>& candidates) = 0;
};

#pragma once

#include <array>

#include "platform/base/win_types.h"

// Where the user was: the screen (0-11) and the parameters it restores, such as its
// selection and scroll position. The main window's history and undo records keep copies.
struct CContext {
    static constexpr int kParams = 12;

    bool operator==(const CContext&) const = default;

    int m_nScreen = -1;
    std::array<DWORD, kParams> m_params{};
};

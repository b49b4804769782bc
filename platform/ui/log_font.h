#pragma once

#include <string>

// A font described by value, in logical units: a negative height is the character height,
// a positive one the cell height. Turned into a pixel-sized font so that printing scales it
// with everything else on the page.
struct LogFont {
    static constexpr int kFaceSize = 32;  // units of the face name, its terminator included

    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;  // tenths of a degree; 900 is text running upwards
    int lfOrientation = 0;
    int lfWeight = 400;  // 400 normal, 700 bold
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    std::u16string lfFaceName;

    bool operator==(const LogFont&) const = default;
};

constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

#pragma once

#include <string>

#include "platform/base/win_types.h"

// One Qt key press as the original platform delivers it: a key-down with a virtual key, then
// the characters it types (none for Delete, arrows and function keys).
struct KeyStroke {
    UINT vk = 0;
    UINT mkFlags = 0;  // MK_SHIFT, MK_CONTROL, MK_ALT
    std::u16string chars;
};

// qtKey and qtModifiers are Qt::Key and Qt::KeyboardModifiers values; text is the event's text.
KeyStroke TranslateKey(int qtKey, unsigned qtModifiers, std::u16string_view text);

#pragma once

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/base/codepage.h"
#include "platform/base/win_types.h"

// The bytes of one record form as read: a zero-padded copy of what the buffer holds, so that a
// record shorter than its form is never read outside its buffer.
template <size_t N>
std::array<BYTE, N> ReadForm(const BYTE* buffer, int length) {
    std::array<BYTE, N> form{};
    if (buffer && length > 0) std::memcpy(form.data(), buffer, std::min<size_t>(length, N));
    return form;
}

// Copies a built form of size bytes into a buffer that can hold it; 0 (nothing written) when
// it cannot.
inline int WriteForm(const BYTE* form, int size, BYTE* buffer, int length) {
    if (!buffer || length < size) return 0;
    std::memcpy(buffer, form, static_cast<size_t>(size));
    return size;
}

// Narrow text in a record: the text in the ANSI code page, cut to n bytes (the rest of the
// field stays as it is); read back as exactly n characters.
inline void PutNarrowText(BYTE* out, std::u16string_view text, size_t n) {
    const std::string narrow = ToAnsi(text);
    std::memcpy(out, narrow.data(), std::min(narrow.size(), n));
}

inline std::u16string GetNarrowText(const BYTE* bytes, size_t n) {
    return FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes), n));
}

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/cstring.h"

// "The ANSI code page" is Windows-1252. A character it cannot hold becomes '?'.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);
char16_t AnsiToChar(unsigned char byte);
// The code of a character in the ANSI code page, or -1 when it has none.
int CharToAnsi(char16_t ch);

// UTF-8 forms; malformed input becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view bytes);
inline std::string ToUtf8(const CString& text) {
    return Utf16ToUtf8(text.str());
}

// Byte forms of UTF-16 units without byte order mark or terminator.
void PutUtf16LE(std::uint8_t* out, std::u16string_view text, size_t units);
std::u16string GetUtf16LE(const std::uint8_t* bytes, size_t units);
void PutUtf16BE(std::uint8_t* out, std::u16string_view text, size_t units);
std::u16string GetUtf16BE(const std::uint8_t* bytes, size_t units);

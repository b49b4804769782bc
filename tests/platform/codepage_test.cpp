#include "platform/base/codepage.h"

#include <gtest/gtest.h>

TEST(CodePage, AnsiRoundTripAndUnmappableCharacters) {
    // Every byte survives a round trip through UTF-16.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(ToAnsi(FromAnsi(all)), all);
    EXPECT_EQ(FromAnsi("\x80\x9F\xE9"), std::u16string(u"\u20AC\u0178\u00E9"));
    // Characters outside Windows-1252 become '?', one byte each.
    EXPECT_EQ(ToAnsi(u"A\u0100\u30A2\u20AC"), std::string("A??\x80"));
    EXPECT_EQ(CharToAnsi(u'\u2122'), 0x99);
    EXPECT_EQ(CharToAnsi(u'\uFF71'), -1);
}

TEST(CodePage, Utf8BothWaysAndMalformedInput) {
    std::u16string text = u"K\u00e9l \u20AC \U0001F600";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\u00e9"), std::string("\xC3\xA9"));
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), std::u16string(u"a\uFFFD"));
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), std::u16string(u"\uFFFD"));     // overlong
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), std::string("\xEF\xBF\xBDx"));  // lone surrogate
}

TEST(CodePage, Utf16ByteForms) {
    std::uint8_t le[6];
    PutUtf16LE(le, u"A\u20AC", 3);
    EXPECT_EQ(std::vector<std::uint8_t>(le, le + 6),
              (std::vector<std::uint8_t>{0x41, 0x00, 0xAC, 0x20, 0x00, 0x00}));
    EXPECT_EQ(GetUtf16LE(le, 2), std::u16string(u"A\u20AC"));
    std::uint8_t be[4];
    PutUtf16BE(be, u"A\u20AC", 2);
    EXPECT_EQ(std::vector<std::uint8_t>(be, be + 4),
              (std::vector<std::uint8_t>{0x00, 0x41, 0x20, 0xAC}));
    EXPECT_EQ(GetUtf16BE(be, 2), std::u16string(u"A\u20AC"));
}

#include "platform/base/cstring.h"

#include <gtest/gtest.h>

TEST(CStringFormat, IntegerConversionsFollowThe32BitRuntime) {
    EXPECT_EQ(CString::Formatted(u"%d|%u|%ld|%lu", -5, 7u, -1, 0xFFFFFFFFu),
              CString(u"-5|7|-1|4294967295"));
    // An unsigned value read by %d and a negative one read by %u reinterpret the 32 bits.
    EXPECT_EQ(CString::Formatted(u"%d %u", 0xFFFFFFFFu, -1), CString(u"-1 4294967295"));
    // Wider values are cut to 32 bits unless the size says 64.
    EXPECT_EQ(CString::Formatted(u"%u %I64u %llx", 0x100000001ull, 0x100000001ull, 0x1FFull),
              CString(u"1 4294967297 1ff"));
    EXPECT_EQ(CString::Formatted(u"%x %X %02.2x %2.2x", 255, 255, 5, 0xABC),
              CString(u"ff FF 05 abc"));
    EXPECT_EQ(CString::Formatted(u"%hu", 70000), CString(u"4464"));
}

TEST(CStringFormat, WidthPrecisionAndFlags) {
    EXPECT_EQ(CString::Formatted(u"[%5d][%-5d][%05d][%+d][% d]", 42, 42, -42, 3, 3),
              CString(u"[   42][42   ][-0042][+3][ 3]"));
    EXPECT_EQ(CString::Formatted(u"%2.2d|%3.3d|MX%02.2d", 7, 5, 3), CString(u"07|005|MX03"));
    // Precision wins over the 0 flag, as in printf.
    EXPECT_EQ(CString::Formatted(u"[%06.3d]", 7), CString(u"[   007]"));
    EXPECT_EQ(CString::Formatted(u"[%*d][%.*s]", 4, 9, 2, u"abcdef"), CString(u"[   9][ab]"));
    EXPECT_EQ(CString::Formatted(u"[%-6s][%6s][%.3s]", u"ab", CString(u"cd"), "xyzw"),
              CString(u"[ab    ][    cd][xyz]"));
    EXPECT_EQ(CString::Formatted(u"%#x %#o %.0d|", 26, 8, 0), CString(u"0x1a 010 |"));
}

TEST(CStringFormat, CharactersPercentAndOddInput) {
    EXPECT_EQ(CString::Formatted(u"'%c' (0x%02.2x)", u'A', 0x41), CString(u"'A' (0x41)"));
    EXPECT_EQ(CString::Formatted(u"100%% %c", char16_t(0x20AC)), CString(u"100% \u20AC"));
    EXPECT_EQ(CString::Formatted(u"%u-%u", 1u, 5u), CString(u"1-5"));
    // Missing arguments format as empty or zero; an unknown conversion stays as written.
    EXPECT_EQ(CString::Formatted(u"%d %s %q"), CString(u"0  %q"));
    EXPECT_EQ(CString::Formatted(u"end %"), CString(u"end "));
    EXPECT_EQ(CString::Formatted(u"%5.1f", 3.14159), CString(u"  3.1"));
}

// The edges: counts beyond the text, nothing found, characters beyond ASCII.
TEST(CStringOps, SubstringsSearchAndCaseAtTheirEdges) {
    EXPECT_EQ(CString(u"  Trunk 12  ").Trim(), CString(u"Trunk 12"));
    EXPECT_EQ(CString(u"--ab--").TrimRight(u"-"), CString(u"--ab"));
    CString t(u"abcdef");
    EXPECT_EQ(t.Mid(10, 2), CString());
    EXPECT_EQ(t.Left(10), t);
    EXPECT_EQ(t.Find(u'z'), -1);
    EXPECT_EQ(CString(u"a.b.c").ReverseFind(u'.'), 3);
    EXPECT_EQ(CString(u"ABC").CompareNoCase(u"abc"), 0);
    EXPECT_EQ(CString(u"ab\u00e9").MakeUpper(), CString(u"AB\u00c9"));
    CString r(u"a-b-c");
    EXPECT_EQ(r.Replace(u"-", u"--"), 2);
    EXPECT_EQ(r, CString(u"a--b--c"));
}

TEST(CStringOps, MessageArgumentSubstitution) {
    EXPECT_EQ(SubstituteArgs(u"Trunk %1 uses %2; 100%", {CString(u"5"), CString(u"PP12")}),
              CString(u"Trunk 5 uses PP12; 100%"));
    EXPECT_EQ(SubstituteArgs(u"%1 and %3", {CString(u"x")}), CString(u"x and "));
}

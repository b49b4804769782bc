#include <gtest/gtest.h>

#include "screens/base/column_widths.h"

namespace {

TEST(ColumnWidthsTest, KeysNumberRepeatedAndMissingHeadings) {
    const std::vector<CString> headings{u"Alpha", u"Port", u"Alpha", u"", u"", u"Two\nLines"};
    EXPECT_EQ(ColumnKeys(headings), (std::vector<CString>{u"Alpha", u"Port", u"Alpha (2)", u"(1)",
                                                          u"(2)", u"Two Lines"}));
}

TEST(ColumnWidthsTest, StoredWidthsComeBackOnTheirColumnsWhateverTheOrder) {
    CColumnWidths widths;
    widths.Remember(u"Port", 0x1234);
    widths.Remember(u"Gone", 77);
    const std::vector<CString> shown{u"Port", u"Alpha"};
    // "Alpha" was fitted before it had data: written for older readers, tied to nothing.
    const StoredColumnWidths stored = widths.Store(shown, std::vector<int>{0x1234, 40});
    EXPECT_EQ(stored.widths, (std::vector<std::uint8_t>{0x12, 0x34, 0, 40, 0, 77}));
    EXPECT_EQ(stored.keys, CString(u"Port\n\nGone\n"));

    CColumnWidths loaded;
    loaded.Load(stored.widths, stored.keys);
    EXPECT_EQ(loaded.Find(u"Port"), 0x1234);
    EXPECT_EQ(loaded.Find(u"Gone"), 77);
    EXPECT_FALSE(loaded.Find(u"Alpha"));

    // Keys without widths, or a trailing odd byte, tie nothing beyond what both hold.
    CColumnWidths cut;
    cut.Load(std::vector<std::uint8_t>{0, 9, 0}, u"Port\nAlpha\nGone\n");
    EXPECT_EQ(cut.Find(u"Port"), 9);
    EXPECT_FALSE(cut.Find(u"Alpha"));
    EXPECT_FALSE(cut.Find(u"Gone"));

    // Widths by position alone, as older versions kept them, tie nothing.
    CColumnWidths older;
    older.Load(std::vector<std::uint8_t>{0, 50, 0, 60}, CString());
    EXPECT_FALSE(older.Find(u"(1)"));
    EXPECT_TRUE(older.IsLoaded());
}

}  // namespace

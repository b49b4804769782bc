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
    const StoredColumnWidths stored = widths.Merge({}, {}, shown, std::vector<int>{0x1234, 40});
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

TEST(ColumnWidthsTest, EachCopyWritesOnlyItsOwnWidthsOverWhatTheOtherStored) {
    // Two copies of the program start from the same stored value.
    const std::vector<CString> shown{u"Icom #", u"Name", u"Address"};
    CColumnWidths first;
    CColumnWidths second;
    first.Load({}, {});
    second.Load({}, {});
    // The second copy's user drags the names' column, and that copy exits.
    second.Remember(u"Name", 150);
    StoredColumnWidths stored = second.Merge({}, {}, shown, std::vector<int>{40, 150, 70});
    EXPECT_EQ(stored.keys, CString(u"\nName\n\n"));
    // The first copy, with its own fitted widths and a drag of its own, exits later: the
    // other's drag stays, and fitted widths are written for older readers only.
    first.Remember(u"Address", 90);
    stored = first.Merge(stored.widths, stored.keys, shown, std::vector<int>{41, 60, 90});
    EXPECT_EQ(stored.widths, (std::vector<std::uint8_t>{0, 41, 0, 150, 0, 90}));
    EXPECT_EQ(stored.keys, CString(u"\nName\nAddress\n"));

    // A width stored for a column is written as stored, never as the fit the grid shows.
    CColumnWidths third;
    third.Load(stored.widths, stored.keys);
    stored = third.Merge(stored.widths, stored.keys, shown, std::vector<int>{41, 60, 70});
    EXPECT_EQ(stored.widths, (std::vector<std::uint8_t>{0, 41, 0, 150, 0, 90}));

    // Widths no screen can use are not taken, but are left in the store as they were.
    const std::vector<std::uint8_t> odd{0xFF, 0x9C, 0, 80, 0, 5};
    CColumnWidths bounded;
    bounded.Load(odd, u"Name\nAddress\nIcom #\n", WidthBounds{10, 1920});
    EXPECT_FALSE(bounded.Find(u"Name"));
    EXPECT_EQ(bounded.Find(u"Address"), 80);
    EXPECT_FALSE(bounded.Find(u"Icom #"));
    stored = bounded.Merge(odd, u"Name\nAddress\nIcom #\n", shown, std::vector<int>{40, 60, 80});
    EXPECT_EQ(stored.widths, (std::vector<std::uint8_t>{0, 5, 0xFF, 0x9C, 0, 80}));
}

}  // namespace

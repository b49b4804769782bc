#include "platform/base/profile.h"

#include <gtest/gtest.h>

#include "res/string_table.h"

TEST(MemoryProfile, ValuesByKindWithDefaultsAndCaseInsensitiveNames) {
    CMemoryProfile p;
    EXPECT_EQ(p.GetProfileInt(u"Corvane\\Configuration", u"NumTrunks", 999), 999u);
    p.WriteProfileInt(u"Corvane\\Configuration", u"NumTrunks", 64);
    EXPECT_EQ(p.GetProfileInt(u"corvane\\configuration", u"numtrunks", 999), 64u);
    // A value of another kind reads as missing.
    EXPECT_EQ(p.GetProfileString(u"Corvane\\Configuration", u"NumTrunks", u"x"), CString(u"x"));
    p.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"10.0.0.1");
    EXPECT_EQ(p.GetProfileString(u"Settings\\Communication", u"IPAddress", u""),
              CString(u"10.0.0.1"));
    EXPECT_FALSE(p.GetProfileBinary(u"Windows\\Application", u"Placement"));
    p.WriteProfileBinary(u"Windows\\Application", u"Placement", {1, 2, 3});
    EXPECT_EQ(*p.GetProfileBinary(u"Windows\\Application", u"Placement"),
              (std::vector<std::uint8_t>{1, 2, 3}));
    p.WriteProfileInt(u"Corvane\\Configuration", u"NumTrunks", 65);
    ASSERT_EQ(p.WriteOrder().size(), 3u);
    EXPECT_EQ(p.WriteOrder()[0].second, CString(u"NumTrunks"));
}

TEST(StringTable, OrderedAndFound) {
    EXPECT_TRUE(StringTableIsOrdered());
    EXPECT_EQ(LoadResString(2449), CString(u"IFBSL"));
    EXPECT_TRUE(LoadResString(1).IsEmpty());
}

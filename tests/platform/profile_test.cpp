#include "platform/base/profile.h"

#include <gtest/gtest.h>

#include "res/string_ids.h"
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

TEST(StringTable, NamedIdsGiveTheirTexts) {
    // Ids once kept under two names in several files: the one name gives the one text.
    EXPECT_EQ(LoadResString(kIdsWriteFailed), CString(u"Could not write to file:\n%1"));
    EXPECT_EQ(LoadResString(kIdsLogWriteFailed), CString(u"Could not write to log file:\n%1"));
    EXPECT_EQ(LoadResString(kIdsUntitled), CString(u"Untitled"));
    EXPECT_EQ(LoadResString(kIdsTrunkCaption), CString(u"Selected Trunk: %1"));
    EXPECT_EQ(LoadResString(kIdsIcomCaptionOne), CString(u"Selected intercom: %1"));
    EXPECT_EQ(LoadResString(kIdsNumberHeading), CString(u"#"));
    EXPECT_EQ(LoadResString(kIdsAppTitle), CString(u"Kelvardin"));
    EXPECT_EQ(LoadResString(kIdsUnknownError), CString(u"An unknown error was encountered."));
    EXPECT_EQ(LoadResString(kIdsIntegerRange), CString(u"Enter an integer between %1 and %2."));
    EXPECT_EQ(LoadResString(kIdsDone), CString(u"Do&ne"));
    // The address message has an id of its own; 2363 is the dynamic-allocation note.
    EXPECT_TRUE(LoadResString(kIdsAddressInvalid).Find(u"The IP address entered is invalid") == 0);
    EXPECT_TRUE(LoadResString(2363).Find(u"When dynamic allocation mode is enabled") == 0);
}

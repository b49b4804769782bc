#include <gtest/gtest.h>

#include "edit_fixture.h"

using ValueEditTest = EditTest;

TEST_F(ValueEditTest, OptionFields) {
    // The ranges and their messages go through the trunk options screen's tests.
    const COptionSpec timeout(COptions::kFieldTimeout);
    EXPECT_TRUE(Edit(timeout, u"99"));
    EXPECT_FALSE(Edit(timeout, u"ten"));  // reads as 0
    m_app.m_bAllocInSeconds = TRUE;
    EXPECT_FALSE(Edit(timeout, u"999"));  // seconds need the controller's capability too
    SetCapabilities(CCVConfig::kMinSecTimeout);
    EXPECT_TRUE(Edit(timeout, u"999"));
    EXPECT_EQ(m_doc.GetAllocationTimeout(), 999u);
    EXPECT_EQ(TakeReports(), (std::vector<int>{6, 6}));

    EXPECT_TRUE(Edit(COptionSpec(COptions::kFieldAutoClear), u"1"));
    EXPECT_TRUE(m_doc.GetAutoClearAllocations());
    EXPECT_FALSE(Edit(COptionSpec(COptions::kFieldAutoClear), u"7"));  // still on
    EXPECT_TRUE(Edit(COptionSpec(COptions::kFieldWaitForTalkKey), u"1"));
    EXPECT_FALSE(Edit(COptionSpec(1621), u"1"));  // set by the controller only
    EXPECT_EQ(m_host.m_undo.GetCount(), 4u);
    EXPECT_TRUE(TakeUpdates().empty());
}

TEST_F(ValueEditTest, GroupFields) {
    const CGroupSpec name(2, CGroup::kFieldName);
    EXPECT_FALSE(Edit(name, u"THIRTEEN CHRS"));
    EXPECT_EQ(ErrorText(0), CString(u"The group name entered is too long.\nGroup names must be 12 "
                                    u"characters or less."));
    EXPECT_TRUE(Edit(name, u"TWELVE CHARS   "));
    EXPECT_EQ(m_doc.GetGroupName(2, FALSE), CString(u"TWELVE CHARS"));
    EXPECT_TRUE(Edit(name, u"SHORT"));
    EXPECT_EQ(m_doc.GetGroupName(2, FALSE), CString(u"SHORT       "));

    EXPECT_TRUE(Edit(CGroupSpec(2, CGroup::kFieldFirstMember + 30), u"1"));
    EXPECT_TRUE(m_doc.IsGroupMember(2, 30));
    EXPECT_NE(m_doc.IsModified(CGroupSpec(2, CGroup::kFieldFirstMember + 30)), 0u);
    EXPECT_FALSE(Edit(CGroupSpec(2, CGroup::kFieldFirstMember + 31), u"1"));  // no intercom 32
    EXPECT_FALSE(Edit(CGroupSpec(2, 1), u"1"));
    EXPECT_EQ(m_host.m_undo.GetCount(), 3u);
}

TEST_F(ValueEditTest, MemoryBytesOnlyOnline) {
    CFakeMemoryPage page(0x100);
    page.m_image[0x10] = 0x5A;
    m_doc.SetMemoryPage(&page);
    const CObjSpec byte(CObjSpec::kController, 0x110, 1629);
    EXPECT_FALSE(Edit(byte, u"1f"));
    EXPECT_EQ(page.m_writeBits.GetCount(), 0u);

    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_TRUE(Edit(byte, u" 1F "));
    EXPECT_EQ(m_doc.GetObjectText(byte), CString(u"1f"));
    EXPECT_NE(m_doc.IsModified(byte), 0u);
    // Nothing else is a byte: no message, no step.
    for (const char16_t* text : {u"zz", u"0x1f", u"100", u"-1"})
        EXPECT_FALSE(Edit(byte, text));
    EXPECT_FALSE(Edit(CObjSpec(CObjSpec::kController, 0x100 + 255, 1629), u"1"));
    EXPECT_FALSE(Edit(CObjSpec(CObjSpec::kController, 0x110, 1630), u"1"));
    EXPECT_FALSE(Edit(CObjSpec(CObjSpec::kController, 0, 77), u"1"));
    EXPECT_TRUE(Edit(CObjSpec(CObjSpec::kController, 0x111, 1629), u""));  // empty is 0
    EXPECT_EQ(page.m_writeValues[0x11], 0);
    EXPECT_EQ(m_host.m_undo.GetCount(), 2u);
    EXPECT_TRUE(TakeReports().empty());

    // Alphas are never edited.
    m_doc.StoreAlpha(CAssign(0, 0, 1), u"DESK");
    EXPECT_FALSE(Edit(CObjSpec(CObjSpec::kAlpha, CAssign(0, 0, 1).GetKey(), 1626), u"X"));
}

TEST_F(ValueEditTest, NumbersTypedWithBlanksAroundThemAreThoseNumbers) {
    EXPECT_TRUE(Edit(COptionSpec(COptions::kFieldTimeout), u" 42 "));
    EXPECT_EQ(m_doc.GetAllocationTimeout(), 42u);
    EXPECT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldComPort), u" 7 "));
    EXPECT_EQ(m_doc.GetIcomComPort(0), 6);
    EXPECT_TRUE(Edit(CIcomSpec(0, CIntercom::kFieldCascadeCost), u"\t300 "));
    EXPECT_EQ(m_doc.GetIcomCascadeCost(0), 300);
    EXPECT_TRUE(TakeReports().empty());
}

#include <gtest/gtest.h>

#include "doc_fixture.h"

using Update = CRecordingViews::Update;

namespace {

// The number of members and the highest one.
std::pair<UINT, int> Members(const CGroup& group) {
    return {group.GetMemberSet().GetCount(), group.GetMemberSet().FindLast()};
}

}  // namespace

// The default records' bytes are those of a full save of the default setup.
TEST_F(DocTest, DefaultSetup) {
    m_doc.StoreAlpha(CAssign(0, 0, 1), u"OLD");
    TakeUpdates();
    ASSERT_TRUE(m_doc.ResetToDefaultSetup());
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{true, CUpdateHint::kRebuild, 0}}));
    EXPECT_TRUE(m_doc.GetAlphas().empty());
    EXPECT_EQ(Config().m_wNumAlphas, 0);
    EXPECT_EQ(Icom(30).GetCascadeCost(), 310);
    EXPECT_FALSE(m_doc.HasModifications());

    // A nested reset is refused and changes nothing.
    m_doc.SetTrunkFixed(TRUE, TRUE, 3);
    Config().m_bResetInProgress = TRUE;
    EXPECT_FALSE(m_doc.ResetToDefaultSetup());
    EXPECT_TRUE(TakeUpdates().empty());
    EXPECT_TRUE(m_doc.GetTrunkFixed(3));
    Config().m_bResetInProgress = FALSE;

    // Every capability and the largest counts; a small controller's default group.
    Configure(CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport, 0xFFFF0000, 255);
    m_app.m_bAllocInSeconds = TRUE;
    Config().m_wNumTrunks = 2000;
    Reset();
    EXPECT_EQ(m_doc.GetAllocationTimeout(), 60u);
    EXPECT_NE(m_doc.FindObject(CTrunkSpec(1999, 1)), nullptr);
    EXPECT_EQ(Icom(254).GetCascadeCost(), 2550);
    EXPECT_EQ(Members(Group(0)), std::pair(31u, 30));
    Config().m_wNumGroups = 1;
    Configure(0, 0, 5);
    EXPECT_EQ(Members(Group(0)), std::pair(5u, 4));
}

TEST_F(DocTest, FindObjectIsBoundedByTheConfiguredCounts) {
    for (const CObjSpec& none : {CObjSpec(CObjSpec::kOptions, 1, 1), CObjSpec(CIcomSpec(-1, 1)),
                                 CObjSpec(CIcomSpec(31, 1)), CObjSpec(CGroupSpec(20, 1)),
                                 CObjSpec(CObjSpec::kController, 0, 1), CObjSpec(7, 0, 1)})
        EXPECT_EQ(m_doc.FindObject(none), nullptr) << none.m_nType << " " << none.m_nIndex;
    const CAssign key(2, 1, 40);
    EXPECT_EQ(m_doc.FindObject(CObjSpec(CObjSpec::kAlpha, key.GetKey(), 1626)), nullptr);
    m_doc.StoreAlpha(key, u"LABEL");
    EXPECT_EQ(m_doc.FindObject(CObjSpec(CObjSpec::kAlpha, key.GetKey(), 1626)),
              m_doc.FindAlpha(key.GetKey()));
    // A smaller configured count hides records until the next reset.
    Config().m_wNumTrunks = 10;
    EXPECT_NE(m_doc.FindObject(CTrunkSpec(9, 1)), nullptr);
    EXPECT_EQ(m_doc.FindObject(CTrunkSpec(10, 1)), nullptr);
}

TEST_F(DocTest, ChangeBitsThroughSpecifications) {
    const CIcomSpec baud(4, CIntercom::kFieldBaudRate);
    m_doc.SetModified(baud, TRUE);
    EXPECT_EQ(m_doc.IsModified(CIcomSpec(4, 1)), 0x08u);
    EXPECT_EQ(m_doc.FindModifiedIcom(), 4);
    m_doc.ClearModified(baud);
    EXPECT_FALSE(m_doc.HasModifications());

    m_doc.SetModified(CTrunkSpec(7, CTrunk::kFieldEnd2), TRUE);
    m_doc.SetModified(CTrunkSpec(5, CTrunk::kFieldFixed), TRUE);
    m_doc.SetModified(COptionSpec(COptions::kFieldAutoClear), TRUE);
    m_doc.SetModified(CGroupSpec(2, CGroup::kFieldFirstMember + 40), TRUE);
    EXPECT_EQ(std::vector<int>({m_doc.FindModifiedTrunk(), m_doc.FindModifiedOptions(),
                                m_doc.FindModifiedGroup()}),
              std::vector<int>({5, 0, 2}));
    m_doc.ClearObjectModified(CTrunkSpec(5, 8));
    EXPECT_EQ(m_doc.FindModifiedTrunk(), 7);
    m_doc.ClearAllModified(CObjSpec::kTrunk);
    EXPECT_EQ(m_doc.FindModifiedTrunk(), -1);
    EXPECT_EQ(m_doc.FindModifiedOptions(), 0);
    m_doc.ClearAllChanges();
    EXPECT_FALSE(m_doc.HasModifications());
    EXPECT_EQ(Group(2).GetFlags() & CCVObject::kChanged, 0u);
    EXPECT_TRUE(TakeUpdates().empty());  // the caller sends the refresh
}

TEST_F(DocTest, MemoryBytesCountAsChangedOnlyOnlineInsideThePage) {
    CFakeMemoryPage page(0x1000);
    m_doc.SetMemoryPage(&page);
    page.m_writeBits.SetBit(254, TRUE);
    const CObjSpec last(CObjSpec::kController, 0x1000 + 254, 1629);
    const CObjSpec beyond(CObjSpec::kController, 0x1000 + 255, 1629);

    EXPECT_EQ(m_doc.IsModified(last), 0u);  // FILE mode
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_NE(m_doc.IsModified(last), 0u);
    m_doc.SetModified(beyond, TRUE);
    EXPECT_EQ(m_doc.IsModified(beyond), 0u);
    m_doc.SetModified(CObjSpec(CObjSpec::kController, 0x1000, 1629), TRUE);
    m_doc.SetModified(last, FALSE);
    EXPECT_EQ(page.m_writeBits.FindNext(0), 0);
    EXPECT_EQ(page.m_writeBits.GetCount(), 1u);
}

// Whole types are walked whatever is shown; a choice is made only among what is shown.
TEST_F(DocTest, FlagWalks) {
    m_app.m_nVisibleIntercoms = 16;
    m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    EXPECT_EQ(Trunk(998).GetFlags() & Group(19).GetFlags() & Options().GetFlags(),
              CCVObject::kInFile);
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(15, 7));
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(30, 0));
    m_doc.SetFlagOnAll(CCVObject::kInFile, FALSE);
    EXPECT_EQ(Trunk(0).GetFlags(), 0u);
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(0, 0));
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(30, 0));
    m_doc.SetFlagOnAll(CCVObject::kInFile | CCVObject::kPartialChoice, TRUE);
    m_doc.ClearHiddenAlphaFlags(CCVObject::kPartialChoice);
    m_doc.SetFlagOnFlagged(CCVObject::kPartialChoice, CCVObject::kChanged);
    EXPECT_EQ(Icom(15).GetAlphaFlags(7),
              CCVObject::kInFile | CCVObject::kPartialChoice | CCVObject::kChanged);
    EXPECT_EQ(Icom(16).GetAlphaFlags(0), CCVObject::kInFile);
    m_doc.SetFlagOnAll(CCVObject::kInFile | CCVObject::kPartialChoice | CCVObject::kChanged, FALSE);

    Trunk(12).SetFlags(CCVObject::kPartialChoice, TRUE);
    m_doc.SetIcomAlphaFlags(3, 2, CCVObject::kPartialChoice, TRUE);
    m_doc.SetIcomAlphaFlags(16, 2, CCVObject::kPartialChoice, TRUE);  // not visible
    m_doc.SetIcomAlphaFlags(3, 8, CCVObject::kPartialChoice, TRUE);   // no such list
    m_doc.SetFlagOnFlagged(CCVObject::kPartialChoice, CCVObject::kInFile);
    EXPECT_EQ(Trunk(12).GetFlags(), CCVObject::kPartialChoice | CCVObject::kInFile);
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(3, 2));
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(16, 2));
}

#include <gtest/gtest.h>

#include "doc_fixture.h"

using Update = CRecordingViews::Update;

namespace {

const CTrunk* Trunk(const CKelvardinDoc& doc, int i) {
    return dynamic_cast<const CTrunk*>(doc.FindObject(CTrunkSpec(i, 1)));
}

const CIntercom* Icom(const CKelvardinDoc& doc, int i) {
    return dynamic_cast<const CIntercom*>(doc.FindObject(CIcomSpec(i, 1)));
}

const CGroup* Group(const CKelvardinDoc& doc, int i) {
    return dynamic_cast<const CGroup*>(doc.FindObject(CGroupSpec(i, 1)));
}

// The number of members and the highest one.
std::pair<UINT, int> Members(const CGroup* group) {
    return {group->GetMemberSet().GetCount(), group->GetMemberSet().FindLast()};
}

}  // namespace

TEST_F(DocTest, DefaultSetup) {
    m_doc.StoreAlpha(CAssign(0, 0, 1), u"OLD");
    TakeUpdates();
    ASSERT_TRUE(m_doc.ResetToDefaultSetup());
    EXPECT_EQ(TakeUpdates(), (std::vector<Update>{{true, kHintRebuild, 0}}));
    EXPECT_TRUE(m_doc.GetAlphas().empty());
    EXPECT_EQ(Config().m_wNumAlphas, 0);
    EXPECT_EQ(Trunk(m_doc, 999), nullptr);
    EXPECT_EQ(m_doc.GetAllocationTimeout(), 1u);
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(Icom(m_doc, i)->GetCascadeCost(), (i + 1) * 10);
    EXPECT_EQ(Icom(m_doc, 31), nullptr);
    EXPECT_EQ(Group(m_doc, 20), nullptr);
    EXPECT_EQ(Group(m_doc, 0)->GetName(), CString(u"DefaultGroup"));
    EXPECT_EQ(Members(Group(m_doc, 0)), std::pair(31u, 30));
    EXPECT_EQ(Group(m_doc, 1)->GetName(), CString(u"------------"));
    EXPECT_EQ(Members(Group(m_doc, 1)).first, 0u);
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
    EXPECT_NE(Trunk(m_doc, 1999), nullptr);
    EXPECT_EQ(Icom(m_doc, 254)->GetCascadeCost(), 2550);
    EXPECT_EQ(Members(Group(m_doc, 0)), std::pair(31u, 30));
    Config().m_wNumGroups = 1;
    Configure(0, 0, 5);
    EXPECT_EQ(Members(Group(m_doc, 0)), std::pair(5u, 4));
}

TEST_F(DocTest, FindObjectIsBoundedByTheConfiguredCounts) {
    EXPECT_NE(m_doc.FindObject(COptionSpec(1)), nullptr);
    EXPECT_EQ(m_doc.FindObject(CObjSpec(CObjSpec::kOptions, 1, 1)), nullptr);
    EXPECT_EQ(m_doc.FindObject(CIcomSpec(-1, 1)), nullptr);
    EXPECT_EQ(m_doc.FindObject(CObjSpec(CObjSpec::kController, 0, 1)), nullptr);
    EXPECT_EQ(m_doc.FindObject(CObjSpec(7, 0, 1)), nullptr);

    const CAssign key(2, 1, 40);
    EXPECT_EQ(m_doc.FindObject(CObjSpec(CObjSpec::kAlpha, key.GetKey(), 1626)), nullptr);
    m_doc.StoreAlpha(key, u"LABEL");
    EXPECT_EQ(m_doc.FindObject(CObjSpec(CObjSpec::kAlpha, key.GetKey(), 1626)),
              m_doc.FindAlpha(key.GetKey()));

    // A smaller configured count hides records until the next reset.
    Config().m_wNumTrunks = 10;
    EXPECT_NE(Trunk(m_doc, 9), nullptr);
    EXPECT_EQ(Trunk(m_doc, 10), nullptr);
}

TEST_F(DocTest, ChangeBitsThroughSpecifications) {
    const CIcomSpec baud(4, CIntercom::kFieldBaudRate);
    m_doc.SetModified(baud, TRUE);
    EXPECT_EQ(m_doc.IsModified(baud), 0x08u);
    EXPECT_EQ(m_doc.IsModified(CIcomSpec(4, 1)), 0x08u);
    EXPECT_EQ(m_doc.FindModifiedIcom(), 4);
    EXPECT_TRUE(m_doc.HasModifications());
    m_doc.ClearModified(baud);
    EXPECT_EQ(m_doc.IsModified(CIcomSpec(4, 1)), 0u);
    EXPECT_FALSE(m_doc.HasModifications());

    m_doc.SetModified(CTrunkSpec(7, CTrunk::kFieldEnd2), TRUE);
    m_doc.SetModified(CTrunkSpec(5, CTrunk::kFieldFixed), TRUE);
    m_doc.SetModified(COptionSpec(COptions::kFieldAutoClear), TRUE);
    m_doc.SetModified(CGroupSpec(2, CGroup::kFieldFirstMember + 40), TRUE);
    EXPECT_EQ(m_doc.FindModifiedTrunk(), 5);
    EXPECT_EQ(m_doc.FindModifiedOptions(), 0);
    EXPECT_EQ(m_doc.FindModifiedGroup(), 2);

    m_doc.ClearObjectModified(CTrunkSpec(5, 8));
    EXPECT_EQ(m_doc.FindModifiedTrunk(), 7);
    m_doc.ClearAllModified(CObjSpec::kTrunk);
    EXPECT_EQ(m_doc.FindModifiedTrunk(), -1);
    EXPECT_EQ(m_doc.FindModifiedOptions(), 0);

    m_doc.ClearAllChanges();
    EXPECT_FALSE(m_doc.HasModifications());
    EXPECT_EQ(Group(m_doc, 2)->GetFlags() & CCVObject::kChanged, 0u);
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
    EXPECT_EQ(page.m_writeBits.GetCount(), 1u);

    m_doc.SetModified(CObjSpec(CObjSpec::kController, 0x1000, 1629), TRUE);
    EXPECT_TRUE(page.m_writeBits.GetBit(0));
    m_doc.SetModified(last, FALSE);
    EXPECT_FALSE(page.m_writeBits.GetBit(254));
}

TEST_F(DocTest, FlagWalks) {
    m_app.m_nVisibleIntercoms = 16;
    m_doc.SetFlagOnType(CObjSpec::kAlpha, CCVObject::kInFile, TRUE);
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(15, 7));
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(16, 0));
    EXPECT_EQ(Icom(m_doc, 16)->GetFlags(), 0u);

    m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    EXPECT_EQ(Trunk(m_doc, 998)->GetFlags(), CCVObject::kInFile);
    EXPECT_EQ(Group(m_doc, 19)->GetFlags(), CCVObject::kInFile);
    EXPECT_EQ(m_doc.FindObject(COptionSpec(1))->GetFlags(), CCVObject::kInFile);
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(20, 3));
    m_doc.SetFlagOnAll(CCVObject::kInFile, FALSE);
    EXPECT_EQ(Trunk(m_doc, 0)->GetFlags(), 0u);
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(0, 0));

    // A partial save marks what the user chose.
    m_doc.FindObject(CTrunkSpec(12, 1))->SetFlags(CCVObject::kPartialChoice, TRUE);
    m_doc.SetIcomAlphaFlags(3, 2, CCVObject::kPartialChoice, TRUE);
    m_doc.SetIcomAlphaFlags(16, 2, CCVObject::kPartialChoice, TRUE);  // not visible
    m_doc.SetIcomAlphaFlags(3, 8, CCVObject::kPartialChoice, TRUE);   // no such list
    m_doc.SetFlagOnFlagged(CCVObject::kPartialChoice, CCVObject::kInFile);
    EXPECT_EQ(Trunk(m_doc, 12)->GetFlags(), CCVObject::kPartialChoice | CCVObject::kInFile);
    EXPECT_TRUE(m_doc.IsAlphaTypeIncluded(3, 2));
    EXPECT_FALSE(m_doc.IsAlphaTypeIncluded(16, 2));
}

TEST_F(DocTest, ReadOnlyFieldIds) {
    for (int id : {0, 1, 2, 9, 77, 80, 1100, 1356, 1362})
        EXPECT_TRUE(CKelvardinDoc::IsReadOnlyObjectID(id)) << id;
    for (int id : {-1, 3, 8, 10, 76, 1101, 1355, 1363, 1364, 1618})
        EXPECT_FALSE(CKelvardinDoc::IsReadOnlyObjectID(id)) << id;
}

#include <gtest/gtest.h>

#include "doc_fixture.h"

using DocValuesTest = DocTest;

TEST_F(DocValuesTest, AbsentRecordsGiveFixedAnswers) {
    const int trunk = Config().m_wNumTrunks;
    EXPECT_EQ(m_doc.GetTrunkEnd(trunk, TRUE), CAssign());
    EXPECT_EQ(m_doc.GetTrunkFixedAssign(-1, FALSE), CAssign());
    EXPECT_FALSE(m_doc.HasTrunkInspect(trunk));
    EXPECT_EQ(m_doc.GetTrunkValue(CTrunkSpec(trunk, 1)), 0u);
    Config().m_wNumIntercoms = 3;  // intercom 4 is gone until the next reset
    EXPECT_EQ(std::vector<int>(
                  {m_doc.GetIcomCascadeCost(4), m_doc.GetIcomConnType(4), m_doc.GetIcomComPort(4)}),
              std::vector<int>({50, -1, -1}));
    Config().m_wNumIntercoms = 31;
    CKelvardinDoc empty;  // never reset: no options record
    EXPECT_EQ(empty.GetAllocationTimeout(), 0u);
    EXPECT_FALSE(empty.SetOptionTimeout(5, TRUE));

    // Change tests answer the bit itself, and only for the lengths that have one.
    Icom(1).SetAllModified();
    EXPECT_EQ(
        std::vector<DWORD>({m_doc.IsIcomNameModified(1, 16), m_doc.IsIcomNameModified(1, 10),
                            m_doc.IsIcomSecondAddressModified(1), m_doc.IsIcomAddressModified(1)}),
        std::vector<DWORD>({0x20, 0, 0x80, 0x100}));
}

TEST_F(DocValuesTest, SearchesOverTrunksAndIntercoms) {
    Trunk(6).SetEndpoint(FALSE, CAssign(255, 0, 3), FALSE);
    Trunk(6).SetEndpoint(TRUE, CAssign(2, 0, 3), FALSE);
    EXPECT_TRUE(m_doc.IsTrunkLinkedToIcom(6, 2));
    EXPECT_FALSE(m_doc.IsTrunkLinkedToIcom(6, -1) || m_doc.IsTrunkLinkedToIcom(6, 255));
    // An index equal to the count names no record.
    const int icoms = Config().m_wNumIntercoms;
    Trunk(7).SetEndpoint(TRUE, CAssign(static_cast<BYTE>(icoms), 0, 3), FALSE);
    EXPECT_FALSE(m_doc.IsTrunkLinkedToIcom(7, icoms));
    EXPECT_EQ(m_doc.GetTrunkValue(CTrunkSpec(6, CTrunk::kFieldEnd1)), 0x02000003u);
    // The heading of side B's requests names the intercom of the inspected trunk's end 2.
    CInspect inspect;
    inspect.SetPair(true, CAssign(1, 0, 2), CAssign(4, 0, 5));
    m_doc.SetTrunkInspect(6, inspect);
    EXPECT_EQ(m_doc.GetTrunkValue(CTrunkSpec(6, 16)), 0x04000005u);

    m_doc.SetIcomComPort(4, TRUE, 7);
    m_doc.SetIcomBackupIP(0x0A000001, TRUE, 9);
    EXPECT_EQ(m_doc.FindIcomByComPort(4, -1), 7);
    EXPECT_EQ(m_doc.FindIcomByComPort(4, 7), -1);
    EXPECT_EQ(m_doc.FindIcomByAddress(0x0A000001, 0), 9);
}

TEST_F(DocValuesTest, ReceivedValuesNeverReplaceAnUnsentEdit) {
    const CIcomSpec baud(0, CIntercom::kFieldBaudRate);
    EXPECT_TRUE(m_doc.SetIcomBaudRate(2, TRUE, 0));
    EXPECT_FALSE(m_doc.SetIcomBaudRate(1, FALSE, 0));
    EXPECT_EQ(m_doc.GetIcomBaudRate(0), 2);
    // Once sent, the controller's next value is stored without a change bit.
    m_doc.ClearAllChanges();
    EXPECT_TRUE(m_doc.SetIcomBaudRate(1, FALSE, 0));
    EXPECT_FALSE(m_doc.SetIcomBaudRate(1, FALSE, 0));
    EXPECT_EQ(m_doc.GetIcomBaudRate(0), 1);
    EXPECT_EQ(m_doc.IsModified(baud), 0u);
    // A user edit that repeats the stored value marks nothing.
    EXPECT_FALSE(m_doc.SetIcomCascadeCost(10, TRUE, 0));
    EXPECT_EQ(m_doc.IsIcomCostModified(0), 0u);

    EXPECT_TRUE(m_doc.SetTrunkFixedAssign(CAssign(1, 0, 5), FALSE, TRUE, 2));
    EXPECT_FALSE(m_doc.SetTrunkFixedAssign(CAssign(1, 0, 6), FALSE, FALSE, 2));
    EXPECT_TRUE(m_doc.SetTrunkCascadable(TRUE, FALSE, 2));
    EXPECT_EQ(m_doc.IsTrunkFixedAssignModified(2, FALSE), 0x08u);
    EXPECT_EQ(m_doc.IsTrunkCascadableModified(2) | m_doc.IsTrunkFixedModified(2), 0u);
    EXPECT_TRUE(m_doc.SetOptionTimeout(7, TRUE));
    EXPECT_FALSE(m_doc.SetOptionTimeout(9, FALSE));
    EXPECT_TRUE(m_doc.SetDynamicAllocModeFromController(TRUE));
    m_doc.SetModified(COptionSpec(1), TRUE);  // every option bit, the mode's 0x04 included
    EXPECT_FALSE(m_doc.SetDynamicAllocModeFromController(FALSE));
    EXPECT_TRUE(m_doc.SetGroupMember(3, 30, TRUE));
    EXPECT_FALSE(m_doc.SetGroupMember(3, 31, TRUE));  // beyond the configured intercoms

    // A name from a file replaces an unsent one, a name from the controller does not.
    m_doc.SetModified(CIcomSpec(1, CIntercom::kFieldName6), TRUE);
    EXPECT_FALSE(m_doc.SetIcomNameFromController(1, 6, u"UPLOAD", FALSE));
    EXPECT_TRUE(m_doc.SetIcomNameFromController(1, 6, u"FILE", TRUE));
    EXPECT_EQ(m_doc.GetIcomText(1, 6, FALSE, FALSE), CString(u"FILE  "));
    m_doc.SetModified(CGroupSpec(2, CGroup::kFieldName), TRUE);
    EXPECT_FALSE(m_doc.SetGroupNameFromController(FALSE, 2, u"Studio"));
    EXPECT_TRUE(m_doc.SetGroupNameFromController(TRUE, 2, u"Studio"));
    EXPECT_EQ(m_doc.GetGroupName(2, FALSE), CString(u"Studio      "));
    EXPECT_TRUE(TakeUpdates().empty());
}

// The controllers' own records are reached only with intercom 0; every table of 255 refuses
// an index beyond its size whatever the configured count says.
TEST_F(DocValuesTest, StatusValuesAndTablesOf255) {
    CCommErrs errors;
    errors.m_berFrom = 3;
    EXPECT_FALSE(m_doc.SetCommErrors(1, 0, errors) || m_doc.SetCommErrors(1, 2, errors));
    EXPECT_TRUE(m_doc.SetCommErrors(0, 2, errors));
    EXPECT_EQ(Config().m_commErrs[1], errors);
    EXPECT_FALSE(m_doc.SetCommStat(5, 2, CCommStat()));
    EXPECT_FALSE(m_doc.SetIcomStatusText(31, u"x"));

    Config().m_wNumIntercoms = 300;
    Reset();
    CSummary summary;
    summary.m_counts[0] = 1;
    EXPECT_TRUE(m_doc.SetTrunkSummary(254, 299, summary));
    EXPECT_FALSE(m_doc.SetTrunkSummary(254, 299, summary));
    EXPECT_FALSE(m_doc.SetTrunkSummary(255, 299, summary));
    EXPECT_FALSE(m_doc.SetTrunkSummary(280, -1, summary));
    EXPECT_TRUE(m_doc.SetGroupMember(0, 254, TRUE));
    EXPECT_FALSE(m_doc.SetGroupMember(0, 255, TRUE));
    EXPECT_EQ(m_doc.GetObjectText(CIcomSpec(299, 81 + 254)), CString(u"1"));
}

TEST_F(DocValuesTest, TrunkOnARemoteTrunkingPort) {
    int trunk = -1;
    CBitArray ports(64);
    ports.SetBit(5, TRUE);
    EXPECT_TRUE(m_doc.SetIcomRemoteTrunkSet(2, ports));
    EXPECT_FALSE(m_doc.SetIcomRemoteTrunkSet(2, ports));
    // A fixed assignment counts only as a PP port.
    EXPECT_TRUE(m_doc.SetTrunkFixedAssign(CAssign(2, 1, 5), TRUE, TRUE, 3));
    EXPECT_FALSE(m_doc.FindTrunkOnRemoteTrunkPort(trunk));
    EXPECT_TRUE(m_doc.SetTrunkFixedAssign(CAssign(2, 0, 5), FALSE, TRUE, 8));
    EXPECT_TRUE(m_doc.FindTrunkOnRemoteTrunkPort(trunk));
    EXPECT_EQ(trunk, 8);
    // The answer is kept until a port set or an assignment changes.
    Trunk(4).SetEndpoint(FALSE, CAssign(2, 3, 5), FALSE);
    EXPECT_TRUE(m_doc.FindTrunkOnRemoteTrunkPort(trunk));
    EXPECT_EQ(trunk, 8);
    m_doc.InvalidatePortCheck();
    EXPECT_TRUE(m_doc.FindTrunkOnRemoteTrunkPort(trunk));
    EXPECT_EQ(trunk, 4);
    EXPECT_TRUE(m_doc.SetIcomRemoteTrunkSet(2, CBitArray(64)));
    EXPECT_FALSE(m_doc.FindTrunkOnRemoteTrunkPort(trunk));
}

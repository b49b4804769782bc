#include "model/cv_config.h"

#include <gtest/gtest.h>

#include <array>

#include "model_fixture.h"

namespace {

const CString kConfiguration = u"Corvane\\Configuration";
const CString kCapabilities = u"Corvane\\Capabilities";
const CString kSettings = u"Settings\\Configuration";

std::array<BYTE, 26> StatusBytes(BYTE flags, BYTE icoms8, WORD icoms16, BYTE fnTypes,
                                 DWORD capabilities) {
    std::array<BYTE, 26> b{};
    b[0] = flags;
    b[1] = icoms8;
    b[2] = 0x01;  // 300 trunks
    b[3] = 0x2C;
    b[5] = fnTypes;
    b[10] = 12;  // groups
    b[11] = 7;
    b[14] = 9;
    b[15] = 2;
    b[16] = static_cast<BYTE>(icoms16 >> 8);
    b[17] = static_cast<BYTE>(icoms16);
    b[22] = static_cast<BYTE>(capabilities >> 24);
    b[23] = static_cast<BYTE>(capabilities >> 16);
    b[24] = static_cast<BYTE>(capabilities >> 8);
    b[25] = static_cast<BYTE>(capabilities);
    return b;
}

}  // namespace

using ConfigTest = ModelTest;

TEST_F(ConfigTest, AnEmptyRegistryLoadsTheDefaults) {
    CCVConfig config;
    config.m_wNumTrunks = 5;
    config.m_dwCapabilities = CCVConfig::kSNMPSupport;
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_wNumIntercoms, 31);
    EXPECT_EQ(config.m_wNumTrunks, 999);
    EXPECT_EQ(config.m_wNumBaudRates, 4);
    EXPECT_EQ(config.m_wNumFnTypes, 6);
    EXPECT_EQ(config.m_wMaxPP, 500);
    EXPECT_EQ(config.m_wMaxOther, 100);
    EXPECT_EQ(config.m_wNumGroups, 20);
    EXPECT_EQ(config.m_nAlphaSize, 4);
    EXPECT_EQ(config.m_nFirstComPort, 0);
    EXPECT_EQ(config.m_nLastComPort, 20);
    EXPECT_EQ(config.m_wFlags, 0);
    EXPECT_EQ(config.m_dwCapabilities, 0u);
    EXPECT_EQ(config.m_capabilitySet.GetCount(), 0u);
    EXPECT_TRUE(config == CCVConfig());
}

TEST_F(ConfigTest, OldControllerRulesAfterLoading) {
    m_profile.WriteProfileInt(kSettings, u"AlphaSize", 16);
    m_profile.WriteProfileInt(kCapabilities, u"NewCorvane", 1);
    CCVConfig config;
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_nAlphaSize, 8);  // no UnicodeSupport

    m_profile.WriteProfileInt(kCapabilities, u"UnicodeSupport", 5);
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_nAlphaSize, 16);

    m_profile.WriteProfileInt(kSettings, u"AlphaSize", 8);
    m_profile.WriteProfileInt(kConfiguration, u"FirstComPort", 1);
    m_profile.WriteProfileInt(kConfiguration, u"LastComPort", 8);
    m_profile.WriteProfileInt(kCapabilities, u"NewCorvane", 0);
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_nAlphaSize, 4);
    EXPECT_EQ(config.m_nFirstComPort, 0);
    EXPECT_EQ(config.m_nLastComPort, 20);
}

TEST_F(ConfigTest, CapabilitiesFromTheRegistry) {
    for (const char16_t* name : {u"TksupvSupport", u"UnicodeSupport", u"EthernetToMC",
                                 u"TwoCVsSupport", u"CascadeCosts", u"LogToken"})
        m_profile.WriteProfileInt(kCapabilities, name, 1);
    CCVConfig config;
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_wFlags, CCVConfig::kTksupvSupport | CCVConfig::kUnicodeSupport);
    EXPECT_EQ(config.m_dwCapabilities, CCVConfig::kEthernetToMC | CCVConfig::kTwoCVsSupport |
                                           CCVConfig::kCascadeCosts | CCVConfig::kLogToken);
    CBitArray expected(CCVConfig::kCapabilitySetSize);
    for (int bit : {0, 6, 7, 9, 11, 13})
        expected.SetBit(static_cast<UINT>(bit), TRUE);
    EXPECT_TRUE(config.m_capabilitySet == expected);
}

TEST_F(ConfigTest, AnIntercomCountAbove255IsClampedWhereItIsAdopted) {
    m_profile.WriteProfileInt(kConfiguration, u"NumIntercoms", 300);
    CCVConfig config;
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_wNumIntercoms, 255);
    EXPECT_NE(config.FindSummary(254), nullptr);
    EXPECT_EQ(config.FindSummary(255), nullptr);

    const auto bytes = StatusBytes(0, 31, 1000, 6, 0);
    config.SetFromControllerReply(CCVStatusRec(bytes.data()));
    EXPECT_EQ(config.m_wNumIntercoms, 255);
}

TEST_F(ConfigTest, SaveWritesEveryValueInOrderAndLoadsBack) {
    CCVConfig config;
    config.m_wNumIntercoms = 64;
    config.m_wNumTrunks = 2000;
    config.m_nAlphaSize = 16;
    config.m_nFirstComPort = 2;
    config.m_nLastComPort = 9;
    config.m_wFlags = CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport;
    config.m_dwCapabilities = CCVConfig::kMinSecTimeout | CCVConfig::kOOSTrunks;
    config.RefreshCapabilitySet();
    config.SaveToRegistry();

    const std::vector<std::pair<CString, CString>> expected = {
        {kConfiguration, u"NumIntercoms"},  {kConfiguration, u"NumTrunks"},
        {kConfiguration, u"NumFnTypes"},    {kConfiguration, u"NumGroups"},
        {kConfiguration, u"NumBaudRates"},  {kConfiguration, u"MaxPP"},
        {kConfiguration, u"MaxOther"},      {kSettings, u"AlphaSize"},
        {kConfiguration, u"FirstComPort"},  {kConfiguration, u"LastComPort"},
        {kCapabilities, u"TksupvSupport"},  {kCapabilities, u"EnhancedStatus"},
        {kCapabilities, u"NewCorvane"},     {kCapabilities, u"UnicodeSupport"},
        {kCapabilities, u"IFBSLSupport"},   {kCapabilities, u"MinSecTimeout"},
        {kCapabilities, u"SNMPSupport"},    {kCapabilities, u"EthernetToMC"},
        {kCapabilities, u"TwoCVsSupport"},  {kCapabilities, u"AlphaCounters"},
        {kCapabilities, u"LogToken"},       {kCapabilities, u"OOSTrunks"},
        {kCapabilities, u"CascadeCosts"},
    };
    EXPECT_EQ(m_profile.WriteOrder(), expected);
    EXPECT_EQ(m_profile.GetProfileInt(kCapabilities, u"NewCorvane", 7), 1u);
    EXPECT_EQ(m_profile.GetProfileInt(kCapabilities, u"IFBSLSupport", 7), 0u);
    EXPECT_EQ(m_profile.GetProfileInt(kCapabilities, u"OOSTrunks", 7), 1u);

    CCVConfig loaded;
    loaded.LoadFromRegistry();
    EXPECT_TRUE(loaded == config);
    EXPECT_EQ(loaded.m_dwCapabilities, config.m_dwCapabilities);
    EXPECT_EQ(loaded.m_wFlags, config.m_wFlags);
}

TEST_F(ConfigTest, ControllerReply) {
    CCVConfig config;
    config.m_nAlphaSize = 8;
    config.m_nLastComPort = 30;
    const auto bytes =
        StatusBytes(CCVConfig::kNewCorvane, 31, 0, 6, CCVConfig::kIFBSLSupport | 0x40000000);
    const CCVStatusRec status(bytes.data());
    EXPECT_TRUE(status.m_bValid);
    EXPECT_EQ(status.m_trunkCount, 300);
    EXPECT_EQ(status.m_alphaChangeCounts, (std::array<BYTE, 4>{7, 0, 0, 9}));
    EXPECT_EQ(status.m_loggingFlags, 2);
    EXPECT_FALSE(CCVStatusRec().m_bValid);

    config.SetFromControllerReply(status);
    EXPECT_EQ(config.m_wNumIntercoms, 31);
    EXPECT_EQ(config.m_wNumTrunks, 300);
    EXPECT_EQ(config.m_wNumGroups, 12);
    EXPECT_EQ(config.m_wNumFnTypes, 8);  // UR and IFBSL added
    EXPECT_EQ(config.m_nAlphaSize, 8);   // kept with NewCorvane
    EXPECT_EQ(config.m_nLastComPort, 30);
    EXPECT_TRUE(config.m_capabilitySet.GetBit(CCVConfig::kCapIFBSL));
    EXPECT_TRUE(config.m_capabilitySet.GetBit(CCVConfig::kCapAlphaCounters));

    const auto wide = StatusBytes(0, 31, 64, 6, 0);
    config.SetFromControllerReply(CCVStatusRec(wide.data()));
    EXPECT_EQ(config.m_wNumIntercoms, 64);
    EXPECT_EQ(config.m_wNumFnTypes, 6);
    EXPECT_EQ(config.m_nAlphaSize, 4);  // an old controller
    EXPECT_EQ(config.m_nLastComPort, 20);
    EXPECT_EQ(config.m_capabilitySet.GetCount(), 0u);
}

TEST_F(ConfigTest, ComparisonAndAssignmentCoverTheConfigurationOnly) {
    CCVConfig a;
    CCVConfig b;
    b.m_wNumAlphas = 40;
    b.FindSummary(3)->m_counts[CSummary::kTrunks] = 9;
    b.m_commErrs[0].m_berTo = 1;
    EXPECT_TRUE(a == b);
    b.m_wFlags = CCVConfig::kTksupvSupport;  // not compared until the set follows
    EXPECT_TRUE(a == b);
    b.RefreshCapabilitySet();
    EXPECT_TRUE(a != b);

    b.m_nLastComPort = 5;
    b.m_bResetInProgress = TRUE;
    a.m_wNumAlphas = 7;
    a = b;
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.m_wFlags, CCVConfig::kTksupvSupport);
    EXPECT_EQ(a.m_nLastComPort, 5);
    EXPECT_TRUE(a.m_bResetInProgress);
    EXPECT_EQ(a.m_wNumAlphas, 7);
    EXPECT_EQ(a.GetSummary(3).m_counts[CSummary::kTrunks], 0u);
    EXPECT_EQ(a.m_commErrs[0].m_berTo, 0);

    CCVConfig copy(b);  // a copy takes everything
    EXPECT_EQ(copy.m_wNumAlphas, 40);
    EXPECT_EQ(copy.GetSummary(3).m_counts[CSummary::kTrunks], 9u);
}

TEST_F(ConfigTest, ObjectCountsAndVisibleCounts) {
    m_app.m_nVisibleIntercoms = 16;
    m_app.m_nVisibleTrunks = 100;
    Config().m_wNumAlphas = 12;
    EXPECT_EQ(Config().GetObjectCount(1, FALSE), 999);
    EXPECT_EQ(Config().GetObjectCount(1, TRUE), 100);
    EXPECT_EQ(Config().GetObjectCount(2, TRUE), 1);
    EXPECT_EQ(Config().GetObjectCount(3, FALSE), 31);
    EXPECT_EQ(Config().GetObjectCount(3, TRUE), 16);
    EXPECT_EQ(Config().GetObjectCount(4, TRUE), 20);
    EXPECT_EQ(Config().GetObjectCount(5, TRUE), 12);
    EXPECT_EQ(Config().GetObjectCount(6, TRUE), 2);
    EXPECT_EQ(Config().GetObjectCount(7, TRUE), 0);
    EXPECT_EQ(m_app.GetVisibleIcomCount(), 16);
    m_app.m_nVisibleIntercoms = 255;
    EXPECT_EQ(m_app.GetVisibleIcomCount(), 31);
    EXPECT_EQ(m_app.GetVisibleTrunkCount(), 100);

    EXPECT_NE(Config().FindSummary(30), nullptr);
    EXPECT_EQ(Config().FindSummary(31), nullptr);
    EXPECT_EQ(Config().FindSummary(-1), nullptr);
}

TEST_F(ConfigTest, SecondsModeNeedsTheCapabilityAndTheSetting) {
    EXPECT_EQ(&GetApp(), &m_app);
    m_app.m_bAllocInSeconds = TRUE;
    EXPECT_FALSE(m_app.IsSecondsMode());
    SetCapabilities(CCVConfig::kMinSecTimeout);
    EXPECT_TRUE(m_app.IsSecondsMode());
    m_app.m_bAllocInSeconds = FALSE;
    EXPECT_FALSE(m_app.IsSecondsMode());
}

#include "model/cv_config.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "model_fixture.h"

namespace {

const CString kConfiguration = u"Corvane\\Configuration";
const CString kCapabilities = u"Corvane\\Capabilities";
const CString kSettings = u"Settings\\Configuration";

std::array<BYTE, 26> StatusBytes(BYTE flags, WORD icoms16, DWORD capabilities, WORD trunks = 300) {
    std::array<BYTE, 26> b{flags, 31, BYTE(trunks >> 8), BYTE(trunks), 0, 6};
    b[10] = 12;  // groups
    b[11] = 7, b[14] = 9, b[15] = 2;
    b[16] = static_cast<BYTE>(icoms16 >> 8);
    b[17] = static_cast<BYTE>(icoms16);
    for (int i = 0; i < 4; ++i)
        b[22 + static_cast<size_t>(i)] = static_cast<BYTE>(capabilities >> (24 - 8 * i));
    return b;
}

}  // namespace

using ConfigTest = ModelTest;

TEST_F(ConfigTest, LoadingTheDefaultsTheCapabilitiesAndTheOldControllerRules) {
    CCVConfig config;
    config.m_wNumTrunks = 5;
    config.LoadFromRegistry();
    EXPECT_TRUE(config == CCVConfig());
    EXPECT_EQ(std::vector<int>({config.m_wNumIntercoms, config.m_wNumTrunks, config.m_wNumBaudRates,
                                config.m_wNumFnTypes, config.m_wMaxPP, config.m_wMaxOther,
                                config.m_wNumGroups, config.m_nAlphaSize, config.m_nFirstComPort,
                                config.m_nLastComPort}),
              std::vector<int>({31, 999, 4, 6, 500, 100, 20, 4, 0, 20}));

    for (const char16_t* name : {u"TksupvSupport", u"EthernetToMC", u"TwoCVsSupport",
                                 u"CascadeCosts", u"LogToken", u"NewCorvane"})
        m_profile.WriteProfileInt(kCapabilities, name, 1);
    m_profile.WriteProfileInt(kSettings, u"AlphaSize", 16);
    m_profile.WriteProfileInt(kConfiguration, u"NumIntercoms", 300);
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_wFlags, CCVConfig::kTksupvSupport | CCVConfig::kNewCorvane);
    EXPECT_EQ(config.m_dwCapabilities, CCVConfig::kEthernetToMC | CCVConfig::kTwoCVsSupport |
                                           CCVConfig::kCascadeCosts | CCVConfig::kLogToken);
    CBitArray expected(CCVConfig::kCapabilitySetSize);
    for (int bit : {0, 2, 7, 9, 11, 13})
        expected.SetBit(static_cast<UINT>(bit), TRUE);
    EXPECT_TRUE(config.m_capabilitySet == expected);
    EXPECT_EQ(config.m_nAlphaSize, 8);       // 16 needs UnicodeSupport
    EXPECT_EQ(config.m_wNumIntercoms, 255);  // every per-intercom table has 255 entries
    EXPECT_EQ(config.FindSummary(255), nullptr);

    // An old controller has names of 4 and COM ports 0 to 20.
    m_profile.WriteProfileInt(kCapabilities, u"NewCorvane", 0);
    m_profile.WriteProfileInt(kConfiguration, u"LastComPort", 8);
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_nAlphaSize, 4);
    EXPECT_EQ(config.m_nLastComPort, 20);
}

TEST_F(ConfigTest, StoredCountsBeyondAControllersAreClampedNotWrapped) {
    CCVConfig config;
    // -1 typed into the settings file, and counts that would wrap in 16 bits.
    m_profile.WriteProfileInt(kConfiguration, u"NumTrunks", 0xFFFFFFFFu);
    m_profile.WriteProfileInt(kConfiguration, u"NumIntercoms", 0x10005u);
    m_profile.WriteProfileInt(kConfiguration, u"NumGroups", 0xFFFFFFFFu);
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_wNumTrunks, CCVConfig::kMaxTrunks);
    EXPECT_EQ(config.m_wNumIntercoms, CCVConfig::kMaxIntercoms);
    EXPECT_EQ(config.m_wNumGroups, CCVConfig::kMaxGroups);
    config.SaveToRegistry();
    EXPECT_EQ(m_profile.GetProfileInt(kConfiguration, u"NumTrunks", 0), 10000u);

    m_profile.WriteProfileInt(kConfiguration, u"NumTrunks", 0x10005u);
    m_profile.WriteProfileInt(kConfiguration, u"NumIntercoms", 64);
    config.LoadFromRegistry();
    EXPECT_EQ(config.m_wNumTrunks, 10000);
    EXPECT_EQ(config.m_wNumIntercoms, 64);
}

TEST_F(ConfigTest, SaveWritesEveryValueInOrderAndLoadsBack) {
    CCVConfig config;
    config.m_wNumIntercoms = 64;
    config.m_wNumTrunks = 2000;
    config.m_nAlphaSize = 16;
    config.m_nLastComPort = 9;
    config.m_wFlags = CCVConfig::kNewCorvane | CCVConfig::kUnicodeSupport;
    config.m_dwCapabilities = CCVConfig::kMinSecTimeout | CCVConfig::kOOSTrunks;
    config.RefreshCapabilitySet();
    config.SaveToRegistry();
    std::vector<CString> names;
    for (const auto& [section, name] : m_profile.WriteOrder())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<CString>{
                         u"NumIntercoms", u"NumTrunks",      u"NumFnTypes",    u"NumGroups",
                         u"NumBaudRates", u"MaxPP",          u"MaxOther",      u"AlphaSize",
                         u"FirstComPort", u"LastComPort",    u"TksupvSupport", u"EnhancedStatus",
                         u"NewCorvane",   u"UnicodeSupport", u"IFBSLSupport",  u"MinSecTimeout",
                         u"SNMPSupport",  u"EthernetToMC",   u"TwoCVsSupport", u"AlphaCounters",
                         u"LogToken",     u"OOSTrunks",      u"CascadeCosts"}));
    EXPECT_EQ(m_profile.WriteOrder()[7].first, kSettings);
    EXPECT_EQ(m_profile.GetProfileInt(kCapabilities, u"IFBSLSupport", 7), 0u);
    CCVConfig loaded;
    loaded.LoadFromRegistry();
    EXPECT_TRUE(loaded == config);
    EXPECT_EQ(loaded.m_dwCapabilities, config.m_dwCapabilities);
}

TEST_F(ConfigTest, ControllerStatusRecord) {
    const auto bytes = StatusBytes(CCVConfig::kNewCorvane, 0, CCVConfig::kIFBSLSupport);
    const CCVStatusRec status(bytes.data());
    EXPECT_EQ(status.m_alphaChangeCounts, (std::array<BYTE, 4>{7, 0, 0, 9}));
    EXPECT_EQ(status.m_loggingFlags, 2);
    EXPECT_FALSE(CCVStatusRec().m_bValid);
    // A controller larger than the setup can hold is taken in at the setup's limits.
    for (auto [icoms, trunks, keptIcoms, keptTrunks] : {std::tuple{0, 300, 31, 300},
                                                        {255, 10000, 255, 10000},
                                                        {256, 300, 255, 300},
                                                        {0xFFFF, 0xFFFF, 255, 10000},
                                                        {0, 10001, 31, 10000}}) {
        const CCVStatusRec large(StatusBytes(0, WORD(icoms), 0, WORD(trunks)).data());
        EXPECT_TRUE(large.m_bValid);
        CCVConfig config;
        config.SetFromControllerReply(large);
        EXPECT_EQ(config.m_wNumIntercoms, keptIcoms) << icoms;
        EXPECT_EQ(config.m_wNumTrunks, keptTrunks) << trunks;
    }

    CCVConfig config;
    config.m_nAlphaSize = 8;
    config.m_nLastComPort = 30;
    config.SetFromControllerReply(status);
    EXPECT_EQ(std::vector<int>({config.m_wNumIntercoms, config.m_wNumTrunks, config.m_wNumGroups,
                                config.m_wNumFnTypes, config.m_nAlphaSize, config.m_nLastComPort}),
              std::vector<int>({31, 300, 12, 8, 8, 30}));  // UR and IFBSL function types added
    config.SetFromControllerReply(CCVStatusRec(StatusBytes(0, 64, 0).data()));
    EXPECT_EQ(std::vector<int>({config.m_wNumIntercoms, config.m_wNumFnTypes, config.m_nAlphaSize,
                                config.m_nLastComPort}),
              std::vector<int>({64, 6, 4, 20}));  // an old controller
    EXPECT_EQ(config.m_capabilitySet.GetCount(), 0u);
}

TEST_F(ConfigTest, ComparisonAndAssignmentCoverTheConfigurationOnly) {
    CCVConfig a, b;
    b.m_wNumAlphas = 40;
    b.FindSummary(3)->m_counts[CSummary::kTrunks] = 9;
    b.m_wFlags = CCVConfig::kTksupvSupport;  // not compared until the set follows
    EXPECT_TRUE(a == b);
    b.RefreshCapabilitySet();
    EXPECT_TRUE(a != b);
    a = b;
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.m_wNumAlphas, 0);
    EXPECT_EQ(a.GetSummary(3).m_counts[CSummary::kTrunks], 0u);
    EXPECT_EQ(CCVConfig(b).GetSummary(3).m_counts[CSummary::kTrunks], 9u);  // a copy takes all
}

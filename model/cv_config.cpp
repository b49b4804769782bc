#include "model/cv_config.h"

#include <algorithm>
#include <variant>

#include "model/app_state.h"
#include "platform/base/byte_order.h"
#include "platform/base/profile.h"

CCVStatusRec::CCVStatusRec(const BYTE* data)
    : m_bValid(TRUE),
      m_flags(data[0]),
      m_icomCount8(data[1]),
      m_trunkCount(GetU16BE(data + 2)),
      m_unused4(data[4]),
      m_fnTypeCount(data[5]),
      m_unused6(GetU16BE(data + 6)),
      m_unused8(GetU16BE(data + 8)),
      m_groupCount(data[10]),
      m_alphaChangeCounts{data[11], data[12], data[13], data[14]},
      m_loggingFlags(data[15]),
      m_icomCount16(GetU16BE(data + 16)),
      m_unused18(GetU16BE(data + 18)),
      m_unused20(GetU16BE(data + 20)),
      m_capabilities(GetU32BE(data + 22)) {}

namespace {

constexpr const char16_t* kConfigSection = u"Corvane\\Configuration";
constexpr const char16_t* kCapabilitySection = u"Corvane\\Capabilities";
constexpr const char16_t* kSettingsSection = u"Settings\\Configuration";

// The configuration values in the order they are read and written. A stored count is clamped
// to what a controller can have: a hand-edited -1 must not size a setup of 65,535 records. One
// below the least a setup can be worked with (no intercoms at all) is read as if missing.
struct ConfigValue {
    const char16_t* section;
    const char16_t* name;
    std::variant<WORD CCVConfig::*, int CCVConfig::*> field;
    DWORD most = 0xFFFFFFFF;
    DWORD least = 0;
};

const ConfigValue kConfigValues[] = {
    {kConfigSection, u"NumIntercoms", &CCVConfig::m_wNumIntercoms, CCVConfig::kMaxIntercoms, 1},
    {kConfigSection, u"NumTrunks", &CCVConfig::m_wNumTrunks, CCVConfig::kMaxTrunks, 1},
    {kConfigSection, u"NumFnTypes", &CCVConfig::m_wNumFnTypes},
    {kConfigSection, u"NumGroups", &CCVConfig::m_wNumGroups, CCVConfig::kMaxGroups},
    {kConfigSection, u"NumBaudRates", &CCVConfig::m_wNumBaudRates},
    {kConfigSection, u"MaxPP", &CCVConfig::m_wMaxPP},
    {kConfigSection, u"MaxOther", &CCVConfig::m_wMaxOther},
    {kSettingsSection, u"AlphaSize", &CCVConfig::m_nAlphaSize},
    {kConfigSection, u"FirstComPort", &CCVConfig::m_nFirstComPort},
    {kConfigSection, u"LastComPort", &CCVConfig::m_nLastComPort},
};

DWORD GetValue(const CCVConfig& config, const ConfigValue& value) {
    return std::visit([&](auto field) { return static_cast<DWORD>(config.*field); }, value.field);
}

void SetValue(CCVConfig& config, const ConfigValue& value, DWORD number) {
    std::visit(
        [&](auto field) {
            using Field = std::remove_reference_t<decltype(config.*field)>;
            config.*field = static_cast<Field>(number);
        },
        value.field);
}

// The capabilities in the order they are read and written, with where each is kept.
struct Capability {
    const char16_t* name;
    WORD flag;
    DWORD capability;
    int setBit;
};

const Capability kCapabilities[] = {
    {u"TksupvSupport", CCVConfig::kTksupvSupport, 0, CCVConfig::kCapTksupv},
    {u"EnhancedStatus", CCVConfig::kEnhancedStatus, 0, CCVConfig::kCapEnhancedStatus},
    {u"NewCorvane", CCVConfig::kNewCorvane, 0, CCVConfig::kCapNewCorvane},
    {u"UnicodeSupport", CCVConfig::kUnicodeSupport, 0, CCVConfig::kCapUnicode},
    {u"IFBSLSupport", 0, CCVConfig::kIFBSLSupport, CCVConfig::kCapIFBSL},
    {u"MinSecTimeout", 0, CCVConfig::kMinSecTimeout, CCVConfig::kCapMinSecTimeout},
    {u"SNMPSupport", 0, CCVConfig::kSNMPSupport, CCVConfig::kCapSNMP},
    {u"EthernetToMC", 0, CCVConfig::kEthernetToMC, CCVConfig::kCapEthernetToMC},
    {u"TwoCVsSupport", 0, CCVConfig::kTwoCVsSupport, CCVConfig::kCapTwoCVs},
    {u"AlphaCounters", 0, CCVConfig::kAlphaCounters, CCVConfig::kCapAlphaCounters},
    {u"LogToken", 0, CCVConfig::kLogToken, CCVConfig::kCapLogToken},
    {u"OOSTrunks", 0, CCVConfig::kOOSTrunks, CCVConfig::kCapOOSTrunks},
    {u"CascadeCosts", 0, CCVConfig::kCascadeCosts, CCVConfig::kCapCascadeCosts},
};

bool Has(const CCVConfig& config, const Capability& c) {
    return c.flag ? config.HasFlag(c.flag) : config.HasCapability(c.capability);
}

}  // namespace

CCVConfig::CCVConfig() = default;

CCVConfig& CCVConfig::operator=(const CCVConfig& other) {
    m_wFlags = other.m_wFlags;
    m_wNumIntercoms = other.m_wNumIntercoms;
    m_wNumTrunks = other.m_wNumTrunks;
    m_wNumBaudRates = other.m_wNumBaudRates;
    m_wNumFnTypes = other.m_wNumFnTypes;
    m_wMaxPP = other.m_wMaxPP;
    m_wMaxOther = other.m_wMaxOther;
    m_wNumGroups = other.m_wNumGroups;
    m_nAlphaSize = other.m_nAlphaSize;
    m_dwCapabilities = other.m_dwCapabilities;
    m_nFirstComPort = other.m_nFirstComPort;
    m_nLastComPort = other.m_nLastComPort;
    m_bResetInProgress = other.m_bResetInProgress;
    m_capabilitySet = other.m_capabilitySet;
    return *this;
}

bool CCVConfig::operator==(const CCVConfig& other) const {
    return m_wNumIntercoms == other.m_wNumIntercoms && m_wNumTrunks == other.m_wNumTrunks &&
           m_wNumBaudRates == other.m_wNumBaudRates && m_wNumFnTypes == other.m_wNumFnTypes &&
           m_wNumGroups == other.m_wNumGroups && m_wMaxPP == other.m_wMaxPP &&
           m_wMaxOther == other.m_wMaxOther && m_nAlphaSize == other.m_nAlphaSize &&
           m_nFirstComPort == other.m_nFirstComPort && m_nLastComPort == other.m_nLastComPort &&
           m_capabilitySet == other.m_capabilitySet;
}

void CCVConfig::LoadFromRegistry() {
    LoadFromRegistry(GetApp().GetProfile());
}

void CCVConfig::SaveToRegistry() const {
    SaveToRegistry(GetApp().GetProfile());
}

void CCVConfig::LoadFromRegistry(IProfile& profile) {
    static const CCVConfig kDefaults;
    for (const ConfigValue& v : kConfigValues) {
        const DWORD fallback = GetValue(kDefaults, v);
        const DWORD stored = profile.GetProfileInt(v.section, v.name, fallback);
        SetValue(*this, v, stored < v.least ? fallback : std::min(stored, v.most));
    }
    m_wFlags = 0;
    m_dwCapabilities = 0;
    for (const Capability& c : kCapabilities) {
        if (profile.GetProfileInt(kCapabilitySection, c.name, 0) == 0) continue;
        m_wFlags |= c.flag;
        m_dwCapabilities |= c.capability;
    }
    ApplyOldControllerRules();
    RefreshCapabilitySet();
}

void CCVConfig::SaveToRegistry(IProfile& profile) const {
    for (const ConfigValue& v : kConfigValues)
        profile.WriteProfileInt(v.section, v.name, GetValue(*this, v));
    for (const Capability& c : kCapabilities)
        profile.WriteProfileInt(kCapabilitySection, c.name, Has(*this, c) ? 1 : 0);
}

void CCVConfig::SetFromControllerReply(const CCVStatusRec& status) {
    m_wFlags = status.m_flags;
    SetIntercomCount(status.m_icomCount16 != 0 ? status.m_icomCount16 : status.m_icomCount8);
    // A controller larger than the setup can hold is worked with up to those limits.
    m_wNumTrunks = std::min(status.m_trunkCount, kMaxTrunks);
    m_wNumGroups = status.m_groupCount;
    m_dwCapabilities = status.m_capabilities;
    RefreshCapabilitySet();
    ApplyOldControllerRules();
    // The controller does not count the UR and IFBSL function types.
    m_wNumFnTypes = static_cast<WORD>(status.m_fnTypeCount + (HasFlag(kNewCorvane) ? 1 : 0) +
                                      (HasCapability(kIFBSLSupport) ? 1 : 0));
}

void CCVConfig::SetIntercomCount(DWORD count) {
    m_wNumIntercoms = static_cast<WORD>(std::min<DWORD>(count, kMaxIntercoms));
}

void CCVConfig::SetComPortRange(int first, int last) {
    m_nFirstComPort = first;
    m_nLastComPort = last;
    ++m_nComPortReports;
}

void CCVConfig::TakeBack(const CCVConfig& copy) {
    const int first = m_nFirstComPort;
    const int last = m_nLastComPort;
    *this = copy;
    if (m_nComPortReports == copy.m_nComPortReports) return;
    m_nFirstComPort = first;
    m_nLastComPort = last;
}

void CCVConfig::ApplyOldControllerRules() {
    if (!HasFlag(kNewCorvane)) {
        m_nAlphaSize = 4;
        m_nFirstComPort = 0;
        m_nLastComPort = 20;
    }
    if (!HasFlag(kUnicodeSupport) && m_nAlphaSize > 8) m_nAlphaSize = 8;
}

void CCVConfig::RefreshCapabilitySet() {
    for (const Capability& c : kCapabilities)
        m_capabilitySet.SetBit(static_cast<UINT>(c.setBit), Has(*this, c));
}

int CCVConfig::GetObjectCount(int objectType, BOOL visibleOnly) const {
    switch (objectType) {
        case 1:
            return visibleOnly ? std::min<int>(m_wNumTrunks, GetApp().m_nVisibleTrunks)
                               : m_wNumTrunks;
        case 2: return 1;
        case 3:
            return visibleOnly ? std::min<int>(m_wNumIntercoms, GetApp().m_nVisibleIntercoms)
                               : m_wNumIntercoms;
        case 4: return m_wNumGroups;
        case 5: return m_wNumAlphas;
        case 6: return 2;
        default: return 0;
    }
}

#pragma once

#include <array>

#include "model/bit_array.h"
#include "model/value_records.h"
#include "platform/base/win_types.h"

class IProfile;

// The controller's status record, parsed from the 26 bytes of a status reply (all multi-byte
// fields big-endian). The fields that only the link uses are kept as received.
struct CCVStatusRec {
    static constexpr int kWireSize = 26;

    // An invalid record of zeros.
    CCVStatusRec() = default;
    // A valid record from 26 bytes.
    explicit CCVStatusRec(const BYTE* data);
    bool operator==(const CCVStatusRec&) const = default;

    BOOL m_bValid = FALSE;
    BYTE m_flags = 0;        // 0: the configuration's flags; bit 0 and 1 are link requests
    BYTE m_icomCount8 = 0;   // 1
    WORD m_trunkCount = 0;   // 2
    BYTE m_unused4 = 0;      // 4
    BYTE m_fnTypeCount = 0;  // 5
    WORD m_unused6 = 0;      // 6
    WORD m_unused8 = 0;      // 8
    BYTE m_groupCount = 0;   // 10
    std::array<BYTE, 4> m_alphaChangeCounts{};  // 11-14: 4-, 6-, 8- and 16-character alphas
    BYTE m_loggingFlags = 0;                    // 15
    WORD m_icomCount16 = 0;                     // 16: used instead of offset 1 when not 0
    WORD m_unused18 = 0;                        // 18
    WORD m_unused20 = 0;                        // 20
    DWORD m_capabilities = 0;                   // 22
};

// What the application knows of the controller's size and abilities. One live instance
// (CAppState::GetConfig) and copies of it.
class CCVConfig {
public:
    // Flags.
    static constexpr WORD kTksupvSupport = 0x04;
    static constexpr WORD kEnhancedStatus = 0x08;
    static constexpr WORD kNewCorvane = 0x10;
    static constexpr WORD kUnicodeSupport = 0x40;
    // Capabilities.
    static constexpr DWORD kOOSTrunks = 0x10000;
    static constexpr DWORD kCascadeCosts = 0x20000;
    static constexpr DWORD kIFBSLSupport = 0x1000000;
    static constexpr DWORD kMinSecTimeout = 0x2000000;
    static constexpr DWORD kSNMPSupport = 0x4000000;
    static constexpr DWORD kEthernetToMC = 0x8000000;
    static constexpr DWORD kTwoCVsSupport = 0x20000000;
    static constexpr DWORD kAlphaCounters = 0x40000000;
    static constexpr DWORD kLogToken = 0x80000000;

    // Bits of the capability set.
    enum CapabilityBit {
        kCapTksupv = 0,
        kCapEnhancedStatus = 1,
        kCapNewCorvane = 2,
        kCapIFBSL = 3,
        kCapMinSecTimeout = 4,
        kCapSNMP = 5,
        kCapUnicode = 6,
        kCapEthernetToMC = 7,
        kCapTwoCVs = 9,
        kCapAlphaCounters = 10,
        kCapLogToken = 11,
        kCapOOSTrunks = 12,
        kCapCascadeCosts = 13,
        kCapabilitySetSize = 14,
    };

    // The largest counts: every per-intercom table has 255 entries.
    static constexpr WORD kMaxIntercoms = 255;
    static constexpr WORD kMaxTrunks = 10000;
    // The controller counts its groups in a byte.
    static constexpr WORD kMaxGroups = 255;

    CCVConfig();
    CCVConfig(const CCVConfig&) = default;
    // Copies the limits, flags, capabilities, the reset flag and the capability set; not the
    // alpha count, counters, statuses or summaries.
    CCVConfig& operator=(const CCVConfig& other);

    // Compares the counts, limits, name length, COM port range and capability set.
    bool operator==(const CCVConfig& other) const;
    bool operator!=(const CCVConfig& other) const { return !(*this == other); }

    // Through the application's profile ("Corvane\\Configuration", "Corvane\\Capabilities" and
    // "Settings\\Configuration" for AlphaSize).
    void LoadFromRegistry();
    void SaveToRegistry() const;
    void LoadFromRegistry(IProfile& profile);
    void SaveToRegistry(IProfile& profile) const;

    void SetFromControllerReply(const CCVStatusRec& status);

    BOOL HasFlag(WORD flag) const { return (m_wFlags & flag) != 0; }
    BOOL HasCapability(DWORD capability) const { return (m_dwCapabilities & capability) != 0; }

    // The number of records of an object type (1 trunks, 2 options, 3 intercoms, 4 groups,
    // 5 alphas, 6 controllers); with visibleOnly the trunk and intercom counts are limited by
    // the "VisibleTrunks" and "VisibleIntercoms" settings.
    int GetObjectCount(int objectType, BOOL visibleOnly) const;

    // The controller's trunk summary towards an intercom, or a shared zero summary.
    const CSummary& GetSummary(int icom) const { return m_summaries.Get(icom, m_wNumIntercoms); }
    CSummary* FindSummary(int icom) { return m_summaries.Find(icom, m_wNumIntercoms); }

    // Sets the capability set's bits from the flags and capabilities.
    void RefreshCapabilitySet();

    // The range of COM ports the controller reported.
    void SetComPortRange(int first, int last);
    // A copy taken earlier put back over this configuration (assigned), but for a COM port
    // range the controller reported since: the controller's word is not taken back.
    void TakeBack(const CCVConfig& copy);

    WORD m_wFlags = 0;
    WORD m_wNumIntercoms = 31;
    WORD m_wNumTrunks = 999;
    WORD m_wNumBaudRates = 4;
    WORD m_wNumFnTypes = 6;
    WORD m_wMaxPP = 500;
    WORD m_wMaxOther = 100;
    WORD m_wNumGroups = 20;
    WORD m_wNumAlphas = 0;
    DWORD m_dwCapabilities = 0;
    int m_nAlphaSize = 4;
    int m_nFirstComPort = 0;
    int m_nLastComPort = 20;
    std::array<CCommErrs, 2> m_commErrs{};
    std::array<CCommStat, 2> m_commStat{};
    BOOL m_bResetInProgress = FALSE;
    CBitArray m_capabilitySet{kCapabilitySetSize};

private:
    void ApplyOldControllerRules();
    void SetIntercomCount(DWORD count);

    CSummaryTable m_summaries;
    // The COM port ranges reported; copied with a copy, never assigned.
    unsigned m_nComPortReports = 0;
};

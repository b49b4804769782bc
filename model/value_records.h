#pragma once

#include <array>
#include <cstdint>

#include "model/bit_array.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// Stores a value when it differs from the stored one; 1 when it did.
template <class T>
BOOL StoreChanged(T& field, const T& value) {
    if (field == value) return FALSE;
    field = value;
    return TRUE;
}

// Resource type codes travel only in controller messages; everything kept in memory and in
// setup files carries the alpha list index 0-7 ("PP", "PL", "IFB", "SL", "RY", "ISO", "UR",
// "IFBSL"). Code 7 is not a type; code 8 (IFBSL) is index 7.
constexpr int kAlphaListCount = 8;
// -1 for codes 7 and 9 or more.
int AlphaTypeToIndex(int typeCode);
// -1 for an index of 8 or more.
int AlphaIndexToType(int index);

// One resource address: intercom, alpha list index and resource (port) number.
class CAssign {
public:
    static constexpr BYTE kNoIcom = 255;
    static constexpr BYTE kNoType = 255;
    static constexpr WORD kNoNumber = 0x0FFF;
    static constexpr int kWireSize = 4;

    CAssign() = default;
    CAssign(BYTE icom, BYTE type, WORD number) : m_icom(icom), m_type(type), m_number(number) {}

    // Whether the assignment names a resource: an intercom below 255 and a list index 0-7.
    BOOL IsValid() const { return m_icom < kNoIcom && m_type < kAlphaListCount; }

    // The assignment key: intercom in bits 24-31, list index in bits 16-23, number in 0-15.
    DWORD GetKey() const {
        return (static_cast<DWORD>(m_icom) << 24) | (static_cast<DWORD>(m_type) << 16) | m_number;
    }
    static CAssign FromKey(DWORD key) {
        return CAssign(static_cast<BYTE>(key >> 24), static_cast<BYTE>(key >> 16),
                       static_cast<WORD>(key));
    }

    // 4 bytes: intercom, type, number (big-endian).
    void ToWire(BYTE* buffer) const;
    static CAssign FromWire(const BYTE* buffer);

    bool operator==(const CAssign&) const = default;

    BYTE m_icom = kNoIcom;
    BYTE m_type = kNoType;
    WORD m_number = kNoNumber;
};

// A trunk's inspection data. Sides are chosen by a boolean that is true for side (list) 1;
// entries run 0-7, and an entry of 8 or more reads as 0 or as a none assignment and is never
// stored. Setters answer 1 when the value changed.
class CInspect {
public:
    static constexpr int kEntries = 8;

    // The side's request id: for side 1 the trunk the data belongs to (-1 = no data), for side
    // 2 the second trunk (-1 = none, and then side 2 has no pair).
    int GetSideId(bool side1) const { return m_id[Side(side1)]; }
    BOOL SetSideId(bool side1, int id);
    BOOL HasData() const { return m_id[0] >= 0; }

    const CAssign& GetPair(bool side1, bool first) const {
        return m_pair[Side(side1)][first ? 0 : 1];
    }
    BOOL SetPair(bool side1, const CAssign& first, const CAssign& second);

    DWORD GetEntryCount(bool side1) const { return m_count[Side(side1)]; }
    BOOL SetEntryCount(bool side1, DWORD count);

    const CAssign& GetEntry(bool side1, int entry) const;
    BOOL SetEntry(bool side1, int entry, const CAssign& assign);

    BYTE GetStateA(bool side1, int entry) const { return GetState(side1, 0, entry); }
    BYTE GetStateB(bool side1, int entry) const { return GetState(side1, 1, entry); }
    BOOL SetStates(bool side1, int entry, BYTE stateA, BYTE stateB);

    bool operator==(const CInspect&) const = default;

private:
    static int Side(bool side1) { return side1 ? 0 : 1; }
    static bool InRange(int entry) { return entry >= 0 && entry < kEntries; }
    BYTE GetState(bool side1, int row, int entry) const;

    std::array<int, 2> m_id = {-1, -1};
    std::array<std::array<CAssign, 2>, 2> m_pair{};
    std::array<DWORD, 2> m_count = {0, 0};
    std::array<std::array<CAssign, kEntries>, 2> m_entries{};
    // [side][row A or B][entry]
    std::array<std::array<std::array<BYTE, kEntries>, 2>, 2> m_state{};
};

// Trunk counts towards one intercom, in the order of the trunk summary reply.
class CSummary {
public:
    enum Count { kTrunks, kAllocated, kInUse, kMaintenance, kOutOfService, kCountKinds };

    bool operator==(const CSummary&) const = default;

    std::array<DWORD, kCountKinds> m_counts{};
};

// The 255 summaries an intercom or the controller keeps, one per other intercom.
class CSummaryTable {
public:
    static constexpr int kSize = 255;

    // The summary towards intercom i, or a shared all-zero summary when i is not below both
    // the configured intercom count and the table's size.
    const CSummary& Get(int i, int configuredCount) const;
    // The same entry for storing, or null.
    CSummary* Find(int i, int configuredCount);

private:
    static bool InRange(int i, int configuredCount) {
        return i >= 0 && i < kSize && i < configuredCount;
    }

    std::array<CSummary, kSize> m_entries{};
};

// Remote trunking of an intercom: the start number and the ports reserved for it.
class CRemStat {
public:
    DWORD GetStart() const { return m_start; }
    BOOL SetStart(DWORD start);
    const CBitArray& GetPorts() const { return m_ports; }
    // 1 when the sets differ; the set is then copied.
    BOOL SetPorts(const CBitArray& ports);

private:
    DWORD m_start = 0;
    CBitArray m_ports;
};

// Communication status of a link or intercom.
class CCommStat {
public:
    static constexpr int kUnknownCode = 127;

    bool operator==(const CCommStat&) const = default;

    DWORD m_ok = 0;     // from bit 0x01 of a status byte
    DWORD m_flag2 = 0;  // 0x02
    DWORD m_flag3 = 0;  // 0x04
    int m_code = kUnknownCode;
    DWORD m_number = 0;
    DWORD m_byteValue = 0;
    DWORD m_wordValue = 0;
    CString m_text;
};

// Error counters of a link (status fields 77-80).
class CCommErrs {
public:
    bool operator==(const CCommErrs&) const = default;

    BYTE m_errorsTo = 0;
    BYTE m_berTo = 0;
    BYTE m_errorsFrom = 0;
    BYTE m_berFrom = 0;
};

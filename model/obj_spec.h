#pragma once

#include <tuple>

#include "platform/base/win_types.h"

// Names one field of one record: an object type, the record's index and the field id (1 stands
// for the whole record). Every grid cell is bound to one.
class CObjSpec {
public:
    enum ObjectType : int {
        kNone = 0,
        kTrunk = 1,
        kOptions = 2,
        kIntercom = 3,
        kGroup = 4,
        kAlpha = 5,       // index: the assignment key
        kController = 6,  // index 0 or 1 for the status rows, else a memory address
    };
    static constexpr DWORD kFieldRecord = 1;
    // How the text of a trunk end or fixed assignment is read: the field id of a fieldSpec of
    // type 5.
    enum EntryKind : DWORD {
        kEntryIcom = 66,          // an intercom by name or number
        kEntryAlphaLabel = 1626,  // the label of an alpha
        kEntryAssignText = 1627,  // an assignment text, or a bare port number for an end
        kEntryAssignKey = 1628,   // an assignment key in decimal (undo records)
    };

    CObjSpec() = default;
    CObjSpec(DWORD type, DWORD index, DWORD fieldId)
        : m_nType(type), m_nIndex(index), m_nFieldId(fieldId) {}
    CObjSpec(const CObjSpec&) = default;
    CObjSpec& operator=(const CObjSpec&) = default;
    virtual ~CObjSpec() = default;

    // The fieldSpec of a plain field: the text is the value itself.
    static CObjSpec Plain() { return CObjSpec(kNone, 0, kFieldRecord); }

    bool IsEmpty() const { return m_nType == kNone; }
    // The index as the signed number that the getters take (an intercom index may be negative).
    int GetIndex() const { return static_cast<int>(m_nIndex); }

    bool operator==(const CObjSpec& other) const { return Key() == other.Key(); }
    // The field as a value that orders and compares, for sets of fields.
    using CKey = std::tuple<DWORD, DWORD, DWORD>;
    CKey Key() const { return {m_nType, m_nIndex, m_nFieldId}; }

    DWORD m_nType = kNone;
    DWORD m_nIndex = 0;
    DWORD m_nFieldId = 0;
};

class CTrunkSpec : public CObjSpec {
public:
    CTrunkSpec(int trunk, DWORD fieldId) : CObjSpec(kTrunk, static_cast<DWORD>(trunk), fieldId) {}
};

class COptionSpec : public CObjSpec {
public:
    explicit COptionSpec(DWORD fieldId) : CObjSpec(kOptions, 0, fieldId) {}
};

class CIcomSpec : public CObjSpec {
public:
    CIcomSpec(int icom, DWORD fieldId) : CObjSpec(kIntercom, static_cast<DWORD>(icom), fieldId) {}
};

class CGroupSpec : public CObjSpec {
public:
    CGroupSpec(int group, DWORD fieldId) : CObjSpec(kGroup, static_cast<DWORD>(group), fieldId) {}
};

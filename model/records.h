#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/bit_array.h"
#include "model/value_records.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// ORs bits into a flags word or clears them from it.
inline void SetBits(DWORD& word, DWORD bits, BOOL on) {
    if (on)
        word |= bits;
    else
        word &= ~bits;
}

// The text with blanks appended up to the length; a longer text stays as it is.
inline CString PadWithBlanks(const CString& text, int length) {
    if (text.GetLength() >= length) return text;
    CString padded;
    padded.str().reserve(static_cast<std::size_t>(length));
    padded.str() = text.str();
    padded.str().append(static_cast<std::size_t>(length - text.GetLength()), u' ');
    return padded;
}

// A record of the setup: a flags word with change bits and the conversion to and from its
// fixed-size big-endian byte form, which is the same in setup files and controller messages.
class CCVObject {
public:
    // Bits of the flags word beside the change bits.
    static constexpr DWORD kChanged = 0x2000;        // the record has changes
    static constexpr DWORD kInFile = 0x4000;         // included in the file written or read
    static constexpr DWORD kPartialChoice = 0x8000;  // chosen for a partial save

    CCVObject() = default;
    CCVObject& operator=(const CCVObject&) = delete;
    virtual ~CCVObject() = default;

    // Reads the form that length selects; a buffer shorter than the form is read as if padded
    // with zeros. With mark the values read count as changes. Returns the bytes consumed.
    virtual int FromWire(const BYTE* buffer, int length, BOOL mark) = 0;
    // Reads a record of a setup file: the same as FromWire, except that a file replaces what
    // it holds even where a change is pending (a group's 34-byte member set).
    virtual int FromFile(const BYTE* buffer, int length, BOOL mark) {
        return FromWire(buffer, length, mark);
    }
    // Writes the form that length selects; a buffer shorter than the form gets nothing and
    // the result is 0. With clearAfter the change bits the form carried are cleared. Returns
    // the bytes written.
    virtual int ToWire(BYTE* buffer, int length, BOOL clearAfter) = 0;
    // The change bits that are set (non-zero when the record has a change).
    virtual DWORD IsModified() const = 0;
    virtual DWORD IsModified(UINT fieldId) const = 0;
    // Sets or clears a field's change bits; 0x2000 then follows IsModified(). Unknown field
    // ids change nothing.
    virtual void SetModified(UINT fieldId, BOOL on) = 0;
    virtual void ClearModified() = 0;
    virtual void SetAllModified() = 0;

    // The field id that names every field of a record.
    static constexpr UINT kWholeRecord = 1;
    // The number of the document's write that last changed the field (0: none since the
    // record was made). Kept only for the fields whose value another record may also hold.
    virtual std::uint64_t GetWriteNumber(UINT /*fieldId*/) const { return 0; }
    virtual void NoteWrite(UINT /*fieldId*/, std::uint64_t /*number*/) {}

    DWORD GetFlags() const { return m_dwFlags; }
    // ORs bits into or clears them from the flags word, without recomputing 0x2000.
    void SetFlags(DWORD bits, BOOL on) { SetBits(m_dwFlags, bits, on); }

protected:
    // Only whole records are copied (a copy of the setup kept to be put back).
    CCVObject(const CCVObject&) = default;

    // Stores a value that differs from the stored one and, with mark, ORs the field's change
    // bits and 0x2000 into the flags word. 1 when stored.
    template <class T>
    BOOL StoreField(T& field, const T& value, DWORD changeBits, BOOL mark) {
        if (!StoreChanged(field, value)) return FALSE;
        if (mark) m_dwFlags |= changeBits | kChanged;
        return TRUE;
    }
    // Sets 0x2000 when IsModified() is non-zero and clears it otherwise.
    void UpdateChanged();

    DWORD m_dwFlags = 0;
};

// The write numbers (CCVObject::GetWriteNumber) of the fields First to Last of a record.
template <UINT First, UINT Last>
class CFieldWrites {
public:
    std::uint64_t Get(UINT fieldId) const {
        return Holds(fieldId) ? m_numbers[fieldId - First] : 0;
    }
    void Note(UINT fieldId, std::uint64_t number) {
        if (fieldId == CCVObject::kWholeRecord) m_numbers.fill(number);
        if (Holds(fieldId)) m_numbers[fieldId - First] = number;
    }

private:
    static bool Holds(UINT fieldId) { return fieldId >= First && fieldId <= Last; }
    std::array<std::uint64_t, Last - First + 1> m_numbers{};
};

// A record whose change bits are low bits of its flags word, looked up by field id.
class CFieldBitsRecord : public CCVObject {
public:
    DWORD IsModified() const override { return m_dwFlags & m_changeMask; }
    DWORD IsModified(UINT fieldId) const override { return m_dwFlags & FieldBits(fieldId); }
    void SetModified(UINT fieldId, BOOL on) override;
    void ClearModified() override { m_dwFlags &= ~(m_changeMask | kChanged); }
    void SetAllModified() override { m_dwFlags |= m_changeMask | kChanged; }

protected:
    explicit CFieldBitsRecord(DWORD changeMask) : m_changeMask(changeMask) {}
    // The change bits of a field id, 0 for ids without any.
    virtual DWORD FieldBits(UINT fieldId) const = 0;

private:
    DWORD m_changeMask;
};

// The trunk allocation options; one per setup.
class COptions : public CFieldBitsRecord {
public:
    static constexpr int kWireSize = 32;
    enum FieldId : UINT {
        kFieldRecord = 1,
        kFieldTimeout = 1619,
        kFieldAutoClear = 1620,
        kFieldWaitForTalkKey = 1622,
    };

    // Time-out 1, or 60 in seconds mode.
    COptions();

    int FromWire(const BYTE* buffer, int length, BOOL mark) override;
    int ToWire(BYTE* buffer, int length, BOOL clearAfter) override;

    // Minutes, or seconds in seconds mode.
    DWORD GetTimeout() const { return m_dwTimeout; }
    BOOL SetTimeout(DWORD timeout, BOOL mark) {
        return StoreField(m_dwTimeout, timeout, 0x01, mark);
    }
    BOOL GetAutoClear() const { return m_bAutoClear; }
    BOOL SetAutoClear(BOOL on, BOOL mark) { return StoreField(m_bAutoClear, on, 0x02, mark); }
    BOOL GetDynamicAlloc() const { return m_bDynamicAlloc; }
    BOOL SetDynamicAlloc(BOOL on, BOOL mark) { return StoreField(m_bDynamicAlloc, on, 0x04, mark); }
    BOOL GetWaitForTalkKey() const { return m_bWaitForTalkKey; }
    BOOL SetWaitForTalkKey(BOOL on, BOOL mark) {
        return StoreField(m_bWaitForTalkKey, on, 0x08, mark);
    }

protected:
    DWORD FieldBits(UINT fieldId) const override;

private:
    DWORD m_dwTimeout = 1;
    BOOL m_bAutoClear = FALSE;
    BOOL m_bDynamicAlloc = FALSE;
    BOOL m_bWaitForTalkKey = FALSE;
};

// One trunk: two ends, two fixed assignments, its flags, the state received from the
// controller and its inspection data.
class CTrunk : public CFieldBitsRecord {
public:
    static constexpr int kWireSize = 32;
    enum FieldId : UINT {
        kFieldRecord = 1,
        kFieldState = 2,
        kFieldEnd1 = 3,
        kFieldEnd2 = 4,
        kFieldFixed1 = 5,
        kFieldFixed2 = 6,
        kFieldCascadable = 7,
        kFieldFixed = 8,
        kFieldOutOfService = 9,
    };
    // Trunk state bits.
    static constexpr DWORD kStateMaintenance = 0x04;
    static constexpr DWORD kStateOutOfService = 0x08;

    CTrunk() : CFieldBitsRecord(0x3F) {}

    int FromWire(const BYTE* buffer, int length, BOOL mark) override;
    int ToWire(BYTE* buffer, int length, BOOL clearAfter) override;

    const CAssign& GetEndpoint(BOOL first) const { return m_end[first ? 0 : 1]; }
    BOOL SetEndpoint(BOOL first, const CAssign& assign, BOOL mark) {
        return StoreField(m_end[first ? 0 : 1], assign, first ? 0x01 : 0x02, mark);
    }
    const CAssign& GetFixedAssign(BOOL first) const { return m_fixedAssign[first ? 0 : 1]; }
    BOOL SetFixedAssign(BOOL first, const CAssign& assign, BOOL mark) {
        return StoreField(m_fixedAssign[first ? 0 : 1], assign, first ? 0x04 : 0x08, mark);
    }
    BOOL GetFixed() const { return m_bFixed; }
    BOOL SetFixed(BOOL on, BOOL mark) { return StoreField(m_bFixed, on, 0x10, mark); }
    BOOL GetCascadable() const { return m_bCascadable; }
    BOOL SetCascadable(BOOL on, BOOL mark) { return StoreField(m_bCascadable, on, 0x20, mark); }
    // Received from the controller, never marked; kept to its low 8 bits.
    DWORD GetState() const { return m_dwState; }
    BOOL SetState(DWORD state) { return StoreChanged(m_dwState, state & 0xFF); }

    const CInspect& GetInspect() const { return m_inspect; }
    CInspect& GetInspect() { return m_inspect; }

    // Of the ends and fixed assignments.
    std::uint64_t GetWriteNumber(UINT fieldId) const override { return m_writes.Get(fieldId); }
    void NoteWrite(UINT fieldId, std::uint64_t number) override { m_writes.Note(fieldId, number); }

protected:
    DWORD FieldBits(UINT fieldId) const override;

private:
    std::array<CAssign, 2> m_end{};
    std::array<CAssign, 2> m_fixedAssign{};
    BOOL m_bCascadable = FALSE;
    BOOL m_bFixed = FALSE;
    DWORD m_dwState = 0;
    CFieldWrites<kFieldEnd1, kFieldFixed2> m_writes;
    CInspect m_inspect;
};

class CAlpha;

// One intercom: its names, connection, cascade cost, status, summaries towards every other
// intercom, and its alphas in eight lists (one per alpha list index) that refer to alphas the
// document owns.
class CIntercom : public CFieldBitsRecord {
public:
    static constexpr int kWireSize = 32;      // the short-names form
    static constexpr int kWideWireSize = 16;  // the wide-name form
    enum FieldId : UINT {
        kFieldRecord = 1,
        kFieldName = 66,  // the name of the configured name length
        kFieldName4 = 67,
        kFieldName6 = 68,
        kFieldName8 = 69,
        kFieldName8W = 70,
        kFieldConnection = 71,
        kFieldPrimaryIP = 72,
        kFieldBackupIP = 73,
        kFieldComPort = 74,
        kFieldBaudRate = 75,
        kFieldCascadeCost = 76,
    };

    CIntercom();

    // Length 16 selects the wide-name form, any other the short-names form.
    int FromWire(const BYTE* buffer, int length, BOOL mark) override;
    int ToWire(BYTE* buffer, int length, BOOL clearAfter) override;

    // Name length codes 4, 6, 8 and 16 (the wide 8-character name); other codes give an empty
    // text and store nothing. Names are kept padded with blanks.
    CString GetName(int length) const;
    BOOL SetName(int length, const CString& name, BOOL mark);
    // Pads a name to the characters of its length code (16 means 8): blanks appended, and a
    // name that starts with NUL becomes all blanks; a longer name stays as it is.
    static CString PadName(const CString& name, int length);

    int GetComPort() const { return m_nComPort; }
    // 255 is stored as -1 (none).
    BOOL SetComPort(int port, BOOL mark) {
        return StoreField(m_nComPort, port == 255 ? -1 : port, 0x10, mark);
    }
    int GetBaudRate() const { return m_nBaudRate; }
    BOOL SetBaudRate(int choice, BOOL mark) { return StoreField(m_nBaudRate, choice, 0x08, mark); }
    DWORD GetPrimaryIP() const { return m_dwPrimaryIP; }
    BOOL SetPrimaryIP(DWORD address, BOOL mark) {
        return StoreField(m_dwPrimaryIP, address, 0x80, mark);
    }
    DWORD GetBackupIP() const { return m_dwBackupIP; }
    BOOL SetBackupIP(DWORD address, BOOL mark) {
        return StoreField(m_dwBackupIP, address, 0x100, mark);
    }
    // 0 serial, 1 network.
    int GetConnType() const { return m_nConnType; }
    BOOL SetConnType(int type, BOOL mark) { return StoreField(m_nConnType, type, 0x40, mark); }
    int GetCascadeCost() const { return m_nCascadeCost; }
    BOOL SetCascadeCost(int cost, BOOL mark) {
        return StoreField(m_nCascadeCost, cost, 0x200, mark);
    }

    const CCommErrs& GetCommErrs() const { return m_commErrs; }
    CCommErrs& GetCommErrs() { return m_commErrs; }
    const CCommStat& GetCommStat() const { return m_commStat; }
    CCommStat& GetCommStat() { return m_commStat; }
    const CRemStat& GetRemStat() const { return m_remStat; }
    CRemStat& GetRemStat() { return m_remStat; }

    // The summary towards intercom i, or a shared zero summary at or above the configured
    // intercom count.
    const CSummary& GetSummary(int i) const;
    CSummary* FindSummary(int i);

    // Alpha lists, each sorted by resource number; they mostly grow at the end, in upload
    // order. Indexes of 8 or more are ignored.
    using CAlphaList = std::vector<std::pair<WORD, CAlpha*>>;
    // The number of alphas in a list; -1 gives the sum over all lists.
    int GetAlphaCount(int index) const;
    // The list of an index, by resource number (empty for an index of 8 or more).
    const CAlphaList& GetAlphas(int index) const;
    // The same list as a copy in resource order.
    std::vector<CAlpha*> GetAlphaList(int index) const;
    // Puts the alpha into the list of its key's index; one of the same number is replaced.
    void InsertAlpha(CAlpha* alpha);
    // Removes the alpha of the key's index and number; 1 when found.
    BOOL RemoveAlpha(const CAssign& key);
    // Removes the alphas of the key's index from the key's number on; returns how many.
    int RemoveAlphasFrom(const CAssign& key);
    // Appends the alphas whose label equals the text exactly (all lists for a negative
    // index); returns how many were found.
    int FindAlphas(int index, const CString& label, std::vector<CAlpha*>& found) const;

    // The flag word of the alphas of one list index (0x4000 in the file, 0x8000 chosen for a
    // partial save). Indexes of 8 or more are ignored and read as 0.
    DWORD GetAlphaFlags(int index) const;
    void SetAlphaFlags(int index, DWORD bits, BOOL on);

    // Of the two IP addresses and the COM port.
    std::uint64_t GetWriteNumber(UINT fieldId) const override { return m_writes.Get(fieldId); }
    void NoteWrite(UINT fieldId, std::uint64_t number) override { m_writes.Note(fieldId, number); }

protected:
    DWORD FieldBits(UINT fieldId) const override;

private:
    int ReadShortForm(const BYTE* buffer, int length, BOOL mark);
    int WriteShortForm(BYTE* buffer, int length, BOOL clearAfter);
    // The member that keeps a name length code, or null.
    static CString CIntercom::*NameOf(int length);

    CString m_name4;
    CString m_name6;
    CString m_name8;
    CString m_name8W;
    DWORD m_dwPrimaryIP = 0;
    DWORD m_dwBackupIP = 0;
    int m_nBaudRate = 1;
    int m_nConnType = 0;
    int m_nCascadeCost = 100;
    int m_nComPort = -1;
    static_assert(kFieldBackupIP == kFieldPrimaryIP + 1 && kFieldComPort == kFieldBackupIP + 1);
    CFieldWrites<kFieldPrimaryIP, kFieldComPort> m_writes;
    CCommErrs m_commErrs;
    CCommStat m_commStat;
    CRemStat m_remStat;
    CSummaryTable m_summaries;
    std::array<CAlphaList, kAlphaListCount> m_alphas;
    std::array<DWORD, kAlphaListCount> m_alphaFlags{};
};

// One intercom group: a name of 12 characters and up to 255 members. Its change state is a
// name-changed flag and one member-change bit per intercom, not the flags word's low bits.
class CGroup : public CCVObject {
public:
    static constexpr int kNameLength = 12;
    static constexpr int kMaxMembers = 255;
    // The bytes of a bitmap of every member, and the members a 32-bit mask holds.
    static constexpr int kMemberBytes = (kMaxMembers + 7) / 8;
    static constexpr int kMaskMembers = 31;
    static constexpr int kWideWireSize = 24;                    // wide name
    static constexpr int kWireSize = 32;                        // narrow name and a mask
    static constexpr int kExtendedWireSize = 2 + kMemberBytes;  // member count and bitmap
    enum FieldId : UINT {
        kFieldRecord = 1,
        kFieldName = 1363,
        kFieldFirstMember = 1364,  // + intercom number
    };

    CGroup();

    int FromWire(const BYTE* buffer, int length, BOOL mark) override;
    int FromFile(const BYTE* buffer, int length, BOOL mark) override;
    int ToWire(BYTE* buffer, int length, BOOL clearAfter) override;
    DWORD IsModified() const override;
    DWORD IsModified(UINT fieldId) const override;
    void SetModified(UINT fieldId, BOOL on) override;
    void ClearModified() override;
    void SetAllModified() override;

    const CString& GetName() const { return m_name; }
    // Refuses a name above 12 characters; pads a shorter one with blanks. 1 when stored.
    BOOL SetName(const CString& name, BOOL mark);

    BOOL IsMember(int icom) const { return icom >= 0 && m_members.GetBit(static_cast<UINT>(icom)); }
    const CBitArray& GetMemberSet() const { return m_members; }
    // Only below the configured intercom count. 1 when the membership changed.
    BOOL SetMember(int icom, BOOL on, BOOL mark);
    // Takes the memberships of intercoms below the smaller of n and the configured intercom
    // count from a bitmap, leaving out intercoms with a pending change unless keepPending is
    // 0. 1 when any changed.
    BOOL SetMembersFromBits(int n, const BYTE* bits, BOOL keepPending = TRUE);
    // Copies the member set into a buffer of kMemberBytes bytes.
    void GetMembers(BYTE* buffer) const { m_members.StoreBits(buffer); }

private:
    int ReadExtendedForm(const BYTE* buffer, BOOL mark, BOOL keepPending);

    CString m_name;
    CBitArray m_members{kMaxMembers};
    BOOL m_bNameChanged = FALSE;
    CBitArray m_memberChanges{kMaxMembers};
};

// The label of one intercom resource. Alphas have no change bits: they are changed only by
// the controller and by files.
class CAlpha : public CCVObject {
public:
    static constexpr int kLabelLength = 8;
    static constexpr int kWireSize = 32;      // narrow label
    static constexpr int kWideWireSize = 40;  // wide label

    CAlpha() = default;
    CAlpha(const CAssign& key, const CString& label);

    // Length 40 selects the wide form, any other the narrow form.
    int FromWire(const BYTE* buffer, int length, BOOL mark) override;
    int ToWire(BYTE* buffer, int length, BOOL clearAfter) override;
    DWORD IsModified() const override { return 0; }
    DWORD IsModified(UINT) const override { return 0; }
    void SetModified(UINT, BOOL) override {}
    void ClearModified() override {}
    void SetAllModified() override {}

    // The key carries the intercom, the alpha list index and the resource number.
    const CAssign& GetKey() const { return m_key; }
    BOOL SetKey(const CAssign& key) { return StoreChanged(m_key, key); }
    const CString& GetLabel() const { return m_label; }
    // Refuses a label above 8 characters; pads a shorter one with blanks. 1 when stored.
    BOOL SetLabel(const CString& label);

private:
    CAssign m_key;
    CString m_label;
};

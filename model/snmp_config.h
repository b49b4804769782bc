#pragma once

#include <array>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// The controller's SNMP agent configuration and which parts of it the user changed, with its
// 1006-byte record, the same on the link and in SNMP configuration files. User-interface
// thread only.
class CSNMPConfig {
public:
    static constexpr int kRecordSize = 1006;
    static constexpr int kMaxAddresses = 5;
    // The texts, in record order.
    enum Text {
        kName,
        kLocation,
        kContact,
        kReadOnlyCommunity,
        kReadWriteCommunity,
        kTrapCommunity,
        kTextCount
    };

    CString GetText(Text which) const { return m_texts[which]; }
    // With markChanged the modified flag and the text's changed flag are set.
    void SetText(Text which, const CString& text, BOOL markChanged);

    CString GetName() const { return GetText(kName); }
    CString GetLocation() const { return GetText(kLocation); }
    CString GetContact() const { return GetText(kContact); }
    CString GetReadOnlyCommunity() const { return GetText(kReadOnlyCommunity); }
    CString GetReadWriteCommunity() const { return GetText(kReadWriteCommunity); }
    CString GetTrapCommunity() const { return GetText(kTrapCommunity); }
    void SetName(const CString& text, BOOL mark) { SetText(kName, text, mark); }
    void SetLocation(const CString& text, BOOL mark) { SetText(kLocation, text, mark); }
    void SetContact(const CString& text, BOOL mark) { SetText(kContact, text, mark); }
    void SetReadOnlyCommunity(const CString& text, BOOL mark) {
        SetText(kReadOnlyCommunity, text, mark);
    }
    void SetReadWriteCommunity(const CString& text, BOOL mark) {
        SetText(kReadWriteCommunity, text, mark);
    }
    void SetTrapCommunity(const CString& text, BOOL mark) { SetText(kTrapCommunity, text, mark); }

    DWORD GetUseValidHosts() const { return m_dwUseValidHosts; }
    void SetUseValidHosts(DWORD value, BOOL markChanged);

    // Addresses in host byte order; the caller keeps the index below the count.
    int GetValidHostCount() const { return m_validHosts.GetCount(); }
    int GetTrapTargetCount() const { return m_trapTargets.GetCount(); }
    DWORD GetValidHost(int index) const { return m_validHosts.m_addresses[index]; }
    DWORD GetTrapTarget(int index) const { return m_trapTargets.m_addresses[index]; }
    // The position of an address among the trap targets, -1 when absent.
    int FindTrapTarget(DWORD address) const;
    // FALSE, and nothing changes, for the address 0 or when the list is full.
    BOOL AddValidHost(DWORD address, BOOL markChanged) {
        return Add(m_validHosts, address, markChanged);
    }
    BOOL AddTrapTarget(DWORD address, BOOL markChanged) {
        return Add(m_trapTargets, address, markChanged);
    }
    // FALSE for an index out of range; later entries move up.
    BOOL RemoveValidHost(int index, BOOL markChanged) {
        return Remove(m_validHosts, index, markChanged);
    }
    BOOL RemoveTrapTarget(int index, BOOL markChanged) {
        return Remove(m_trapTargets, index, markChanged);
    }

    // Set by every marked change: the record holds edits the controller has not got yet.
    BOOL IsModified() const { return m_bModified; }
    BOOL IsTextModified(Text which) const { return m_textChanged[which]; }
    BOOL IsUseValidHostsModified() const { return m_bUseValidHostsChanged; }
    BOOL IsValidHostModified(int index) const { return m_validHosts.m_changed[index]; }
    BOOL IsTrapTargetModified(int index) const { return m_trapTargets.m_changed[index]; }

    // Every field back to empty, off and unchanged.
    void Clear() { *this = CSNMPConfig(); }

    // Writes the record into a buffer of at least 1006 bytes and returns 1006; with
    // clearChanges every changed flag is cleared.
    int Encode(BYTE* buffer, BOOL clearChanges);
    // Every changed flag cleared: the values are where the user wanted them.
    void ClearChanges();
    // Reads a record of 1006 bytes: 1006, or 0 (and nothing changes) when its CRC is wrong.
    int Decode(const BYTE* buffer, BOOL markChanged);

private:
    struct CAddressList {
        int GetCount() const { return static_cast<int>(m_addresses.size()); }
        std::vector<DWORD> m_addresses;
        std::vector<BOOL> m_changed;  // per entry: added as a change
    };

    BOOL Add(CAddressList& list, DWORD address, BOOL markChanged);
    BOOL Remove(CAddressList& list, int index, BOOL markChanged);

    std::array<CString, kTextCount> m_texts;
    DWORD m_dwUseValidHosts = 0;
    CAddressList m_validHosts;
    CAddressList m_trapTargets;
    BOOL m_bModified = FALSE;
    std::array<BOOL, kTextCount> m_textChanged{};
    BOOL m_bUseValidHostsChanged = FALSE;
};

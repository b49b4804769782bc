#include <algorithm>

#include "model/app_state.h"
#include "model/records.h"
#include "model/wire_form.h"
#include "platform/base/byte_order.h"

namespace {

// Where the 32-byte form keeps its member mask.
constexpr int kMaskAt = 12;

int ConfiguredIntercoms() {
    return GetApp().GetConfig().m_wNumIntercoms;
}

}  // namespace

CGroup::CGroup() : m_name(u'-', kNameLength) {}

DWORD CGroup::IsModified() const {
    return m_bNameChanged || m_memberChanges.FindNext(0) >= 0 ? 1 : 0;
}

DWORD CGroup::IsModified(UINT fieldId) const {
    if (fieldId == kFieldRecord) return IsModified();
    if (fieldId == kFieldName) return m_bNameChanged ? 1 : 0;
    if (fieldId >= kFieldFirstMember) return m_memberChanges.GetBit(fieldId - kFieldFirstMember);
    return 0;
}

void CGroup::SetModified(UINT fieldId, BOOL on) {
    if (fieldId == kFieldRecord) {
        m_bNameChanged = on;
        m_memberChanges.SetAll(on);
    } else if (fieldId == kFieldName) {
        m_bNameChanged = on;
    } else if (fieldId >= kFieldFirstMember && fieldId - kFieldFirstMember < kMaxMembers) {
        m_memberChanges.SetBit(fieldId - kFieldFirstMember, on);
    } else {
        return;
    }
    UpdateChanged();
}

void CGroup::ClearModified() {
    m_bNameChanged = FALSE;
    m_memberChanges.SetAll(FALSE);
    m_dwFlags &= ~kChanged;
}

void CGroup::SetAllModified() {
    m_bNameChanged = TRUE;
    m_memberChanges.SetAll(TRUE);
    m_dwFlags |= kChanged;
}

BOOL CGroup::SetName(const CString& name, BOOL mark) {
    if (name.GetLength() > kNameLength) return FALSE;
    if (!StoreChanged(m_name, PadWithBlanks(name, kNameLength))) return FALSE;
    if (mark) {
        m_bNameChanged = TRUE;
        m_dwFlags |= kChanged;
    }
    return TRUE;
}

BOOL CGroup::SetMember(int icom, BOOL on, BOOL mark) {
    if (icom < 0 || icom >= std::min(ConfiguredIntercoms(), kMaxMembers)) return FALSE;
    if (IsMember(icom) == (on != 0)) return FALSE;
    m_members.SetBit(static_cast<UINT>(icom), on);
    if (mark) {
        m_memberChanges.SetBit(static_cast<UINT>(icom), TRUE);
        m_dwFlags |= kChanged;
    }
    return TRUE;
}

BOOL CGroup::SetMembersFromBits(int n, const BYTE* bits, BOOL keepPending) {
    const int limit = std::min({n, static_cast<int>(kMaxMembers), ConfiguredIntercoms()});
    BOOL changed = FALSE;
    for (int i = 0; i < limit; ++i) {
        const UINT icom = static_cast<UINT>(i);
        if (keepPending && m_memberChanges.GetBit(icom)) continue;  // a pending user change
        const BOOL member = (bits[i / 8] >> (i % 8)) & 1;
        if (m_members.GetBit(icom) == member) continue;
        m_members.SetBit(icom, member);
        changed = TRUE;
    }
    return changed;
}

int CGroup::FromWire(const BYTE* buffer, int length, BOOL mark) {
    switch (length) {
        case kWideWireSize: {
            const auto r = ReadForm<kWideWireSize>(buffer, length);
            SetName(GetUtf16LE(r.data(), kNameLength), FALSE);
            if (mark) {
                m_bNameChanged = TRUE;
                m_dwFlags |= kChanged;
            }
            return kWideWireSize;
        }
        case kWireSize: {
            const auto r = ReadForm<kWireSize>(buffer, length);
            SetName(GetNarrowText(r.data(), kNameLength), FALSE);
            const DWORD mask = GetU32BE(&r[kMaskAt]);
            const int members = std::min(kMaskMembers, ConfiguredIntercoms());
            for (int i = 0; i < members; ++i)
                m_members.SetBit(static_cast<UINT>(i), (mask >> i) & 1);
            if (mark) SetAllModified();
            return kWireSize;
        }
        case kExtendedWireSize:
            // A controller's reply leaves the user's pending member changes alone.
            return ReadExtendedForm(buffer, mark, TRUE);
        default: return length;
    }
}

int CGroup::FromFile(const BYTE* buffer, int length, BOOL mark) {
    // A file is read whole: pending member changes are replaced, as the file's own 32-byte
    // record has already marked every member changed when reading with mark.
    if (length == kExtendedWireSize) return ReadExtendedForm(buffer, mark, FALSE);
    return FromWire(buffer, length, mark);
}

int CGroup::ReadExtendedForm(const BYTE* buffer, BOOL mark, BOOL keepPending) {
    const auto r = ReadForm<kExtendedWireSize>(buffer, kExtendedWireSize);
    // Never more members than the form's bitmap holds.
    const int n = std::min(static_cast<int>(GetU16BE(r.data())), static_cast<int>(kMaxMembers));
    SetMembersFromBits(n, &r[2], keepPending);
    if (mark) {
        m_memberChanges.SetRange(0, static_cast<UINT>(std::min(n, ConfiguredIntercoms())), TRUE);
        m_dwFlags |= kChanged;
    }
    return 2 + (n + 7) / 8;
}

int CGroup::ToWire(BYTE* buffer, int length, BOOL clearAfter) {
    std::array<BYTE, kExtendedWireSize> r{};
    switch (length) {
        case kWideWireSize: PutUtf16LE(r.data(), m_name.str(), kNameLength); break;
        case kWireSize: {
            PutNarrowText(r.data(), m_name.str(), kNameLength);
            DWORD mask = 0;
            for (int i = 0; i < kMaskMembers; ++i)
                mask |= static_cast<DWORD>(m_members.GetBit(static_cast<UINT>(i))) << i;
            PutU32BE(&r[kMaskAt], mask);
            break;
        }
        case kExtendedWireSize:
            PutU16BE(r.data(), kMaxMembers);
            m_members.StoreBits(&r[2]);
            break;
        default: return length;
    }
    const int written = WriteForm(r.data(), length, buffer, length);
    if (!written || !clearAfter) return written;
    if (length == kWireSize) {
        ClearModified();
    } else if (length == kWideWireSize) {
        m_bNameChanged = FALSE;
        if (m_memberChanges.FindNext(0) < 0) m_dwFlags &= ~kChanged;
    } else {
        m_memberChanges.SetAll(FALSE);
        if (!m_bNameChanged) m_dwFlags &= ~kChanged;
    }
    return written;
}

#include "model/records.h"

#include "model/app_state.h"
#include "model/wire_form.h"
#include "platform/base/byte_order.h"
#include "platform/base/codepage.h"

void CCVObject::UpdateChanged() {
    SetFlags(kChanged, IsModified() != 0);
}

void CFieldBitsRecord::SetModified(UINT fieldId, BOOL on) {
    const DWORD bits = FieldBits(fieldId);
    if (bits == 0) return;
    SetFlags(bits, on);
    UpdateChanged();
}

// ---------------------------------------------------------------------------------------------

COptions::COptions() : CFieldBitsRecord(0x0F) {
    if (GetApp().IsSecondsMode()) m_dwTimeout = 60;
}

DWORD COptions::FieldBits(UINT fieldId) const {
    switch (fieldId) {
        case kFieldRecord: return 0x0F;
        case kFieldTimeout: return 0x01;
        case kFieldAutoClear: return 0x02;
        case kFieldWaitForTalkKey: return 0x08;
        default: return 0;
    }
}

int COptions::FromWire(const BYTE* buffer, int length, BOOL mark) {
    const auto r = ReadForm<kWireSize>(buffer, length);
    m_dwTimeout = r[0];
    m_bAutoClear = r[1] != 0;
    m_bDynamicAlloc = r[2] != 0;
    m_bWaitForTalkKey = r[3] != 0;
    if (GetApp().IsSecondsMode()) {
        const WORD seconds = GetU16BE(&r[4]);
        m_dwTimeout = seconds != 0 ? seconds : r[0] * 60u;
    }
    if (mark) SetAllModified();
    return kWireSize;
}

int COptions::ToWire(BYTE* buffer, int length, BOOL clearAfter) {
    std::array<BYTE, kWireSize> r{};
    const bool seconds = GetApp().IsSecondsMode();
    r[0] = static_cast<BYTE>(seconds ? (m_dwTimeout + 59) / 60 : m_dwTimeout);
    r[1] = m_bAutoClear ? 1 : 0;
    r[2] = m_bDynamicAlloc ? 1 : 0;
    r[3] = m_bWaitForTalkKey ? 1 : 0;
    PutU16BE(&r[4], static_cast<WORD>(seconds ? m_dwTimeout : m_dwTimeout * 60));
    const int written = WriteForm(r.data(), kWireSize, buffer, length);
    if (written && clearAfter) ClearModified();
    return written;
}

// ---------------------------------------------------------------------------------------------

DWORD CTrunk::FieldBits(UINT fieldId) const {
    switch (fieldId) {
        case kFieldRecord: return 0x3F;
        case kFieldEnd1: return 0x01;
        case kFieldEnd2: return 0x02;
        case kFieldFixed1: return 0x04;
        case kFieldFixed2: return 0x08;
        case kFieldCascadable: return 0x20;
        case kFieldFixed: return 0x10;
        default: return 0;
    }
}

int CTrunk::FromWire(const BYTE* buffer, int length, BOOL mark) {
    const auto r = ReadForm<kWireSize>(buffer, length);
    for (int i = 0; i < 2; ++i) {
        m_end[i] = CAssign::FromWire(&r[4 * i]);
        m_fixedAssign[i] = CAssign::FromWire(&r[8 + 4 * i]);
    }
    m_bCascadable = r[16] != 0;
    m_bFixed = r[17] != 0;
    if (mark) SetAllModified();
    return kWireSize;
}

int CTrunk::ToWire(BYTE* buffer, int length, BOOL clearAfter) {
    std::array<BYTE, kWireSize> r{};
    for (int i = 0; i < 2; ++i) {
        m_end[i].ToWire(&r[4 * i]);
        m_fixedAssign[i].ToWire(&r[8 + 4 * i]);
    }
    r[16] = m_bCascadable ? 1 : 0;
    r[17] = m_bFixed ? 1 : 0;
    const int written = WriteForm(r.data(), kWireSize, buffer, length);
    if (written && clearAfter) ClearModified();
    return written;
}

// ---------------------------------------------------------------------------------------------

CAlpha::CAlpha(const CAssign& key, const CString& label) : m_key(key) {
    SetLabel(label);
}

BOOL CAlpha::SetLabel(const CString& label) {
    if (label.GetLength() > kLabelLength) return FALSE;
    // Compared in place: an upload mostly brings labels that are already held.
    const std::u16string& held = m_label.str();
    const std::u16string& text = label.str();
    if (held.size() == static_cast<std::size_t>(kLabelLength) &&
        held.compare(0, text.size(), text) == 0 &&
        held.find_first_not_of(u' ', text.size()) == std::u16string::npos)
        return FALSE;
    m_label = PadWithBlanks(label, kLabelLength);
    return TRUE;
}

int CAlpha::FromWire(const BYTE* buffer, int length, BOOL mark) {
    const auto r = ReadForm<kWideWireSize>(buffer, length);
    m_key = CAssign::FromWire(r.data());
    if (length == kWideWireSize) {
        m_label = GetUtf16LE(&r[4], kLabelLength);
    } else {
        m_label = GetNarrowText(&r[4], kLabelLength);
    }
    if (mark) SetAllModified();
    return length == kWideWireSize ? kWideWireSize : kWireSize;
}

int CAlpha::ToWire(BYTE* buffer, int length, BOOL clearAfter) {
    std::array<BYTE, kWideWireSize> r{};
    m_key.ToWire(r.data());
    const bool wide = length == kWideWireSize;
    if (wide) {
        PutUtf16LE(&r[4], m_label.str(), kLabelLength);
    } else {
        PutNarrowText(&r[4], m_label.str(), kLabelLength);
    }
    const int written = WriteForm(r.data(), wide ? kWideWireSize : kWireSize, buffer, length);
    if (written && clearAfter) ClearModified();
    return written;
}

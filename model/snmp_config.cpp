#include "model/snmp_config.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "model/crc16.h"
#include "platform/base/byte_order.h"
#include "platform/base/codepage.h"

namespace {

// Where each text lives in the record and its field size; a text takes at most size - 1
// bytes and is followed by a zero byte.
struct TextField {
    int offset;
    int size;
};
constexpr TextField kTextFields[CSNMPConfig::kTextCount] = {
    {0, 256}, {256, 256}, {512, 256}, {768, 65}, {833, 65}, {898, 65},
};
constexpr int kUseValidHostsAt = 963;
constexpr int kTrapTargetsAt = 964;
constexpr int kValidHostsAt = 984;
constexpr int kCrcAt = 1004;

}  // namespace

void CSNMPConfig::SetText(Text which, const CString& text, BOOL markChanged) {
    m_texts[which] = text;
    if (markChanged) m_bModified = m_textChanged[which] = TRUE;
}

void CSNMPConfig::SetUseValidHosts(DWORD value, BOOL markChanged) {
    m_dwUseValidHosts = value;
    if (markChanged) m_bModified = m_bUseValidHostsChanged = TRUE;
}

int CSNMPConfig::FindTrapTarget(DWORD address) const {
    const auto& targets = m_trapTargets.m_addresses;
    const auto it = std::find(targets.begin(), targets.end(), address);
    return it != targets.end() ? static_cast<int>(it - targets.begin()) : -1;
}

BOOL CSNMPConfig::Add(CAddressList& list, DWORD address, BOOL markChanged) {
    if (address == 0 || list.GetCount() >= kMaxAddresses) return FALSE;
    list.m_addresses.push_back(address);
    list.m_changed.push_back(markChanged);
    if (markChanged) m_bModified = TRUE;
    return TRUE;
}

BOOL CSNMPConfig::Remove(CAddressList& list, int index, BOOL markChanged) {
    if (index < 0 || index >= list.GetCount()) return FALSE;
    list.m_addresses.erase(list.m_addresses.begin() + index);
    list.m_changed.erase(list.m_changed.begin() + index);
    if (markChanged) m_bModified = TRUE;
    return TRUE;
}

int CSNMPConfig::Encode(BYTE* buffer, BOOL clearChanges) {
    // No byte of the record is left undefined under its CRC.
    std::memset(buffer, 0, kRecordSize);
    for (int i = 0; i < kTextCount; ++i) {
        const std::string narrow = ToAnsi(m_texts[i].str());
        const TextField& field = kTextFields[i];
        std::memcpy(buffer + field.offset, narrow.data(),
                    std::min<size_t>(narrow.size(), field.size - 1));
    }
    buffer[kUseValidHostsAt] = m_dwUseValidHosts ? 1 : 0;
    for (CAddressList* list : {&m_trapTargets, &m_validHosts}) {
        BYTE* out = buffer + (list == &m_trapTargets ? kTrapTargetsAt : kValidHostsAt);
        for (int i = 0; i < list->GetCount(); ++i)
            PutU32BE(out + 4 * i, list->m_addresses[i]);
    }
    CalcCRC16(buffer, kCrcAt, TRUE);
    if (clearChanges) ClearChanges();
    return kRecordSize;
}

void CSNMPConfig::ClearChanges() {
    for (CAddressList* list : {&m_trapTargets, &m_validHosts})
        std::fill(list->m_changed.begin(), list->m_changed.end(), FALSE);
    m_bModified = m_bUseValidHostsChanged = FALSE;
    m_textChanged.fill(FALSE);
}

int CSNMPConfig::Decode(const BYTE* buffer, BOOL markChanged) {
    if (ComputeCRC16(buffer, kRecordSize) != 0) return 0;
    Clear();
    for (int i = 0; i < kTextCount; ++i) {
        const TextField& field = kTextFields[i];
        const auto* text = reinterpret_cast<const char*>(buffer + field.offset);
        const size_t length = std::find(text, text + field.size, '\0') - text;
        SetText(static_cast<Text>(i), FromAnsi(std::string_view(text, length)), markChanged);
    }
    SetUseValidHosts(buffer[kUseValidHostsAt], markChanged);
    for (CAddressList* list : {&m_trapTargets, &m_validHosts}) {
        const BYTE* in = buffer + (list == &m_trapTargets ? kTrapTargetsAt : kValidHostsAt);
        for (int i = 0; i < kMaxAddresses; ++i)
            Add(*list, GetU32BE(in + 4 * i), markChanged);
    }
    return kRecordSize;
}

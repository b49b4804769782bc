#include "screens/intercoms/alpha_row_keys.h"

namespace {

constexpr size_t kMinSlots = 16;

}  // namespace

size_t CAlphaRowKeys::FirstSlot(DWORD key) const {
    // Fibonacci hashing: the keys of one intercom and type differ in their low bits only.
    return static_cast<size_t>((static_cast<std::uint32_t>(key) * 0x9E3779B9u) >> m_nShift);
}

int CAlphaRowKeys::Find(DWORD key) const {
    if (m_slots.empty()) return -1;
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = FirstSlot(key);; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_slots[slot];
        if (entry == 0) return -1;
        if (m_keys[entry - 1] == key) return static_cast<int>(entry - 1);
    }
}

void CAlphaRowKeys::Insert(DWORD key, size_t position) {
    const size_t mask = m_slots.size() - 1;
    size_t slot = FirstSlot(key);
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<std::uint32_t>(position + 1);
}

void CAlphaRowKeys::Rebuild(size_t count) {
    size_t slots = kMinSlots;
    int shift = 32 - 4;
    while (slots < count * 2) {
        slots *= 2;
        --shift;
    }
    m_slots.assign(slots, 0);
    m_nShift = shift;
    for (size_t i = 0; i < m_keys.size(); ++i)
        Insert(m_keys[i], i);
}

bool CAlphaRowKeys::Append(DWORD key) {
    if (Find(key) >= 0) return false;
    m_keys.push_back(key);
    if (m_keys.size() * 2 > m_slots.size()) {
        Rebuild(m_keys.size() * 2);
    } else {
        Insert(key, m_keys.size() - 1);
    }
    return true;
}

int CAlphaRowKeys::Remove(DWORD key) {
    const int position = Find(key);
    if (position < 0) return -1;
    m_keys.erase(m_keys.begin() + position);
    // Every key behind it moved: the index is made again, in the time the move took.
    Rebuild(m_keys.size());
    return position;
}

void CAlphaRowKeys::Clear() {
    m_keys.clear();
    m_slots.clear();
    m_nShift = 32;
}

void CAlphaRowKeys::Reserve(size_t count) {
    m_keys.reserve(count);
    if (count * 2 > m_slots.size()) Rebuild(count);
}

bool AlphaKeyMatches(DWORD key, int icom, int type) {
    const int keyIcom = static_cast<int>(key >> 24);
    const int keyType = static_cast<int>((key >> 16) & 0xFF);
    return (icom < 0 || icom == keyIcom) && (type < 0 || type == keyType);
}

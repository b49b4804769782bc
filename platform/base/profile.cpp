#include "platform/base/profile.h"

namespace {

// Registry names ignore case.
std::pair<CString, CString> KeyOf(const CString& section, const CString& entry) {
    CString s = section;
    CString e = entry;
    return {s.MakeLower(), e.MakeLower()};
}

}  // namespace

std::optional<CMemoryProfile::Value> CMemoryProfile::Find(const CString& section,
                                                          const CString& entry) const {
    std::lock_guard guard(m_lock);
    auto it = m_values.find(KeyOf(section, entry));
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

void CMemoryProfile::Store(const CString& section, const CString& entry, Value value) {
    std::lock_guard guard(m_lock);
    auto [it, inserted] = m_values.insert_or_assign(KeyOf(section, entry), std::move(value));
    if (inserted) m_order.emplace_back(section, entry);
}

std::uint32_t CMemoryProfile::GetProfileInt(const CString& section, const CString& entry,
                                            std::uint32_t defaultValue) {
    auto v = Find(section, entry);
    if (!v) return defaultValue;
    if (auto* n = std::get_if<std::uint32_t>(&*v)) return *n;
    return defaultValue;
}

bool CMemoryProfile::WriteProfileInt(const CString& section, const CString& entry,
                                     std::uint32_t value) {
    Store(section, entry, value);
    return true;
}

CString CMemoryProfile::GetProfileString(const CString& section, const CString& entry,
                                         const CString& defaultValue) {
    auto v = Find(section, entry);
    if (!v) return defaultValue;
    if (auto* s = std::get_if<CString>(&*v)) return *s;
    return defaultValue;
}

bool CMemoryProfile::WriteProfileString(const CString& section, const CString& entry,
                                        const CString& value) {
    Store(section, entry, value);
    return true;
}

std::optional<std::vector<std::uint8_t>> CMemoryProfile::GetProfileBinary(const CString& section,
                                                                          const CString& entry) {
    auto v = Find(section, entry);
    if (!v) return std::nullopt;
    if (auto* b = std::get_if<std::vector<std::uint8_t>>(&*v)) return *b;
    return std::nullopt;
}

bool CMemoryProfile::WriteProfileBinary(const CString& section, const CString& entry,
                                        const std::vector<std::uint8_t>& value) {
    Store(section, entry, value);
    return true;
}

bool CMemoryProfile::Has(const CString& section, const CString& entry) const {
    return Find(section, entry).has_value();
}

std::vector<std::pair<CString, CString>> CMemoryProfile::WriteOrder() const {
    std::lock_guard guard(m_lock);
    return m_order;
}

#include "screens/alpha_row_keys.h"

int CAlphaRowKeys::Find(DWORD key) const {
    const auto it = m_index.find(key);
    return it == m_index.end() ? -1 : static_cast<int>(it->second);
}

bool CAlphaRowKeys::Append(DWORD key) {
    if (!m_index.try_emplace(key, m_keys.size()).second) return false;
    m_keys.push_back(key);
    return true;
}

int CAlphaRowKeys::Remove(DWORD key) {
    const auto it = m_index.find(key);
    if (it == m_index.end()) return -1;
    const size_t position = it->second;
    m_index.erase(it);
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(position));
    for (size_t i = position; i < m_keys.size(); ++i)
        m_index[m_keys[i]] = i;
    return static_cast<int>(position);
}

void CAlphaRowKeys::Clear() {
    m_keys.clear();
    m_index.clear();
}

void CAlphaRowKeys::Reserve(size_t count) {
    m_keys.reserve(count);
    m_index.reserve(count);
}

bool AlphaKeyMatches(DWORD key, int icom, int type) {
    const int keyIcom = static_cast<int>(key >> 24);
    const int keyType = static_cast<int>((key >> 16) & 0xFF);
    return (icom < 0 || icom == keyIcom) && (type < 0 || type == keyType);
}

#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

#include "platform/base/win_types.h"

// The alpha keys of the alphas screen's rows, in the order the rows were added (row id i + 1
// shows key i), with an index from key to position so that a key is found without a scan.
class CAlphaRowKeys {
public:
    size_t size() const { return m_keys.size(); }
    bool empty() const { return m_keys.empty(); }
    DWORD operator[](size_t position) const { return m_keys[position]; }

    // The key's position; -1 when it is not listed.
    int Find(DWORD key) const;
    bool Contains(DWORD key) const { return m_index.contains(key); }
    // Adds the key at the end; false when it is listed already.
    bool Append(DWORD key);
    // Takes the key out, the keys after it moving up one place; its position, -1 when it was
    // not listed.
    int Remove(DWORD key);
    void Clear();
    void Reserve(size_t count);

private:
    std::vector<DWORD> m_keys;
    std::unordered_map<DWORD, size_t> m_index;
};

// Whether an alpha key belongs to the intercom and alpha type chosen; a negative choice takes
// every intercom or type.
bool AlphaKeyMatches(DWORD key, int icom, int type);

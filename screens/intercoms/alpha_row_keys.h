#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/win_types.h"

// The alpha keys of the alphas screen's rows, in the order the rows were added (row id i + 1
// shows key i), with an index from key to position so that a key is found without a scan. A
// file read adds thousands of keys in one go: the index is a flat table, not a node per key.
class CAlphaRowKeys {
public:
    size_t size() const { return m_keys.size(); }
    bool empty() const { return m_keys.empty(); }
    DWORD operator[](size_t position) const { return m_keys[position]; }

    // The key's position; -1 when it is not listed.
    int Find(DWORD key) const;
    bool Contains(DWORD key) const { return Find(key) >= 0; }
    // Adds the key at the end; false when it is listed already.
    bool Append(DWORD key);
    // Takes the key out, the keys after it moving up one place; its position, -1 when it was
    // not listed.
    int Remove(DWORD key);
    void Clear();
    // Room for this many keys without the index growing.
    void Reserve(size_t count);

private:
    size_t FirstSlot(DWORD key) const;
    // Makes the index anew with room for count keys.
    void Rebuild(size_t count);
    void Insert(DWORD key, size_t position);

    std::vector<DWORD> m_keys;
    // Open addressing with linear probing: a slot holds a position + 1, 0 when empty. There are
    // at least twice as many slots as keys, a power of two of them.
    std::vector<std::uint32_t> m_slots;
    int m_nShift = 32;
};

// Whether an alpha key belongs to the intercom and alpha type chosen; a negative choice takes
// every intercom or type.
bool AlphaKeyMatches(DWORD key, int icom, int type);

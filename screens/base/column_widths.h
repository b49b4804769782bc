#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "platform/base/cstring.h"

// The keys that tie widths to columns: each column's heading, numbered from the second time
// a heading repeats ("Alpha", "Alpha (2)"), columns without one by their count ("(1)"), so
// that a width follows its column wherever a configuration moves it.
std::vector<CString> ColumnKeys(std::span<const CString> headings);

// The two profile values a screen keeps its widths in.
struct StoredColumnWidths {
    // One width per entry, two bytes each, high byte first: the columns shown first, in
    // display order (all that older readers take), then the remembered columns not shown.
    std::vector<std::uint8_t> widths;
    // The entries' keys, each ended by a line feed; an empty key marks a fitted width, which
    // no reader takes: the next run fits that column to its own rows.
    CString keys;
};

// The widths a screen can show; a stored width outside them (another screen's, or a damaged
// value) is not applied. A width of 0 would hide its column with nothing to show it was there.
struct WidthBounds {
    int least = 1;
    int most = 0xFFFF;
};

// The widths the user gave one screen's columns, by key.
class CColumnWidths {
public:
    // Takes what the profile held, as far as the screen can use it. Widths without keys (the
    // older form, by position) cannot be told from widths that an earlier configuration left
    // on other columns: they are dropped, and their columns fitted again.
    void Load(std::span<const std::uint8_t> widths, const CString& keys, WidthBounds bounds = {});
    bool IsLoaded() const { return m_loaded; }

    std::optional<int> Find(const CString& key) const;
    // A width the user set in this copy of the program: the only kind it stores.
    void Remember(const CString& key, int width);

    // The profile values as they are to be written now: what the store holds at this moment
    // (another copy's widths among it), this copy's own widths over it, the columns shown
    // first. A shown column without a stored width goes with its width for older readers
    // only.
    StoredColumnWidths Merge(std::span<const std::uint8_t> storedWidths, const CString& storedKeys,
                             std::span<const CString> shownKeys,
                             std::span<const int> shownWidths) const;

private:
    std::map<CString, int> m_widths;
    // The widths set in this copy.
    std::map<CString, int> m_own;
    bool m_loaded = false;
};

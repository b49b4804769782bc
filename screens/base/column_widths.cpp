#include "screens/base/column_widths.h"

#include <algorithm>
#include <set>

namespace {

constexpr char16_t kKeyEnd = u'\n';
// Remembered columns that no configuration shows now are kept up to this many, so that the
// value of a screen whose headings the user names (the groups) cannot grow without end.
constexpr size_t kMaxHiddenColumns = 256;
constexpr int kMaxWidth = 0xFFFF;

int WidthAt(std::span<const std::uint8_t> widths, size_t entry) {
    return (widths[entry * 2] << 8) | widths[entry * 2 + 1];
}

void AppendWidth(std::vector<std::uint8_t>& widths, int width) {
    width = std::clamp(width, 0, kMaxWidth);
    widths.push_back(static_cast<std::uint8_t>(width >> 8));
    widths.push_back(static_cast<std::uint8_t>(width & 0xFF));
}

std::vector<CString> SplitKeys(const CString& keys) {
    std::vector<CString> split;
    int start = 0;
    for (int end = keys.Find(kKeyEnd); end >= 0; end = keys.Find(kKeyEnd, start)) {
        split.push_back(keys.Mid(start, end - start));
        start = end + 1;
    }
    return split;
}

// Every width stored with a key, as it stands.
std::map<CString, int> ReadKeyed(std::span<const std::uint8_t> widths, const CString& keys) {
    std::map<CString, int> keyed;
    const std::vector<CString> split = SplitKeys(keys);
    for (size_t i = 0; i < std::min(widths.size() / 2, split.size()); ++i) {
        if (!split[i].IsEmpty()) keyed[split[i]] = WidthAt(widths, i);
    }
    return keyed;
}

void Append(StoredColumnWidths& out, const CString& key, int width) {
    AppendWidth(out.widths, width);
    out.keys += key;
    out.keys += kKeyEnd;
}

}  // namespace

std::vector<CString> ColumnKeys(std::span<const CString> headings) {
    std::map<CString, int> seen;
    std::vector<CString> keys;
    keys.reserve(headings.size());
    for (CString heading : headings) {
        heading.Replace(u"\n", u" ");
        const int count = ++seen[heading];
        if (heading.IsEmpty()) {
            keys.push_back(CString::Formatted(u"(%d)", count));
        } else {
            keys.push_back(count == 1 ? heading : CString::Formatted(u"%s (%d)", heading, count));
        }
    }
    return keys;
}

void CColumnWidths::Load(std::span<const std::uint8_t> widths, const CString& keys,
                         WidthBounds bounds) {
    m_loaded = true;
    for (const auto& [key, width] : ReadKeyed(widths, keys)) {
        if (width >= bounds.least && width <= bounds.most) m_widths[key] = width;
    }
}

std::optional<int> CColumnWidths::Find(const CString& key) const {
    const auto it = m_widths.find(key);
    if (it == m_widths.end()) return std::nullopt;
    return it->second;
}

void CColumnWidths::Remember(const CString& key, int width) {
    width = std::clamp(width, 0, kMaxWidth);
    m_widths[key] = width;
    m_own[key] = width;
}

StoredColumnWidths CColumnWidths::Merge(std::span<const std::uint8_t> storedWidths,
                                        const CString& storedKeys,
                                        std::span<const CString> shownKeys,
                                        std::span<const int> shownWidths) const {
    std::map<CString, int> merged = ReadKeyed(storedWidths, storedKeys);
    for (const auto& [key, width] : m_own)
        merged[key] = width;
    StoredColumnWidths out;
    const std::set<CString> shown(shownKeys.begin(), shownKeys.end());
    for (size_t i = 0; i < std::min(shownKeys.size(), shownWidths.size()); ++i) {
        const auto it = merged.find(shownKeys[i]);
        if (it != merged.end()) {
            Append(out, it->first, it->second);
        } else {
            Append(out, CString(), shownWidths[i]);
        }
    }
    size_t hidden = 0;
    for (const auto& [key, width] : merged) {
        if (shown.contains(key)) continue;
        if (++hidden > kMaxHiddenColumns) break;
        Append(out, key, width);
    }
    return out;
}

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

void CColumnWidths::Load(std::span<const std::uint8_t> widths, const CString& keys) {
    m_loaded = true;
    const size_t stored = widths.size() / 2;
    const std::vector<CString> split = SplitKeys(keys);
    for (size_t i = 0; i < std::min(stored, split.size()); ++i) {
        if (!split[i].IsEmpty()) m_widths[split[i]] = WidthAt(widths, i);
    }
}

std::optional<int> CColumnWidths::Find(const CString& key) const {
    const auto it = m_widths.find(key);
    if (it == m_widths.end()) return std::nullopt;
    return it->second;
}

void CColumnWidths::Remember(const CString& key, int width) {
    m_widths[key] = std::clamp(width, 0, kMaxWidth);
}

StoredColumnWidths CColumnWidths::Store(std::span<const CString> shownKeys,
                                        std::span<const int> shownWidths) const {
    StoredColumnWidths out;
    const std::set<CString> shown(shownKeys.begin(), shownKeys.end());
    for (size_t i = 0; i < std::min(shownKeys.size(), shownWidths.size()); ++i) {
        AppendWidth(out.widths, shownWidths[i]);
        if (m_widths.contains(shownKeys[i])) out.keys += shownKeys[i];
        out.keys += kKeyEnd;
    }
    size_t hidden = 0;
    for (const auto& [key, width] : m_widths) {
        if (shown.contains(key) || key.IsEmpty()) continue;
        if (++hidden > kMaxHiddenColumns) break;
        AppendWidth(out.widths, width);
        out.keys += key;
        out.keys += kKeyEnd;
    }
    return out;
}

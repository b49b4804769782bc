// Arbitrary stored widths and keys, as a settings file may hold them: every width taken lies
// within what the screen can use, and what is merged and stored again reads back the same for
// the columns shown.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "screens/base/column_widths.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t split = std::min<std::size_t>(data[0], size - 1);
    const std::span<const std::uint8_t> widths(data + 1, split);
    const std::string_view keyBytes(reinterpret_cast<const char*>(data + 1 + split),
                                    size - 1 - split);
    const std::vector<CString> headings{u"Icom #", u"Alpha", u"Alpha", u"", u"Type"};
    const std::vector<CString> shown = ColumnKeys(headings);

    const CString keys = CString::FromUtf8(keyBytes);
    constexpr WidthBounds kBounds{4, 3000};
    CColumnWidths loaded;
    loaded.Load(widths, keys, kBounds);
    std::vector<int> shownWidths;
    for (const CString& key : shown) {
        const std::optional<int> width = loaded.Find(key);
        Check(!width || (*width >= kBounds.least && *width <= kBounds.most));
        shownWidths.push_back(width.value_or(1));
    }
    // Merged with what the store holds, and with a width of this copy's own.
    loaded.Remember(shown[1], 77);
    const StoredColumnWidths stored = loaded.Merge(widths, keys, shown, shownWidths);
    Check(stored.widths.size() % 2 == 0);
    CColumnWidths again;
    again.Load(stored.widths, stored.keys, kBounds);
    for (const CString& key : shown)
        Check(again.Find(key) == loaded.Find(key));
    return 0;
}

#include "grid/print_layout.h"

#include <cstdint>
#include <cstdlib>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::vector<int> PageStarts(const std::vector<int>& rowHeights, int pageHeight) {
    if (pageHeight <= 0) return {};
    std::vector<int> starts{0};
    long long used = 0;
    for (size_t row = 0; row < rowHeights.size(); ++row) {
        const int height = rowHeights[row];
        if (used > 0 && used + height > pageHeight) {
            starts.push_back(static_cast<int>(row));
            used = 0;
        }
        used += height;
    }
    return starts;
}

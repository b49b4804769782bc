#include "screens/log_viewer/log_view_rules.h"

#include <algorithm>
#include <chrono>

namespace log_rules {

std::int64_t LastTop(std::int64_t count, int linesPerPage) {
    return std::max<std::int64_t>(count - linesPerPage, 0);
}

VerticalBar MakeVerticalBar(std::int64_t count, int linesPerPage, std::int64_t top) {
    VerticalBar bar;
    bar.enabled = count > linesPerPage;
    if (count < kProportionalFrom) {
        bar.max = static_cast<int>(std::max<std::int64_t>(count - 1, 0));
        bar.page = static_cast<UINT>(std::max(linesPerPage, 1));
        bar.pos = static_cast<int>(std::clamp<std::int64_t>(top, 0, LastTop(count, linesPerPage)));
        return bar;
    }
    // 64 bits: the product passes 32 bits from about 65,000 records on.
    bar.max = kThumbMax;
    bar.pos = static_cast<int>(std::clamp<std::int64_t>(top * kThumbMax / count, 0, kThumbMax));
    return bar;
}

std::int64_t TopFromThumb(std::int64_t count, int linesPerPage, int pos) {
    if (count < kProportionalFrom)
        return std::clamp<std::int64_t>(pos, 0, LastTop(count, linesPerPage));
    const std::int64_t top = count * std::clamp(pos, 0, kThumbMax) / kThumbMax;
    return std::min(top, LastTop(count, linesPerPage));
}

DWORD EncodeDay(const CLogDate& date) {
    return static_cast<DWORD>(date.year) * 65536u + static_cast<DWORD>(date.month) * 256u +
           static_cast<DWORD>(date.day);
}

CLogDate DecodeDay(DWORD value) {
    return {static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF),
            static_cast<int>(value & 0xFF)};
}

CLogDate AddDays(const CLogDate& date, int days) {
    using namespace std::chrono;
    const year_month_day from{year(date.year), month(static_cast<unsigned>(date.month)),
                              day(static_cast<unsigned>(date.day))};
    if (!from.ok()) return date;
    const year_month_day to{sys_days(from) + std::chrono::days(days)};
    return {static_cast<int>(to.year()), static_cast<int>(static_cast<unsigned>(to.month())),
            static_cast<int>(static_cast<unsigned>(to.day()))};
}

}  // namespace log_rules

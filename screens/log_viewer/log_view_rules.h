#pragma once

#include <cstdint>

#include "platform/base/win_types.h"
#include "request_log/log_day_file.h"

// The request log viewer's arithmetic: its vertical scroll bar over files of any length, and
// the day its navigation context keeps.
namespace log_rules {

// From this many records on the scroll bar works in proportion, in 15-bit units.
constexpr std::int64_t kProportionalFrom = 32768;
constexpr int kThumbMax = 32767;

// The first record of the last page.
std::int64_t LastTop(std::int64_t count, int linesPerPage);

struct VerticalBar {
    int max = 0;
    UINT page = 0;
    int pos = 0;
    bool enabled = false;
};
// The bar for a file of count records shown from record top: record by record for small
// files, in proportion for large ones.
VerticalBar MakeVerticalBar(std::int64_t count, int linesPerPage, std::int64_t top);
// The first record shown at a thumb position.
std::int64_t TopFromThumb(std::int64_t count, int linesPerPage, int pos);

// The context keeps a day as year * 65536 + month * 256 + day.
DWORD EncodeDay(const CLogDate& date);
CLogDate DecodeDay(DWORD value);
// The day so many days later (earlier for a negative number), across months and years.
CLogDate AddDays(const CLogDate& date, int days);

}  // namespace log_rules

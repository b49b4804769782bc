// Arbitrary bytes as a request log day file, read in a range the first four bytes choose:
// only whole records inside the file come back, each exactly as stored. The bytes as a path
// give a date only from eight digits, and as a controller's log line they make one record
// that begins with them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/base/codepage.h"
#include "request_log/log_day_file.h"
#include "tests/support/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint64_t first = data[0] | (data[1] << 8);
    const std::size_t count = data[2] | (data[3] << 8);
    CMemFile file(std::vector<BYTE>(data + 4, data + size));
    const CLogRecords records = ReadLogRecords(file, first, count);
    const std::uint64_t whole = (size - 4) / kLogRecordBytes;
    bool ok = records.total == whole &&
              records.lines.size() == (first < whole ? std::min(count, whole - first) : 0);
    for (std::size_t i = 0; ok && i < records.lines.size(); ++i)
        ok = records.lines[i] ==
             GetUtf16LE(data + 4 + (first + i) * kLogRecordBytes, kLogRecordUnits);
    const CString text = FromAnsi({reinterpret_cast<const char*>(data), size});
    const auto date = LogDateFromPath(text);
    const std::u16string record = LogRecordOf(text.str());
    const std::u16string_view line = text.str();
    const std::size_t body = line.ends_with(u"\r\n") ? line.size() - 2 : line.size();
    const std::size_t kept = std::min(body, kLogRecordUnits - (line.size() - body));
    ok = ok && record.size() == kLogRecordUnits &&
         line.substr(0, kept) == std::u16string_view(record).substr(0, kept);
    if (!ok || (date && (date->year > 9999 || date->month > 99 || date->day > 99))) std::abort();
    return 0;
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/cstring.h"

class CFile;

// The controller's request log keeps one file per day, "YYYYMMDD.CVL" in the log folder: a
// run of fixed records of UTF-16LE code units, one per log line, without header or
// separator; a cut last record does not count.
constexpr std::size_t kLogRecordUnits = 72;
constexpr std::size_t kLogRecordBytes = 2 * kLogRecordUnits;

// A log line as the one record it takes: cut, or padded with blanks, to the record's length.
// A line that ends in "\r\n" keeps that end at the record's end.
std::u16string LogRecordOf(std::u16string_view line);

struct CLogDate {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    bool operator==(const CLogDate&) const = default;
};

// The computer's local date.
CLogDate LocalToday();
// "%4.4d%2.2d%2.2d.CVL".
CString LogDayFileName(const CLogDate& date);
// The folder (with or without its closing separator) and a file name in it.
CString LogFolderPath(const CString& folder, const CString& fileName);
// The date in the name of a day file path: the eight digits after the last separator.
std::optional<CLogDate> LogDateFromPath(const CString& path);

// Whole records of a day file, and how many the file held when they were read.
struct CLogRecords {
    std::uint64_t total = 0;
    std::vector<std::u16string> lines;  // kLogRecordUnits units each
};

// A day file as the request log viewer reads it. Each call opens the file anew, so that the
// writer can append between calls; the file may also shrink or vanish meanwhile, and a
// missing or unreadable file reads as empty.
class CLogDayFile {
public:
    explicit CLogDayFile(CString path) : m_path(std::move(path)) {}

    const CString& GetPath() const { return m_path; }
    // Whole records in the file now.
    std::uint64_t CountRecords() const;
    // Up to count records from record first on: fewer where the file ends first.
    CLogRecords ReadRecords(std::uint64_t first, std::size_t count) const;

private:
    CString m_path;
};

// The same read from a file already open.
CLogRecords ReadLogRecords(CFile& file, std::uint64_t first, std::size_t count);

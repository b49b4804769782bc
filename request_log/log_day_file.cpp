#include "request_log/log_day_file.h"

#include <algorithm>
#include <ctime>

#include "platform/base/codepage.h"
#include "platform/io/binary_file.h"

namespace {

// Records read in one piece while a range is read.
constexpr std::size_t kRecordsPerRead = 64;

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

int DigitsValue(std::u16string_view digits) {
    int value = 0;
    for (char16_t ch : digits)
        value = value * 10 + (ch - u'0');
    return value;
}

}  // namespace

CLogDate LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

CString LogDayFileName(const CLogDate& date) {
    return CString::Formatted(u"%4.4d%2.2d%2.2d.CVL", date.year, date.month, date.day);
}

CString LogFolderPath(const CString& folder, const CString& fileName) {
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] == u'/') return folder + fileName;
    return folder + u"/" + fileName;
}

std::optional<CLogDate> LogDateFromPath(const CString& path) {
    const std::u16string_view name =
        std::u16string_view(path.str()).substr(path.ReverseFind(u'/') + 1);
    if (name.size() < 8 || !std::all_of(name.begin(), name.begin() + 8, IsDigit))
        return std::nullopt;
    return CLogDate{DigitsValue(name.substr(0, 4)), DigitsValue(name.substr(4, 2)),
                    DigitsValue(name.substr(6, 2))};
}

std::u16string LogRecordOf(std::u16string_view line) {
    constexpr std::u16string_view kLineEnd = u"\r\n";
    const bool ended = line.ends_with(kLineEnd);
    if (ended) line.remove_suffix(kLineEnd.size());
    const std::size_t room = kLogRecordUnits - (ended ? kLineEnd.size() : 0);
    std::u16string record(line.substr(0, room));
    record.resize(room, u' ');
    if (ended) record += kLineEnd;
    return record;
}

std::uint64_t CLogDayFile::CountRecords() const {
    CBinaryFile file;
    if (!file.Open(m_path, CBinaryFile::modeRead)) return 0;
    try {
        return file.GetLength() / kLogRecordBytes;
    } catch (const CFileException&) {
        return 0;
    }
}

CLogRecords CLogDayFile::ReadRecords(std::uint64_t first, std::size_t count) const {
    CBinaryFile file;
    if (!file.Open(m_path, CBinaryFile::modeRead)) return {};
    return ReadLogRecords(file, first, count);
}

CLogRecords ReadLogRecords(CFile& file, std::uint64_t first, std::size_t count) {
    CLogRecords records;
    try {
        records.total = file.GetLength() / kLogRecordBytes;
        if (first >= records.total) return records;
        count = static_cast<std::size_t>(std::min<std::uint64_t>(count, records.total - first));
        file.Seek(static_cast<std::int64_t>(first * kLogRecordBytes), CFile::begin);
        std::vector<BYTE> buffer(std::min(count, kRecordsPerRead) * kLogRecordBytes);
        records.lines.reserve(count);
        while (records.lines.size() < count) {
            const std::size_t wanted = std::min(count - records.lines.size(), kRecordsPerRead);
            const UINT read = file.Read(buffer.data(), static_cast<UINT>(wanted * kLogRecordBytes));
            // The file may have shrunk since its length was taken.
            for (std::size_t at = 0; at + kLogRecordBytes <= read; at += kLogRecordBytes)
                records.lines.push_back(GetUtf16LE(buffer.data() + at, kLogRecordUnits));
            if (read < wanted * kLogRecordBytes) break;
        }
    } catch (const CFileException&) {
        // What was read before the failure stands.
    }
    return records;
}

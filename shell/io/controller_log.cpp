#include "shell/io/controller_log.h"

#include <vector>

#include "platform/base/codepage.h"
#include "platform/io/binary_file.h"
#include "res/string_ids.h"

namespace {

constexpr int kDateDigits = 6;

bool StartsWithDate(const CString& line) {
    if (line.GetLength() < kDateDigits) return false;
    for (int i = 0; i < kDateDigits; ++i)
        if (line[i] < u'0' || line[i] > u'9') return false;
    return true;
}

// The bytes that put the line's record after a file of length bytes. A record left cut short
// (the program stopped in the middle of a write) is first made whole with blanks, so that
// the new record and every later one start on a record's boundary.
std::vector<BYTE> RecordBytes(const CString& line, std::uint64_t length) {
    const std::size_t fill = (kLogRecordBytes - length % kLogRecordBytes) % kLogRecordBytes;
    // An odd fill first ends the cut character with its high byte, 0.
    const std::size_t odd = fill % 2;
    std::u16string units((fill - odd) / 2, u' ');
    units += LogRecordOf(line.str());
    std::vector<BYTE> bytes(odd + 2 * units.size(), 0);
    PutUtf16LE(bytes.data() + odd, units, units.size());
    return bytes;
}

}  // namespace

CString CControllerLogWriter::LogFileNameFor(const CString& line) const {
    if (StartsWithDate(line)) return u"20" + line.Left(kDateDigits) + u".CVL";
    return LogDayFileName(m_today());
}

BOOL CControllerLogWriter::AppendControllerLog(const CString& folder, const CString& line) {
    m_lastPath = LogFolderPath(folder, LogFileNameFor(line));
    try {
        Write(line);
    } catch (const CFileException& error) {
        if (!m_bFailureReported) {
            m_bFailureReported = TRUE;
            if (m_report) m_report(kIdsLogWriteFailed, m_lastPath, error);
        }
    }
    return TRUE;
}

void CControllerLogWriter::Write(const CString& line) {
    CBinaryFile file;
    CFileException error;
    if (!file.Open(m_lastPath, CBinaryFile::modeCreate | CBinaryFile::modeNoTruncate, &error))
        throw error;
    const std::uint64_t length = file.GetLength();
    const std::vector<BYTE> bytes = RecordBytes(line, length);
    try {
        file.Seek(static_cast<std::int64_t>(length), CFile::begin);
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    } catch (const CFileException&) {
        // A record written in part would shift every later one: the file keeps its length.
        try {
            file.SetLength(length);
        } catch (const CFileException&) {
        }
        throw;
    }
    file.Close();
}

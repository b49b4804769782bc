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
    std::vector<BYTE> bytes(2 * static_cast<size_t>(line.GetLength()));
    PutUtf16LE(bytes.data(), line.str(), line.str().size());
    file.Seek(0, CFile::end);
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Close();
}

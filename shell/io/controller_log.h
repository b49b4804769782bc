#pragma once

#include <functional>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"
#include "platform/io/file.h"
#include "request_log/log_day_file.h"

// Appends the controller's request log lines to their day files. The first failure of the
// run is reported (with kIdsLogWriteFailed, the path and the error); later ones are silent
// and their lines are lost. User-interface thread only.
class CControllerLogWriter {
public:
    using FailureReport =
        std::function<void(UINT messageId, const CString& path, const CFileException& error)>;
    using Today = std::function<CLogDate()>;

    explicit CControllerLogWriter(FailureReport report, Today today = LocalToday)
        : m_report(std::move(report)), m_today(std::move(today)) {}

    // Appends the line, as one record, to the day file in folder: the day its first six
    // characters give (YYMMDD) when they are all digits, else today. Non-zero in every case.
    BOOL AppendControllerLog(const CString& folder, const CString& line);
    // The file last written to, or tried; empty before the first line.
    const CString& GetLastLogPath() const { return m_lastPath; }
    // The name of the day file that takes the line.
    CString LogFileNameFor(const CString& line) const;

private:
    void Write(const CString& line);

    FailureReport m_report;
    Today m_today;
    CString m_lastPath;
    BOOL m_bFailureReported = FALSE;
};

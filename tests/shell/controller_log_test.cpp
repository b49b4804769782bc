#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/base/codepage.h"
#include "shell/controller_log.h"
#include "shell/log_day_file.h"
#include "tests/shell/temp_folder.h"
#include "tests/support/memory_file.h"

namespace {

// A log line as the controller sends it: 72 characters, line end included.
CString Line(const CString& start) {
    CString line = start + CString(u'.', 70 - start.GetLength()) + u"\r\n";
    return line;
}

struct Report {
    UINT id;
    CString path;
    CFileException::Cause cause;
};

}  // namespace

TEST(ControllerLog, LinesAppendToTheirDayFilesAsUtf16) {
    CTempFolder folder;
    std::vector<Report> reports;
    CControllerLogWriter log(
        [&](UINT id, const CString& path, const CFileException& e) {
            reports.push_back({id, path, e.m_cause});
        },
        [] {
            return CLogDate{2024, 2, 29};
        });

    EXPECT_TRUE(log.AppendControllerLog(folder.Path(), Line(u"240305 09:15 \u00E9")));
    EXPECT_EQ(log.GetLastLogPath(), folder.Path("20240305.CVL"));
    EXPECT_TRUE(log.AppendControllerLog(folder.Path() + u"/", Line(u"240305 09:16")));
    EXPECT_TRUE(log.AppendControllerLog(folder.Path(), Line(u"24030x")));
    EXPECT_TRUE(log.AppendControllerLog(folder.Path(), Line(u"Trunk")));
    EXPECT_EQ(log.GetLastLogPath(), folder.Path("20240229.CVL"));

    const auto day = folder.Bytes("20240305.CVL");
    ASSERT_EQ(day.size(), 2 * kLogRecordBytes);
    EXPECT_EQ(std::vector<BYTE>(day.begin(), day.begin() + 4), (std::vector<BYTE>{'2', 0, '4', 0}));
    EXPECT_EQ(std::vector<BYTE>(day.begin() + 26, day.begin() + 28), (std::vector<BYTE>{0xE9, 0}));
    EXPECT_EQ(std::vector<BYTE>(day.end() - 4, day.end()), (std::vector<BYTE>{'\r', 0, '\n', 0}));
    EXPECT_EQ(folder.Bytes("20240229.CVL").size(), 2 * kLogRecordBytes);

    const CLogRecords records = CLogDayFile(folder.Path("20240305.CVL")).ReadRecords(1, 5);
    EXPECT_EQ(records.total, 2u);
    ASSERT_EQ(records.lines.size(), 1u);
    EXPECT_EQ(CString(records.lines[0]), Line(u"240305 09:16"));
    EXPECT_TRUE(reports.empty());

    // An unwritable folder is reported on the first line only; every call still succeeds.
    EXPECT_TRUE(log.AppendControllerLog(folder.Path("missing"), Line(u"240306")));
    EXPECT_TRUE(log.AppendControllerLog(folder.Path("missing"), Line(u"240307")));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].id, kIdLogWriteFailed);
    EXPECT_EQ(reports[0].path, folder.Path("missing/20240306.CVL"));
    EXPECT_EQ(reports[0].cause, CFileException::fileNotFound);
}

TEST(ControllerLog, DayFilesReadAsWholeRecordsWhileTheyChange) {
    CTempFolder folder;
    std::vector<BYTE> bytes(300 * kLogRecordBytes + 10);
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        bytes[i] = static_cast<BYTE>('0' + i / kLogRecordBytes % 10);
    folder.Put("20120301.CVL", bytes);
    const CLogDayFile file(folder.Path("20120301.CVL"));
    EXPECT_EQ(file.CountRecords(), 300u);
    const CLogRecords window = file.ReadRecords(171, 257);
    EXPECT_EQ(window.total, 300u);
    ASSERT_EQ(window.lines.size(), 129u);
    EXPECT_EQ(window.lines.front(), std::u16string(kLogRecordUnits, u'1'));
    EXPECT_EQ(window.lines.back(), std::u16string(kLogRecordUnits, u'9'));
    EXPECT_TRUE(file.ReadRecords(300, 10).lines.empty());
    EXPECT_EQ(CLogDayFile(folder.Path("none.CVL")).CountRecords(), 0u);

    // A file that shrinks between taking its length and reading gives what is there.
    struct CShrunkFile : CMemFile {
        using CMemFile::CMemFile;
        std::uint64_t GetLength() const override { return 10 * kLogRecordBytes; }
    } shrunk(std::vector<BYTE>(4 * kLogRecordBytes + 100));
    const CLogRecords cut = ReadLogRecords(shrunk, 1, 8);
    EXPECT_EQ(cut.total, 10u);
    EXPECT_EQ(cut.lines.size(), 3u);

    EXPECT_EQ(LogDayFileName({2012, 2, 29}), CString(u"20120229.CVL"));
    EXPECT_EQ(LogDateFromPath(file.GetPath()), (CLogDate{2012, 3, 1}));
    EXPECT_EQ(LogDateFromPath(u"/logs/CORVANEL.CVL"), std::nullopt);
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/base/codepage.h"
#include "res/string_ids.h"
#include "shell/controller_log.h"
#include "tests/support/memory_file.h"

namespace {

// A log line as the controller sends it: 72 characters, line end included.
CString Line(const CString& start) {
    return start + CString(u'.', 70 - start.GetLength()) + u"\r\n";
}

CLogDate LeapDay() {
    return {2024, 2, 29};
}

}  // namespace

TEST(ControllerLog, LinesAppendToTheirDayFilesAndReadBackAsRecords) {
    std::string made = (std::filesystem::temp_directory_path() / "kelvardin_XXXXXX").string();
    ASSERT_TRUE(::mkdtemp(made.data()));
    const CString folder = CString::FromUtf8(made);
    std::vector<CString> reports;
    CControllerLogWriter log(
        [&](UINT id, const CString& path, const CFileException& e) {
            EXPECT_TRUE(id == kIdsLogWriteFailed && e.m_cause == CFileException::fileNotFound);
            reports.push_back(path);
        },
        LeapDay);

    EXPECT_TRUE(log.AppendControllerLog(folder, Line(u"240305 \u00E9")));
    EXPECT_TRUE(log.AppendControllerLog(folder + u"/", Line(u"240305 09:16")));
    EXPECT_TRUE(log.AppendControllerLog(folder, Line(u"24030x")));
    EXPECT_EQ(log.GetLastLogPath(), folder + u"/20240229.CVL");
    const CLogDayFile day(folder + u"/20240305.CVL");
    const CLogRecords records = day.ReadRecords(0, 5);
    ASSERT_EQ(records.lines.size(), 2u);
    EXPECT_EQ(CString(records.lines[0]), Line(u"240305 \u00E9"));
    EXPECT_EQ(CString(records.lines[1]), Line(u"240305 09:16"));
    EXPECT_EQ(CLogDayFile(log.GetLastLogPath()).CountRecords(), 1u);

    // An unwritable folder is reported on the first line only.
    EXPECT_TRUE(log.AppendControllerLog(folder + u"/no", Line(u"240306")));
    EXPECT_TRUE(log.AppendControllerLog(folder + u"/no", Line(u"240307")));
    EXPECT_EQ(reports, std::vector<CString>{folder + u"/no/20240306.CVL"});
    std::filesystem::remove_all(made);

    EXPECT_EQ(LogDateFromPath(day.GetPath()), (CLogDate{2024, 3, 5}));
}

TEST(ControllerLog, RangesOfAFileThatShrinksUnderTheReader) {
    std::vector<BYTE> bytes(300 * kLogRecordBytes + 10);
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        bytes[i] = static_cast<BYTE>('0' + i / kLogRecordBytes % 10);
    CMemFile file(bytes);
    const CLogRecords window = ReadLogRecords(file, 171, 257);
    EXPECT_EQ(window.total, 300u);
    ASSERT_EQ(window.lines.size(), 129u);
    EXPECT_EQ(window.lines.front(), std::u16string(kLogRecordUnits, u'1'));
    EXPECT_EQ(window.lines.back(), std::u16string(kLogRecordUnits, u'9'));

    struct CShrunkFile : CMemFile {
        using CMemFile::CMemFile;
        std::uint64_t GetLength() const override { return 10 * kLogRecordBytes; }
    } shrunk(std::vector<BYTE>(4 * kLogRecordBytes + 100));
    const CLogRecords cut = ReadLogRecords(shrunk, 1, 8);
    EXPECT_EQ(cut.total, 10u);
    EXPECT_EQ(cut.lines.size(), 3u);
}

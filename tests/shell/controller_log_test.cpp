#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/base/codepage.h"
#include "res/string_ids.h"
#include "shell/io/controller_log.h"

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

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/base/codepage.h"
#include "res/string_ids.h"
#include "shell/io/controller_log.h"
#include "tests/support/file_size_limit.h"

namespace {

// A log line as the controller sends it: 72 characters, line end included.
CString Line(const CString& start) {
    return start + CString(u'.', 70 - start.GetLength()) + u"\r\n";
}

CLogDate LeapDay() {
    return {2024, 2, 29};
}

std::string MakeFolder() {
    std::string made = (std::filesystem::temp_directory_path() / "kelvardin_XXXXXX").string();
    EXPECT_TRUE(::mkdtemp(made.data()));
    return made;
}

}  // namespace

TEST(ControllerLog, LinesAppendToTheirDayFilesAndReadBackAsRecords) {
    const std::string made = MakeFolder();
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

TEST(ControllerLog, EveryLineTakesOneRecordAndAFailedWriteShiftsNoLaterRecord) {
    const std::string made = MakeFolder();
    const CString folder = CString::FromUtf8(made);
    const CString path = folder + u"/20240305.CVL";
    std::vector<CFileException::Cause> causes;
    CControllerLogWriter log(
        [&](UINT, const CString&, const CFileException& e) { causes.push_back(e.m_cause); });
    const auto records = [&] { return CLogDayFile(path).ReadRecords(0, 10).lines; };
    const auto size = [&] { return std::filesystem::file_size(made + "/20240305.CVL"); };

    // Short and long lines, with and without their line end, each fill one record.
    log.AppendControllerLog(folder, u"240305 short\r\n");
    log.AppendControllerLog(folder, Line(u"240305 long") + CString(u'+', 9) + u"\r\n");
    log.AppendControllerLog(folder, u"240305 bare");
    log.AppendControllerLog(folder, CString(u"240305 ") + CString(u'#', 80));
    std::vector<std::u16string> expected = {
        u"240305 short" + std::u16string(58, u' ') + u"\r\n",
        Line(u"240305 long").str(),
        u"240305 bare" + std::u16string(61, u' '),
        u"240305 " + std::u16string(65, u'#'),
    };
    EXPECT_EQ(records(), expected);

    // A disk that fills in the middle of a record: the part written goes again.
    {
        const CFileSizeLimit full(size() + kLogRecordBytes / 2);
        log.AppendControllerLog(folder, Line(u"240305 lost"));
    }
    EXPECT_EQ(causes, std::vector<CFileException::Cause>{CFileException::diskFull});
    EXPECT_EQ(size(), 4 * kLogRecordBytes);
    log.AppendControllerLog(folder, Line(u"240305 after"));
    expected.push_back(Line(u"240305 after").str());
    EXPECT_EQ(records(), expected);

    // A record cut short some other way (the program stopped) is made whole with blanks.
    std::filesystem::resize_file(made + "/20240305.CVL", 4 * kLogRecordBytes + 9);
    log.AppendControllerLog(folder, Line(u"240305 next"));
    expected[4] = u"24030" + std::u16string(67, u' ');
    expected.push_back(Line(u"240305 next").str());
    EXPECT_EQ(records(), expected);
    EXPECT_EQ(causes.size(), 1u);
    std::filesystem::remove_all(made);
}

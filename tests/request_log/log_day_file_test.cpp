#include <gtest/gtest.h>

#include <vector>

#include "request_log/log_day_file.h"
#include "tests/support/memory_file.h"

TEST(LogDayFile, RangesOfAFileThatShrinksUnderTheReader) {
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

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/io/binary_file.h"

namespace {

CString Path(const std::filesystem::path& path) {
    return CString::FromUtf8(path.string());
}

}  // namespace

TEST(BinaryFile, WriteSeekAndRead) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvardin_file_" + std::to_string(::getpid()) + ".kvd");
    CBinaryFile out;
    ASSERT_TRUE(out.Open(Path(path), CBinaryFile::modeCreate));
    out.Write("0123456789", 10);
    EXPECT_EQ(out.GetPosition(), 10u);
    EXPECT_EQ(out.Seek(2, CFile::begin), 2u);
    out.Write("ab", 2);
    out.Close();
    EXPECT_FALSE(out.IsOpen());

    CBinaryFile in;
    ASSERT_TRUE(in.Open(Path(path), CBinaryFile::modeRead));
    EXPECT_EQ(in.GetLength(), 10u);
    char bytes[16] = {};
    EXPECT_EQ(in.Read(bytes, 4), 4u);
    EXPECT_EQ(std::string(bytes, 4), "01ab");
    EXPECT_EQ(in.Seek(-2, CFile::end), 8u);
    EXPECT_EQ(in.Read(bytes, 16), 2u);  // fewer at the end
    EXPECT_EQ(in.Seek(100, CFile::current), 110u);
    EXPECT_EQ(in.Read(bytes, 4), 0u);
    in.SeekToBegin();
    EXPECT_EQ(in.GetPosition(), 0u);
    EXPECT_THROW(in.Write("x", 1), CFileException);  // opened for reading
    in.Abort();
    EXPECT_THROW(in.Read(bytes, 1), CFileException);
    std::filesystem::remove(path);
}

TEST(BinaryFile, ErrorsCarryTheirCause) {
    CBinaryFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(u"/nonexistent/kelvardin.kvd", CBinaryFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_fileName, CString(u"/nonexistent/kelvardin.kvd"));
    EXPECT_FALSE(file.Open(u"/dev/null/kelvardin.kvd", CBinaryFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open(u"/", CBinaryFile::modeCreate, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);

    ASSERT_TRUE(file.Open(u"/dev/full", CBinaryFile::modeCreate));
    try {
        file.Write("x", 1);
        ADD_FAILURE() << "a full disk took the byte";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_osError, ENOSPC);
    }

    struct Case {
        int error;
        CFileException::Cause cause;
    } cases[] = {
        {0, CFileException::none},
        {ENOENT, CFileException::fileNotFound},
        {ENAMETOOLONG, CFileException::badPath},
        {EACCES, CFileException::accessDenied},
        {EROFS, CFileException::accessDenied},
        {EBADF, CFileException::invalidFile},
        {EMFILE, CFileException::tooManyOpenFiles},
        {ETXTBSY, CFileException::sharingViolation},
        {EDQUOT, CFileException::diskFull},
        {EIO, CFileException::other},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFileException::CauseFromErrno(c.error), c.cause) << c.error;
}

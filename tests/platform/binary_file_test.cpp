#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "platform/io/binary_file.h"

TEST(BinaryFile, WriteSeekAndRead) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvardin_file_" + std::to_string(::getpid()) + ".kvd");
    const CString name = CString::FromUtf8(path.string());
    CBinaryFile out;
    ASSERT_TRUE(out.Open(name, CBinaryFile::modeCreate));
    out.Write("0123456789", 10);
    EXPECT_EQ(out.Seek(2, CFile::begin), 2u);
    out.Write("ab", 2);
    out.Close();

    CBinaryFile in;
    ASSERT_TRUE(in.Open(name, CBinaryFile::modeRead));
    EXPECT_EQ(in.GetLength(), 10u);
    char bytes[16] = {};
    EXPECT_EQ(in.Read(bytes, 4), 4u);
    EXPECT_EQ(std::string(bytes, 4), "01ab");
    EXPECT_EQ(in.Seek(-2, CFile::end), 8u);
    EXPECT_EQ(in.Read(bytes, 16), 2u);  // fewer at the end
    EXPECT_EQ(in.Seek(100, CFile::current), 110u);
    EXPECT_EQ(in.Read(bytes, 4), 0u);
    EXPECT_THROW(in.Write("x", 1), CFileException);  // opened for reading
    in.Abort();
    EXPECT_THROW(in.Read(bytes, 1), CFileException);
    std::filesystem::remove(path);
}

TEST(BinaryFile, ErrorsCarryTheirCause) {
    struct Open {
        const char16_t* path;
        UINT flags;
        CFileException::Cause cause;
    } opens[] = {
        {u"/nonexistent/kelvardin.kvd", CBinaryFile::modeRead, CFileException::fileNotFound},
        {u"/dev/null/kelvardin.kvd", CBinaryFile::modeCreate, CFileException::badPath},
        {u"/", CBinaryFile::modeCreate, CFileException::accessDenied},
    };
    for (const Open& o : opens) {
        CBinaryFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(o.path, o.flags, &error));
        EXPECT_EQ(error.m_cause, o.cause);
        EXPECT_EQ(error.m_fileName, CString(o.path));
    }

    CBinaryFile full;
    ASSERT_TRUE(full.Open(u"/dev/full", CBinaryFile::modeCreate));
    try {
        full.Write("x", 1);
        ADD_FAILURE() << "a full disk took the byte";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
    }

    EXPECT_EQ(CFileException::CauseFromErrno(0), CFileException::none);
    EXPECT_EQ(CFileException::CauseFromErrno(EBADF), CFileException::invalidFile);
    EXPECT_EQ(CFileException::CauseFromErrno(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::CauseFromErrno(ETXTBSY), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::CauseFromErrno(EIO), CFileException::other);
}

#pragma once

#include "platform/io/file.h"

// A file on disk, opened in binary mode.
class CBinaryFile : public CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0,      // read only; the file must exist
        modeCreate = 0x1,  // write only, created or emptied
        // With modeCreate: an existing file keeps its content (the position is its start).
        modeNoTruncate = 0x2,
        // With modeCreate: fails when the file exists.
        modeCreateNew = 0x4,
    };

    CBinaryFile() = default;
    // Closes the file, ignoring errors.
    ~CBinaryFile() override;
    CBinaryFile(const CBinaryFile&) = delete;
    CBinaryFile& operator=(const CBinaryFile&) = delete;

    // False, with the cause in error when given, when the file cannot be opened.
    BOOL Open(const CString& path, UINT flags, CFileException* error = nullptr);
    BOOL IsOpen() const { return m_fd >= 0; }
    const CString& GetFilePath() const { return m_path; }

    // Writes what the system still holds to the disk; a failure is raised.
    void Flush();
    // Closes the file; a failure to write what the system still held is raised.
    void Close();
    // Closes the file, ignoring every error.
    void Abort();

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    std::uint64_t Seek(std::int64_t offset, SeekPosition from) override;
    std::uint64_t GetPosition() const override;
    std::uint64_t GetLength() const override;
    // Cuts the file, or lengthens it with zero bytes, to length.
    void SetLength(std::uint64_t length);

private:
    [[noreturn]] void Throw(int error) const;
    void CheckOpen() const;

    int m_fd = -1;
    CString m_path;
};

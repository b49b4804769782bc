#pragma once

#include <cstdint>
#include <exception>
#include <utility>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A failed file operation and its cause.
class CFileException : public std::exception {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        accessDenied,
        invalidFile,
        tooManyOpenFiles,
        sharingViolation,
        diskFull,
        other,
    };

    explicit CFileException(Cause cause = none, int osError = 0, CString fileName = {})
        : m_cause(cause), m_osError(osError), m_fileName(std::move(fileName)) {}

    // The cause of a system error number (0 is none).
    static Cause CauseFromErrno(int error);

    const char* what() const noexcept override { return "file error"; }

    Cause m_cause;
    int m_osError;  // the system's error number, 0 when none
    CString m_fileName;
};

// A file of bytes with a position. Errors raise CFileException.
class CFile {
public:
    enum SeekPosition { begin, current, end };

    virtual ~CFile() = default;

    // Reads up to count bytes and returns how many were read: fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count) = 0;
    // Writes all count bytes.
    virtual void Write(const void* buffer, UINT count) = 0;
    // Moves the position and returns it; a position beyond the end is allowed.
    virtual std::uint64_t Seek(std::int64_t offset, SeekPosition from) = 0;
    virtual std::uint64_t GetPosition() const = 0;
    virtual std::uint64_t GetLength() const = 0;

    void SeekToBegin() { Seek(0, begin); }
};

#pragma once

#include "platform/io/binary_file.h"

// A file written beside the one it replaces and put in its place only once it is complete:
// until Commit the target keeps what it held, and a new file that is never committed is
// removed. Through a symbolic link the file it names is replaced; a target that is no regular
// file (a device, a pipe) is written directly.
class CReplacingFile {
public:
    CReplacingFile() = default;
    // Removes the new file unless it was committed.
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Creates the new file in the target's folder; false, with the cause in error when
    // given, when it cannot.
    BOOL Open(const CString& target, CFileException* error = nullptr);
    // Where the content goes until Commit.
    CBinaryFile& GetFile() { return m_file; }
    // Writes the new file to the disk, gives it the permissions of the file it replaces and
    // renames it over the target. A failure is raised; the target then is as it was.
    void Commit();
    // Closes and removes the new file; the target is as it was.
    void Abort();

private:
    CString m_target;
    CString m_newPath;
    bool m_direct = false;  // the target itself is written
    CBinaryFile m_file;
};

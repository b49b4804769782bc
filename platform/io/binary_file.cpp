#include "platform/io/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/base/codepage.h"

CFileException::Cause CFileException::CauseFromErrno(int error) {
    switch (error) {
        case 0: return none;
        case ENOENT: return fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: return badPath;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return accessDenied;
        case EBADF: return invalidFile;
        case EMFILE:
        case ENFILE: return tooManyOpenFiles;
        case ETXTBSY:
        case EBUSY:
        case EWOULDBLOCK: return sharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return diskFull;
        default: return other;
    }
}

CBinaryFile::~CBinaryFile() {
    Abort();
}

BOOL CBinaryFile::Open(const CString& path, UINT flags, CFileException* error) {
    Abort();
    int mode = O_RDONLY;
    if (flags & modeCreate) {
        mode = O_WRONLY | O_CREAT | ((flags & modeNoTruncate) ? 0 : O_TRUNC);
        if (flags & modeCreateNew) mode |= O_EXCL;
    }
    const int fd = ::open(ToUtf8(path).c_str(), mode | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error) *error = CFileException(CFileException::CauseFromErrno(errno), errno, path);
        return FALSE;
    }
    m_fd = fd;
    m_path = path;
    return TRUE;
}

void CBinaryFile::Flush() {
    CheckOpen();
    // A special file that cannot be synchronised holds nothing to lose.
    if (::fsync(m_fd) != 0 && errno != EINVAL) Throw(errno);
}

void CBinaryFile::Close() {
    if (m_fd < 0) return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) Throw(errno);
}

void CBinaryFile::Abort() {
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
}

UINT CBinaryFile::Read(void* buffer, UINT count) {
    CheckOpen();
    auto* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Throw(errno);
        }
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CBinaryFile::Write(const void* buffer, UINT count) {
    CheckOpen();
    const auto* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Throw(errno);
        }
        // A write that takes nothing has found no room.
        if (n == 0) Throw(ENOSPC);
        done += static_cast<UINT>(n);
    }
}

std::uint64_t CBinaryFile::Seek(std::int64_t offset, SeekPosition from) {
    CheckOpen();
    const int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (position < 0) Throw(errno);
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CBinaryFile::GetPosition() const {
    CheckOpen();
    const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
    if (position < 0) Throw(errno);
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CBinaryFile::GetLength() const {
    CheckOpen();
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) Throw(errno);
    return static_cast<std::uint64_t>(status.st_size);
}

void CBinaryFile::SetLength(std::uint64_t length) {
    CheckOpen();
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) Throw(errno);
}

void CBinaryFile::Throw(int error) const {
    throw CFileException(CFileException::CauseFromErrno(error), error, m_path);
}

void CBinaryFile::CheckOpen() const {
    if (m_fd < 0) Throw(EBADF);
}

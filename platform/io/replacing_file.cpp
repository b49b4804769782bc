#include "platform/io/replacing_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/base/codepage.h"
#include "platform/io/link_target.h"

namespace {

constexpr int kNameTries = 16;

// A hidden name beside the target, unlikely to be taken.
CString NewFileName(const CString& target) {
    const int slash = target.ReverseFind(u'/');
    const CString folder = target.Left(slash + 1);
    const CString name = target.Mid(slash + 1);
    return folder + u"." + name + CString::Formatted(u".%06x~", std::random_device{}() & 0xFFFFFFu);
}

[[noreturn]] void ThrowErrno(const CString& path) {
    const int error = errno;
    throw CFileException(CFileException::CauseFromErrno(error), error, path);
}

}  // namespace

CReplacingFile::~CReplacingFile() {
    Abort();
}

BOOL CReplacingFile::Open(const CString& target, CFileException* error) {
    Abort();
    CFileException failure;
    if (!FollowLinks(target, m_target)) {
        const int cause = errno;
        if (error) *error = CFileException(CFileException::CauseFromErrno(cause), cause, target);
        return FALSE;
    }
    // A device or pipe cannot be put in place of: it is written as it stands.
    struct stat status {};
    if (::stat(ToUtf8(m_target).c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        m_direct = m_file.Open(m_target, CBinaryFile::modeCreate, &failure);
        if (m_direct) return TRUE;
        if (error) *error = failure;
        return FALSE;
    }
    for (int i = 0; i < kNameTries; ++i) {
        const CString path = NewFileName(m_target);
        if (m_file.Open(path, CBinaryFile::modeCreate | CBinaryFile::modeCreateNew, &failure)) {
            m_newPath = path;
            return TRUE;
        }
        if (failure.m_osError != EEXIST) break;
    }
    // The user knows the target, not the name beside it.
    failure.m_fileName = target;
    if (error) *error = failure;
    return FALSE;
}

void CReplacingFile::Commit() {
    m_file.Flush();
    m_file.Close();
    if (m_direct) return;
    struct stat status {};
    const std::string target = ToUtf8(m_target);
    if (::stat(target.c_str(), &status) == 0)
        ::chmod(ToUtf8(m_newPath).c_str(), status.st_mode & 07777);
    if (::rename(ToUtf8(m_newPath).c_str(), target.c_str()) != 0) ThrowErrno(m_target);
    m_newPath.Empty();
}

void CReplacingFile::Abort() {
    m_file.Abort();
    m_direct = false;
    if (m_newPath.IsEmpty()) return;
    ::unlink(ToUtf8(m_newPath).c_str());
    m_newPath.Empty();
}

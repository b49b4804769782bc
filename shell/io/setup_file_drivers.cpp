#include "shell/io/setup_file_drivers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/app_state.h"
#include "model/file_error.h"
#include "model/kelvardin_doc.h"
#include "platform/base/codepage.h"
#include "platform/base/message_box.h"
#include "platform/io/binary_file.h"
#include "platform/io/link_target.h"
#include "platform/io/replacing_file.h"
#include "res/string_ids.h"
#include "res/string_table.h"

namespace {

constexpr char16_t kBackupExtension[] = u".BAK";

struct CTargetStatus {
    bool exists = false;
    // Read-only: nobody may write it, or this user may not.
    bool readOnly = false;
};

CTargetStatus StatusOf(const CString& path) {
    const std::string name = ToUtf8(path);
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0) return {};
    const bool writable =
        S_ISREG(status.st_mode) && (status.st_mode & 0222) && ::access(name.c_str(), W_OK) == 0;
    return {true, !writable};
}

// Where the file name starts.
int NameStart(const CString& path) {
    return path.ReverseFind(u'/') + 1;
}

bool IsBackupPath(const CString& path) {
    const int dot = path.ReverseFind(u'.');
    return dot > NameStart(path) && path.Mid(dot).CompareNoCase(kBackupExtension) == 0;
}

CFileException LastError(const CString& path) {
    const int error = errno;
    return CFileException(CFileException::CauseFromErrno(error), error, path);
}

bool SaveAnyway(const CString& question, UINT icon) {
    return GetApp().DoMessageBox(question + u"\n" + LoadResString(kIdsSaveAnyway),
                                 MB_YESNO | icon) == IDYES;
}

constexpr unsigned kAsideNameTries = 100;

// A name beside the backup that no file has, for the backup of the save before while this
// one runs; empty, with errno set, when none is found.
CString FreeNameBeside(const CString& backup) {
    struct stat status {};
    for (unsigned n = 0; n < kAsideNameTries; ++n) {
        const CString name = backup + CString::Formatted(u".%u~", n);
        if (::lstat(ToUtf8(name).c_str(), &status) == 0) continue;
        if (errno == ENOENT) return name;
        return {};
    }
    errno = EEXIST;
    return {};
}

// The file a save replaces, moved to its backup while the save runs. The backup of the save
// before is kept aside until the save has succeeded; a save that fails puts both back.
class CBackup {
public:
    explicit CBackup(const CString& path) : m_path(path), m_backup(BackupPathOf(path)) {}
    ~CBackup() { Restore(); }
    CBackup(const CBackup&) = delete;
    CBackup& operator=(const CBackup&) = delete;

    // Raises the file error of a step that failed; what was moved is then back.
    void Make() {
        const std::string backup = ToUtf8(m_backup);
        struct stat status {};
        if (::lstat(backup.c_str(), &status) == 0) {
            // Only a file can stand aside for a backup, as only a file could be replaced.
            if (S_ISDIR(status.st_mode)) {
                errno = EISDIR;
                throw LastError(m_backup);
            }
            m_older = FreeNameBeside(m_backup);
            if (m_older.IsEmpty() || ::rename(backup.c_str(), ToUtf8(m_older).c_str()) != 0) {
                const CFileException error = LastError(m_backup);
                m_older.Empty();
                throw error;
            }
        }
        if (::rename(ToUtf8(m_path).c_str(), backup.c_str()) != 0) {
            const CFileException error = LastError(m_backup);
            Restore();
            throw error;
        }
        m_moved = true;
    }
    // The save succeeded: the backup of the save before goes.
    void Keep() {
        if (!m_older.IsEmpty()) ::unlink(ToUtf8(m_older).c_str());
        m_older.Empty();
        m_moved = false;
    }

private:
    // A failure here leaves the content under the other name, which is all that can be done.
    void Restore() {
        if (m_moved) ::rename(ToUtf8(m_backup).c_str(), ToUtf8(m_path).c_str());
        if (!m_older.IsEmpty()) ::rename(ToUtf8(m_older).c_str(), ToUtf8(m_backup).c_str());
        m_moved = false;
        m_older.Empty();
    }

    CString m_path;
    CString m_backup;
    CString m_older;  // the backup of the save before, while this save runs
    bool m_moved = false;
};

// Moves the file to its backup; false when the user gives the save up rather than go on
// without one.
bool MakeBackup(const CString& path, CBackup& backup) {
    if (IsBackupPath(path)) return SaveAnyway(LoadResString(kIdsBackupOfBackup), MB_ICONQUESTION);
    try {
        backup.Make();
        return true;
    } catch (const CFileException& error) {
        const CString failed =
            SubstituteArgs(LoadResString(kIdsBackupFailed).str(), {BackupPathOf(path)}) + u"\n" +
            GetFileErrorText(error);
        return SaveAnyway(failed, MB_ICONSTOP);
    }
}

BOOL WriteReplacing(CKelvardinDoc& doc, const CString& path, BOOL clearAfter, BOOL partial) {
    CReplacingFile file;
    CFileException error;
    if (!file.Open(path, &error)) {
        ReportFileError(kIdsWriteFailed, path, error);
        return FALSE;
    }
    // The writer reports its own failures; the new file then goes and the target stays. The
    // document takes the save only once the file is in place.
    return doc.WriteSetupFile(file.GetFile(), path, partial, clearAfter, [&] { file.Commit(); }) ==
           kFileDone;
}

// Opens a setup file for reading; false, reported, when it cannot be.
bool OpenForReading(CBinaryFile& file, const CString& path) {
    CFileException error;
    if (file.Open(path, CBinaryFile::modeRead, &error)) return true;
    ReportFileError(kIdsOpenFailed, path, error);
    return false;
}

// Says what a reader's result means to the user where the reader itself did not.
int ReportReadResult(int result, const CString& path) {
    if (result == kFileNotSetup) {
        GetApp().DoMessageBox(SubstituteArgs(LoadResString(kIdsNotSetupFile).str(), {path}),
                              MB_OK | MB_ICONSTOP);
    } else if (result == kFileIncomplete) {
        GetApp().DoMessageBox(SubstituteArgs(LoadResString(kIdsFileIncomplete).str(), {path}),
                              MB_OK | MB_ICONEXCLAMATION);
    }
    return result;
}

}  // namespace

CString BackupPathOf(const CString& path) {
    const int dot = path.ReverseFind(u'.');
    if (dot <= NameStart(path)) return path + kBackupExtension;
    return path.Left(dot) + kBackupExtension;
}

BOOL SaveSetupFile(CKelvardinDoc& doc, const CString& chosen, BOOL clearAfter, BOOL partial) {
    // Through a symbolic link the file it names is saved, with its backup beside it.
    CString path;
    if (!FollowLinks(chosen, path)) {
        ReportFileError(kIdsWriteFailed, chosen, LastError(chosen));
        return FALSE;
    }
    const CTargetStatus target = StatusOf(path);
    // A failed save puts the file and the backup of the save before back where they were.
    CBackup backup(path);
    if (GetApp().m_bCreateBAKFiles && target.exists && !target.readOnly &&
        !MakeBackup(path, backup))
        return FALSE;
    if (target.readOnly) {
        ReportFileError(kIdsWriteFailed, path,
                        CFileException(CFileException::accessDenied, EACCES, path));
        return FALSE;
    }
    if (!WriteReplacing(doc, path, clearAfter, partial)) return FALSE;
    backup.Keep();
    return TRUE;
}

int LoadSetupFile(CKelvardinDoc& doc, const CString& path, int kind,
                  const CPartialSaveSelection& description) {
    CBinaryFile file;
    if (!OpenForReading(file, path)) return kFileFailed;
    const int result = RunFileOperation(kIdsReadFailed, path, [&] {
        const int read = doc.ReadSetupFile(description, file, path, kind == 0, kind != 0);
        file.Close();
        return read;
    });
    return ReportReadResult(result, path);
}

int ReadSetupFileContents(const CString& path, CPartialSaveSelection& selection) {
    CBinaryFile file;
    if (!OpenForReading(file, path)) return kFileFailed;
    const int result = RunFileOperation(kIdsReadFailed, path, [&] {
        return CKelvardinDoc::ReadFileContents(file, selection) ? kFileDone : kFileNotSetup;
    });
    return ReportReadResult(result, path);
}

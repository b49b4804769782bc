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

void MoveToBackup(const CString& path, const CString& backup) {
    const std::string to = ToUtf8(backup);
    if (::unlink(to.c_str()) != 0 && errno != ENOENT) throw LastError(backup);
    if (::rename(ToUtf8(path).c_str(), to.c_str()) != 0) throw LastError(backup);
}

bool SaveAnyway(const CString& question, UINT icon) {
    return GetApp().DoMessageBox(question + u"\n" + LoadResString(kIdsSaveAnyway),
                                 MB_YESNO | icon) == IDYES;
}

enum class BackupStep { kGivenUp, kNone, kMoved };

// Moves the file to its backup; the user may go on without one or give the save up.
BackupStep MakeBackup(const CString& path) {
    const auto goOn = [](bool yes) { return yes ? BackupStep::kNone : BackupStep::kGivenUp; };
    if (IsBackupPath(path))
        return goOn(SaveAnyway(LoadResString(kIdsBackupOfBackup), MB_ICONQUESTION));
    const CString backup = BackupPathOf(path);
    try {
        MoveToBackup(path, backup);
        return BackupStep::kMoved;
    } catch (const CFileException& error) {
        const CString failed = SubstituteArgs(LoadResString(kIdsBackupFailed).str(), {backup}) +
                               u"\n" + GetFileErrorText(error);
        return goOn(SaveAnyway(failed, MB_ICONSTOP));
    }
}

// Puts the file this save moved to its backup back under its own name. A failure here leaves
// the content in the backup, which is all that can be done.
void RestoreFromBackup(const CString& path) {
    ::rename(ToUtf8(BackupPathOf(path)).c_str(), ToUtf8(path).c_str());
}

BOOL WriteReplacing(CKelvardinDoc& doc, const CString& path, BOOL clearAfter, BOOL partial) {
    CReplacingFile file;
    CFileException error;
    if (!file.Open(path, &error)) {
        ReportFileError(kIdsWriteFailed, path, error);
        return FALSE;
    }
    // The writer reports its own failures; the new file then goes and the target stays.
    if (doc.WriteSetupFile(file.GetFile(), path, partial, clearAfter) != kFileDone) return FALSE;
    return RunFileOperation(kIdsWriteFailed, path, [&] {
               file.Commit();
               return kFileDone;
           }) == kFileDone;
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

BOOL SaveSetupFile(CKelvardinDoc& doc, const CString& path, BOOL clearAfter, BOOL partial) {
    const CTargetStatus target = StatusOf(path);
    BackupStep backup = BackupStep::kNone;
    if (GetApp().m_bCreateBAKFiles && target.exists && !target.readOnly) backup = MakeBackup(path);
    if (backup == BackupStep::kGivenUp) return FALSE;
    if (target.readOnly) {
        ReportFileError(kIdsWriteFailed, path,
                        CFileException(CFileException::accessDenied, EACCES, path));
        return FALSE;
    }
    if (WriteReplacing(doc, path, clearAfter, partial)) return TRUE;
    // The user's file stays where it was opened from, not only under its backup name.
    if (backup == BackupStep::kMoved) RestoreFromBackup(path);
    return FALSE;
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

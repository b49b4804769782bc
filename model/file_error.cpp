#include "model/file_error.h"

#include "model/app_state.h"
#include "platform/base/message_box.h"
#include "res/string_ids.h"
#include "res/string_table.h"

CString GetFileErrorText(const CFileException& error) {
    switch (error.m_cause) {
        case CFileException::none: return LoadResString(kIdsNoError);
        case CFileException::genericException: return LoadResString(kIdsGenericError);
        case CFileException::fileNotFound: return LoadResString(kIdsFileNotFound);
        case CFileException::badPath: return LoadResString(kIdsBadPath);
        case CFileException::accessDenied: return LoadResString(kIdsAccessDenied);
        case CFileException::invalidFile: return LoadResString(kIdsInvalidFile);
        case CFileException::tooManyOpenFiles: return LoadResString(kIdsTooManyOpenFiles);
        case CFileException::sharingViolation: return LoadResString(kIdsSharingViolation);
        case CFileException::diskFull: return LoadResString(kIdsDiskFull);
        default: return LoadResString(kIdsUnknownError);
    }
}

void ReportFileError(UINT id, const CString& fileName, const CFileException& error) {
    const CString text =
        SubstituteArgs(LoadResString(id).str(), {fileName}) + u"\n" + GetFileErrorText(error);
    GetApp().DoMessageBox(text, MB_OK | MB_ICONSTOP);
}

void ReportOutOfMemory() {
    GetApp().DoMessageBox(u"Not enough memory to complete operation!", MB_OK | MB_ICONSTOP);
}

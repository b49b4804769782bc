#include "model/file_error.h"

#include "model/app_state.h"
#include "platform/base/message_box.h"
#include "res/string_table.h"

CString GetFileErrorText(const CFileException& error) {
    switch (error.m_cause) {
        case CFileException::none: return LoadResString(2141);
        case CFileException::genericException: return LoadResString(2142);
        case CFileException::fileNotFound: return LoadResString(2143);
        case CFileException::badPath: return LoadResString(2144);
        case CFileException::accessDenied: return LoadResString(2145);
        case CFileException::invalidFile: return LoadResString(2146);
        case CFileException::tooManyOpenFiles: return LoadResString(2147);
        case CFileException::sharingViolation: return LoadResString(2148);
        case CFileException::diskFull: return LoadResString(2149);
        default: return LoadResString(2150);
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

#include "model/file_error.h"
#include "shell/app/kelvardin_app.h"
#include "shell/io/setup_file_drivers.h"

BOOL CKelvardinApp::SaveSetupFile(const CString& path, BOOL clearAfter, BOOL partial) {
    CKelvardinDoc* doc = GetKelvardinDoc();
    return doc && ::SaveSetupFile(*doc, path, clearAfter, partial);
}

int CKelvardinApp::LoadSetupFile(const CString& path, int kind,
                                 const CPartialSaveSelection& description) {
    CKelvardinDoc* doc = GetKelvardinDoc();
    return doc ? ::LoadSetupFile(*doc, path, kind, description) : kFileFailed;
}

int CKelvardinApp::ReadSetupFileContents(const CString& path, CPartialSaveSelection& selection) {
    return ::ReadSetupFileContents(path, selection);
}

BOOL CKelvardinApp::AppendControllerLog(const CString& line) {
    // The log directory, like the others, is made when first used.
    PrepareDirectory(m_strLogDirectory);
    m_logWriter.AppendControllerLog(m_strLogDirectory, line);
    m_strLastLogFile = m_logWriter.GetLastLogPath();
    return TRUE;
}

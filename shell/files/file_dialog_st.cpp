#include "shell/files/file_dialog_st.h"

#include <QFileDialog>

#include "platform/ui/file_dialog.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"

CFileDialogST::CFileDialogST(BOOL openFileDialog, const CString& defExt, const CString& fileName,
                             DWORD flags, const CString& filter, QWidget* parent)
    : m_bOpenFileDialog(openFileDialog), m_pParent(parent) {
    m_ofn.fileName = fileName;
    m_ofn.filter = filter;
    m_ofn.defExt = defExt;
    m_ofn.flags = flags;
}

int CFileDialogST::DoModal() {
    CFileDialog dialog(m_bOpenFileDialog, m_ofn.defExt, m_ofn.fileName, m_ofn.flags, m_ofn.filter,
                       m_pParent);
    dialog.SetInitialDir(m_ofn.initialDir);
    if (!m_ofn.title.IsEmpty()) dialog.setWindowTitle(ToQString(m_ofn.title));
    if (dialog.DoModal() != IDOK) return IDCANCEL;
    m_strPath = dialog.GetPathName();
    return IDOK;
}

int CFileDialogST::BrowseForFolder(const CString& title, const CString& initialFolder) {
    // A default folder is made on first use: it may not be there yet.
    QFileDialog browser(m_pParent, ToQString(title),
                        NearestExistingFolder(ToQString(initialFolder)));
    browser.setObjectName(QStringLiteral("FolderBrowser"));
    browser.setFileMode(QFileDialog::Directory);
    browser.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (ExecModalDialog(browser) != QDialog::Accepted || browser.selectedFiles().isEmpty())
        return IDCANCEL;
    m_strPath = FromQString(browser.selectedFiles().constFirst());
    return IDOK;
}

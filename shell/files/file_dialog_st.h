#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class QWidget;

// A plain open or save dialog described by its fields, and the folder browser. The chosen
// path is kept in the object.
class CFileDialogST {
public:
    // What the dialog starts from; the caller may change any of it before DoModal.
    struct COpenFileName {
        CString fileName;
        CString initialDir;
        CString filter;  // "description|patterns|...||"
        CString defExt;
        CString title;
        DWORD flags = 0;  // OFN_*
    };

    explicit CFileDialogST(BOOL openFileDialog, const CString& defExt = {},
                           const CString& fileName = {}, DWORD flags = 0,
                           const CString& filter = {}, QWidget* parent = nullptr);

    // IDOK with the chosen file, else IDCANCEL.
    int DoModal();
    // Lets the user choose a folder, starting in the initial one when given: IDOK with the
    // chosen folder as the path, else IDCANCEL.
    int BrowseForFolder(const CString& title, const CString& initialFolder);
    const CString& GetPathName() const { return m_strPath; }

    COpenFileName m_ofn;

private:
    const BOOL m_bOpenFileDialog;
    QWidget* m_pParent;
    CString m_strPath;
};

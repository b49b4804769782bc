#pragma once

#include <QFileDialog>
#include <QStringList>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// The name filters of a file dialog from a filter text of the original platform: pairs of a
// description and its patterns, each part closed by "|" ("Text files (*.txt)|*.txt||"). Each
// pair becomes "description (patterns)"; "*.*" stands for any name.
QStringList FileDialogNameFilters(const CString& filter);

// Where a dialog opens for a folder that may not be made yet: the folder itself or its
// nearest existing parent; the home folder when none is left or none is given.
QString NearestExistingFolder(const QString& folder);

// The program's open and save dialog. It is never the desktop's own, so that it looks alike
// everywhere, can take further controls and can be acted on in tests; the questions it asks
// (replace an existing file, a file that is not there) go through the modal seam. The
// options are OFN_* values: OFN_OVERWRITEPROMPT and OFN_FILEMUSTEXIST act here.
class CFileDialog : public QFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const CString& defExt = {}, const CString& fileName = {},
                DWORD flags = 0, const CString& filter = {}, QWidget* parent = nullptr);

    // Runs the dialog through the modal seam: IDOK when a file was chosen, else IDCANCEL.
    int DoModal();
    // The chosen file's full path; empty before a choice.
    CString GetPathName() const;
    // The folder the dialog opens in.
    void SetInitialDir(const CString& folder);
    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    DWORD GetFlags() const { return m_dwFlags; }

    void accept() override;

private:
    // Whether the choice may end the dialog; asks the user where it must.
    bool ConfirmChoice(const QString& path);

    const BOOL m_bOpenFileDialog;
    const DWORD m_dwFlags;
};

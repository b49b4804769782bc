#pragma once

#include "platform/ui/file_dialog.h"

class QCheckBox;

// The program's file pickers: a file dialog with a "Save Directory" box, which lets the user
// make the chosen file's folder the default folder of that kind of file. F1 asks for the help
// of the picker's kind.
class CDlgFilePicker : public CFileDialog {
public:
    // The box's control id in the newer style of picker, and in the classic one.
    static constexpr UINT kSaveDirectoryId = 4096;
    static constexpr UINT kSaveDirectoryClassicId = 1040;

    CDlgFilePicker(BOOL openFileDialog, const CString& defExt, const CString& fileName, DWORD flags,
                   const CString& filter, QWidget* parent = nullptr);

    // After DoModal: TRUE and the chosen file's folder when the box was ticked.
    BOOL GetSaveDirectory(CString& folder) const;

protected:
    void SetHelpId(UINT helpId) { m_nHelpId = helpId; }
    void keyPressEvent(QKeyEvent* event) override;

private:
    QCheckBox* m_pSaveDirectory;
    UINT m_nHelpId = 0;
};

// The open picker: title, OK button text and filter from the string table.
class CDlgOpenFile : public CDlgFilePicker {
public:
    CDlgOpenFile(UINT helpId, UINT titleId, UINT okTextId, const CString& fileName, UINT filterId,
                 DWORD flags, const CString& defExt, QWidget* parent = nullptr);
};

// The save picker, which asks before it replaces a file.
class CDlgSaveFile : public CDlgFilePicker {
public:
    CDlgSaveFile(UINT helpId, UINT titleId, const CString& fileName, const CString& defExt,
                 UINT filterId, QWidget* parent = nullptr);
};

#pragma once

#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"

class CCVConfig;
class CKelvardinListCtrl;
class CPartialSaveSelection;
class QLabel;

// Shows what a setup file holds, kind by kind, before it is loaded, and warns when the file
// was made for another controller configuration. Unless asked to show always, it ends with
// IDOK before it ever appears when there is no warning.
class CDlgFileDescription : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 148;
    static constexpr UINT kWarningTextId = 1000;
    static constexpr UINT kListId = 1007;
    static constexpr UINT kWarningIconId = 1008;

    // The file's pre-read (may be null), the configuration it would be opened with, which
    // outlives the dialog, and the file's name for the caption.
    CDlgFileDescription(const CPartialSaveSelection* info, const CCVConfig& current,
                        BOOL showAlways, const CString& fileName, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void FillList();

    const CPartialSaveSelection* m_pInfo;
    const CCVConfig& m_current;
    const BOOL m_bShowAlways;
    const CString m_strFileName;
    CKelvardinListCtrl* m_pList;
    QLabel* m_pWarning;
    QLabel* m_pIcon;
};

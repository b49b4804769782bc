#include "shell/files/dlg_file_picker.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>

#include "platform/ui/qt_convert.h"
#include "platform/ui/win_consts.h"
#include "res/string_table.h"
#include "shell/app/help_ids.h"
#include "shell/app/kelvardin_app.h"

CDlgFilePicker::CDlgFilePicker(BOOL openFileDialog, const CString& defExt, const CString& fileName,
                               DWORD flags, const CString& filter, QWidget* parent)
    : CFileDialog(openFileDialog, defExt, fileName, flags, filter, parent) {
    const bool newStyle = GetKelvardinApp().m_bVistaStyleFileDialogs;
    m_pSaveDirectory = new QCheckBox(newStyle ? QStringLiteral("Save Directory")
                                              : QStringLiteral("&Save Directory"));
    m_pSaveDirectory->setObjectName(
        QStringLiteral("ctl%1").arg(newStyle ? kSaveDirectoryId : kSaveDirectoryClassicId));
    // Under the dialog's own rows, across its width.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(m_pSaveDirectory, grid->rowCount(), 0, 1, grid->columnCount());
    } else {
        layout()->addWidget(m_pSaveDirectory);
    }
}

BOOL CDlgFilePicker::GetSaveDirectory(CString& folder) const {
    if (!m_pSaveDirectory->isChecked()) return FALSE;
    const CString path = GetPathName();
    if (path.IsEmpty()) return FALSE;
    folder = FromQString(QFileInfo(ToQString(path)).absolutePath());
    return TRUE;
}

void CDlgFilePicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && m_nHelpId != 0) {
        GetKelvardinApp().WinHelp(kHelpBaseResource + m_nHelpId, HELP_CONTEXT);
        return;
    }
    CFileDialog::keyPressEvent(event);
}

CDlgOpenFile::CDlgOpenFile(UINT helpId, UINT titleId, UINT okTextId, const CString& fileName,
                           UINT filterId, DWORD flags, const CString& defExt, QWidget* parent)
    : CDlgFilePicker(TRUE, defExt, fileName, flags, LoadResString(filterId), parent) {
    SetHelpId(helpId);
    setWindowTitle(ToQString(LoadResString(titleId)));
    setLabelText(QFileDialog::Accept, ToQString(LoadResString(okTextId)));
}

CDlgSaveFile::CDlgSaveFile(UINT helpId, UINT titleId, const CString& fileName,
                           const CString& defExt, UINT filterId, QWidget* parent)
    : CDlgFilePicker(FALSE, defExt, fileName, OFN_OVERWRITEPROMPT | OFN_SHOWHELP,
                     LoadResString(filterId), parent) {
    SetHelpId(helpId);
    setWindowTitle(ToQString(LoadResString(titleId)));
}

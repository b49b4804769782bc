#include "platform/ui/file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

#include "platform/base/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/win_consts.h"

namespace {

// "Kelvardin files (*.kvd)" and "*.kvd" as Qt reads a filter: the patterns in the last
// brackets, separated by blanks.
QString NameFilter(QString description, const QString& patterns) {
    description = description.trimmed();
    if (description.endsWith(u')')) {
        const qsizetype open = description.lastIndexOf(u'(');
        if (open >= 0) description = description.left(open).trimmed();
    }
    QStringList names = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& name : names) {
        name = name.trimmed();
        if (name == QLatin1String("*.*")) name = QStringLiteral("*");
    }
    return description + QStringLiteral(" (") + names.join(u' ') + u')';
}

}  // namespace

QStringList FileDialogNameFilters(const CString& filter) {
    const QStringList parts = ToQString(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        filters << NameFilter(parts[i], parts[i + 1]);
    }
    return filters;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const CString& defExt, const CString& fileName,
                         DWORD flags, const CString& filter, QWidget* parent)
    : QFileDialog(parent), m_bOpenFileDialog(openFileDialog), m_dwFlags(flags) {
    setObjectName(openFileDialog ? QStringLiteral("FileOpen") : QStringLiteral("FileSave"));
    // Its own questions would bypass the modal seam; accept() asks them instead.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    setAcceptMode(openFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(openFileDialog && (flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
    if (!defExt.IsEmpty()) setDefaultSuffix(ToQString(defExt));
    const QStringList filters = FileDialogNameFilters(filter);
    if (!filters.isEmpty()) setNameFilters(filters);
    if (!fileName.IsEmpty()) selectFile(ToQString(fileName));
    // The size, type and date columns start narrower than their texts; the name takes the
    // room they leave, so that all of them show without scrolling.
    if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

int CFileDialog::DoModal() {
    return ExecModalDialog(*this) == QDialog::Accepted ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? CString() : FromQString(files.constFirst());
}

QString NearestExistingFolder(const QString& folder) {
    if (folder.isEmpty()) return QDir::homePath();
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path) return QDir::homePath();
        path = parent;
    }
    return path;
}

void CFileDialog::SetInitialDir(const CString& folder) {
    // Without the folder, the dialog would open in the working folder.
    if (!folder.IsEmpty()) setDirectory(NearestExistingFolder(ToQString(folder)));
}

void CFileDialog::accept() {
    const QStringList files = selectedFiles();
    if (files.size() == 1 && !ConfirmChoice(files.constFirst())) return;
    QFileDialog::accept();
}

bool CFileDialog::ConfirmChoice(const QString& path) {
    const QFileInfo file(path);
    // A folder is opened, not chosen.
    if (file.isDir()) return true;
    const CString name = FromQString(file.fileName());
    if (m_bOpenFileDialog && (m_dwFlags & OFN_FILEMUSTEXIST) && !file.exists()) {
        ModalMessageBox(name + u"\nFile not found.\nCheck the file name and try again.",
                        MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!m_bOpenFileDialog && (m_dwFlags & OFN_OVERWRITEPROMPT) && file.exists()) {
        return ModalMessageBox(name + u" already exists.\nDo you want to replace it?",
                               MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
    }
    return true;
}

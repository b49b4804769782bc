#include "shell/file_picker.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>

#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"

CString PickerNameFilters(const CString& filter) {
    const QStringList parts = ToQString(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        // "*.*" meant every file, with or without an extension.
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return FromQString(filters.join(QStringLiteral(";;")));
}

std::optional<CFilePickerChoice> PickFile(QWidget* parent, const CFilePickerRequest& request) {
    QFileDialog picker(parent, ToQString(request.title), ToQString(request.folder));
    picker.setObjectName(QStringLiteral("FilePicker"));
    picker.setOptions(QFileDialog::DontUseNativeDialog);
    picker.setNameFilters(ToQString(PickerNameFilters(request.filter)).split(QStringLiteral(";;")));
    picker.setDefaultSuffix(ToQString(request.defaultExt));
    picker.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    picker.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);

    auto* saveDirectory = new QCheckBox(QStringLiteral("Save Directory"));
    saveDirectory->setObjectName(QStringLiteral("SaveDirectory"));
    if (auto* grid = qobject_cast<QGridLayout*>(picker.layout()))
        grid->addWidget(saveDirectory, grid->rowCount(), 0, 1, grid->columnCount());

    if (ExecModalDialog(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return std::nullopt;
    const QFileInfo chosen(picker.selectedFiles().constFirst());
    return CFilePickerChoice{FromQString(chosen.filePath()), FromQString(chosen.path()),
                             saveDirectory->isChecked()};
}

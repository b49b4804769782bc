#include "shell/dialogs/select_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/base/message_box.h"

QDialogButtonBox* MakeOkCancel(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("ctl%1").arg(IDOK));
    ok->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ctl%1").arg(IDCANCEL));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

void PrepareChoiceList(QDialog& dialog, QTreeWidget& list) {
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setSelectionBehavior(QAbstractItemView::SelectRows);
    list.setAllColumnsShowFocus(true);
    list.setRootIsDecorated(false);
    QObject::connect(&list, &QTreeWidget::itemDoubleClicked, &dialog, &QDialog::accept);
}

void SelectRow(QTreeWidget& list, int row) {
    if (QTreeWidgetItem* item = list.topLevelItem(row)) list.setCurrentItem(item);
}

int FirstSelectedRow(const QTreeWidget& list) {
    int first = -1;
    for (const QTreeWidgetItem* item : list.selectedItems()) {
        const int row = list.indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
        if (row >= 0 && (first < 0 || row < first)) first = row;
    }
    return first;
}

#include "shell/controls/combo_list_ctrl.h"

#include "platform/ui/qt_convert.h"

CComboListCtrl::CComboListCtrl(QWidget* parent) : QComboBox(parent) {}

int CComboListCtrl::AddItem(const CString& text, LPARAM data) {
    const QString entry = ToQString(text);
    int row = count();
    while (row > 0 && itemText(row - 1).compare(entry, Qt::CaseInsensitive) > 0)
        --row;
    return InsertItem(row, text, data);
}

int CComboListCtrl::InsertItem(int row, const CString& text, LPARAM data) {
    if (row < 0 || row > count()) row = count();
    insertItem(row, ToQString(text), QVariant::fromValue<qlonglong>(data));
    return row;
}

void CComboListCtrl::SetItemText(int row, int column, const CString& text) {
    if (column == 0 && row >= 0 && row < count()) setItemText(row, ToQString(text));
}

LPARAM CComboListCtrl::GetItemData(int row) const {
    return static_cast<LPARAM>(itemData(row).toLongLong());
}

int CComboListCtrl::FindItemData(LPARAM data) const {
    for (int row = 0; row < count(); ++row) {
        if (GetItemData(row) == data) return row;
    }
    return -1;
}

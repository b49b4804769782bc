#include "shell/controls/list_combo_box.h"

#include "platform/ui/qt_convert.h"

CListComboBox::CListComboBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

int CListComboBox::AddItem(const CString& text, LPARAM data) {
    const QString entry = ToQString(text);
    int row = 0;
    while (row < count() && QString::compare(itemText(row), entry, Qt::CaseInsensitive) <= 0)
        ++row;
    return InsertItem(row, text, data);
}

int CListComboBox::InsertItem(int row, const CString& text, LPARAM data) {
    if (row < 0 || row > count()) row = count();
    insertItem(row, ToQString(text), QVariant::fromValue<qlonglong>(data));
    return row;
}

void CListComboBox::SetItemText(int row, int column, const CString& text) {
    if (column == 0) setItemText(row, ToQString(text));
}

LPARAM CListComboBox::GetItemData(int row) const {
    return static_cast<LPARAM>(itemData(row).toLongLong());
}

int CListComboBox::FindItemData(LPARAM data) const {
    return findData(QVariant::fromValue<qlonglong>(data));
}

void CListComboBox::SelectItemData(LPARAM data) {
    setCurrentIndex(FindItemData(data));
}

LPARAM CListComboBox::GetCurSelData() const {
    return currentIndex() < 0 ? kNoData : GetItemData(currentIndex());
}

#pragma once

#include <QComboBox>

#include "model/list_control.h"

// A drop-down list that the document fills like any list control: entries carry item data,
// added entries are kept in the order of their texts (case-insensitive), inserted ones stand
// where they are put. It has no columns.
class CComboListCtrl : public QComboBox, public IListControl {
public:
    explicit CComboListCtrl(QWidget* parent = nullptr);

    int GetColumnCount() const override { return 0; }
    void AddColumn(const CString& /*heading*/) override {}
    void DeleteAll() override { clear(); }
    int AddItem(const CString& text, LPARAM data) override;
    int InsertItem(int row, const CString& text, LPARAM data) override;
    // Only the first column exists.
    void SetItemText(int row, int column, const CString& text) override;
    void SetRedraw(BOOL redraw) override { setUpdatesEnabled(redraw != FALSE); }

    LPARAM GetItemData(int row) const;
    // The first entry carrying the data; -1 when none does.
    int FindItemData(LPARAM data) const;
};

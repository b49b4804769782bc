#pragma once

#include <QComboBox>

#include "model/list_control.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A drop-down list that the document fills: each entry a text with its data value. Added
// entries go where their text sorts, ignoring case, as in a sorted drop-down list; inserted
// entries go where they are put.
class CListComboBox : public QComboBox, public IListControl {
public:
    // The data of a combo without a selection.
    static constexpr LPARAM kNoData = LPARAM{-3};

    explicit CListComboBox(QWidget* parent = nullptr);

    int GetColumnCount() const override { return 0; }
    void AddColumn(const CString&) override {}
    void DeleteAll() override { clear(); }
    int AddItem(const CString& text, LPARAM data) override;
    int InsertItem(int row, const CString& text, LPARAM data) override;
    void SetItemText(int row, int column, const CString& text) override;
    void SetRedraw(BOOL redraw) override { setUpdatesEnabled(redraw != FALSE); }

    LPARAM GetItemData(int row) const;
    // The first entry with the data, -1 when none has it.
    int FindItemData(LPARAM data) const;
    // Selects the first entry with the data, or nothing when none has it.
    void SelectItemData(LPARAM data);
    // The data of the selected entry, kNoData when none is selected.
    LPARAM GetCurSelData() const;
};

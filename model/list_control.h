#pragma once

#include <span>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// A list or combo control that the document fills: rows of text, each with item data, and for
// lists further columns. A combo has no columns and ignores the column operations.
class IListControl {
public:
    virtual ~IListControl() = default;
    virtual int GetColumnCount() const = 0;
    virtual void AddColumn(const CString& heading) = 0;
    virtual void DeleteAll() = 0;
    // Adds a row where the control's own sorting puts it (at the end when it does not sort);
    // returns the row.
    virtual int AddItem(const CString& text, LPARAM data) = 0;
    // Inserts a row before the given one, or at the end for -1; returns the row.
    virtual int InsertItem(int row, const CString& text, LPARAM data) = 0;
    virtual void SetItemText(int row, int column, const CString& text) = 0;
    // Inserts a row as InsertItem does with the first text, the others going to the columns
    // that follow; returns the row.
    virtual int InsertRow(int row, std::span<const CString> texts, LPARAM data) {
        row = InsertItem(row, texts.empty() ? CString() : texts.front(), data);
        for (size_t column = 1; column < texts.size(); ++column)
            SetItemText(row, static_cast<int>(column), texts[column]);
        return row;
    }
    virtual void SetRedraw(BOOL redraw) = 0;
};

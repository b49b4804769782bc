#pragma once

#include <QTreeWidget>

#include <functional>
#include <span>

#include "model/list_control.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CKelvardinListCtrl;
class CListCtrlSortClass;

// The window that owns a list and says how each of its columns compares (a ListCompareKind).
class IListCompareOwner {
public:
    virtual int GetCompareKind(const CKelvardinListCtrl& list, int column, bool ascending) = 0;

protected:
    ~IListCompareOwner() = default;
};

// A report list: rows of texts by column, each row with a data value. A click on a column's
// header sorts by it, ascending, and a second click reverses; the owner says how the column
// compares. A double click on a divider fits the column to its contents and header (Shift:
// contents only, Ctrl: header only, Alt: no margin). Only the user's drag and the fitting
// change a column's width. The document fills it as any list control.
class CKelvardinListCtrl : public QTreeWidget, public IListControl {
public:
    // Added to a fitted width.
    static constexpr int kMargin = 20;

    explicit CKelvardinListCtrl(QWidget* parent = nullptr);
    ~CKelvardinListCtrl() override;

    // Columns are added in order.
    int InsertColumn(int column, const CString& heading, int width);
    int GetColumnWidth(int column) const { return columnWidth(column); }

    int GetItemCount() const { return topLevelItemCount(); }
    CString GetItemText(int row, int column) const;
    LPARAM GetItemData(int row) const;
    void SetItemData(int row, LPARAM data);

    // As the document fills it. A row is added at the end; one inserted past the end too.
    int GetColumnCount() const override { return columnCount(); }
    void AddColumn(const CString& heading) override;
    void DeleteAll() override { clear(); }
    int AddItem(const CString& text, LPARAM data) override;
    int InsertItem(int row, const CString& text, LPARAM data = 0) override;
    void SetItemText(int row, int column, const CString& text) override;
    // The row comes into the list with its texts and data, at the cost of one insertion.
    int InsertRow(int row, std::span<const CString> texts, LPARAM data) override;
    void SetRedraw(BOOL redraw) override;

    virtual void BeginUpdate();
    virtual void EndUpdate();
    // Runs a change of the texts of many rows, which says whether it changed any: the view
    // follows them once, as one change of every row, instead of after each text.
    void ChangeTexts(const std::function<bool()>& change);
    // The first row whose data equals the value, -1 when none does.
    virtual int FindItemByData(LPARAM data) const;
    virtual void AutoSizeColumn(int column, bool byContents, bool byHeader, bool noMargin);
    // Every column fitted to its contents and header, with the margin; the list is painted
    // again with whatever else changes before the next paint.
    void AutoSizeColumns();
    // At least as wide as its columns, up to three quarters of the screen.
    void WidenToColumns();
    // The same column again reverses the order, another sorts ascending; a negative one
    // leaves the list unsorted.
    virtual void SetSortColumn(int column);
    virtual void Sort();

    int GetSortColumn() const { return m_sortColumn; }
    bool IsAscending() const { return m_ascending; }
    // Called by the sorter with itself.
    void SortRows(const CListCtrlSortClass& sorter);
    const CListCtrlSortClass* GetActiveSorter() const { return m_sorter; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void OnSectionResized(int column, int oldWidth, int newWidth);
    void OnDividerDoubleClicked(int column);
    // Sets the width AutoSizeColumn asks for without painting; false when there is no such
    // column or no header.
    bool FitColumn(int column, bool byContents, bool byHeader, bool noMargin);
    int CompareKind() const;

    int m_sortColumn = -1;
    bool m_ascending = true;
    bool m_tracking = false;
    bool m_autoSizing = false;
    bool m_restoring = false;
    bool m_inserting = false;
    const CListCtrlSortClass* m_sorter = nullptr;
};

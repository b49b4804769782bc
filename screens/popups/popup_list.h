#pragma once

#include <memory>

#include "model/list_control.h"
#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/wnd.h"

class QWidget;

// Ties a pop-up window to the window of its owner, as window systems want of pop-ups.
void SetTransientParent(QWidget& popup, const CWnd* owner);

// NM_CLICK and NM_RCLICK of a list: the item clicked (-1 for none) and its item data.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    LPARAM lParam = 0;
};

// The drop-down list of the input control: a pop-up report list without a column header. Its
// clicks, Enter, Escape and the loss of its focus reach the owner as notifications from kId; it
// closes only when the owner hides it, or on its own when a click lands outside it.
class CPopupList : public IListControl {
public:
    static constexpr UINT kId = 6;

    explicit CPopupList(CWnd& owner);
    ~CPopupList() override;
    CPopupList(const CPopupList&) = delete;
    CPopupList& operator=(const CPopupList&) = delete;

    int GetColumnCount() const override;
    void AddColumn(const CString& heading) override;
    void DeleteAll() override;
    // Sorted by text, after equal texts.
    int AddItem(const CString& text, LPARAM data) override;
    int InsertItem(int row, const CString& text, LPARAM data) override;
    void SetItemText(int row, int column, const CString& text) override;
    void SetRedraw(BOOL redraw) override;

    int GetItemCount() const;
    // Empty, or 0, for a row out of range.
    CString GetItemText(int row, int column = 0) const;
    LPARAM GetItemData(int row) const;

    void SetColors(COLORREF back, COLORREF textBack, COLORREF text);
    // The first column's width that shows its heading and every item.
    int GetContentWidth() const;
    int GetRowHeight() const;
    void SetColumnWidth(int width);

    // Shows the list over the screen rectangle with the item selected, focused and scrolled into
    // view. A click on closeRect (the button that opened it) only closes it.
    void Show(const CRect& screenRect, int current, const CRect& closeRect);
    void Hide();
    BOOL IsOpen() const;
    CRect GetWindowRect() const;
    int GetSelectedItem() const;
    // The window, for tests that act on it as a user would.
    QWidget* GetWidget() const;

private:
    class CFrame;
    class CView;
    friend class CView;
    friend class CFrame;

    void Notify(int code, int item);
    void TrackTo(int row);

    CWnd* m_pOwner;
    BOOL m_bTracking = FALSE;
    std::unique_ptr<CFrame> m_frame;
    CView* m_view;  // owned by the frame
};

#pragma once

#include <vector>

#include "model/list_control.h"
#include "platform/ui/wnd.h"

// The console's history: a list of lines of text, each drawn in the colour its item data
// holds, long lines either cut with an ellipsis (the list then scrolls sideways) or wrapped
// over as many rows as they need. Its parent hears a change of selection (WM_COMMAND with
// kSelChange), Tab (kTabMessage), Return (kReturnMessage) and a released right button
// (kRightButtonMessage), each with the list's id in wParam.
class CMultiLineListBox : public CWnd, public IListControl {
public:
    static constexpr WORD kSelChange = 1;
    static constexpr UINT kTabMessage = WM_APP + 0x511;
    static constexpr UINT kReturnMessage = WM_APP + 0x512;
    static constexpr UINT kRightButtonMessage = WM_APP + 0x513;

    CMultiLineListBox();
    ~CMultiLineListBox() override;

    // With scroll bars in both directions.
    BOOL Create(const CRect& rect, CWnd* parent, UINT id);

    BOOL GetWrap() const { return m_bWrap; }
    // Every line is measured again.
    void SetWrap(BOOL wrap);
    // Behind every line; selected lines show on the shadow colour instead.
    void SetBackColor(COLORREF color) { m_crBack = color; }

    // IListControl: one column of text; the item data is the line's colour.
    int GetColumnCount() const override { return 0; }
    void AddColumn(const CString&) override {}
    void DeleteAll() override;
    int AddItem(const CString& text, LPARAM data) override;
    int InsertItem(int row, const CString& text, LPARAM data) override;
    void SetItemText(int row, int column, const CString& text) override;
    void SetRedraw(BOOL redraw) override;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    CString GetText(int item) const;
    COLORREF GetItemColor(int item) const;
    int GetCurSel() const { return m_nSel; }
    void SetCurSel(int item);
    int GetTopIndex() const { return m_nTop; }
    // The item becomes the first shown, as far as the list can scroll.
    void SetTopIndex(int item);
    // Scrolls as far down as the last item still lets the list be filled.
    void ScrollToEnd();
    // The lowest top item that still fills the list to its bottom.
    int MaxTopIndex() const;
    int GetHorizontalExtent() const { return m_nExtent; }
    // The item at a client point; -1 for none.
    int ItemFromPoint(CPoint point) const;
    // Measures every line again, for the list's width and wrapping now.
    void RemeasureItems();

    void OnPaint(CDC& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnVScroll(UINT code, UINT pos) override;
    void OnHScroll(UINT code, UINT pos) override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    struct Item {
        CString text;
        COLORREF color = 0;
        int height = 0;
    };

    int MeasureItem(const Item& item);
    // The width a line is drawn in: the client, or the horizontal extent when wider.
    int ItemWidth() const;
    void DrawItem(CDC& dc, int index, const CRect& rect);
    void ChangeSelection(int item);
    // Items that fit the client from the top one on, at least one.
    int VisibleCount() const;
    void EnsureVisible(int item);
    void SetHorizontalOffset(int offset);
    void UpdateScrollBars();
    void ShowBarWhen(int bar, bool show);
    void Changed();

    std::vector<Item> m_items;
    BOOL m_bWrap = FALSE;
    BOOL m_bRedraw = TRUE;
    COLORREF m_crBack = 0;
    int m_nSel = -1;
    int m_nTop = 0;
    int m_nExtent = 0;
    int m_nOffset = 0;
    bool m_bFocused = false;
};

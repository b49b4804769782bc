#pragma once

#include "platform/ui/log_font.h"
#include "platform/ui/wnd.h"

// A small window over a cell that shows the cell's whole text when the cell cuts it off. It
// never takes the input: clicks and double clicks reach the grid beneath, which hides the tip
// when the mouse leaves the cell, on any press or key, and when it loses the focus.
class CTitleTip : public CWnd {
public:
    CTitleTip() = default;
    ~CTitleTip() override = default;

    // The grid the tip serves; its window is made when it is first shown.
    void SetParentWnd(CWnd* parent) { m_pParentWnd = parent; }
    // Makes the tip's window once, for the grid it serves.
    BOOL Create(CWnd* parent);
    // title: where the text goes, hover: the cell, both in the parent's client coordinates.
    void Show(CRect title, const CString& text, CRect hover, const LogFont* font, COLORREF textClr,
              COLORREF backClr);
    void Hide();
    BOOL IsShowing() const { return IsWindowVisible(); }
    // The area, in the parent's client coordinates, in which the mouse keeps the tip up.
    const CRect& GetHoverRect() const { return m_rectHover; }
    // The cell's text the tip shows.
    const CString& GetTipText() const { return m_tipText; }

    void OnPaint(CDC& dc) override;

private:
    CWnd* m_pParentWnd = nullptr;
    CRect m_rectHover;
    CString m_tipText;
    CString m_text;  // as drawn, a space either side
    LogFont m_font;
    COLORREF m_textClr = 0;
    COLORREF m_backClr = 0;
};

#include "grid/title_tip.h"

#include <QApplication>

#include "grid/grid_cell_base.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/sys_info.h"

BOOL CTitleTip::Create(CWnd* parent) {
    if (IsWindow()) return TRUE;
    m_pParentWnd = parent;
    return CWnd::Create(WS_POPUP | WS_BORDER, CRect(), parent, 0);
}

void CTitleTip::Show(CRect title, const CString& text, CRect hover, const LogFont* font,
                     COLORREF textClr, COLORREF backClr) {
    if (!IsWindow() && !Create(m_pParentWnd)) return;
    if (title.IsRectEmpty() || IsWindowVisible() || !m_pParentWnd) return;
    if (hover.IsRectEmpty()) hover = title;
    m_rectHover = CRect(hover.left, hover.top, hover.right + 1, hover.bottom + 1);
    // Only while the program has the focus: a tip over an inactive window would never hide.
    if (!QApplication::activeWindow()) return;

    m_tipText = text;
    m_text = CString(u" ") + text + CString(u" ");
    m_font = font ? *font : m_pParentWnd->GetFont();
    CMeasureDC measure(CRect(), nullptr);
    measure.SelectFont(m_font);
    const int width = measure.GetTextExtent(m_text).cx + measure.GetTextMetrics().tmOverhang;
    if (title.left + width <= title.right) return;

    m_textClr = textClr == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : textClr;
    m_backClr = backClr == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : backClr;
    CRect screen(title.left, title.top, title.left + width + 2, title.bottom + 1);
    m_pParentWnd->ClientToScreen(&screen);
    MoveWindow(screen);
    ShowWindow(SW_SHOWNOACTIVATE);
}

void CTitleTip::Hide() {
    if (IsWindow() && IsWindowVisible()) ShowWindow(SW_HIDE);
}

void CTitleTip::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    dc.FillSolidRect(client, m_backClr);
    dc.FrameRect(client, GetSysColor(COLOR_WINDOWFRAME));
    dc.SelectFont(m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_textClr);
    CRect text = client;
    text.DeflateRect(1, 1);
    dc.DrawText(m_text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

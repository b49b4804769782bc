#include "shell/nav/nav_button.h"

#include <QWidget>

#include <cstdlib>

#include "platform/ui/sys_info.h"

namespace {

// A point as the drag messages carry it: x and y as signed 16-bit halves.
LPARAM PackPoint(CPoint point) {
    return static_cast<LPARAM>(MAKEWPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

}  // namespace

BOOL CNavButton::Create(const CString& text, const CRect& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    SetWindowText(text);
    SetOpaquePaint(TRUE);
    // A header shows no focus and never takes it.
    GetWidget()->setFocusPolicy(m_bDraggable ? Qt::NoFocus : Qt::StrongFocus);
    return TRUE;
}

void CNavButton::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    dc.FillSolidRect(client, GetSysColor(COLOR_BTNFACE));
    const bool sunken = m_bLButtonDown && !m_bDragging;
    dc.DrawEdge(client, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    CRect text = client;
    if (sunken) text.OffsetRect(1, 1);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    dc.DrawText(GetWindowText().str(), text,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CNavButton::OnLButtonDown(UINT, CPoint point) {
    m_bLButtonDown = TRUE;
    m_bDragging = FALSE;
    m_ptDown = point;
    SetCapture();
    Invalidate();
}

void CNavButton::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point);
}

void CNavButton::OnMouseMove(UINT, CPoint point) {
    if (!m_bLButtonDown || !m_bDraggable) return;
    if (!m_bDragging) {
        const int dy = point.y - m_ptDown.y;
        if (std::abs(dy) <= kDragStart) return;
        m_bDragging = TRUE;
        SetCursor(Cursor::SizeNS);
        // The anchor follows the pointer by the distance that started the drag, so that the
        // header does not jump.
        m_ptDown.y += dy > 0 ? kDragStart : -kDragStart;
        Invalidate();
    }
    SendDrag(point);
}

void CNavButton::SendDrag(CPoint point) {
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_NAV_HEADER_DRAG, static_cast<WPARAM>(PackPoint(point)),
                            PackPoint(m_ptDown));
}

void CNavButton::OnLButtonUp(UINT, CPoint) {
    if (!m_bLButtonDown) return;
    const BOOL clicked = !m_bDragging;
    m_bLButtonDown = FALSE;
    m_bDragging = FALSE;
    if (GetCapture() == this) ReleaseCapture();
    SetCursor(Cursor::Arrow);
    Invalidate();
    CWnd* parent = GetParent();
    if (!clicked || !parent) return;
    if (m_bDraggable) {
        parent->SendMessage(WM_NAV_HEADER_CLICK, GetDlgCtrlID(),
                            reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    } else {
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_CLICKED),
                            reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
    }
}

BOOL CNavButton::OnSetCursor() {
    // While dragging the sizing cursor stays.
    return m_bDragging;
}

void CNavButton::OnCaptureChanged(CWnd* wnd) {
    if (wnd == this || !m_bLButtonDown) return;
    // The mouse went elsewhere: the press ends without a click.
    m_bLButtonDown = FALSE;
    m_bDragging = FALSE;
    SetCursor(Cursor::Arrow);
    Invalidate();
}

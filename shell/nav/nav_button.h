#pragma once

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/wnd.h"

// A group header's messages to its group: WM_APP+0x514 while it is dragged (wParam the
// pointer, lParam the drag's anchor, each as x in the low and y in the high 16 bits, in the
// header's coordinates) and WM_APP+0x515 when it is clicked (wParam its control id, lParam the
// header itself).
constexpr UINT WM_NAV_HEADER_DRAG = WM_APP + 0x514;
constexpr UINT WM_NAV_HEADER_CLICK = WM_APP + 0x515;
// Push-button click, in the high word of WM_COMMAND's wParam.
constexpr WORD BN_CLICKED = 0;

// A push button drawn in the system's button colours. A draggable one is a group header: it
// never takes the focus, and the pointer moved more than 5 pixels up or down with the button
// held drags the header instead of clicking it.
class CNavButton : public CWnd {
public:
    static constexpr int kDragStart = 5;

    CNavButton() = default;
    explicit CNavButton(BOOL draggable) : m_bDraggable(draggable) {}

    BOOL Create(const CString& text, const CRect& rect, CWnd* parent, UINT id);

    BOOL IsDraggable() const { return m_bDraggable; }
    BOOL IsDragging() const { return m_bDragging; }
    BOOL IsPressed() const { return m_bLButtonDown; }

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    BOOL OnSetCursor() override;
    void OnCaptureChanged(CWnd* wnd) override;

private:
    void SendDrag(CPoint point);

    BOOL m_bDraggable = FALSE;
    BOOL m_bLButtonDown = FALSE;
    BOOL m_bDragging = FALSE;
    CPoint m_ptDown;
};

#pragma once

#include <map>
#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/base/message_sink.h"
#include "platform/ui/dc.h"
#include "platform/ui/log_font.h"
#include "platform/ui/scroll_bar_model.h"
#include "platform/ui/win_consts.h"

class QWidget;
class CWnd;
class COleDataObject;
class CWndHostBridge;

// The header of a notification a child window sends its owner.
struct NMHDR {
    CWnd* hwndFrom = nullptr;
    UINT idFrom = 0;
    int code = 0;
};

// A tool that OnToolHitTest finds under the mouse: the rectangle in which its tip stays up and
// its text; an empty text is asked for by TTN_NEEDTEXT.
struct TOOLINFO {
    CRect rect;
    CString text;
};

// TTN_NEEDTEXT: the window fills szText; hdr.idFrom is the tool's id.
struct TOOLTIPTEXT {
    static constexpr int kTextSize = 80;
    NMHDR hdr;
    char16_t szText[kTextSize] = {};
};

// A window in the original platform's terms over a Qt widget (its host): handlers are
// virtual functions that derived windows override, geometry is in client pixels with the
// original's rectangle conventions, timers and posted messages are keyed by id. A window with
// WS_HSCROLL or WS_VSCROLL gets scroll bars with the original's range and clamping rules.
// The window owns its host widget; if a Qt parent deletes the host first, the window lives
// on without it (IsWindow() answers false).
class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A child window of another window, or of a Qt widget; WS_POPUP makes a top-level
    // tool-tip-like window that never takes the input.
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    BOOL Create(DWORD style, const CRect& rect, QWidget* parent, UINT id);
    void DestroyWindow();
    bool IsWindow() const { return m_host != nullptr; }
    // The host widget, to place in layouts; children go on the client widget (the viewport of
    // a scrolling window).
    QWidget* GetWidget() const;
    QWidget* GetClientWidget() const;
    // The window whose host is this widget or its nearest ancestor.
    static CWnd* FromWidget(const QWidget* widget);

    UINT GetDlgCtrlID() const { return m_id; }
    void SetDlgCtrlID(UINT id) { m_id = id; }
    CWnd* GetParent() const { return m_parent; }
    // The window that gets notifications: the owner when set, else the parent.
    CWnd* GetOwner() const { return m_owner ? m_owner : m_parent; }
    void SetOwner(CWnd* owner) { m_owner = owner; }
    DWORD GetStyle() const { return m_style; }

    void GetClientRect(CRect* rect) const;
    CRect GetClientRect() const;
    // In screen coordinates.
    void GetWindowRect(CRect* rect) const;
    // In the parent's client coordinates.
    void MoveWindow(const CRect& rect, BOOL repaint = TRUE);
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable);
    BOOL IsWindowEnabled() const;

    void Invalidate(BOOL erase = TRUE);
    // A null rectangle invalidates the whole client area.
    void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    // Off, nothing is painted until it is turned on again.
    void SetRedraw(BOOL redraw);
    // A device context outside painting: it measures with the window's font, and drawing on it
    // repaints the drawn area at the next paint.
    std::unique_ptr<CDC> GetDC();
    // Every paint fills the whole client area itself, so the host erases nothing first.
    void SetOpaquePaint(BOOL opaque);

    void SetWindowText(const CString& text);
    CString GetWindowText() const;
    void SetFont(const LogFont& font, BOOL redraw = TRUE);
    LogFont GetFont() const;

    CWnd* SetFocus();
    static CWnd* GetFocus();
    // The mouse belongs to this window until released (a pressed button holds it anyway).
    CWnd* SetCapture();
    static BOOL ReleaseCapture();
    static CWnd* GetCapture();
    void SetCursor(Cursor cursor);

    // Intervals run under the environment's time scale. Setting an id again restarts it.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);

    BOOL SetScrollInfo(int bar, const SCROLLINFO& info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    int GetScrollLimit(int bar) const;
    void ShowScrollBar(int bar, BOOL show = TRUE);
    BOOL IsScrollBarVisible(int bar) const;
    void EnableScrollBarCtrl(int bar, BOOL enable = TRUE);

    // Queued for the user-interface thread, in order; safe from any thread while the window
    // lives. Handled by WindowProc.
    void PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Handled at once, on the calling (user-interface) thread.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends the notification to the owner; answers the owner's result (0 when there is none).
    LRESULT SendNotify(NMHDR& header);

    // Lets drags be dropped on this window (OnDragEnter and its relatives).
    void RegisterDropTarget(BOOL accept = TRUE);

    // While on, resting the mouse asks OnToolHitTest for the tool under it and shows its tip.
    void EnableToolTips(BOOL enable = TRUE) { m_toolTips = enable != FALSE; }
    BOOL IsToolTipsEnabled() const { return m_toolTips; }

    // WM_COMMAND goes to OnCommand, WM_TIMER to OnTimer; everything else answers 0.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, NMHDR* header, LRESULT* result);

    virtual void OnPaint(CDC& dc);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnHScroll(UINT code, UINT pos);
    virtual void OnVScroll(UINT code, UINT pos);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    // delta: whole multiples of WHEEL_DELTA; point in screen coordinates.
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    virtual void OnMouseLeave();
    // Before each mouse move: TRUE when the handler set the cursor.
    virtual BOOL OnSetCursor();
    virtual void OnKeyDown(UINT vk, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT vk, UINT repeat, UINT flags);
    virtual void OnSysKeyDown(UINT vk, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    // Text committed by an input method, unit by unit.
    virtual void OnImeChar(UINT ch, UINT repeat, UINT flags);
    // An input method starts composing: TRUE when the window took it over.
    virtual BOOL OnImeStartComposition();
    // DLGC_* flags: which keys the window keeps from dialog navigation (Tab and Shift+Tab).
    virtual UINT OnGetDlgCode();
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnCaptureChanged(CWnd* wnd);
    virtual void OnSysColorChange();
    virtual void OnContextMenu(CWnd* wnd, CPoint point);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnDestroy();
    // After SetFont gave the window its font.
    virtual void OnSetFont(const LogFont& font, BOOL redraw);
    // The id of the tool under the point (client coordinates), filling info; -1 for none.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info);

    virtual DROPEFFECT OnDragEnter(COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint point);

private:
    friend class CWndHostBridge;

    CScrollBarModel* ScrollModel(int bar);
    const CScrollBarModel* ScrollModel(int bar) const;
    void SyncScrollBar(int bar);
    void HostGone();

    QWidget* m_host = nullptr;
    std::unique_ptr<CWndHostBridge> m_bridge;
    CWnd* m_parent = nullptr;
    CWnd* m_owner = nullptr;
    UINT m_id = 0;
    DWORD m_style = 0;
    LogFont m_font;
    bool m_hasFont = false;
    CScrollBarModel m_hScroll;
    CScrollBarModel m_vScroll;
    std::map<UINT_PTR, int> m_timers;  // our id -> the host's timer id
    bool m_destroying = false;
    bool m_toolTips = false;
};

#include "platform/ui/wnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QScrollBar>

#include "platform/ui/qt_convert.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/ui_environment.h"
#include "platform/ui/wnd_host.h"

namespace {

// The window that holds the mouse, as the system keeps it.
CWnd*& CaptureOwner() {
    static CWnd* owner = nullptr;
    return owner;
}

Qt::CursorShape ToCursorShape(Cursor cursor) {
    switch (cursor) {
        case Cursor::SizeWE: return Qt::SizeHorCursor;
        case Cursor::SizeNS: return Qt::SizeVerCursor;
        case Cursor::Wait: return Qt::WaitCursor;
        case Cursor::Hand: return Qt::PointingHandCursor;
        case Cursor::IBeam: return Qt::IBeamCursor;
        case Cursor::No: return Qt::ForbiddenCursor;
        case Cursor::SizeAll: return Qt::SizeAllCursor;
        default: return Qt::ArrowCursor;
    }
}

}  // namespace

CWnd::CWnd() : m_bridge(std::make_unique<CWndHostBridge>(*this)) {}

CWnd::~CWnd() {
    m_destroying = true;
    DestroyWindow();
    if (CaptureOwner() == this) CaptureOwner() = nullptr;
}

BOOL CWnd::Create(DWORD style, const CRect& rect, CWnd* parent, UINT id) {
    m_parent = parent;
    return Create(style, rect, parent ? parent->GetClientWidget() : nullptr, id);
}

BOOL CWnd::Create(DWORD style, const CRect& rect, QWidget* parent, UINT id) {
    if (m_host) return FALSE;
    m_style = style;
    m_id = id;
    QWidget* host = nullptr;
    if (style & WS_POPUP) {
        // A tip-like window: on top, never activated, and the input passes through it. The
        // stay-on-top hint is one a tip implies anyway; left out, X11 remakes the native window
        // on its first show without the input pass-through, and the tip under the pointer then
        // takes the mouse from the window beneath.
        auto* popup = new CPlainHost(*m_bridge, parent ? parent->window() : nullptr,
                                     Qt::ToolTip | Qt::FramelessWindowHint |
                                         Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput);
        popup->setAttribute(Qt::WA_ShowWithoutActivating);
        m_bridge->Attach(popup, nullptr);
        host = popup;
    } else if (style & (WS_HSCROLL | WS_VSCROLL)) {
        auto* area = new CScrollHost(*m_bridge, parent);
        area->setFrameStyle((style & WS_BORDER) ? (QFrame::StyledPanel | QFrame::Sunken)
                                                : QFrame::NoFrame);
        area->viewport()->setMouseTracking(true);
        m_bridge->Attach(area, area);
        host = area;
    } else {
        auto* plain = new CPlainHost(*m_bridge, parent);
        plain->setMouseTracking(true);
        m_bridge->Attach(plain, nullptr);
        host = plain;
    }
    m_host = host;
    host->setFocusPolicy((style & WS_POPUP) ? Qt::NoFocus : Qt::StrongFocus);
    host->setAttribute(Qt::WA_InputMethodEnabled);
    host->setGeometry(ToQRect(rect));
    if (style & WS_VISIBLE) host->show();
    return TRUE;
}

void CWnd::DestroyWindow() {
    if (!m_host) return;
    if (CaptureOwner() == this) CaptureOwner() = nullptr;
    QWidget* host = m_host;
    delete host;  // HostGone runs from the host's destructor
}

void CWnd::HostGone() {
    if (!m_host) return;
    m_host = nullptr;
    m_timers.clear();
    if (CaptureOwner() == this) CaptureOwner() = nullptr;
    if (!m_destroying) OnDestroy();
}

QWidget* CWnd::GetWidget() const {
    return m_host;
}

QWidget* CWnd::GetClientWidget() const {
    return m_host ? m_bridge->ClientWidget() : nullptr;
}

CWnd* CWnd::FromWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* host = dynamic_cast<IWndHost*>(const_cast<QWidget*>(w))) {
            return &host->Bridge().Wnd();
        }
    }
    return nullptr;
}

void CWnd::GetClientRect(CRect* rect) const {
    *rect = GetClientRect();
}

CRect CWnd::GetClientRect() const {
    QWidget* client = GetClientWidget();
    return client ? CRect(0, 0, client->width(), client->height()) : CRect();
}

void CWnd::GetWindowRect(CRect* rect) const {
    if (!m_host) {
        *rect = CRect();
        return;
    }
    const QPoint origin = m_host->mapToGlobal(QPoint(0, 0));
    *rect = CRect(CPoint(origin.x(), origin.y()), CSize(m_host->width(), m_host->height()));
}

void CWnd::MoveWindow(const CRect& rect, BOOL repaint) {
    if (!m_host) return;
    m_host->setGeometry(ToQRect(rect));
    if (repaint) m_host->update();
}

void CWnd::ClientToScreen(CPoint* point) const {
    if (QWidget* client = GetClientWidget()) {
        *point = FromQPoint(client->mapToGlobal(ToQPoint(*point)));
    }
}

void CWnd::ClientToScreen(CRect* rect) const {
    CPoint tl = rect->TopLeft();
    ClientToScreen(&tl);
    rect->OffsetRect(tl.x - rect->left, tl.y - rect->top);
}

void CWnd::ScreenToClient(CPoint* point) const {
    if (QWidget* client = GetClientWidget()) {
        *point = FromQPoint(client->mapFromGlobal(ToQPoint(*point)));
    }
}

void CWnd::ScreenToClient(CRect* rect) const {
    CPoint tl = rect->TopLeft();
    ScreenToClient(&tl);
    rect->OffsetRect(tl.x - rect->left, tl.y - rect->top);
}

BOOL CWnd::ShowWindow(int command) {
    if (!m_host) return FALSE;
    const BOOL wasVisible = m_host->isVisible();
    if (command == SW_HIDE) {
        m_host->hide();
    } else {
        m_host->show();
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return m_host && m_host->isVisible();
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_host) return FALSE;
    const BOOL wasDisabled = !m_host->isEnabled();
    m_host->setEnabled(enable);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_host && m_host->isEnabled();
}

void CWnd::Invalidate(BOOL erase) {
    InvalidateRect(nullptr, erase);
}

void CWnd::InvalidateRect(const CRect* rect, BOOL) {
    QWidget* client = GetClientWidget();
    if (!client) return;
    if (rect) {
        if (!rect->IsRectEmpty()) client->update(ToQRect(*rect));
    } else {
        client->update();
    }
}

void CWnd::SetRedraw(BOOL redraw) {
    if (!m_host) return;
    m_host->setUpdatesEnabled(redraw);
}

std::unique_ptr<CDC> CWnd::GetDC() {
    QPointer<QWidget> client = GetClientWidget();
    auto dc = std::make_unique<CMeasureDC>(GetClientRect(), [client](const CRect& area) {
        if (client) client->update(ToQRect(area));
    });
    dc->SelectFont(GetFont());
    return dc;
}

void CWnd::SetOpaquePaint(BOOL opaque) {
    if (QWidget* client = GetClientWidget()) {
        client->setAttribute(Qt::WA_OpaquePaintEvent, opaque);
        client->setAutoFillBackground(!opaque);
    }
}

void CWnd::SetWindowText(const CString& text) {
    if (m_host) m_host->setWindowTitle(ToQString(text));
}

CString CWnd::GetWindowText() const {
    return m_host ? FromQString(m_host->windowTitle()) : CString();
}

void CWnd::SetFont(const LogFont& font, BOOL redraw) {
    m_font = font;
    m_hasFont = true;
    if (!m_host) return;
    m_host->setFont(ToQFont(font));
    OnSetFont(font, redraw);
    if (redraw) Invalidate();
}

LogFont CWnd::GetFont() const {
    if (m_hasFont) return m_font;
    return FromQFont(m_host ? m_host->font() : QApplication::font());
}

CWnd* CWnd::SetFocus() {
    CWnd* old = GetFocus();
    if (m_host) m_host->setFocus(Qt::OtherFocusReason);
    return old;
}

CWnd* CWnd::GetFocus() {
    return FromWidget(QApplication::focusWidget());
}

CWnd* CWnd::SetCapture() {
    CWnd* old = CaptureOwner();
    CaptureOwner() = this;
    if (old && old != this) old->OnCaptureChanged(this);
    return old;
}

BOOL CWnd::ReleaseCapture() {
    CWnd* old = CaptureOwner();
    CaptureOwner() = nullptr;
    if (old) old->OnCaptureChanged(nullptr);
    return TRUE;
}

CWnd* CWnd::GetCapture() {
    return CaptureOwner();
}

void CWnd::SetCursor(Cursor cursor) {
    if (QWidget* client = GetClientWidget()) client->setCursor(ToCursorShape(cursor));
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) {
    if (!m_host) return 0;
    KillTimer(id);
    const int hostId = m_host->startTimer(static_cast<int>(ScaledInterval(elapseMs)));
    if (hostId == 0) return 0;
    m_timers[id] = hostId;
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return FALSE;
    if (m_host) m_host->killTimer(it->second);
    m_timers.erase(it);
    return TRUE;
}

CScrollBarModel* CWnd::ScrollModel(int bar) {
    return bar == SB_VERT ? &m_vScroll : &m_hScroll;
}

const CScrollBarModel* CWnd::ScrollModel(int bar) const {
    return bar == SB_VERT ? &m_vScroll : &m_hScroll;
}

void CWnd::SyncScrollBar(int bar) {
    QScrollBar* sb = m_host ? m_bridge->ScrollBar(bar) : nullptr;
    if (!sb) return;
    const CScrollBarModel& model = *ScrollModel(bar);
    const QSignalBlocker block(sb);
    sb->setRange(model.GetMin(), model.GetLimit());
    sb->setPageStep(std::max<int>(static_cast<int>(model.GetPage()), 1));
    sb->setSingleStep(1);
    if (!m_bridge->IsTracking(bar)) sb->setValue(model.GetPos());
}

BOOL CWnd::SetScrollInfo(int bar, const SCROLLINFO& info, BOOL) {
    if (bar != SB_HORZ && bar != SB_VERT) return FALSE;
    ScrollModel(bar)->Set(info);
    if (QScrollBar* sb = m_host ? m_bridge->ScrollBar(bar) : nullptr) {
        // Kept on screen but disabled when there is nothing to scroll.
        if (info.fMask & SIF_DISABLENOSCROLL) {
            ShowScrollBar(bar, TRUE);
            sb->setEnabled(ScrollModel(bar)->CanScroll());
        }
    }
    SyncScrollBar(bar);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const {
    if (bar != SB_HORZ && bar != SB_VERT) return FALSE;
    info->fMask = mask;
    ScrollModel(bar)->Get(*info);
    return TRUE;
}

int CWnd::SetScrollPos(int bar, int pos, BOOL) {
    if (bar != SB_HORZ && bar != SB_VERT) return 0;
    const int old = ScrollModel(bar)->SetPos(pos);
    SyncScrollBar(bar);
    return old;
}

int CWnd::GetScrollPos(int bar) const {
    return bar == SB_HORZ || bar == SB_VERT ? ScrollModel(bar)->GetPos() : 0;
}

int CWnd::GetScrollLimit(int bar) const {
    return bar == SB_HORZ || bar == SB_VERT ? ScrollModel(bar)->GetLimit() : 0;
}

void CWnd::ShowScrollBar(int bar, BOOL show) {
    auto* area = dynamic_cast<QAbstractScrollArea*>(m_host);
    if (!area) return;
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == SB_HORZ || bar == SB_BOTH) area->setHorizontalScrollBarPolicy(policy);
    if (bar == SB_VERT || bar == SB_BOTH) area->setVerticalScrollBarPolicy(policy);
}

BOOL CWnd::IsScrollBarVisible(int bar) const {
    auto* area = dynamic_cast<QAbstractScrollArea*>(m_host);
    if (!area) return FALSE;
    const Qt::ScrollBarPolicy policy =
        bar == SB_VERT ? area->verticalScrollBarPolicy() : area->horizontalScrollBarPolicy();
    return policy == Qt::ScrollBarAlwaysOn;
}

void CWnd::EnableScrollBarCtrl(int bar, BOOL enable) {
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != b && bar != SB_BOTH) continue;
        if (QScrollBar* sb = m_host ? m_bridge->ScrollBar(b) : nullptr) sb->setEnabled(enable);
    }
}

void CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_host) {
        QCoreApplication::postEvent(m_host, new CPostedMessageEvent(message, wParam, lParam));
    }
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::SendNotify(NMHDR& header) {
    CWnd* owner = GetOwner();
    if (!owner) return 0;
    if (!header.hwndFrom) header.hwndFrom = this;
    if (header.idFrom == 0) header.idFrom = m_id;
    LRESULT result = 0;
    if (!owner->OnNotify(header.idFrom, &header, &result)) result = 0;
    return result;
}

void CWnd::RegisterDropTarget(BOOL accept) {
    if (!m_host) return;
    m_host->setAcceptDrops(accept);
    if (QWidget* client = GetClientWidget()) client->setAcceptDrops(accept);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: return OnCommand(wParam, lParam);
        case WM_TIMER: OnTimer(wParam); return 0;
        default: return 0;
    }
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}
BOOL CWnd::OnNotify(WPARAM, NMHDR*, LRESULT*) {
    return FALSE;
}
void CWnd::OnPaint(CDC&) {}
void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnHScroll(UINT, UINT) {}
void CWnd::OnVScroll(UINT, UINT) {}
void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnLButtonDblClk(UINT, CPoint) {}
void CWnd::OnRButtonDown(UINT, CPoint) {}
void CWnd::OnRButtonUp(UINT, CPoint) {}
void CWnd::OnRButtonDblClk(UINT, CPoint) {}
void CWnd::OnMouseMove(UINT, CPoint) {}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return FALSE;
}
void CWnd::OnMouseLeave() {}
BOOL CWnd::OnSetCursor() {
    return FALSE;
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {}
void CWnd::OnKeyUp(UINT, UINT, UINT) {}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {}
void CWnd::OnChar(UINT, UINT, UINT) {}
void CWnd::OnImeChar(UINT ch, UINT repeat, UINT flags) {
    OnChar(ch, repeat, flags);
}
BOOL CWnd::OnImeStartComposition() {
    return FALSE;
}
UINT CWnd::OnGetDlgCode() {
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}
void CWnd::OnSetFocus(CWnd*) {}
void CWnd::OnKillFocus(CWnd*) {}
void CWnd::OnTimer(UINT_PTR) {}
void CWnd::OnCaptureChanged(CWnd*) {}
void CWnd::OnSysColorChange() {}
void CWnd::OnContextMenu(CWnd*, CPoint) {}
void CWnd::OnShowWindow(BOOL, UINT) {}
void CWnd::OnDestroy() {}
void CWnd::OnSetFont(const LogFont&, BOOL) {}
INT_PTR CWnd::OnToolHitTest(CPoint, TOOLINFO*) {
    return -1;
}
DROPEFFECT CWnd::OnDragEnter(COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}
DROPEFFECT CWnd::OnDragOver(COleDataObject*, DWORD, CPoint) {
    return DROPEFFECT_NONE;
}
void CWnd::OnDragLeave() {}
BOOL CWnd::OnDrop(COleDataObject*, DROPEFFECT, CPoint) {
    return FALSE;
}

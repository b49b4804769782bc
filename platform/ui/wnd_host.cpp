#include "platform/ui/wnd_host.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTimerEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "platform/ui/drag_drop.h"
#include "platform/ui/key_map.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr UINT kRepeatFlag = 0x4000;  // the key was already down

UINT ModifierFlags(Qt::KeyboardModifiers mods) {
    UINT flags = 0;
    if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
    if (mods & Qt::AltModifier) flags |= MK_ALT;
    return flags;
}

UINT ButtonFlags(Qt::MouseButtons buttons) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    return flags;
}

UINT ScrollCode(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
        case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
        case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
        case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
        case QAbstractSlider::SliderToMinimum: return SB_TOP;
        case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
        case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
        default: return SB_ENDSCROLL;
    }
}

}  // namespace

QEvent::Type CPostedMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CWndHostBridge::Attach(QWidget* host, QAbstractScrollArea* scrollArea) {
    m_host = host;
    m_scrollArea = scrollArea;
    if (!scrollArea) return;
    for (int bar : {SB_HORZ, SB_VERT}) {
        QScrollBar* sb = ScrollBar(bar);
        QObject::connect(sb, &QAbstractSlider::actionTriggered, host,
                         [this, bar](int action) { ScrollAction(bar, action); });
        QObject::connect(sb, &QAbstractSlider::sliderReleased, host,
                         [this, bar] { ScrollReleased(bar); });
    }
}

QWidget* CWndHostBridge::ClientWidget() const {
    return m_scrollArea ? m_scrollArea->viewport() : m_host;
}

QScrollBar* CWndHostBridge::ScrollBar(int bar) const {
    if (!m_scrollArea) return nullptr;
    return bar == SB_VERT ? m_scrollArea->verticalScrollBar() : m_scrollArea->horizontalScrollBar();
}

void CWndHostBridge::HostDestroyed() {
    m_host = nullptr;
    m_scrollArea = nullptr;
    m_wnd.HostGone();
}

bool CWndHostBridge::Event(QEvent* event, unsigned sides) {
    if (!m_host) return false;
    if ((sides & kClient) && ClientEvent(event)) return true;
    return (sides & kFrame) && FrameEvent(event);
}

bool CWndHostBridge::ClientEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Paint: Paint(event); return true;
        case QEvent::Resize: {
            const QSize size = static_cast<QResizeEvent*>(event)->size();
            m_wnd.OnSize(0, size.width(), size.height());
            return false;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: MouseButton(event); return true;
        case QEvent::MouseMove: MouseMove(event); return true;
        case QEvent::Leave: m_wnd.OnMouseLeave(); return false;
        case QEvent::Wheel: Wheel(event); return true;
        case QEvent::ToolTip: return ToolTip(event);
        case QEvent::ContextMenu: {
            // A mouse's menu follows its button's release; only the keyboard's comes here.
            auto* menu = static_cast<QContextMenuEvent*>(event);
            if (menu->reason() == QContextMenuEvent::Keyboard)
                m_wnd.OnContextMenu(&m_wnd, {-1, -1});
            return true;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop: return Drag(event);
        default: return false;
    }
}

bool CWndHostBridge::FrameEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == CPostedMessageEvent::EventType()) {
        auto* posted = static_cast<CPostedMessageEvent*>(event);
        m_wnd.WindowProc(posted->m_message, posted->m_wParam, posted->m_lParam);
        return true;
    }
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            // Dialog navigation takes Tab unless the window keeps it.
            if (tab && !TakesKey(event)) return false;
            Key(event, type == QEvent::KeyPress);
            return true;
        }
        case QEvent::ShortcutOverride:
            if (TakesKey(event)) event->accept();
            return false;
        case QEvent::FocusIn: m_wnd.OnSetFocus(nullptr); return false;
        case QEvent::FocusOut: {
            m_wnd.OnKillFocus(CWnd::FromWidget(QApplication::focusWidget()));
            return false;
        }
        case QEvent::Timer: {
            const int qtId = static_cast<QTimerEvent*>(event)->timerId();
            for (const auto& [id, hostId] : m_wnd.m_timers) {
                if (hostId != qtId) continue;
                m_wnd.WindowProc(WM_TIMER, id, 0);
                return true;
            }
            return false;
        }
        case QEvent::InputMethod: InputMethod(event); return true;
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange: m_wnd.OnSysColorChange(); return false;
        case QEvent::Show: m_wnd.OnShowWindow(TRUE, 0); return false;
        case QEvent::Hide: m_wnd.OnShowWindow(FALSE, 0); return false;
        case QEvent::WindowDeactivate:
            if (CWnd::GetCapture() == &m_wnd) CWnd::ReleaseCapture();
            return false;
        default: return false;
    }
}

void CWndHostBridge::Paint(QEvent* event) {
    QWidget* client = ClientWidget();
    QPainter painter(client);
    const auto* paint = static_cast<QPaintEvent*>(event);
    CQtPainterDC dc(painter, FromQRect(paint->rect()));
    dc.SetPaintRegion(paint->region());
    dc.SelectFont(m_wnd.GetFont());
    m_wnd.OnPaint(dc);
}

// Whether the window keeps the key from dialog navigation and the menus' shortcuts.
bool CWndHostBridge::TakesKey(QEvent* event) {
    auto* key = static_cast<QKeyEvent*>(event);
    const UINT code = m_wnd.OnGetDlgCode();
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
        return (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0;
    }
    return (code & DLGC_WANTALLKEYS) &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

void CWndHostBridge::Key(QEvent* event, bool press) {
    auto* key = static_cast<QKeyEvent*>(event);
    const KeyStroke stroke =
        TranslateKey(key->key(), key->modifiers(), FromQString(key->text()).str());
    const CInputState input(stroke.mkFlags | ButtonFlags(QGuiApplication::mouseButtons()));
    const UINT flags = key->isAutoRepeat() ? kRepeatFlag : 0;
    if (!press) {
        m_wnd.OnKeyUp(stroke.vk, 1, flags);
        return;
    }
    // The characters go to this window even when the key-down moved the focus on.
    QPointer<QWidget> alive(m_host);
    if (stroke.mkFlags & MK_ALT) {
        m_wnd.OnSysKeyDown(stroke.vk, 1, flags);
        return;
    }
    m_wnd.OnKeyDown(stroke.vk, 1, flags);
    for (char16_t ch : stroke.chars) {
        if (!alive) return;
        m_wnd.OnChar(ch, 1, flags);
    }
}

void CWndHostBridge::MouseButton(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const UINT flags = ButtonFlags(mouse->buttons()) | ModifierFlags(mouse->modifiers());
    const CInputState input(flags);
    const CPoint point = FromQPoint(mouse->position().toPoint());
    const bool left = mouse->button() == Qt::LeftButton;
    const bool right = mouse->button() == Qt::RightButton;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (left) m_wnd.OnLButtonDown(flags, point);
            if (right) m_wnd.OnRButtonDown(flags, point);
            break;
        case QEvent::MouseButtonDblClick:
            if (left) m_wnd.OnLButtonDblClk(flags, point);
            if (right) m_wnd.OnRButtonDblClk(flags, point);
            break;
        default: {
            QPointer<QWidget> alive(m_host);
            if (left) m_wnd.OnLButtonUp(flags, point);
            if (right) {
                m_wnd.OnRButtonUp(flags, point);
                if (alive)
                    m_wnd.OnContextMenu(&m_wnd, FromQPoint(mouse->globalPosition().toPoint()));
            }
            break;
        }
    }
}

void CWndHostBridge::MouseMove(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const UINT flags = ButtonFlags(mouse->buttons()) | ModifierFlags(mouse->modifiers());
    const CInputState input(flags);
    if (!m_wnd.OnSetCursor()) m_wnd.SetCursor(Cursor::Arrow);
    m_wnd.OnMouseMove(flags, FromQPoint(mouse->position().toPoint()));
}

void CWndHostBridge::Wheel(QEvent* event) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    // Fine-grained wheels send parts of a notch; the window hears whole notches.
    m_wheelRemainder += wheel->angleDelta().y();
    const int notches = m_wheelRemainder / WHEEL_DELTA;
    if (notches == 0) return;
    m_wheelRemainder -= notches * WHEEL_DELTA;
    const UINT flags = ButtonFlags(wheel->buttons()) | ModifierFlags(wheel->modifiers());
    const CInputState input(flags);
    m_wnd.OnMouseWheel(flags, static_cast<short>(notches * WHEEL_DELTA),
                       FromQPoint(wheel->globalPosition().toPoint()));
}

bool CWndHostBridge::Drag(QEvent* event) {
    if (event->type() == QEvent::DragLeave) {
        m_wnd.OnDragLeave();
        return true;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* mime = drop->mimeData();
    if (CarriesLocalFiles(mime)) {
        // Left to the windows around this one, up to the main window, which opens a file.
        drop->ignore();
        return true;
    }
    QWidget* sourceWidget = qobject_cast<QWidget*>(drop->source());
    COleDataObject data(
        mime && mime->hasText() ? std::optional(FromQString(mime->text())) : std::nullopt,
        sourceWidget ? CWnd::FromWidget(sourceWidget) : nullptr);
    const DWORD keyState = ButtonFlags(drop->buttons()) | ModifierFlags(drop->modifiers());
    const CPoint point = FromQPoint(drop->position().toPoint());
    if (event->type() == QEvent::Drop) {
        const DROPEFFECT effect =
            drop->dropAction() == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        if (!m_wnd.OnDrop(&data, effect, point)) {
            // A refused drop must not let the source cut what it dragged.
            drop->setDropAction(Qt::IgnoreAction);
            drop->ignore();
        } else if (data.IsKeptAtSource()) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->acceptProposedAction();
        }
        return true;
    }
    const DROPEFFECT effect = event->type() == QEvent::DragEnter
                                  ? m_wnd.OnDragEnter(&data, keyState, point)
                                  : m_wnd.OnDragOver(&data, keyState, point);
    if (effect == DROPEFFECT_NONE) {
        // Refused where it entered, the drag may still be taken further on: the window keeps
        // hearing its moves, as the original platform's drop targets do.
        if (event->type() == QEvent::DragEnter) {
            drop->setDropAction(Qt::IgnoreAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    drop->setDropAction((effect & DROPEFFECT_COPY) && !(effect & DROPEFFECT_MOVE) ? Qt::CopyAction
                                                                                  : Qt::MoveAction);
    drop->accept();
    return true;
}

void CWndHostBridge::InputMethod(QEvent* event) {
    auto* im = static_cast<QInputMethodEvent*>(event);
    if (!m_composing && !im->preeditString().isEmpty()) {
        m_composing = true;
        QWidget* before = QApplication::focusWidget();
        if (m_wnd.OnImeStartComposition()) {
            m_composing = false;
            // The window handed the composition to an editor it opened.
            QWidget* editor = QApplication::focusWidget();
            if (editor && editor != before) QApplication::sendEvent(editor, event);
            return;
        }
    }
    if (im->preeditString().isEmpty()) m_composing = false;
    for (QChar ch : im->commitString())
        m_wnd.OnImeChar(ch.unicode(), 1, 0);
}

bool CWndHostBridge::ToolTip(QEvent* event) {
    if (!m_wnd.IsToolTipsEnabled()) return false;
    auto* help = static_cast<QHelpEvent*>(event);
    TOOLINFO info;
    const INT_PTR id = m_wnd.OnToolHitTest(FromQPoint(help->pos()), &info);
    CString text = info.text;
    if (id >= 0 && text.IsEmpty()) {
        TOOLTIPTEXT tip;
        tip.hdr.code = TTN_NEEDTEXT;
        tip.hdr.idFrom = static_cast<UINT>(id);
        LRESULT result = 0;
        m_wnd.OnNotify(tip.hdr.idFrom, &tip.hdr, &result);
        tip.szText[TOOLTIPTEXT::kTextSize - 1] = 0;
        text = CString(tip.szText);
    }
    if (id < 0 || text.IsEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), ToQString(text), ClientWidget(), ToQRect(info.rect));
    return true;
}

void CWndHostBridge::ScrollAction(int bar, int action) {
    QScrollBar* sb = ScrollBar(bar);
    const UINT code = ScrollCode(action);
    const int proposed = sb->sliderPosition();
    auto handler = [&](UINT c, int pos) {
        if (bar == SB_VERT) {
            m_wnd.OnVScroll(c, static_cast<UINT>(pos));
        } else {
            m_wnd.OnHScroll(c, static_cast<UINT>(pos));
        }
    };
    if (code == SB_THUMBTRACK && !sb->isSliderDown()) {
        // A wheel over the bar moves the thumb in one go: no release will end the move.
        handler(SB_THUMBPOSITION, proposed);
        handler(SB_ENDSCROLL, 0);
        sb->setSliderPosition(m_wnd.GetScrollPos(bar));
        return;
    }
    if (code == SB_THUMBTRACK) {
        m_tracking[bar == SB_VERT ? 1 : 0] = true;
        m_wnd.ScrollModel(bar)->SetTrackPos(proposed);
        handler(SB_THUMBTRACK, proposed);
        // The thumb follows the pointer whatever the window made of it.
        sb->setSliderPosition(proposed);
        return;
    }
    handler(code, m_wnd.GetScrollPos(bar));
    if (ScrollBar(bar)) sb->setSliderPosition(m_wnd.GetScrollPos(bar));
}

void CWndHostBridge::ScrollReleased(int bar) {
    if (!m_tracking[bar == SB_VERT ? 1 : 0]) return;
    m_tracking[bar == SB_VERT ? 1 : 0] = false;
    const int track = m_wnd.ScrollModel(bar)->GetTrackPos();
    auto handler = [&](UINT c, int pos) {
        if (bar == SB_VERT) {
            m_wnd.OnVScroll(c, static_cast<UINT>(pos));
        } else {
            m_wnd.OnHScroll(c, static_cast<UINT>(pos));
        }
    };
    handler(SB_THUMBPOSITION, track);
    handler(SB_ENDSCROLL, 0);
    m_wnd.SyncScrollBar(bar);
}

CPlainHost::CPlainHost(CWndHostBridge& bridge, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_bridge(bridge) {}

CPlainHost::~CPlainHost() {
    m_bridge.HostDestroyed();
}

bool CPlainHost::event(QEvent* e) {
    return m_bridge.Event(e, CWndHostBridge::kClient | CWndHostBridge::kFrame) || QWidget::event(e);
}

CScrollHost::CScrollHost(CWndHostBridge& bridge, QWidget* parent)
    : QAbstractScrollArea(parent), m_bridge(bridge) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

CScrollHost::~CScrollHost() {
    m_bridge.HostDestroyed();
}

bool CScrollHost::event(QEvent* e) {
    return m_bridge.Event(e, CWndHostBridge::kFrame) || QAbstractScrollArea::event(e);
}

bool CScrollHost::viewportEvent(QEvent* e) {
    return m_bridge.Event(e, CWndHostBridge::kClient) || QAbstractScrollArea::viewportEvent(e);
}

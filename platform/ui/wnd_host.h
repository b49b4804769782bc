#pragma once

// The Qt side of CWnd: host widgets that turn Qt's events into the window's handlers. Only
// platform/ui includes this.

#include <QAbstractScrollArea>
#include <QEvent>
#include <QWidget>

#include "platform/ui/wnd.h"

class QScrollBar;

// A message posted to a window, handled by its WindowProc.
class CPostedMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();
    CPostedMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(EventType()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// What every host widget shares: the window it serves and the state its events need. The
// client area's events (paint, size, mouse, wheel, drops) and the window's own (keys, focus,
// timers, posted messages) come apart on a scrolling window: the first from its viewport.
class CWndHostBridge {
public:
    enum EventSide : unsigned { kClient = 1, kFrame = 2 };

    explicit CWndHostBridge(CWnd& wnd) : m_wnd(wnd) {}

    CWnd& Wnd() { return m_wnd; }
    void Attach(QWidget* host, QAbstractScrollArea* scrollArea);
    QWidget* Host() const { return m_host; }
    QWidget* ClientWidget() const;
    QScrollBar* ScrollBar(int bar) const;
    bool IsTracking(int bar) const { return m_tracking[bar == SB_VERT ? 1 : 0]; }

    // True when the event was taken.
    bool Event(QEvent* event, unsigned sides);
    void HostDestroyed();

private:
    bool ClientEvent(QEvent* event);
    bool FrameEvent(QEvent* event);
    void Paint(QEvent* event);
    void Key(QEvent* event, bool press);
    void MouseButton(QEvent* event);
    void MouseMove(QEvent* event);
    void Wheel(QEvent* event);
    bool Drag(QEvent* event);
    void InputMethod(QEvent* event);
    bool ToolTip(QEvent* event);
    bool TakesKey(QEvent* event);
    void ScrollAction(int bar, int action);
    void ScrollReleased(int bar);

    CWnd& m_wnd;
    QWidget* m_host = nullptr;
    QAbstractScrollArea* m_scrollArea = nullptr;
    int m_wheelRemainder = 0;
    bool m_tracking[2] = {false, false};
    bool m_composing = false;
};

// Every host widget can be asked for its bridge.
class IWndHost {
public:
    virtual CWndHostBridge& Bridge() = 0;

protected:
    ~IWndHost() = default;
};

class CPlainHost : public QWidget, public IWndHost {
public:
    CPlainHost(CWndHostBridge& bridge, QWidget* parent, Qt::WindowFlags flags = {});
    ~CPlainHost() override;
    CWndHostBridge& Bridge() override { return m_bridge; }

protected:
    bool event(QEvent* e) override;

private:
    CWndHostBridge& m_bridge;
};

class CScrollHost : public QAbstractScrollArea, public IWndHost {
public:
    CScrollHost(CWndHostBridge& bridge, QWidget* parent);
    ~CScrollHost() override;
    CWndHostBridge& Bridge() override { return m_bridge; }

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    // The window scrolls its own picture when its handlers say so.
    void scrollContentsBy(int, int) override {}

private:
    CWndHostBridge& m_bridge;
};

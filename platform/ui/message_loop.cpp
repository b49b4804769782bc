#include "platform/ui/message_loop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/ui/wnd.h"

namespace {

// A send waiting for its answer; the event that carries it answers it when handled, or with
// the cancelled value when it is dropped unhandled.
struct SendState {
    CEvent done;
    LRESULT result = 0;
    LRESULT cancelledValue = 0;
    std::atomic<bool> abandoned{false};
};

// The send whose handler runs now on this thread; null while a posted message's runs.
thread_local std::shared_ptr<SendState> t_handledSend;

QEvent::Type SinkEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class CSinkEvent : public QEvent {
public:
    CSinkEvent(UINT message, WPARAM wParam, LPARAM lParam, std::shared_ptr<SendState> send)
        : QEvent(SinkEventType()),
          m_message(message),
          m_wParam(wParam),
          m_lParam(lParam),
          m_send(std::move(send)) {}
    ~CSinkEvent() override {
        if (m_send && !m_send->done.IsSet()) {
            m_send->result = m_send->cancelledValue;
            m_send->done.SetEvent();
        }
    }

    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
    std::shared_ptr<SendState> m_send;
};

}  // namespace

struct CWindowMessageSink::Shared {
    std::mutex lock;
    QObject* receiver = nullptr;
    Handler handler;
};

namespace {

class CSinkReceiver : public QObject {
public:
    explicit CSinkReceiver(CWindowMessageSink::Shared& shared) : m_shared(shared) {}

protected:
    bool event(QEvent* e) override {
        if (e->type() != SinkEventType()) return QObject::event(e);
        auto* message = static_cast<CSinkEvent*>(e);
        const auto& send = message->m_send;
        if (send && send->abandoned) return true;
        const std::shared_ptr<SendState> outer = std::exchange(t_handledSend, send);
        const LRESULT result =
            m_shared.handler(message->m_message, message->m_wParam, message->m_lParam);
        t_handledSend = outer;
        if (send) {
            send->result = result;
            send->done.SetEvent();
        }
        return true;
    }

private:
    CWindowMessageSink::Shared& m_shared;
};

bool OnUiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

}  // namespace

CWindowMessageSink::CWindowMessageSink(Handler handler) : m_shared(std::make_shared<Shared>()) {
    m_shared->handler = std::move(handler);
    m_shared->receiver = new CSinkReceiver(*m_shared);
}

CWindowMessageSink::CWindowMessageSink(CWnd& window)
    : CWindowMessageSink([&window](UINT message, WPARAM wParam, LPARAM lParam) {
          return window.WindowProc(message, wParam, lParam);
      }) {}

CWindowMessageSink::~CWindowMessageSink() {
    QObject* receiver = nullptr;
    {
        std::lock_guard guard(m_shared->lock);
        receiver = std::exchange(m_shared->receiver, nullptr);
    }
    // Drops what was still queued; sends waiting on it are answered as cancelled.
    delete receiver;
}

void CWindowMessageSink::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard guard(m_shared->lock);
    if (!m_shared->receiver) return;
    QCoreApplication::postEvent(m_shared->receiver,
                                new CSinkEvent(message, wParam, lParam, nullptr));
}

LRESULT CWindowMessageSink::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    CEvent never;
    return SendMessageCancellable(message, wParam, lParam, never, 0);
}

LRESULT CWindowMessageSink::SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam,
                                                   CEvent& cancel, LRESULT cancelled) {
    if (OnUiThread()) return m_shared->handler(message, wParam, lParam);
    auto send = std::make_shared<SendState>();
    send->cancelledValue = cancelled;
    {
        std::lock_guard guard(m_shared->lock);
        if (!m_shared->receiver) return cancelled;
        QCoreApplication::postEvent(m_shared->receiver,
                                    new CSinkEvent(message, wParam, lParam, send));
    }
    if (CEvent::WaitForAny({&send->done, &cancel}, INFINITE) == 0) return send->result;
    send->abandoned = true;
    // The handler may have answered meanwhile.
    return send->done.IsSet() ? send->result : cancelled;
}

void CWindowMessageSink::DropPosted() {
    std::lock_guard guard(m_shared->lock);
    // Sends among them are answered as cancelled when their events go.
    if (m_shared->receiver)
        QCoreApplication::removePostedEvents(m_shared->receiver, SinkEventType());
}

std::shared_ptr<const std::atomic<bool>> CWindowMessageSink::CurrentSendWithdrawn() {
    if (!t_handledSend) return nullptr;
    return {t_handledSend, &t_handledSend->abandoned};
}

BOOL PumpWaitingMessages(const std::function<bool()>& done, DWORD timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    // Wakes the wait now and then, since done may turn true on another thread's word alone.
    QTimer wake;
    wake.start(10);
    while (!done()) {
        if (timeoutMs != INFINITE && clock.elapsed() >= static_cast<qint64>(timeoutMs)) break;
        // A wait inside the handler of a posted message: some event dispatchers deliver no
        // posted message in the nested loop until another thread posts one.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return done() ? TRUE : FALSE;
}

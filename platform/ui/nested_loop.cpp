#include "platform/ui/nested_loop.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

#include "platform/ui/wnd.h"

namespace {

struct Waiting {
    QPointer<QObject> owner;
    std::function<void()> run;
    // A post is queued by itself; anything else must not run inside the ending loop's handler.
    bool posts = false;
};

thread_local int t_nestedLoops = 0;
thread_local std::vector<Waiting> t_waiting;

void Queue(QObject* owner, std::function<void()> run) {
    if (owner) QMetaObject::invokeMethod(owner, std::move(run), Qt::QueuedConnection);
}

}  // namespace

CNestedLoopScope::CNestedLoopScope() {
    ++t_nestedLoops;
}

CNestedLoopScope::~CNestedLoopScope() {
    if (--t_nestedLoops > 0) return;
    for (Waiting& waiting : std::exchange(t_waiting, {})) {
        if (!waiting.owner) continue;
        if (waiting.posts)
            waiting.run();
        else
            Queue(waiting.owner, std::move(waiting.run));
    }
}

bool IsNestedLoopRunning() {
    return t_nestedLoops > 0;
}

void PostWhenNestedLoopsEnd(CWnd& window, UINT message) {
    if (!window.IsWindow()) return;
    if (t_nestedLoops == 0) {
        window.PostMessage(message);
        return;
    }
    QWidget* widget = window.GetWidget();
    const auto post = [widget, message] {
        if (CWnd* target = CWnd::FromWidget(widget)) target->PostMessage(message);
    };
    t_waiting.push_back({widget, post, true});
}

void RunWhenNestedLoopsEnd(QObject& owner, std::function<void()> run) {
    if (t_nestedLoops == 0) {
        Queue(&owner, std::move(run));
        return;
    }
    t_waiting.push_back({&owner, std::move(run)});
}

#include "platform/ui/nested_loop.h"

#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

#include "platform/ui/wnd.h"

namespace {

struct Waiting {
    QPointer<QWidget> window;
    UINT message;
};

thread_local int t_nestedLoops = 0;
thread_local std::vector<Waiting> t_waiting;

void Post(QWidget* widget, UINT message) {
    if (CWnd* window = widget ? CWnd::FromWidget(widget) : nullptr) window->PostMessage(message);
}

}  // namespace

CNestedLoopScope::CNestedLoopScope() {
    ++t_nestedLoops;
}

CNestedLoopScope::~CNestedLoopScope() {
    if (--t_nestedLoops > 0) return;
    for (const Waiting& waiting : std::exchange(t_waiting, {}))
        Post(waiting.window, waiting.message);
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
    t_waiting.push_back({window.GetWidget(), message});
}

#pragma once

#include <functional>

#include "platform/base/win_types.h"

class CWnd;
class QObject;

// Stands for a loop that runs inside the handling of a message: a modal dialog, a message
// box, a menu, a drag, a print or a wait for a reply. The handlers below it may hold windows,
// rows and cells by their positions, which must neither move nor go until it ends. Counted
// whether the loop runs for real or a test answers in its place.
class CNestedLoopScope {
public:
    CNestedLoopScope();
    ~CNestedLoopScope();
    CNestedLoopScope(const CNestedLoopScope&) = delete;
    CNestedLoopScope& operator=(const CNestedLoopScope&) = delete;
};

// Whether such a loop runs now on this thread.
bool IsNestedLoopRunning();

// Posts the message to the window once the last nested loop has ended (at once when none
// runs), unless the window has gone by then.
void PostWhenNestedLoopsEnd(CWnd& window, UINT message);
// Runs the function from the event loop once the last nested loop has ended (queued at once
// when none runs), unless the owner has gone by then.
void RunWhenNestedLoopsEnd(QObject& owner, std::function<void()> run);

#pragma once

#include "model/update_hint.h"
#include "platform/base/win_types.h"

class CView;  // a screen or pane of the shell

// The views of the document, as the main window keeps them. The shell implements it; the
// sender, when given, is skipped.
class IDocViews {
public:
    virtual ~IDocViews() = default;
    // Every view, hidden screens included.
    virtual void UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) = 0;
    // The visible panes only, in this order: the current selector pane; the current main
    // screen, or the log or console screen when no grid screen is current; the navigation pane.
    virtual void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) = 0;
    // The wait cursor, shown during long work on the user-interface thread.
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

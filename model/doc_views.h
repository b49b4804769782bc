#pragma once

#include "platform/base/win_types.h"

class CView;  // a screen or pane of the shell

// Update hints the document sends to its views.
enum DocHint : LPARAM {
    kHintTrunkDefs = 8,           // also after a trunk end or fixed-assignment edit
    kHintRefresh = 0x10000,       // refresh and repaint
    kHintSelection = 0x20000,     // a screen changed the selection
    kHintFileRead = 0x30000,      // a setup file has been read
    kHintAlphaStored = 0x40000,   // object: the assignment key
    kHintAlphaRemoved = 0x50000,  // object: the assignment key
    kHintRebuild = 0x60000,       // the setup was reset or the configuration changed
    kHintMemoryPage = 0x70000,
    kHintMemoryContent = 0x80000,
};

// The views of the document, as the main window keeps them. The shell implements it; the
// sender, when given, is skipped.
class IDocViews {
public:
    virtual ~IDocViews() = default;
    // Every view, hidden screens included.
    virtual void UpdateAllViews(CView* sender, LPARAM hint, LPARAM object) = 0;
    // The visible panes only, in this order: the current selector pane; the current main
    // screen, or the log or console screen when no grid screen is current; the navigation pane.
    virtual void UpdateAllFrameViews(CView* sender, LPARAM hint, LPARAM object) = 0;
    // The wait cursor, shown during long work on the user-interface thread.
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

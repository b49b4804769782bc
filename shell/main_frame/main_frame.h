#pragma once

#include "link/link_window.h"
#include "model/undo_host.h"
#include "platform/base/cstring.h"
#include "platform/base/message_sink.h"

class QWidget;

// What the application object asks of the main window beyond the model's and the link's
// services: its top-level widget, the sink the link reports to, the emptiness of its history
// stacks and the current screen's answer about changes it could cancel. The main window
// implements it; the application holds it while the window exists.
class IMainFrame : public IUndoHost, public ILinkWindow {
public:
    enum class Stack { kUndo, kRedo, kBack, kForward };

    // The top-level window: its placement is saved and restored, dialogs are its children.
    virtual QWidget* GetWindow() = 0;
    // Where the link posts and sends its messages, from any thread.
    virtual IMessageSink* GetLinkSink() = 0;
    virtual bool IsStackEmpty(Stack stack) const = 0;
    // The current screen's answer to WM_APP+0x50E (does it have changes to cancel?), sent at
    // once; 0 while no screen is current.
    virtual LRESULT AskActiveViewForChanges() = 0;
    // Opens a setup file as Open does, the file given instead of chosen; true when the setup
    // is now that file.
    virtual bool OpenFile(const CString& path) = 0;
};

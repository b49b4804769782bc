#pragma once

#include <optional>

#include "model/view_context.h"
#include "platform/base/win_types.h"
#include "platform/ui/log_font.h"

class CView;

// What the panes beside the screens ask of the main window that places them: the screen it
// shows, its help, the pane font and its commands. The main window implements it.
class IPaneFrame {
public:
    virtual ~IPaneFrame() = default;

    // The view shown as the main screen; null when there is none.
    virtual CView* GetCurrentMainView() = 0;
    // The current screen's id (0 to 11); -1 when there is none.
    virtual int GetCurrentViewID() const = 0;
    // The help id of the current screen when it is a grid screen.
    virtual std::optional<DWORD> GetCurrentGridHelpID() const = 0;
    // Carries the command out as the menu or its key would (WM_COMMAND to the main window).
    virtual void SendCommand(UINT id) = 0;
    // Context help for the id: HELP_CONTEXT and the like.
    virtual void WinHelp(DWORD data, UINT command) = 0;
    // The application's bold font of the selector panes.
    virtual LogFont GetPaneFont() const = 0;
    // The live navigation context of a screen (0-11), and the Back history that a pane's new
    // choice saves the previous context on.
    virtual CContext& GetViewContext(int screen) = 0;
    virtual void PushHistory(const CContext& context) = 0;
};

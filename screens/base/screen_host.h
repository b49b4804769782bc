#pragma once

#include "model/view_context.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"
#include "screens/base/screen_timing.h"

class CCVDataMgr;
class CKelvardinDoc;
class CView;
class QWidget;

// What the screens ask of the main window beyond the model's undo host: which screen is
// current, the navigation contexts and history, the texts of a printed page header, the
// drop-move flag, the dialogs that belong to the shell, the link's data manager and the
// screens' poll intervals. The
// shell's main window implements it and hands it to every screen it makes.
class IScreenHost {
public:
    virtual ~IScreenHost() = default;

    // The one document.
    virtual CKelvardinDoc* GetDocument() = 0;
    // Whether the view is the main window's current grid screen: only that one reacts to
    // update hints and polls.
    virtual bool IsCurrentScreen(const CView& view) const = 0;
    // The live context of a screen (0-11).
    virtual CContext& GetViewContext(int screen) = 0;
    // Saves a copy of the context on the Back history (nothing when it equals Back's newest).
    virtual void PushHistory(const CContext& context) = 0;

    // The main window's title, and the current selector pane's text (empty when none).
    virtual CString GetFrameText() const = 0;
    virtual CString GetFilterText() const = 0;
    // The selector pane shown above the current screen; none while there is none.
    virtual CView* GetCurrentPane() const = 0;
    // The window that dialogs and the print preview belong to.
    virtual QWidget* GetWindow() = 0;

    // The clear-changes question, preset to the selected items (1) or all items (0): the
    // choice, or -1 when cancelled.
    virtual int AskClearChanges(int preset) = 0;
    // Context help for an id (with "PopupHelpID" a box names it, with "LaunchHelp" it opens).
    virtual void WinHelp(DWORD id, UINT command) = 0;
    // Posts a command to the main window, to run after the present message.
    virtual void PostCommand(UINT id) = 0;
    // The main window's clear-allocations operation, the intercom preselected (negative: all).
    virtual void ClearAllocations(int icom) = 0;
    // The main window's set-maintenance and clear-maintenance operations, the trunk preselected.
    virtual void SetMaintMode(int trunk) = 0;
    virtual void ClearMaintMode(int trunk) = 0;
    // The search for a device to take an intercom's addresses from: true, with the device's
    // name and its two addresses as text, when the user chose one.
    virtual bool SearchForIntercom(int icom, const CString& name, CString& foundName,
                                   CString& primary, CString& backup) = 0;

    virtual CCVDataMgr& GetDataMgr() = 0;
    // The intervals of the screens' polls.
    virtual const CScreenTiming& GetScreenTiming() const = 0;
};

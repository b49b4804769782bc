#pragma once

// What the controller's status reply changes in the main window beyond its messages; the shell
// implements it.
class ILinkWindow {
public:
    virtual ~ILinkWindow() = default;
    // The mode has become ONLINE: the window's title is set again.
    virtual void SetFrameTitle() = 0;
    // The mode has become ONLINE: what the settings start with it starts.
    virtual void EnteredOnlineMode() = 0;
    // A status reply came: an open connection-lost dialog learns that the link is back.
    virtual void LinkRestored() = 0;
    // The controller's size or abilities changed: the setup is to be reset to a default one
    // sized for it (the link has gone offline). False lets the reset happen now. True holds it
    // while the window deals with the changes it would take, from the window's own loop and
    // with the link going on meanwhile; the window then calls
    // CCVDataMgr::ResetForController. Called on the user-interface thread, no link lock held.
    virtual bool HoldSetupReset() = 0;
};

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
};

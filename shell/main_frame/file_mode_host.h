#pragma once

// The main window's way out of ONLINE mode, which the configuration sheet takes when it opens
// the link again. The main window implements it.
class IFileModeHost {
public:
    // Leaves ONLINE mode and starts a default setup.
    virtual void EnterFileMode() = 0;
    // Before the link is opened again elsewhere: unsent changes are asked about, and let go
    // or saved first. False when the user stays with the controller.
    virtual bool LeaveController() = 0;

protected:
    ~IFileModeHost() = default;
};

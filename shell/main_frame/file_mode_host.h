#pragma once

// The main window's way out of ONLINE mode, which the configuration sheet takes when the link
// can no longer be opened. The main window implements it.
class IFileModeHost {
public:
    // Leaves ONLINE mode and starts a default setup.
    virtual void EnterFileMode() = 0;

protected:
    ~IFileModeHost() = default;
};

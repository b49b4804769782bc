#pragma once

#include "platform/base/win_types.h"

// The dialog of the operation the main window is running (a send or an upload). The main
// window hands it each of the link's progress messages (WM_APP+0x501 to 0x506 and 0x50A) on
// the user-interface thread before acting on the message itself; the dialog's answer is the
// message's result. The main window implements nothing here: it keeps a pointer to the running
// dialog while that dialog's modal run lasts.
class IOperationDialog {
public:
    virtual LRESULT OnLinkMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~IOperationDialog() = default;
};

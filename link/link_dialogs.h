#pragma once

#include "platform/base/cstring.h"

// The modal dialogs that the link's reply handlers open on the user-interface thread; the
// shell shows them, tests answer them.
class ILinkDialogs {
public:
    static constexpr int kAbort = 2;

    virtual ~ILinkDialogs() = default;
    // The controller refused exclusive control (CExclCtlRetry, counting down 10 seconds):
    // kAbort gives the send up, any other answer asks again.
    virtual int ExclusiveControlDenied() = 0;
    // A message box with an OK button.
    virtual void ShowMessage(const CString& text) = 0;
};

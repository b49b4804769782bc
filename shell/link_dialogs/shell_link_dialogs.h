#pragma once

#include "link/link_dialogs.h"

// The link's dialogs as the user sees them: the exclusive-control count-down (CExclCtlRetry)
// and a plain message box, each over the window the user is working in.
class CShellLinkDialogs : public ILinkDialogs {
public:
    int ExclusiveControlDenied() override;
    void ShowMessage(const CString& text) override;
};

#pragma once

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/base/message_box.h"

class QDialog;
class QMenu;

// Answers the program's modal questions in place of the user (tests install one in the
// environment). A question it did not expect is its own failure to report; it then answers
// as a user who cancels would.
class IModalScript {
public:
    virtual ~IModalScript() = default;
    // Answers with an ID* value.
    virtual int OnMessageBox(const CString& text, UINT type, UINT helpId) = 0;
    // The dialog is showing in its own loop: act on it as a user would. The answer ends it,
    // unless it has ended already.
    virtual int OnDialog(QDialog& dialog) = 0;
    // Answers the command id of the item chosen, 0 for none.
    virtual int OnPopupMenu(QMenu& menu) = 0;
};

// Every modal run of the program goes through these, each counted as a nested loop.
// A message box (MB_* buttons, icon and default button); answers an ID* value.
int ModalMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
// The platform's plain message box, never the program's own: what the program's box falls
// back on.
int SystemMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
// Runs the dialog modally; answers its result.
int ExecModalDialog(QDialog& dialog);
// Shows the menu at a screen point; answers the command id its chosen action carries in its
// data, 0 when nothing was chosen.
int ExecPopupMenu(QMenu& menu, CPoint screenPoint);

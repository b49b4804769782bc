#pragma once

#include "platform/base/message_box.h"

class CAppState;
class CUndoHistory;

// What a command that waits on its dialogs started from: the mode, set by nothing but a
// command since, the controller's session, and the setup, whose history nothing emptied. The link
// may leave the controller or replace the setup while a dialog is open; the command then ends as if
// that dialog had been cancelled, the link's own messages having told the user why.
class CCommandBasis {
public:
    CCommandBasis(const CAppState& app, const CUndoHistory& undo);

    bool Holds() const;
    // Runs one of the command's dialogs: its OK stands only while the basis holds.
    template <class Dialog>
    bool Accepted(Dialog& dialog) const {
        return dialog.DoModal() == IDOK && Holds();
    }

private:
    const CAppState& m_app;
    const CUndoHistory& m_undo;
    const int m_nMode;
    const unsigned m_nModeSets;
    const unsigned m_nSessionChanges;
    const unsigned m_nUndoClears;
};

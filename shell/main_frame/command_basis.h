#pragma once

#include <optional>

#include "link/link_session.h"
#include "link/undone_commands.h"
#include "platform/base/message_box.h"

class CAppState;
class CCVDataMgr;
class CUndoHistory;

// What a command that waits on its dialogs started from: the mode, the controller's session,
// and the setup, whose history nothing emptied. The link may leave the controller or replace
// the setup while a dialog is open; the command then ends as if that dialog had been cancelled,
// the link's own messages having told the user why. A command that sends names what it would
// have sent as not done.
class CCommandBasis {
public:
    CCommandBasis(const CAppState& app, const CUndoHistory& undo);
    CCommandBasis(const CAppState& app, const CUndoHistory& undo, CCVDataMgr& data,
                  const CUndoneCommand& sends);

    bool Holds() const;
    // An OK given in one of the command's dialogs stands only while the basis holds.
    bool OkStands() const;
    // Runs one of the command's dialogs: its OK stands only while the basis holds.
    template <class Dialog>
    bool Accepted(Dialog& dialog) const {
        return dialog.DoModal() == IDOK && OkStands();
    }
    // The session that what the command asks of the controller is meant for.
    CLinkSession Session() const { return m_session; }

private:
    const CAppState& m_app;
    const CUndoHistory& m_undo;
    CCVDataMgr* const m_data = nullptr;
    const std::optional<CUndoneCommand> m_sends;
    const int m_nMode;
    const CLinkSession m_session;
    const unsigned m_nUndoClears;
};

#pragma once

#include "model/app_state.h"

// The controller session that a request acting on the controller is meant for, taken when the
// command, or the dialog it runs, began. The link queues such a request only while that session
// stands: nothing asked of one controller, or before the link was renewed, reaches the next.
class CLinkSession {
public:
    // The session as it stands now.
    static CLinkSession Now() { return CLinkSession(GetApp().GetSessionChanges()); }
    static CLinkSession Of(const CAppState& app) { return CLinkSession(app.GetSessionChanges()); }

    bool operator==(const CLinkSession&) const = default;

private:
    explicit CLinkSession(unsigned changes) : m_nChanges(changes) {}

    unsigned m_nChanges;
};

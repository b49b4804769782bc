#pragma once

#include "link/device_comm.h"

// Pauses the link's polling for as long as it lives, so that a save reads a steady setup;
// polling resumes on every way out, or earlier when the save lets the link work again.
class CPollingPause {
public:
    explicit CPollingPause(CDEVICEComm& link) : m_link(link) { m_link.PausePolling(); }
    ~CPollingPause() { Resume(); }
    CPollingPause(const CPollingPause&) = delete;
    CPollingPause& operator=(const CPollingPause&) = delete;

    void Resume() {
        if (m_bPaused) m_link.ResumePolling();
        m_bPaused = false;
    }

private:
    CDEVICEComm& m_link;
    bool m_bPaused = true;
};

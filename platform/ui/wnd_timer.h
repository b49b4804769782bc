#pragma once

#include "platform/ui/wnd.h"

// A timer in a hidden window of its own that passes each tick to its owner as WM_TIMER, with
// wParam the current id. A window with several timers tells them apart by that id, which is
// unique in the process.
class CWndTimer : public CWnd {
public:
    static constexpr UINT kDefaultInterval = 1000;

    CWndTimer();
    ~CWndTimer() override;

    // Restarts the count: the first tick comes one interval from now. Creates the timer's
    // window, a child of the owner, on first use.
    void Start(CWnd* owner, UINT intervalMs);
    void Stop();
    // Starts the platform timer with the interval set; nothing before the first Start. A timer
    // the platform refuses stays stopped.
    void Arm();

    UINT GetUniqueId() const { return m_uniqueId; }
    UINT GetInterval() const { return m_interval; }
    bool IsRunning() const { return m_running; }

    // The running timer's id, 0 while stopped: what the owner's WM_TIMER carries.
    UINT m_nCurrentId = 0;

protected:
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

private:
    const UINT m_uniqueId;
    bool m_created = false;
    CWnd* m_owner = nullptr;
    UINT m_interval = kDefaultInterval;
    bool m_running = false;
};

#include "platform/ui/wnd_timer.h"

#include <atomic>

namespace {

UINT NextTimerId() {
    static std::atomic<UINT> last{0};
    return ++last;
}

}  // namespace

CWndTimer::CWndTimer() : m_uniqueId(NextTimerId()) {}

CWndTimer::~CWndTimer() {
    Stop();
}

void CWndTimer::Start(CWnd* owner, UINT intervalMs) {
    Stop();
    m_owner = owner;
    if (!m_created) {
        m_created = Create(WS_CHILD, CRect(0, 0, 1, 1), owner, 0) != FALSE;
        if (m_created) SetWindowText(u"Timer");
    }
    m_interval = intervalMs;
    Arm();
}

void CWndTimer::Stop() {
    if (!m_running) return;
    KillTimer(m_uniqueId);
    m_nCurrentId = 0;
    m_running = false;
}

void CWndTimer::Arm() {
    if (!m_created || !IsWindow()) return;
    Stop();
    const UINT_PTR id = SetTimer(m_uniqueId, m_interval);
    if (id == 0) return;
    m_nCurrentId = static_cast<UINT>(id);
    m_running = true;
}

void CWndTimer::OnTimer(UINT_PTR /*id*/) {
    if (m_owner) m_owner->SendMessage(WM_TIMER, m_nCurrentId, 0);
}

void CWndTimer::OnDestroy() {
    Stop();
    CWnd::OnDestroy();
}

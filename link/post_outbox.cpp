#include "link/post_outbox.h"

#include "platform/base/tick_count.h"

void CPostOutbox::FlushIfDue(DWORD intervalMs) {
    if (!m_waiting.empty() && GetTickCount() - m_lastFlush >= intervalMs) Flush();
}

void CPostOutbox::Flush() {
    m_lastFlush = GetTickCount();
    if (!m_target) {
        m_waiting.clear();
        return;
    }
    for (auto [message, wParam, lParam] : m_waiting)
        m_target->PostMessage(message, wParam, lParam);
    m_waiting.clear();
}

void CPostOutbox::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (Defers()) {
        m_waiting.emplace_back(message, wParam, lParam);
    } else if (m_target) {
        m_target->PostMessage(message, wParam, lParam);
    }
}

LRESULT CPostOutbox::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (Defers()) Flush();
    return m_target ? m_target->SendMessage(message, wParam, lParam) : 0;
}

LRESULT CPostOutbox::SendMessageCancellable(UINT message, WPARAM wParam, LPARAM lParam,
                                            CEvent& cancel, LRESULT cancelled) {
    if (Defers()) Flush();
    return m_target ? m_target->SendMessageCancellable(message, wParam, lParam, cancel, cancelled)
                    : cancelled;
}

#include "shell/controls/timer_relay.h"

#include <QWidget>

CTimerRelay::CTimerRelay(QWidget& dialog, TickHandler onTick) : m_onTick(std::move(onTick)) {
    Create(WS_CHILD, CRect(0, 0, 0, 0), &dialog, 0);
    // A child shows with its dialog unless hidden on purpose; this one must never take the
    // focus or the mouse.
    if (QWidget* host = GetWidget()) {
        host->setFocusPolicy(Qt::NoFocus);
        host->hide();
    }
}

void CTimerRelay::OnTimer(UINT_PTR id) {
    if (m_onTick) m_onTick(id);
}

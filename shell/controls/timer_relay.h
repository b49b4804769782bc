#pragma once

#include <functional>

#include "platform/ui/wnd.h"

// A hidden window inside a dialog that hands each WM_TIMER it gets to a function: the owner a
// CWndTimer needs, for dialogs, which are not windows of that kind themselves.
class CTimerRelay : public CWnd {
public:
    using TickHandler = std::function<void(UINT_PTR id)>;

    CTimerRelay(QWidget& dialog, TickHandler onTick);

protected:
    void OnTimer(UINT_PTR id) override;

private:
    TickHandler m_onTick;
};

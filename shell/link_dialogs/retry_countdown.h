#pragma once

#include "platform/ui/wnd_timer.h"
#include "shell/controls/timer_relay.h"

class CKelvardinDialog;
class QLabel;

// The ten-second count-down of the retry questions: its line of text in the dialog, and the
// dialog ended with the retry answer when it runs out.
class CRetryCountdown {
public:
    static constexpr int kSeconds = 10;

    CRetryCountdown(CKelvardinDialog& dialog, UINT labelId, int retryResult);
    ~CRetryCountdown();
    CRetryCountdown(const CRetryCountdown&) = delete;
    CRetryCountdown& operator=(const CRetryCountdown&) = delete;

    QLabel* Label() const { return m_label; }
    // From the full count, when the dialog is about to show.
    void Start();

private:
    void OnTimer(UINT_PTR id);
    void Show();

    CKelvardinDialog& m_dialog;
    QLabel* m_label;
    int m_retryResult;
    int m_nSeconds = kSeconds;
    CTimerRelay m_relay;
    CWndTimer m_timer;
};

#pragma once

#include "platform/ui/wnd_timer.h"
#include "shell/controls/timer_relay.h"
#include "shell/dialogs/kelvardin_dialog.h"

class QLabel;
class QPushButton;

// Tells that the link to the controller was lost and is being re-established. While
// reconnecting only Cancel (2: give up and go to FILE mode) ends it; once restored it shows OK
// (1) and closes itself ten seconds later. It may switch between the two states any number of
// times while it runs, until the link gives up (the controller refused the session): then it
// ends with IDABORT and stays so.
class CDlgIcomStatus : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 173;
    static constexpr UINT kText = 175;
    static constexpr UINT kIcon = 176;
    enum State : int { kNotShown = -1, kReconnecting = 0, kRestored = 1 };

    explicit CDlgIcomStatus(QWidget* parent = nullptr);
    ~CDlgIcomStatus() override;

    // Every loss of the link counts one disconnect; every status reply restarts the closing.
    void UpdateStatus(bool restored);
    State GetState() const { return m_nState; }
    // The link no longer reconnects: there is nothing left to wait for.
    void LinkGaveUp();

    // OK and Enter: restored ends the dialog with IDOK; while reconnecting they act as Cancel,
    // so the link is never reported back while it is down.
    void accept() override;
    // Cancel, Escape and the close box: only while reconnecting.
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void OnTimer(UINT_PTR id);

    State m_nState = kNotShown;
    bool m_bGaveUp = false;
    CTimerRelay m_relay;
    CWndTimer m_timer;
    QLabel* m_icon;
    QPushButton* m_ok;
    QLabel* m_text;
    QPushButton* m_cancel;
};

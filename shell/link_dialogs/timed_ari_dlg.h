#pragma once

#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/link_dialogs/retry_countdown.h"

class QLabel;
class QPushButton;

// Asks what to do after the controller refused a request: Abort (1), Ignore (2) or Retry (4),
// retrying by itself when ten seconds have passed. The caller sets the error text, and may
// forbid Ignore, before running it.
class CTimedARIDlg : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 170;
    static constexpr UINT kCountdownText = 1058;
    static constexpr UINT kErrorText = 1062;
    static constexpr int kAbort = IDOK;
    static constexpr int kIgnore = IDCANCEL;
    static constexpr int kRetry = IDRETRY;
    static constexpr int kSeconds = CRetryCountdown::kSeconds;

    explicit CTimedARIDlg(QWidget* parent = nullptr);

    // Ignore, Escape and the close box do nothing while ignoring is not allowed.
    void reject() override;

    CString m_strError;
    bool m_bIgnoreAllowed = true;

protected:
    void OnInitDialog() override;

private:
    QPushButton* m_ignore;
    QLabel* m_error;
    CRetryCountdown m_countdown;
};

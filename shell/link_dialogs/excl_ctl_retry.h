#pragma once

#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/link_dialogs/retry_countdown.h"

// Tells that the controller refused exclusive control for a send and asks again by itself
// after ten seconds: Retry Now (1), also when the count-down runs out, or Abort (2).
class CExclCtlRetry : public CKelvardinDialog {
public:
    static constexpr UINT kTemplateId = 169;
    static constexpr UINT kCountdownText = 1061;
    static constexpr int kRetry = IDOK;
    static constexpr int kAbort = IDCANCEL;

    explicit CExclCtlRetry(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    CRetryCountdown m_countdown;
};

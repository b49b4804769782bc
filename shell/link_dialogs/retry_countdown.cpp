#include "shell/link_dialogs/retry_countdown.h"

#include <QLabel>

#include "platform/ui/qt_convert.h"
#include "shell/controls/dialog_controls.h"
#include "shell/dialogs/kelvardin_dialog.h"

CRetryCountdown::CRetryCountdown(CKelvardinDialog& dialog, UINT labelId, int retryResult)
    : m_dialog(dialog),
      m_label(MakeDlgStatic(labelId, {})),
      m_retryResult(retryResult),
      m_relay(dialog, [this](UINT_PTR id) { OnTimer(id); }) {}

CRetryCountdown::~CRetryCountdown() {
    m_timer.Stop();
}

void CRetryCountdown::Start() {
    m_nSeconds = kSeconds;
    Show();
    m_timer.Start(&m_relay, 1000);
}

void CRetryCountdown::OnTimer(UINT_PTR id) {
    if (id != m_timer.m_nCurrentId) return;
    --m_nSeconds;
    Show();
    if (m_nSeconds > 0) return;
    m_timer.Stop();
    m_dialog.EndDialog(m_retryResult);
}

void CRetryCountdown::Show() {
    m_label->setText(ToQString(CString::Formatted(u"Trying again in %d seconds...", m_nSeconds)));
}

#include "shell/excl_ctl_retry.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "shell/dialog_controls.h"

CExclCtlRetry::CExclCtlRetry(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_countdown(MakeDlgStatic(kCountdownText, {})),
      m_relay(*this, [this](UINT_PTR id) { OnTimer(id); }) {
    setWindowTitle(QStringLiteral("Exclusive Control Denied"));
    QPushButton* retry = MakeDlgButton(kRetry, u"&Retry Now");
    QPushButton* abort = MakeDlgButton(kAbort, u"&Abort");
    retry->setDefault(true);
    connect(retry, &QPushButton::clicked, this, &CExclCtlRetry::accept);
    connect(abort, &QPushButton::clicked, this, &CExclCtlRetry::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        MakeDlgStatic(0, u"Kelvardin could not obtain exlusive control of the Corvane!"));
    layout->addWidget(MakeDlgStatic(
        0,
        u"Exclusive control is required in order to send changes.\nIt is likely that another user "
        u"is currently sending changes,\nand that you will be granted exclusive control shortly."));
    layout->addWidget(m_countdown);
    layout->addLayout(MakeButtonRow({retry, abort}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CExclCtlRetry::~CExclCtlRetry() {
    m_timer.Stop();
}

void CExclCtlRetry::OnInitDialog() {
    ShowCountdown();
    m_timer.Start(&m_relay, 1000);
    MessageBeep(MB_ICONSTOP);
}

void CExclCtlRetry::OnTimer(UINT_PTR id) {
    if (id != m_timer.m_nCurrentId) return;
    --m_nSeconds;
    ShowCountdown();
    if (m_nSeconds > 0) return;
    m_timer.Stop();
    EndDialog(kRetry);
}

void CExclCtlRetry::ShowCountdown() {
    m_countdown->setText(
        ToQString(CString::Formatted(u"Trying again in %d seconds...", m_nSeconds)));
}

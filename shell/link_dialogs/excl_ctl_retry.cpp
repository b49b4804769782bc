#include "shell/link_dialogs/excl_ctl_retry.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/sys_info.h"
#include "shell/controls/dialog_controls.h"

CExclCtlRetry::CExclCtlRetry(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent), m_countdown(*this, kCountdownText, kRetry) {
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
    layout->addWidget(m_countdown.Label());
    layout->addLayout(MakeButtonRow({retry, abort}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CExclCtlRetry::OnInitDialog() {
    m_countdown.Start();
    MessageBeep(MB_ICONSTOP);
}

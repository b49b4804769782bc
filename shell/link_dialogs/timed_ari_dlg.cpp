#include "shell/link_dialogs/timed_ari_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "shell/controls/dialog_controls.h"

CTimedARIDlg::CTimedARIDlg(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_ignore(MakeDlgButton(kIgnore, u"&Ignore")),
      m_error(MakeDlgStatic(kErrorText, {})),
      m_countdown(*this, kCountdownText, kRetry) {
    setWindowTitle(QStringLiteral("Communications Error!"));
    QPushButton* abort = MakeDlgButton(kAbort, u"&Abort");
    QPushButton* retry = MakeDlgButton(kRetry, u"&Retry");
    // Enter does what the count-down would do.
    retry->setDefault(true);
    connect(abort, &QPushButton::clicked, this, &CTimedARIDlg::accept);
    connect(m_ignore, &QPushButton::clicked, this, &CTimedARIDlg::reject);
    connect(retry, &QPushButton::clicked, this, [this] { EndDialog(kRetry); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        MakeDlgStatic(0, u"An error occurred that could affect the outcome of this operation:"));
    layout->addWidget(m_error);
    layout->addWidget(m_countdown.Label());
    layout->addLayout(MakeButtonRow({abort, m_ignore, retry}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CTimedARIDlg::OnInitDialog() {
    m_countdown.Start();
    m_error->setText(ToQString(m_strError));
    m_ignore->setEnabled(m_bIgnoreAllowed);
    MessageBeep(MB_ICONSTOP);
}

void CTimedARIDlg::reject() {
    if (m_bIgnoreAllowed) CKelvardinDialog::reject();
}

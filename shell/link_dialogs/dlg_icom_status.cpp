#include "shell/link_dialogs/dlg_icom_status.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"

namespace {

constexpr UINT kCloseAfterMs = 10000;

}  // namespace

CDlgIcomStatus::CDlgIcomStatus(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_relay(*this, [this](UINT_PTR id) { OnTimer(id); }),
      m_icon(MakeDlgIcon(kIcon, QStyle::SP_MessageBoxWarning)),
      m_ok(MakeDlgButton(IDOK, u"&OK")),
      m_text(MakeDlgStatic(kText, {})),
      m_cancel(MakeDlgButton(IDCANCEL, u"&Cancel")) {
    setWindowTitle(QStringLiteral("Connection Status"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(360);
    connect(m_ok, &QPushButton::clicked, this, &CDlgIcomStatus::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CDlgIcomStatus::reject);

    auto* message = new QHBoxLayout;
    message->addWidget(m_icon, 0, Qt::AlignTop);
    message->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(message);
    layout->addLayout(MakeButtonRow({m_ok, m_cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CDlgIcomStatus::~CDlgIcomStatus() {
    m_timer.Stop();
}

void CDlgIcomStatus::OnInitDialog() {
    UpdateStatus(false);
}

void CDlgIcomStatus::UpdateStatus(bool restored) {
    const State state = restored ? kRestored : kReconnecting;
    if (m_nState == state || m_bGaveUp) return;
    m_nState = state;
    if (restored) {
        m_timer.Start(&m_relay, kCloseAfterMs);
    } else {
        ++GetKelvardinApp().m_nDisconnects;
    }
    m_text->setText(ToQString(LoadResString(restored ? kIdsRestored : kIdsReconnecting)));
    SetDlgIcon(*m_icon, restored ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning);
    QPushButton* shown = restored ? m_ok : m_cancel;
    QPushButton* hidden = restored ? m_cancel : m_ok;
    hidden->hide();
    hidden->setDefault(false);
    shown->show();
    shown->setDefault(true);
    shown->setFocus();
}

void CDlgIcomStatus::LinkGaveUp() {
    m_bGaveUp = true;
    m_timer.Stop();
    if (isVisible()) done(IDABORT);
}

void CDlgIcomStatus::accept() {
    if (m_nState == kRestored) {
        CKelvardinDialog::accept();
    } else {
        reject();
    }
}

void CDlgIcomStatus::reject() {
    if (m_nState == kReconnecting) CKelvardinDialog::reject();
}

void CDlgIcomStatus::OnTimer(UINT_PTR id) {
    if (id == m_timer.m_nCurrentId && m_nState == kRestored) EndDialog(IDOK);
}

#include "shell/link_dialogs/dlg_send_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/link_messages.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"
#include "shell/link_dialogs/operation_failure.h"

namespace {

// What no failure reason names: the send could not even start.
constexpr int kNotStarted = -1;

}  // namespace

CDlgSendProgress::CDlgSendProgress(const CLinkSession& session, std::unique_ptr<CSendAll> source,
                                   UINT captionId, UINT promptId, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_session(session),
      m_progress(new QProgressBar),
      m_button(MakeDlgButton(IDCANCEL, u"Cancel")),
      m_status(MakeDlgStatic(kStatusText, u"Sending...")),
      m_prompt(MakeDlgStatic(kPromptText, {})),
      m_strCaption(LoadResString(captionId)),
      m_strPrompt(LoadResString(promptId)),
      m_source(std::move(source)) {
    setWindowTitle(QStringLiteral("Send Progress"));
    m_progress->setObjectName(ControlName(kProgressBar));
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(MakeButtonRow({m_button}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Enter must not give a running send up; once it has failed, Enter closes.
    m_button->setAutoDefault(false);
    connect(m_button, &QPushButton::clicked, this, &CDlgSendProgress::reject);
}

CDlgSendProgress::~CDlgSendProgress() = default;

void CDlgSendProgress::OnInitDialog() {
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    SetStatus(kIdsInitializing);
    // The link owns the source from here on, whether it starts the send or not.
    if (!GetKelvardinApp().GetDataMgr().StartSendAll(m_session, std::move(m_source)))
        OnFailure(kNotStarted);
    setWindowTitle(ToQString(m_strCaption));
    m_prompt->setText(ToQString(m_strPrompt));
}

LRESULT CDlgSendProgress::OnLinkMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_LINK_PULL:
            if (!m_bFailed) SetStatus(kIdsPulling);
            return 0;
        case WM_LINK_QUEUE_FILLED:
            if (!m_bFailed) SetStatus(kIdsSending);
            return 0;
        case WM_LINK_SEND_FAILED: OnFailure(static_cast<int>(wParam)); return 0;
        case WM_LINK_SEND_PROGRESS: OnProgress(static_cast<UINT>(wParam)); return 0;
        case WM_LINK_SEND_DONE: return OnFinished();
        case WM_LINK_QUEUE_SENT: OnQueueSent(); return 0;
        default: return 0;
    }
}

void CDlgSendProgress::reject() {
    GetKelvardinApp().GetDataMgr().Abort();
    CKelvardinDialog::reject();
}

void CDlgSendProgress::SetStatus(UINT stringId) {
    m_status->setText(ToQString(LoadResString(stringId)));
}

void CDlgSendProgress::OnProgress(UINT left) {
    if (m_bFailed) return;
    if (m_nTotal == 0) {
        m_nTotal = left + 1;
        m_progress->setRange(0, static_cast<int>(m_nTotal));
    }
    if (GetKelvardinApp().GetMode() != CAppState::kModeOnline) {
        m_progress->setValue(0);
        EndDialog(IDCANCEL);
        return;
    }
    m_progress->setValue(left < m_nTotal ? static_cast<int>(m_nTotal - left) : 0);
}

void CDlgSendProgress::OnFailure(int reason) {
    if (m_bFailed) return;
    m_bFailed = true;
    m_status->setText(ToQString(SendFailureText(reason)));
    m_button->setText(QStringLiteral("OK"));
    m_button->setEnabled(true);
    m_button->show();
    m_button->setDefault(true);
    m_button->setFocus();
}

LRESULT CDlgSendProgress::OnFinished() {
    if (m_bFailed) return 1;
    EndDialog(IDOK);
    return 0;
}

void CDlgSendProgress::OnQueueSent() {
    if (m_bFailed) return;
    m_button->hide();
    m_button->setEnabled(false);
    SetStatus(kIdsWaiting);
}

#include "shell/link_dialogs/dlg_save_as_online_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/cv_data_mgr.h"
#include "link/link_messages.h"
#include "platform/ui/qt_convert.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/dialog_controls.h"
#include "shell/link_dialogs/operation_failure.h"

CDlgSaveAsOnlineProgress::CDlgSaveAsOnlineProgress(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_progress(new QProgressBar),
      m_status(MakeDlgStatic(kStatusText, u"Uploading ...")),
      m_button(MakeDlgButton(IDCANCEL, u"Cancel")) {
    setWindowTitle(QStringLiteral("Uploading..."));
    m_progress->setObjectName(ControlName(kProgressBar));
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(300);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeDlgStatic(0,
                                    u"The Corvane data is being uploaded from the Corvane.\nThis "
                                    u"may take up to several minutes, please be patient."));
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(MakeButtonRow({m_button}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Enter must not cancel a running upload; once it has failed, Enter closes.
    m_button->setAutoDefault(false);
    connect(m_button, &QPushButton::clicked, this, &CDlgSaveAsOnlineProgress::reject);
}

void CDlgSaveAsOnlineProgress::OnInitDialog() {
    const CCVDataMgr& data = GetKelvardinApp().GetDataMgr();
    m_progress->setRange(0, data.GetUploadTotal());
    m_progress->setValue(0);
    // Ended before the dialog came: its end was told to nobody.
    if (!data.IsUploading() && data.GetUploadOutcome() < 0) ShowFailure(data.GetUploadOutcome());
}

LRESULT CDlgSaveAsOnlineProgress::OnLinkMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Once the user has closed it, the upload's end, handled in the same pass as the click,
    // must not turn the cancel into a save.
    if (message == WM_LINK_UPLOAD_PROGRESS && !m_bFailed && isVisible())
        OnUploadProgress(static_cast<int>(wParam), lParam);
    return 0;
}

void CDlgSaveAsOnlineProgress::OnUploadProgress(int done, LPARAM total) {
    CKelvardinApp& app = GetKelvardinApp();
    if (done < 0) {
        ShowFailure(done);
        return;
    }
    if (app.GetDataMgr().IsUploading() && total != 0) {
        if (app.GetMode() != CAppState::kModeOnline) {
            m_progress->setValue(0);
            EndDialog(IDCANCEL);
        } else if (static_cast<UINT>(done) > m_nHighest) {
            // The bar never moves back.
            m_nHighest = static_cast<UINT>(done);
            m_progress->setValue(done);
        }
        return;
    }
    if (const int outcome = TakeLastReplies(); outcome < 0) {
        ShowFailure(outcome);
        return;
    }
    m_progress->setValue(m_progress->maximum());
    EndDialog(IDOK);
}

void CDlgSaveAsOnlineProgress::ShowFailure(int code) {
    m_bFailed = true;
    m_status->setText(ToQString(UploadFailureText(code)));
    m_progress->setValue(0);
    m_button->setText(QStringLiteral("OK"));
    m_button->setDefault(true);
}

int CDlgSaveAsOnlineProgress::TakeLastReplies() {
    CKelvardinApp& app = GetKelvardinApp();
    CCVDataMgr& data = app.GetDataMgr();
    CKelvardinDoc* doc = app.GetKelvardinDoc();
    while (data.HasWaitingReplies())
        data.OnResponse(doc);
    return data.GetUploadOutcome();
}

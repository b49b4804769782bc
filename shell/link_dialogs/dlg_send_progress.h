#pragma once

#include <memory>

#include "link/link_session.h"
#include "link/send_all.h"
#include "platform/base/cstring.h"
#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/link_dialogs/operation_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

// Shows a send to the controller (the setup's changes, a file, trunk modes) as the link reports
// it, and how it ended. A failure stays in the status line, with the button turned to "OK",
// until the user closes the dialog; it is never shown in a box of its own. Cancel, Escape and
// the close box give the send up, whatever the button reads.
class CDlgSendProgress : public CKelvardinDialog, public IOperationDialog {
public:
    static constexpr UINT kTemplateId = 158;
    static constexpr UINT kProgressBar = 1040;
    static constexpr UINT kPromptText = 1044;
    static constexpr UINT kStatusText = 1045;

    // The source is handed to the link when the dialog starts, for the session it was chosen
    // for; the caption and the prompt are string ids.
    CDlgSendProgress(const CLinkSession& session, std::unique_ptr<CSendAll> source, UINT captionId,
                     UINT promptId, QWidget* parent = nullptr);
    ~CDlgSendProgress() override;

    // The send's progress messages; WM_APP+0x505 answers 1 once a failure was shown, else 0.
    LRESULT OnLinkMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void SetStatus(UINT stringId);
    void OnProgress(UINT left);
    void OnFailure(int reason);
    LRESULT OnFinished();
    void OnQueueSent();

    const CLinkSession m_session;
    QProgressBar* m_progress;
    QPushButton* m_button;
    QLabel* m_status;
    QLabel* m_prompt;
    CString m_strCaption;
    CString m_strPrompt;
    UINT m_nTotal = 0;
    std::unique_ptr<CSendAll> m_source;
    bool m_bFailed = false;
};

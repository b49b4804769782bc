#pragma once

#include "shell/dialogs/kelvardin_dialog.h"
#include "shell/link_dialogs/operation_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

// Shows the upload of the controller's data before an ONLINE setup is saved. It ends with IDOK
// once every request has gone out, a status after them has shown the same controller and the
// last replies are in the setup, and with IDCANCEL when the user cancels or the mode leaves
// ONLINE. An upload cut off from the controller, or ended by a controller that changed, has
// failed: the failure stays in the status line, with the button turned to "OK", until the user
// closes it.
class CDlgSaveAsOnlineProgress : public CKelvardinDialog, public IOperationDialog {
public:
    static constexpr UINT kTemplateId = 155;
    static constexpr UINT kProgressBar = 1040;
    static constexpr UINT kStatusText = 1045;

    explicit CDlgSaveAsOnlineProgress(QWidget* parent = nullptr);

    // WM_APP+0x50A: progress, the end of the upload or its failure; answers 0.
    LRESULT OnLinkMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnInitDialog() override;

private:
    void OnUploadProgress(int done, LPARAM total);
    void ShowFailure(int code);
    // Every request has gone out: the replies still waiting are taken into the setup, and the
    // upload's outcome is read only then.
    int TakeLastReplies();

    QProgressBar* m_progress;
    QLabel* m_status;
    QPushButton* m_button;
    UINT m_nHighest = 0;
    bool m_bFailed = false;
};

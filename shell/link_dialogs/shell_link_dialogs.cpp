#include "shell/link_dialogs/shell_link_dialogs.h"

#include <QApplication>

#include "platform/ui/modal.h"
#include "shell/app/kelvardin_app.h"
#include "shell/link_dialogs/excl_ctl_retry.h"

namespace {

QWidget* DialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    IMainFrame* frame = GetKelvardinApp().GetMainFrame();
    return frame ? frame->GetWindow() : nullptr;
}

}  // namespace

int CShellLinkDialogs::ExclusiveControlDenied() {
    CExclCtlRetry retry(DialogParent());
    return retry.DoModal() == CExclCtlRetry::kAbort ? kAbort : CExclCtlRetry::kRetry;
}

void CShellLinkDialogs::ShowMessage(const CString& text) {
    ModalMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

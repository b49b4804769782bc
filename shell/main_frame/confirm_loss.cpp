#include "shell/main_frame/confirm_loss.h"

#include "platform/ui/modal.h"
#include "res/string_table.h"

bool ConfirmLoss(UINT question) {
    return ModalMessageBox(LoadResString(question), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

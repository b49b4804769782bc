#include "shell/main_frame/changes_send.h"

#include "link/cv_data_send_all.h"
#include "platform/ui/modal.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/kelvardin_app.h"

std::unique_ptr<CSendAll> SendOfChanges() {
    return std::make_unique<CCVDataSendAll>([] { return GetKelvardinApp().GetKelvardinDoc(); });
}

bool CanSendChanges(CKelvardinDoc& doc) {
    CCVDataSendAll send([&doc] { return &doc; });
    send.Reset();
    CMessage first;
    if (send.BuildNext(first)) return true;
    ModalMessageBox(LoadResString(kIdsNothingToSend), MB_OK | MB_ICONINFORMATION);
    return false;
}

#include "shell/main_frame/changes_send.h"

#include "link/cv_data_send_all.h"
#include "shell/app/kelvardin_app.h"

std::unique_ptr<CSendAll> SendOfChanges() {
    return std::make_unique<CCVDataSendAll>([] { return GetKelvardinApp().GetKelvardinDoc(); });
}

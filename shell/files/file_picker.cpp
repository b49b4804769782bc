#include "shell/files/file_picker.h"

#include "platform/base/message_box.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/win_consts.h"
#include "shell/files/dlg_file_picker.h"

std::optional<CFilePickerChoice> PickFile(QWidget* parent, const CFilePickerRequest& request) {
    const DWORD flags = request.open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT;
    CDlgFilePicker picker(request.open, request.defaultExt, {}, flags, request.filter, parent);
    picker.setWindowTitle(ToQString(request.title));
    picker.SetInitialDir(request.folder);
    if (picker.DoModal() != IDOK) return std::nullopt;
    CFilePickerChoice choice{picker.GetPathName(), {}, false};
    choice.saveDirectory = picker.GetSaveDirectory(choice.folder) != FALSE;
    return choice;
}

#include "shell/app/app_screen_services.h"

#include "platform/base/message_box.h"
#include "shell/app/kelvardin_app.h"
#include "shell/files/dlg_file_picker.h"

CString CAppScreenServices::GetSetupDirectory() const {
    return m_app.GetSetupDirectory();
}

void CAppScreenServices::SetSetupDirectory(const CString& folder) {
    m_app.SetSetupDirectory(folder);
}

CString CAppScreenServices::GetLogDirectory() const {
    return m_app.GetLogDirectory();
}

CString CAppScreenServices::GetLastLogFile() const {
    return m_app.m_strLastLogFile;
}

std::optional<IScreenServices::SaveChoice> CAppScreenServices::PickSaveFile(UINT titleId,
                                                                            UINT filterId,
                                                                            const CString& defExt,
                                                                            const CString& folder) {
    CDlgSaveFile picker(0, titleId, CString(), defExt, filterId, m_parent);
    picker.SetInitialDir(folder);
    if (picker.DoModal() != IDOK) return std::nullopt;
    SaveChoice choice{picker.GetPathName(), std::nullopt};
    CString directory;
    if (picker.GetSaveDirectory(directory)) choice.newDirectory = directory;
    return choice;
}

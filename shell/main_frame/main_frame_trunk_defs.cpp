// What the trunk definitions screen asks of the main window beyond the other screens.
#include "shell/dialogs/trunk_pickers.h"
#include "shell/main_frame/main_frame_window.h"

int CMainFrame::SelectIntercom(int preselect, int excluded) {
    return PickTrunkIntercom(m_doc.get(), this, preselect, excluded);
}

bool CMainFrame::SelectAssign(CAssign& assign, int fixedIcom, int typeFilter, int excluded) {
    return PickTrunkAssign(m_doc.get(), this, assign, fixedIcom, typeFilter, excluded);
}

void CMainFrame::SetMaintenanceMode(int trunk) {
    SetMaintMode(trunk);
}

void CMainFrame::ClearMaintenanceMode(int trunk) {
    ClearMaintMode(trunk);
}

bool CMainFrame::IsCommandAvailable(UINT id) {
    // The window's own answer: the screen that asks is left out, or it would ask itself.
    CCmdUI update(id);
    return OnFrameCommand(id, &update) && update.IsEnabled();
}

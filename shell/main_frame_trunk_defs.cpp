// What the trunk definitions screen asks of the main window beyond the other screens.
#include "shell/main_frame_window.h"
#include "shell/trunk_pickers.h"

int CMainFrame::SelectIntercom(int preselect, int excluded) {
    return PickTrunkIntercom(m_doc.get(), this, preselect, excluded);
}

bool CMainFrame::SelectAssign(CAssign& assign, int fixedIcom, int typeFilter, int excluded) {
    return PickTrunkAssign(m_doc.get(), this, assign, fixedIcom, typeFilter, excluded);
}

// The maintenance operations come with the window's own Set and Clear Maintenance Mode
// commands; until the window carries those out, IsCommandAvailable keeps the screen's
// maintenance items greyed and these are never reached.
void CMainFrame::SetMaintenanceMode(int /*trunk*/) {}

void CMainFrame::ClearMaintenanceMode(int /*trunk*/) {}

bool CMainFrame::IsCommandAvailable(UINT id) {
    // The window's own answer: the screen that asks is left out, or it would ask itself.
    CCmdUI update(id);
    return OnFrameCommand(id, &update) && update.IsEnabled();
}

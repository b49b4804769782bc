#include "screens/base/edit_scopes.h"

#include "model/app_state.h"
#include "model/undo_host.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/screen_host.h"

CUndoGroupScope::CUndoGroupScope() : m_host(GetApp().GetUndoHost()) {
    if (m_host) m_host->BeginUndoGroup(true);
}

CUndoGroupScope::~CUndoGroupScope() {
    if (m_host) m_host->BeginUndoGroup(false);
}

CMoveDropScope::CMoveDropScope(const CKelvardinGridCtrl& grid, const COleDataObject* data)
    : m_host(grid.IsOwnDragMove(data) ? grid.GetHost() : nullptr) {
    if (m_host) m_host->SetMoveDrop(true);
}

CMoveDropScope::~CMoveDropScope() {
    if (m_host) m_host->SetMoveDrop(false);
}

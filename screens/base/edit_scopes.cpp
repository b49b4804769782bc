#include "screens/base/edit_scopes.h"

#include "model/app_state.h"
#include "model/undo_host.h"
#include "screens/base/screen_host.h"

CUndoGroupScope::CUndoGroupScope() : m_host(GetApp().GetUndoHost()) {
    if (m_host) m_host->BeginUndoGroup(true);
}

CUndoGroupScope::~CUndoGroupScope() {
    if (m_host) m_host->BeginUndoGroup(false);
}

CMoveDropScope::CMoveDropScope(IScreenHost* host, bool on) : m_host(on ? host : nullptr) {
    if (m_host) m_host->SetMoveDrop(true);
}

CMoveDropScope::~CMoveDropScope() {
    if (m_host) m_host->SetMoveDrop(false);
}

#include "shell/main_frame/command_basis.h"

#include "model/app_state.h"
#include "shell/main_frame/undo_history.h"

CCommandBasis::CCommandBasis(const CAppState& app, const CUndoHistory& undo)
    : m_app(app),
      m_undo(undo),
      m_nMode(app.GetMode()),
      m_nModeSets(app.GetModeSets()),
      m_nSessionChanges(app.GetSessionChanges()),
      m_nUndoClears(undo.GetClearCount()) {}

bool CCommandBasis::Holds() const {
    return m_app.GetMode() == m_nMode && m_app.GetModeSets() == m_nModeSets &&
           m_app.GetSessionChanges() == m_nSessionChanges &&
           m_undo.GetClearCount() == m_nUndoClears;
}

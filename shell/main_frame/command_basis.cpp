#include "shell/main_frame/command_basis.h"

#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "shell/main_frame/undo_history.h"

CCommandBasis::CCommandBasis(const CAppState& app, const CUndoHistory& undo)
    : m_app(app),
      m_undo(undo),
      m_nMode(app.GetMode()),
      m_session(CLinkSession::Of(app)),
      m_nUndoClears(undo.GetClearCount()) {}

CCommandBasis::CCommandBasis(const CAppState& app, const CUndoHistory& undo, CCVDataMgr& data,
                             const CUndoneCommand& sends)
    : m_app(app),
      m_undo(undo),
      m_data(&data),
      m_sends(sends),
      m_nMode(app.GetMode()),
      m_session(CLinkSession::Of(app)),
      m_nUndoClears(undo.GetClearCount()) {}

bool CCommandBasis::Holds() const {
    return m_app.GetMode() == m_nMode && CLinkSession::Of(m_app) == m_session &&
           m_undo.GetClearCount() == m_nUndoClears;
}

bool CCommandBasis::OkStands() const {
    if (Holds()) return true;
    if (m_data && m_sends) m_data->NoteUndone(*m_sends);
    return false;
}

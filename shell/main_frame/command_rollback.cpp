#include "shell/main_frame/command_rollback.h"

#include <QWidget>

#include <utility>

#include "link/cv_data_mgr.h"
#include "model/app_state.h"
#include "model/records.h"
#include "platform/ui/qt_convert.h"
#include "shell/app/kelvardin_app.h"

CCommandRollback::CCommandRollback(CKelvardinApp& app, CKelvardinDoc& doc, CUndoHistory& undo,
                                   QWidget& window, CDocPath docPath, unsigned keep)
    : m_app(app),
      m_doc(doc),
      m_undo(undo),
      m_window(window),
      m_docPath(std::move(docPath)),
      m_nMode(app.GetMode()),
      m_strPath(m_docPath.path),
      m_bIsFile(m_docPath.isFile),
      m_strTitle(FromQString(window.windowTitle())),
      m_nUndoClears(undo.GetClearCount()),
      m_nModeSets(app.GetModeSets()) {
    if (keep & kFileMarks) m_marks = doc.SaveFlagMarks(CCVObject::kInFile);
    if (keep & kSetup) {
        m_config = app.GetConfig();
        m_setup.emplace(doc);
    }
    if (keep & kUndo) m_steps = undo.TakeSteps();
}

CCommandRollback::~CCommandRollback() {
    Restore();
}

void CCommandRollback::SetMode(int mode) {
    m_app.SetCommandMode(mode);
}

void CCommandRollback::Commit() {
    m_bDone = true;
    m_setup.reset();
}

void CCommandRollback::Restore() {
    if (std::exchange(m_bDone, true) || m_undo.GetClearCount() != m_nUndoClears) return;
    const bool modeSetElsewhere = m_app.GetModeSets() != m_nModeSets;
    // The configuration sizes the setup, so it comes back first.
    if (m_config) m_app.GetConfig().TakeBack(*m_config);
    if (m_setup) m_doc.RestoreSnapshot(*m_setup);
    if (m_marks) m_doc.RestoreFlagMarks(*m_marks);
    if (m_steps) m_undo.PutBack(std::move(*m_steps));
    m_docPath.path = m_strPath;
    m_docPath.isFile = m_bIsFile;
    if (modeSetElsewhere) {
        m_docPath.showTitle();
        return;
    }
    m_window.setWindowTitle(ToQString(m_strTitle));
    SetMode(m_nMode);
    // A command that took the link offline before it failed gives it the setup back.
    CCVDataMgr& data = m_app.GetDataMgr();
    if (m_nMode == CAppState::kModeOnline && !data.IsOnline()) data.GoOnline();
}

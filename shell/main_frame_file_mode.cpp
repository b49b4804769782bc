// The way out of ONLINE mode, to a default setup in FILE mode.
#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "res/string_table.h"
#include "shell/dlg_confirm_size.h"
#include "shell/kelvardin_app.h"
#include "shell/main_frame_window.h"

namespace {

constexpr UINT kUntitled = 2158;

// When the saved default configuration differs from the live one, the user chooses which one
// the default setup takes.
void ChooseConfiguration(CKelvardinApp& app, QWidget* parent) {
    CCVConfig saved;
    saved.LoadFromRegistry(app.GetProfile());
    CCVConfig& live = app.GetConfig();
    if (saved == live) return;
    CDlgConfirmSize dlg(parent);
    if (dlg.DoModal() != IDOK) return;
    if (dlg.m_nChoice == CDlgConfirmSize::kUseDefault) {
        live.LoadFromRegistry(app.GetProfile());
    } else if (dlg.m_bMakeDefault) {
        live.SaveToRegistry(app.GetProfile());
    }
}

}  // namespace

void CMainFrame::EnterFileMode() {
    ClearUndoRedo();
    m_history.Clear();
    ChooseConfiguration(m_app, DialogParent());
    m_app.SetMode(CAppState::kModeFile);
    m_app.GetDataMgr().GoOffline();
    m_doc->ResetToDefaultSetup();
    SetFrameTitle(LoadResString(kUntitled));
}

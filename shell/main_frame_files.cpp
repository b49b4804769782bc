// The main window's file commands: a new setup, opening, merging and loading a setup file,
// saving it whole or in part, and the way out of ONLINE mode.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "link/cv_data_mgr.h"
#include "model/file_error.h"
#include "model/kelvardin_doc.h"
#include "model/partial_save_selection.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "platform/ui/win_consts.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/dlg_confirm_size.h"
#include "shell/dlg_file_description.h"
#include "shell/dlg_file_picker.h"
#include "shell/dlg_save_as_online_progress.h"
#include "shell/kelvardin_app.h"
#include "shell/main_frame_window.h"
#include "shell/partial_save_sheet.h"
#include "shell/polling_pause.h"

namespace {

// The picker kinds, which the pickers give as their help context.
constexpr UINT kKindPartialSave = 103;
constexpr UINT kKindPartialSaveOnline = 104;
constexpr UINT kKindSaveNamed = 105;
constexpr UINT kKindSaveUntitled = 106;
constexpr UINT kKindSaveOnline = 107;
constexpr UINT kKindOpen = 108;
constexpr UINT kKindOpenOnline = 109;
constexpr UINT kKindMerge = 110;
constexpr UINT kKindLoad = 111;

constexpr char16_t kExtension[] = u"kvd";

// A question about losing changes: only OK goes on.
bool ConfirmLoss(UINT id) {
    return ModalMessageBox(LoadResString(id), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

CString FileNameOf(const CString& path) {
    return FromQString(QFileInfo(ToQString(path)).fileName());
}

// The local file a drag carries, when it carries exactly one.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

bool CMainFrame::HasChanges() const {
    return m_doc->FindModifiedTrunk() >= 0 || m_doc->FindModifiedIcom() >= 0 ||
           m_doc->FindModifiedOptions() >= 0 || m_doc->FindModifiedGroup() >= 0;
}

void CMainFrame::SetDocumentPath(const CString& path, BOOL isFile) {
    m_strDocPath = path;
    m_bPathIsFile = isFile;
    SetFrameTitle(m_strDocPath);
}

void CMainFrame::ClearHistory() {
    m_history.Clear();
}

void CMainFrame::OnNew() {
    const bool online = m_app.GetMode() == CAppState::kModeOnline;
    UINT question = 0;
    if (HasChanges()) {
        question = online ? kIdsNewOnlineChanges : kIdsNewChanges;
    } else if (online) {
        question = kIdsNewOnline;
    }
    if (question != 0 && !ConfirmLoss(question)) return;
    EnterFileMode();
}

void CMainFrame::ChooseConfiguration() {
    CCVConfig saved;
    saved.LoadFromRegistry(m_app.GetProfile());
    CCVConfig& live = m_app.GetConfig();
    if (saved == live) return;
    CDlgConfirmSize dialog(DialogParent());
    dialog.DoModal();
    if (dialog.m_nChoice == CDlgConfirmSize::kUseDefault) {
        live.LoadFromRegistry(m_app.GetProfile());
    } else if (dialog.m_bMakeDefault) {
        live.SaveToRegistry(m_app.GetProfile());
    }
}

void CMainFrame::EnterFileMode() {
    ClearUndoRedo();
    ClearHistory();
    ChooseConfiguration();
    m_app.SetMode(CAppState::kModeFile);
    m_app.GetDataMgr().GoOffline();
    m_doc->ResetToDefaultSetup();
    SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
}

void CMainFrame::OnOpen() {
    AskAndOpen(nullptr);
}

void CMainFrame::OpenFile(const CString& path) {
    if (m_app.IsCommandEnabled(ID_FILE_OPEN)) AskAndOpen(&path);
}

void CMainFrame::AskAndOpen(const CString* path) {
    const bool online = m_app.GetMode() == CAppState::kModeOnline;
    UINT question = 0;
    if (HasChanges()) {
        question = online ? kIdsOpenOnlineChanges : kIdsOpenChanges;
    } else if (online) {
        question = kIdsOpenOnline;
    }
    if (question != 0 && !ConfirmLoss(question)) return;
    ChooseConfiguration();
    m_nPickerTitle = m_nPickerOkText = kIdsOpen;
    m_nPickerKind = online ? kKindOpenOnline : kKindOpen;
    OpenSetupFile(TRUE, path);
}

void CMainFrame::OnMergeOrLoad(UINT id) {
    if (!m_app.IsCommandEnabled(id)) return;
    const int mode = m_app.GetMode();
    if (HasChanges() &&
        !ConfirmLoss(mode == CAppState::kModeOnline ? kIdsLoadChanges : kIdsMergeChanges))
        return;
    if (mode == CAppState::kModeFile) {
        m_nPickerKind = kKindMerge;
        m_nPickerTitle = kIdsMergeTitle;
        m_nPickerOkText = kIdsMerge;
    } else if (mode == CAppState::kModeOnline) {
        m_nPickerKind = kKindLoad;
        m_nPickerTitle = kIdsLoadTitle;
        m_nPickerOkText = kIdsLoad;
    } else {
        return;
    }
    OpenSetupFile(FALSE);
}

BOOL CMainFrame::OpenSetupFile(BOOL replace, const CString* given) {
    // A file given is tried once; a chosen one that cannot be read sends the user back to
    // the picker.
    for (;;) {
        CString path;
        if (given) {
            path = *given;
        } else {
            CKelvardinApp::PrepareDirectory(m_app.GetSetupDirectory());
            CDlgOpenFile picker(m_nPickerKind, m_nPickerTitle, m_nPickerOkText, {}, kIdsOpenFilter,
                                OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, kExtension, this);
            picker.SetInitialDir(m_app.GetSetupDirectory());
            if (picker.DoModal() != IDOK) return FALSE;
            path = picker.GetPathName();
            if (CString folder; picker.GetSaveDirectory(folder)) m_app.SetSetupDirectory(folder);
        }
        CPartialSaveSelection selection;
        int contents = kFileFailed;
        {
            CWaitCursor wait;
            contents = m_app.ReadSetupFileContents(path, selection);
        }
        if (contents == kFileNoMemory) return FALSE;
        if (contents == kFileDone) {
            CDlgFileDescription description(&selection, !replace, FileNameOf(path), this);
            if (description.DoModal() == IDOK) return LoadChosenFile(path, selection, replace);
        }
        if (given) return FALSE;
    }
}

BOOL CMainFrame::LoadChosenFile(const CString& path, const CPartialSaveSelection& selection,
                                BOOL replace) {
    CCVDataMgr& data = m_app.GetDataMgr();
    const CCVConfig config = m_app.GetConfig();
    const int mode = m_app.GetMode();
    const bool online = mode == CAppState::kModeOnline;
    if (online) {
        data.GoOffline();
        if (replace) m_app.SetMode(CAppState::kModeFile);
    }
    int result = kFileFailed;
    {
        CWaitCursor wait;
        result = m_app.LoadSetupFile(path, replace ? 0 : 1, selection);
    }
    // A damaged file has given what was whole before its end.
    const BOOL loaded = result == kFileDone || result == kFileIncomplete;
    // The reader leaves the setup alone when the file turns out to be none.
    const bool setupKept = result == kFileNotSetup;
    bool askController = false;
    if (!loaded) {
        m_app.SetMode(mode);
        m_app.GetConfig() = config;
        if (replace) {
            ClearUndoRedo();
            if (online) {
                // The ONLINE setup stays; what the reader replaced comes from the controller.
                if (!setupKept) m_doc->ResetToDefaultSetup();
                askController = !setupKept;
                SetFrameTitle();
            } else {
                // The reader may have sized the setup for the file's configuration and read
                // part of it: what is left must neither claim the file's name nor be saved
                // over it.
                m_doc->ResetToDefaultSetup();
                SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
            }
        }
    } else {
        ClearUndoRedo();
        if (replace) {
            ClearHistory();
            // What was read of a damaged file must never be saved over it.
            if (result == kFileDone) {
                SetDocumentPath(path, TRUE);
            } else {
                SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
            }
        }
    }
    if (m_app.GetMode() == CAppState::kModeOnline) {
        data.GoOnline();
        if (!loaded) {
            m_doc->ClearAllChanges();
            if (askController) data.StartUpload();
            data.RefreshAlphas();
        }
    }
    return loaded;
}

void CMainFrame::OnPartialSave() {
    SaveSetupFile(TRUE, FALSE);
}

void CMainFrame::SaveSetupFile(BOOL partial, BOOL saveAs) {
    if (!partial && m_doc->IsPartialFile()) {
        switch (ModalMessageBox(LoadResString(kIdsPartialFile), MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES: partial = TRUE; break;
            case IDNO: saveAs = TRUE; break;
            default: return;
        }
    }
    CCVDataMgr& data = m_app.GetDataMgr();
    if (partial) {
        // Before the pause: the names the sheet lists come from the controller while it shows.
        CPartialSaveSheet sheet(m_doc.get(), this);
        if (sheet.DoModal() != IDOK) return;
    }
    CPollingPause pause(data);
    data.StartUpload();
    if (m_app.GetMode() == CAppState::kModeOnline) {
        m_nPickerTitle = partial ? kIdsPartialSaveOnline : kIdsSaveOnline;
        m_nPickerKind = partial ? kKindPartialSaveOnline : kKindSaveOnline;
    } else if (partial) {
        m_nPickerTitle = kIdsPartialSave;
        m_nPickerKind = kKindPartialSave;
    } else {
        m_nPickerTitle = saveAs ? kIdsSaveAs : kIdsSave;
        m_nPickerKind = m_bPathIsFile ? kKindSaveNamed : kKindSaveUntitled;
    }
    WriteSetupFile(saveAs, partial, pause);
    pause.Resume();
    m_doc->UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

void CMainFrame::WriteSetupFile(BOOL saveAs, BOOL partial, CPollingPause& pause) {
    CCVDataMgr& data = m_app.GetDataMgr();
    const CString oldPath = m_strDocPath;
    const BOOL oldIsFile = m_bPathIsFile;
    const int mode = m_app.GetMode();

    CString path;
    if (!saveAs && m_bPathIsFile && mode == CAppState::kModeFile) {
        int answer = IDYES;
        if (m_app.m_bConfirmFileName) {
            answer = ModalMessageBox(
                SubstituteArgs(LoadResString(kIdsConfirmFileName).str(), {m_strDocPath}),
                MB_YESNOCANCEL | MB_ICONQUESTION);
        }
        if (answer == IDYES) {
            path = m_strDocPath;
        } else if (answer == IDNO) {
            m_nPickerTitle = kIdsSaveAs;
        } else {
            return;
        }
    }
    if (path.IsEmpty()) {
        CKelvardinApp::PrepareDirectory(m_app.GetSetupDirectory());
        CDlgSaveFile picker(m_nPickerKind, m_nPickerTitle, {}, kExtension, kIdsSaveFilter, this);
        picker.SetInitialDir(m_app.GetSetupDirectory());
        if (picker.DoModal() != IDOK) {
            data.ClearPendingRequests();
            return;
        }
        path = picker.GetPathName();
        if (CString folder; picker.GetSaveDirectory(folder)) m_app.SetSetupDirectory(folder);
        if (mode == CAppState::kModeFile) {
            m_strDocPath = path;
            m_bPathIsFile = TRUE;
        }
    }

    BOOL clearAfter = TRUE;
    if (mode == CAppState::kModeOnline) {
        const int stay =
            ModalMessageBox(LoadResString(kIdsStayOnline), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (stay != IDYES && stay != IDNO) {
            data.ClearPendingRequests();
            return;
        }
        pause.Resume();
        CDlgSaveAsOnlineProgress progress(this);
        if (RunOperation(progress) != IDOK) {
            data.ClearPendingRequests();
            return;
        }
        // The upload ends when its last request has gone out: the last replies may still wait
        // to be taken into the setup that is about to be written.
        while (data.HasWaitingReplies())
            data.OnResponse(m_doc.get());
        if (stay == IDNO) {
            m_strDocPath = path;
            m_bPathIsFile = TRUE;
            m_app.SetMode(CAppState::kModeFile);
            data.GoOffline();
        } else {
            // The changes stay to be sent.
            clearAfter = FALSE;
        }
    }

    ClearUndoRedo();
    if (partial) {
        m_doc->SetFlagOnAll(CCVObject::kInFile, FALSE);
        m_doc->SetFlagOnFlagged(CCVObject::kPartialChoice, CCVObject::kInFile);
    } else {
        m_doc->SetFlagOnAll(CCVObject::kInFile, TRUE);
        if (!m_app.m_bIncludeAlphasInSetupFiles)
            m_doc->SetFlagOnType(CObjSpec::kAlpha, CCVObject::kInFile, FALSE);
    }
    BOOL saved = FALSE;
    {
        CWaitCursor wait;
        saved = m_app.SaveSetupFile(path, clearAfter, partial);
    }
    if (!saved) {
        m_strDocPath = oldPath;
        m_bPathIsFile = oldIsFile;
    }
    if (!partial) m_doc->SetFlagOnAll(CCVObject::kInFile, FALSE);
    // Leaving ONLINE for the file the setup came from changes the title, not the path.
    if (m_strDocPath != oldPath || m_app.GetMode() != mode) SetFrameTitle(m_strDocPath);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    // Opened once the drop has ended: its questions must not run inside the drag.
    QMetaObject::invokeMethod(
        this, [this, path = FromQString(file)] { OpenFile(path); }, Qt::QueuedConnection);
}

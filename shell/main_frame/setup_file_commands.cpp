#include "shell/main_frame/setup_file_commands.h"

#include <QFileInfo>
#include <QWidget>

#include <optional>
#include <utility>

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
#include "shell/app/kelvardin_app.h"
#include "shell/dialogs/dlg_send_all_list.h"
#include "shell/files/dlg_confirm_size.h"
#include "shell/files/dlg_file_description.h"
#include "shell/files/dlg_file_picker.h"
#include "shell/link_dialogs/dlg_save_as_online_progress.h"
#include "shell/link_dialogs/dlg_send_progress.h"
#include "shell/main_frame/changes_send.h"
#include "shell/main_frame/command_basis.h"
#include "shell/main_frame/confirm_loss.h"
#include "shell/main_frame/dialog_parent.h"
#include "shell/main_frame/polling_pause.h"
#include "shell/main_frame/undo_history.h"
#include "shell/nav/nav_history.h"
#include "shell/sheets/partial_save_sheet.h"

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
constexpr UINT kKindSendFile = 112;

constexpr char16_t kExtension[] = u"kvd";

CString FileNameOf(const CString& path) {
    return FromQString(QFileInfo(ToQString(path)).fileName());
}

CString FolderOf(const CString& path) {
    return FromQString(QFileInfo(ToQString(path)).absolutePath());
}

}  // namespace

CSetupFileCommands::CSetupFileCommands(CKelvardinApp& app, CKelvardinDoc& doc, CUndoHistory& undo,
                                       CNavHistory& navigation, QWidget& window,
                                       OperationRunner runOperation)
    : m_app(app),
      m_doc(doc),
      m_undo(undo),
      m_navigation(navigation),
      m_window(window),
      m_runOperation(std::move(runOperation)) {
    SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
}

bool CSetupFileCommands::HasChanges() const {
    return m_doc.HasModifications() != FALSE;
}

void CSetupFileCommands::SetDocumentPath(const CString& path, BOOL isFile) {
    m_strDocPath = path;
    m_bPathIsFile = isFile;
    SetFrameTitle(m_strDocPath);
}

void CSetupFileCommands::SetFrameTitle(const CString& name) {
    m_window.setWindowTitle(ToQString(LoadResString(kIdsAppTitle) + u" - [" + name + u"]"));
}

void CSetupFileCommands::SetFrameTitle() {
    SetFrameTitle(u"ONLINE");
}

void CSetupFileCommands::New() {
    const bool online = m_app.GetMode() == CAppState::kModeOnline;
    if (online && HasChanges()) {
        if (LetUnsentChangesGo(kIdsNewOnlineUnsent)) EnterFileMode();
        return;
    }
    UINT question = 0;
    if (HasChanges()) {
        question = kIdsNewChanges;
    } else if (online) {
        question = kIdsNewOnline;
    }
    if (question != 0 && !ConfirmLoss(question)) return;
    EnterFileMode();
}

std::optional<CCVConfig> CSetupFileCommands::ChooseConfiguration() {
    CCVConfig saved;
    saved.LoadFromRegistry(m_app.GetProfile());
    const CCVConfig& live = m_app.GetConfig();
    if (saved == live) return std::nullopt;
    CDlgConfirmSize dialog(DialogParent(m_window));
    dialog.DoModal();
    if (dialog.m_nChoice == CDlgConfirmSize::kUseDefault) {
        CCVConfig chosen = live;
        chosen.LoadFromRegistry(m_app.GetProfile());
        return chosen;
    }
    if (dialog.m_bMakeDefault) live.SaveToRegistry(m_app.GetProfile());
    return std::nullopt;
}

void CSetupFileCommands::EnterFileMode() {
    m_undo.Clear();
    m_navigation.Clear();
    const std::optional<CCVConfig> chosen = ChooseConfiguration();
    m_app.SetMode(CAppState::kModeFile);
    m_app.GetDataMgr().GoOffline();
    if (chosen) m_app.GetConfig() = *chosen;
    m_doc.ResetToDefaultSetup();
    SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
}

void CSetupFileCommands::Open() {
    AskAndOpen(nullptr);
}

bool CSetupFileCommands::OpenFile(const CString& path) {
    return m_app.IsCommandEnabled(ID_FILE_OPEN) && AskAndOpen(&path);
}

bool CSetupFileCommands::AskAndOpen(const CString* path) {
    const bool online = m_app.GetMode() == CAppState::kModeOnline;
    if (online && HasChanges()) {
        if (!LetUnsentChangesGo(kIdsOpenOnlineUnsent)) return false;
    } else if (HasChanges()) {
        if (!ConfirmLoss(kIdsOpenChanges)) return false;
    } else if (online && !ConfirmLoss(kIdsOpenOnline)) {
        return false;
    }
    // The configuration chosen is the setup's only once a file has been read with it: until
    // then the link compares the controller's status with the live one.
    const std::optional<CCVConfig> chosen = ChooseConfiguration();
    m_nPickerTitle = m_nPickerOkText = kIdsOpen;
    m_nPickerKind = online ? kKindOpenOnline : kKindOpen;
    return OpenSetupFile(TRUE, chosen ? *chosen : m_app.GetConfig(), path) != FALSE;
}

void CSetupFileCommands::MergeOrLoad(UINT id) {
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
    OpenSetupFile(FALSE, m_app.GetConfig());
}

BOOL CSetupFileCommands::OpenSetupFile(BOOL replace, const CCVConfig& opensWith,
                                       const CString* given, const CCommandBasis* basis) {
    // A file given is tried once; a chosen one that cannot be read sends the user back to
    // the picker, in the folder of that file.
    CString folder = m_app.GetSetupDirectory();
    const auto stands = [basis] { return !basis || basis->OkStands(); };
    for (;;) {
        CString path;
        if (given) {
            path = *given;
        } else {
            CKelvardinApp::PrepareDirectory(folder);
            CDlgOpenFile picker(m_nPickerKind, m_nPickerTitle, m_nPickerOkText, {}, kIdsOpenFilter,
                                OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, kExtension, &m_window);
            picker.SetInitialDir(folder);
            if (picker.DoModal() != IDOK || !stands()) return FALSE;
            path = picker.GetPathName();
            if (CString chosen; picker.GetSaveDirectory(chosen)) m_app.SetSetupDirectory(chosen);
            folder = FolderOf(path);
        }
        CPartialSaveSelection selection(opensWith);
        int contents = kFileFailed;
        {
            CWaitCursor wait;
            contents = m_app.ReadSetupFileContents(path, selection);
        }
        if (contents == kFileNoMemory) return FALSE;
        if (contents == kFileDone) {
            CDlgFileDescription description(&selection, opensWith, !replace, FileNameOf(path),
                                            &m_window);
            if (description.DoModal() == IDOK)
                return stands() && LoadChosenFile(path, selection, replace);
        }
        if (given) return FALSE;
    }
}

BOOL CSetupFileCommands::LoadChosenFile(const CString& path, const CPartialSaveSelection& selection,
                                        BOOL replace) {
    CCVDataMgr& data = m_app.GetDataMgr();
    // Nothing but the load reaches the setup from here to its end.
    CCommandRollback rollback = Rollback(CCommandRollback::kSetup | CCommandRollback::kUndo);
    if (m_app.GetMode() == CAppState::kModeOnline) data.GoOffline();
    // A file opened is the setup until the user chooses Connect: a connect under way is given
    // up rather than let the controller's setup replace it.
    if (replace) rollback.SetMode(CAppState::kModeFile);
    int result = kFileFailed;
    {
        CWaitCursor wait;
        result = m_app.LoadSetupFile(path, replace ? 0 : 1, selection);
    }
    // A damaged file has given what was whole before its end.
    if (result != kFileDone && result != kFileIncomplete) {
        // Not a setup, or read in part: the setup, its changes and the mode are as before.
        rollback.Restore();
        return FALSE;
    }
    rollback.Commit();
    if (replace) {
        m_navigation.Clear();
        // What was read of a damaged file must never be saved over it.
        if (result == kFileDone) {
            SetDocumentPath(path, TRUE);
        } else {
            SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
        }
    }
    if (m_app.GetMode() == CAppState::kModeOnline) data.GoOnline();
    return TRUE;
}

CCommandRollback CSetupFileCommands::Rollback(unsigned keep) {
    return {m_app, m_doc, m_undo, m_window, {m_strDocPath, m_bPathIsFile, [this] { ShowTitle(); }},
            keep};
}

void CSetupFileCommands::ShowTitle() {
    if (m_app.GetMode() == CAppState::kModeOnline) {
        SetFrameTitle();
    } else {
        SetFrameTitle(m_strDocPath);
    }
}

void CSetupFileCommands::Save(BOOL partial, BOOL saveAs) {
    if (!partial && m_doc.IsPartialFile()) {
        switch (ModalMessageBox(LoadResString(kIdsPartialFile), MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES: partial = TRUE; break;
            case IDNO: saveAs = TRUE; break;
            default: return;
        }
    }
    CCVDataMgr& data = m_app.GetDataMgr();
    if (partial) {
        // Before the pause: the names the sheet lists come from the controller while it shows.
        CPartialSaveSheet sheet(&m_doc, &m_window);
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
    m_doc.UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

void CSetupFileCommands::WriteSetupFile(BOOL saveAs, BOOL partial, CPollingPause& pause) {
    CCVDataMgr& data = m_app.GetDataMgr();
    const CString oldPath = m_strDocPath;
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
        const std::optional<CString> chosen = ChooseSavePath(m_nPickerKind, m_nPickerTitle);
        if (!chosen) {
            data.ClearPendingRequests();
            return;
        }
        path = *chosen;
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
        CDlgSaveAsOnlineProgress progress(&m_window);
        if (m_runOperation(progress) != IDOK) {
            // An upload that failed has ended, and what is asked for now is not its own.
            if (data.IsUploading()) data.ClearPendingRequests();
            return;
        }
        // The changes stay to be sent.
        if (stay == IDYES) clearAfter = FALSE;
    }

    // From here only the write changes the setup. One that fails leaves the mode, the path and
    // the title as they were: the setup of an ONLINE save is the controller's again, never the
    // file named before.
    CCommandRollback rollback = Rollback(CCommandRollback::kFileMarks | CCommandRollback::kUndo);
    if (mode == CAppState::kModeFile) {
        m_strDocPath = path;
        m_bPathIsFile = TRUE;
    }
    if (mode == CAppState::kModeOnline && clearAfter) {
        m_strDocPath = path;
        m_bPathIsFile = TRUE;
        rollback.SetMode(CAppState::kModeFile);
        data.GoOffline();
    }
    if (partial) {
        m_doc.SetFlagOnAll(CCVObject::kInFile, FALSE);
        m_doc.SetFlagOnFlagged(CCVObject::kPartialChoice, CCVObject::kInFile);
    } else {
        m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
        if (!m_app.m_bIncludeAlphasInSetupFiles)
            m_doc.SetFlagOnType(CObjSpec::kAlpha, CCVObject::kInFile, FALSE);
    }
    if (!SaveMarked(path, clearAfter, partial)) return;
    rollback.Commit();
    if (!partial) m_doc.SetFlagOnAll(CCVObject::kInFile, FALSE);
    // Leaving ONLINE for the file the setup came from changes the title, not the path.
    if (m_strDocPath != oldPath || m_app.GetMode() != mode) SetFrameTitle(m_strDocPath);
}

void CSetupFileCommands::SendFile() {
    const CCommandBasis basis(m_app, m_undo, m_app.GetDataMgr(), CUndoneCommand::kSendFile);
    if ((HasChanges() && !ConfirmLoss(kIdsSendFileChanges)) || !basis.OkStands()) return;
    // Until a send is tried, the changes let go and the file's differences are taken back.
    CCommandRollback rollback = Rollback(CCommandRollback::kSetup | CCommandRollback::kUndo);
    m_doc.ClearAllChanges();
    m_nPickerKind = kKindSendFile;
    m_nPickerTitle = m_nPickerOkText = kIdsSend;
    // A file is merged only for the controller the send was chosen for.
    if (OpenSetupFile(FALSE, m_app.GetConfig(), nullptr, &basis) && basis.OkStands() &&
        CanSendChanges(m_doc)) {
        CDlgSendAllList list(m_doc, &m_window);
        if (basis.Accepted(list)) {
            rollback.Commit();
            // A send that fails keeps what it did not deliver marked, to be sent again.
            CDlgSendProgress progress(basis.Session(), SendOfChanges(), kIdsSendFile,
                                      kIdsSendFilePrompt, &m_window);
            m_runOperation(progress);
        }
    }
    rollback.Restore();
    m_app.GetDataMgr().RefreshAlphas();
    m_doc.UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

// The controller cannot be asked for the rest of its setup: the changed records are written
// as a partial setup file, which Load File later marks as changes again.
bool CSetupFileCommands::SaveChangedRecords() {
    const std::optional<CString> path =
        ChooseSavePath(kKindPartialSaveOnline, kIdsPartialSaveOnline);
    if (!path) return false;
    // What a file that was read said it held stays for the next save, and one that was not
    // written changes nothing.
    CCommandRollback marks = Rollback(CCommandRollback::kFileMarks);
    m_doc.SetFlagOnAll(CCVObject::kInFile, FALSE);
    m_doc.SetFlagOnFlagged(CCVObject::kChanged, CCVObject::kInFile);
    if (!SaveMarked(*path, FALSE, TRUE)) return false;
    marks.Commit();
    return true;
}

bool CSetupFileCommands::SaveMarked(const CString& path, BOOL clearAfter, BOOL partial) {
    CWaitCursor wait;
    return m_app.SaveSetupFile(path, clearAfter, partial) != FALSE;
}

bool CSetupFileCommands::LetUnsentChangesGo(UINT question) {
    // The link may leave the mode or replace the setup while the question or the save is open:
    // a save given up then asks no more, and the changes stay.
    const CCommandBasis basis(m_app, m_undo);
    return AskAboutUnsentChanges(question, MB_YESNOCANCEL, [&] { return basis.Holds(); });
}

void CSetupFileCommands::OfferUnsentChanges(UINT question) {
    AskAboutUnsentChanges(question, MB_YESNO);
}

bool CSetupFileCommands::AskAboutUnsentChanges(UINT question, UINT buttons,
                                               const std::function<bool()>& stillAsked) {
    if (!HasChanges()) return true;
    for (;;) {
        switch (ModalMessageBox(LoadResString(question), buttons | MB_ICONEXCLAMATION)) {
            case IDNO: return true;
            case IDYES:
                if (SaveChangedRecords()) return true;
                break;
            default: return false;
        }
        if (stillAsked && !stillAsked()) return false;
    }
}

bool CSetupFileCommands::DropUnsentChanges(UINT question) {
    if (!HasChanges()) return true;
    if (!LetUnsentChangesGo(question)) return false;
    m_undo.Clear();
    m_doc.ClearAllChanges();
    m_doc.UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
    return true;
}

void CSetupFileCommands::ForgetDocumentPath() {
    SetDocumentPath(LoadResString(kIdsUntitled), FALSE);
}

std::optional<CString> CSetupFileCommands::ChooseSavePath(UINT kind, UINT title) {
    CKelvardinApp::PrepareDirectory(m_app.GetSetupDirectory());
    CDlgSaveFile picker(kind, title, {}, kExtension, kIdsSaveFilter, &m_window);
    picker.SetInitialDir(m_app.GetSetupDirectory());
    if (picker.DoModal() != IDOK) return std::nullopt;
    if (CString folder; picker.GetSaveDirectory(folder)) m_app.SetSetupDirectory(folder);
    return picker.GetPathName();
}

#pragma once

#include <functional>
#include <optional>

#include "model/cv_config.h"
#include "model/kelvardin_doc.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"
#include "shell/main_frame/command_rollback.h"

class CCommandBasis;
class CKelvardinApp;
class CKelvardinDialog;
class CNavHistory;
class CPartialSaveSelection;
class CPollingPause;
class CUndoHistory;
class QWidget;

// The setup-file commands of the main window: a new setup, opening, merging, loading and
// sending a setup file, saving it whole or in part, the way out of ONLINE mode, and the
// document's path with the window title that shows it.
class CSetupFileCommands {
public:
    // Runs a progress dialog (a send or an upload) modally as the running operation.
    using OperationRunner = std::function<int(CKelvardinDialog&)>;

    CSetupFileCommands(CKelvardinApp& app, CKelvardinDoc& doc, CUndoHistory& undo,
                       CNavHistory& navigation, QWidget& window, OperationRunner runOperation);

    void New();
    void Open();
    // Open with the file given instead of the picker (a file dropped on the window, the
    // command line); true when the file, whole or in part, is now the setup.
    bool OpenFile(const CString& path);
    // Merge in FILE mode, Load in ONLINE mode.
    void MergeOrLoad(UINT id);
    // The save behind Save, Save As and Partial Save.
    void Save(BOOL partial, BOOL saveAs);
    void SendFile();
    // Leaves ONLINE mode and starts a default setup, asking which configuration it uses when
    // the saved default differs from the live one.
    void EnterFileMode();
    // Writes the changed records as a partial setup file the user names; false when none was
    // written.
    bool SaveChangedRecords();
    // Before the controller is left with changes not sent to it, the question (Yes, No,
    // Cancel): Yes saves them first, as often as a save is given up while the mode and the
    // setup stand as they were asked about. False when the user stays or the question no longer
    // stands; true at once without changes.
    bool LetUnsentChangesGo(UINT question);
    // For a setup that goes whatever the answer: the question with Yes and No only, Yes saving
    // the changes first, as often as a save is given up.
    void OfferUnsentChanges(UINT question);
    // As LetUnsentChangesGo, for a link opened again elsewhere: the changes let go are no
    // longer marked, so that what the next controller holds is shown.
    bool DropUnsentChanges(UINT question);
    // The setup is no longer the file it came from: Save asks for a name.
    void ForgetDocumentPath();

    // Whether a record of the setup has changed.
    bool HasChanges() const;
    // Whether the setup came from or went to a named file (else it is "Untitled").
    bool IsPathFile() const { return m_bPathIsFile != FALSE; }
    const CString& GetPath() const { return m_strDocPath; }
    // "Kelvardin - [name]"; without a name, "ONLINE".
    void SetFrameTitle(const CString& name);
    void SetFrameTitle();

private:
    // The configuration the user chooses for a new setup or a file to open when the saved
    // default differs from the live one: the saved default, or none for the live one. The
    // live one is the link's to compare with the controller's status until the controller
    // is left, so it is not changed here.
    std::optional<CCVConfig> ChooseConfiguration();
    // The question about unsent changes with the buttons given; false when the user stays.
    bool AskAboutUnsentChanges(UINT question, UINT buttons,
                               const std::function<bool()>& stillAsked = {});
    bool AskAndOpen(const CString* path);
    // The picker loop and the load; true when a file was loaded. The file is described
    // against, and with replace read into, the configuration given, which outlives the call.
    // With a basis, the loop ends unloaded once the basis no longer holds after one of its
    // dialogs.
    BOOL OpenSetupFile(BOOL replace, const CCVConfig& opensWith, const CString* given = nullptr,
                       const CCommandBasis* basis = nullptr);
    BOOL LoadChosenFile(const CString& path, const CPartialSaveSelection& selection, BOOL replace);
    void WriteSetupFile(BOOL saveAs, BOOL partial, CPollingPause& pause);
    // Saves what carries 0x4000.
    bool SaveMarked(const CString& path, BOOL clearAfter, BOOL partial);
    // What a command is about to change, put back should it fail.
    CCommandRollback Rollback(unsigned keep);
    // The title for the path, or "ONLINE" in ONLINE mode.
    void ShowTitle();
    // The save picker in the setup folder, which follows the folder chosen; none on Cancel.
    std::optional<CString> ChooseSavePath(UINT kind, UINT title);
    void SetDocumentPath(const CString& path, BOOL isFile);

    CKelvardinApp& m_app;
    CKelvardinDoc& m_doc;
    CUndoHistory& m_undo;
    CNavHistory& m_navigation;
    QWidget& m_window;
    OperationRunner m_runOperation;
    CString m_strDocPath;
    BOOL m_bPathIsFile = FALSE;
    // The picker's title and OK text (string ids) and its kind, the help context it gives.
    UINT m_nPickerTitle = 0;
    UINT m_nPickerOkText = 0;
    UINT m_nPickerKind = 0;
};

#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "link/cv_data_mgr.h"
#include "link/message_pump.h"
#include "model/app_state.h"
#include "platform/ui/log_font.h"
#include "platform/ui/ui_environment.h"
#include "shell/app/command_line_info.h"
#include "shell/io/controller_log.h"
#include "shell/link_dialogs/shell_link_dialogs.h"
#include "shell/main_frame/main_frame.h"
#include "shell/search/search_network.h"

class CKelvardinDoc;
class CPartialSaveSelection;

// The application: start-up and exit, every user setting, the program-wide mode, the link to
// the controller and the services the rest of the program calls. The one instance is the
// application state the model and the link read (GetApp), so every value has one home.
class CKelvardinApp : public CAppState, public IMessagePump {
public:
    static constexpr WORD kDefaultPeerPort = 27410;

    // The settings live in the profile, which must outlive the application.
    explicit CKelvardinApp(IProfile& profile);
    ~CKelvardinApp() override;

    // Start-up in its fixed order; FALSE when the program cannot run. The arguments are the
    // command line without the program itself.
    BOOL InitInstance(const std::vector<CString>& arguments);
    // Closes the link, tells of memory writes it left unanswered and writes the settings; the
    // exit code.
    int ExitInstance();

    // Every setting, read with its default and clamp, and written back as a whole; the
    // profile keeps only what differs from what this copy read.
    void LoadSettings();
    void SaveSettings();
    // Puts what is pending into the settings file; the first time it cannot, the user is told
    // where the file is.
    void FlushSettings();

    // Opens the link to the controller from these communication settings, which it stores:
    // "NUL:" opens none, "NET:" the network, anything else the serial port of that name. True
    // when a link was opened and handed to the data manager; on failure the user is told why,
    // the mode is FILE and the communication settings are those from before, stored with the
    // other settings as they stand, and the link they name is opened again when it was open.
    bool OpenComm(const CString& port, int baud, const CString& ip, const CString& standby);

    // Store a directory setting, normalised, and write it at once.
    void SetSetupDirectory(const CString& path);
    void SetLogDirectory(const CString& path);
    void SetSNMPDirectory(const CString& path);
    const CString& GetSetupDirectory() const { return m_strSetupDirectory; }
    // Ends with a separator.
    const CString& GetLogDirectory() const { return m_strLogDirectory; }
    const CString& GetSNMPDirectory() const { return m_strSNMPDirectory; }
    // Creates the directory and its parents when missing, as a directory setting is first used.
    static bool PrepareDirectory(const CString& path);
    // Lets the user pick a folder, starting at the directory given: TRUE, with the directory
    // replaced by the choice, on OK.
    BOOL ChooseFolder(CString& directory, const CString& title);

    // The text of the last validation error; empty when there is none.
    CString GetValidationErrorText() const;
    void SetErrorSuppressed(int error, bool suppressed);
    bool IsErrorSuppressed(int error) const;

    // A dotted IPv4 text or a host name, trimmed, in host byte order.
    static bool ResolveHostAddress(const CString& host, DWORD& address);
    // Dispatches what waits in the user interface's queue and returns when it is empty.
    void PumpWaitingMessages();
    BOOL PumpWaitingMessages(const std::function<bool()>& done, DWORD timeoutMs) override;

    // The current setup; null while there is no main window.
    CKelvardinDoc* GetKelvardinDoc();

    // The setup-file drivers over the current setup (shell/io/setup_file_drivers.h); without a
    // document nothing is saved or read.
    BOOL SaveSetupFile(const CString& path, BOOL clearAfter, BOOL partial);
    int LoadSetupFile(const CString& path, int kind, const CPartialSaveSelection& description);
    int ReadSetupFileContents(const CString& path, CPartialSaveSelection& selection);
    // Appends a controller log line to its day file in the log directory; the first failure
    // of the run is reported, later ones are silent. Non-zero in every case.
    BOOL AppendControllerLog(const CString& line);

    BOOL IsCommandEnabled(UINT id) override;
    int DoMessageBox(const CString& text, UINT type) override;

    // With "PopupHelpID" a box names the help id and command; with "LaunchHelp" the help opens.
    void WinHelp(DWORD data, UINT command);
    void OnAppAbout();

    // The main window, which the application owns from start-up to exit.
    IMainFrame* GetMainFrame() const { return m_mainFrame.get(); }
    void SetMainFrame(std::unique_ptr<IMainFrame> frame);
    CCVDataMgr& GetDataMgr() { return m_dataMgr; }
    const CCommandLineInfoEx& GetCommandLine() const { return m_cmdInfo; }
    const LogFont& GetBoldFont() const { return m_boldFont; }
    // Where the link finds the controller on the network (tests use free ports).
    void SetPeerPort(WORD port) { m_wPeerPort = port; }
    // Where the device searches look for devices (tests use loopback addresses).
    void SetSearchNetwork(CSearchNetwork network) { m_searchNetwork = std::move(network); }
    const CSearchNetwork& GetSearchNetwork() const { return m_searchNetwork; }

    // "Settings\\Communication".
    CString m_strComPort = u"NET:";
    int m_nBaudRate = 38400;
    BOOL m_bNetwork = TRUE;
    // "Settings\\Files and Directories"; CreateBAKFiles is the model's.
    BOOL m_bConfirmFileName = TRUE;
    CString m_strLastLogFile;
    // "Settings\\Startup and Shutdown" and "Windows\\Application".
    BOOL m_bAutoConnect = TRUE;
    BOOL m_bConfirmExit = TRUE;
    int m_nAutoLog = -1;
    BOOL m_bSavePosition = TRUE;
    // "Settings\\Restrictions"; AllowLog is the model's request-logging setting, and
    // AllowDragDrop, AllowMaintenanceMode and AllowMemoryPoke are the model's too.
    BOOL m_bAllowCommandLineProtocol = FALSE;
    BOOL m_bAllowMemoryPeek = FALSE;
    BOOL m_bEnableAlphaPalette = FALSE;
    // "Settings\\Preferences" beside those the model reads.
    BOOL m_bAllowAlphasInPartialSave = FALSE;
    BOOL m_bPopupHelpID = FALSE;
    BOOL m_bLaunchHelp = TRUE;
    BOOL m_bVistaStyleFileDialogs = TRUE;

    // Set while the user picks a control for context help.
    bool m_bHelpMode = false;
    // Counts the losses of the link the user was told about.
    std::atomic<int> m_nDisconnects{0};

    // Opens the help at the id. The program ships no help file, so nothing opens.
    virtual void LaunchHelpFile(DWORD /*data*/, UINT /*command*/) {}

    // Closes the link, then tells of the memory writes it never had answered or that never
    // went: their bytes go with the program.
    void CloseLinkAndReportWrites();

protected:
    // The document template's work: the document and the main window; null on failure.
    virtual std::unique_ptr<IMainFrame> CreateMainFrame();

private:
    bool StackHasEntries(IMainFrame::Stack stack) const;
    // With awaitPort, a serial port that cannot be opened is handed to the link to wait for.
    bool OpenTransport(const CString& port, int baud, const CString& ip, CString& error, UINT& icon,
                       bool awaitPort = false);
    void ReopenLink();

    CUiEnvironment m_environment;
    CShellLinkDialogs m_linkDialogs;
    CCVDataMgr m_dataMgr;
    CCommandLineInfoEx m_cmdInfo;
    CControllerLogWriter m_logWriter;
    std::unique_ptr<IMainFrame> m_mainFrame;
    CKelvardinDoc* m_pDoc = nullptr;
    LogFont m_boldFont;
    WORD m_wPeerPort = kDefaultPeerPort;
    CSearchNetwork m_searchNetwork;
    CString m_strSetupDirectory;
    CString m_strLogDirectory;
    CString m_strSNMPDirectory;
    bool m_bToldSettingsUnsaved = false;
};

// The one application; it must exist.
CKelvardinApp& GetKelvardinApp();

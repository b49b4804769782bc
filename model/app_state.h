#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

#include "model/bit_array.h"
#include "model/cv_config.h"
#include "model/snmp_config.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class IProfile;
class IUndoHost;

// A text read and written from more than one thread.
class CGuardedText {
public:
    CString Get() const {
        std::lock_guard guard(m_lock);
        return m_text;
    }
    void Set(const CString& text) {
        std::lock_guard guard(m_lock);
        m_text = text;
    }

private:
    mutable std::mutex m_lock;
    CString m_text;
};

// A report of the edit rules held back: its error number, text, whether it beeps, and whether
// it waits on another field that the same move may yet set.
struct CHeldReport {
    int error;
    CString text;
    BOOL beep;
    bool waits;
};

// The reports held back over one try of an edit, and whether it asked the user to choose and
// the user cancelled.
struct CHeldReports {
    std::vector<CHeldReport> reports;
    bool asked = false;
    bool cancelled = false;
};

// The application object's state that the model and the link read: the program-wide mode, the
// settings they use, the validation data and the live controller configuration. The one
// instance registers itself on construction and is reached through GetApp(); the shell's
// application class derives from it, and tests make one of their own.
class CAppState {
public:
    enum Mode : int { kModeFile = 0, kModeOnline = 1, kModeConnecting = 2 };
    static constexpr int kValidationErrors = 38;

    explicit CAppState(IProfile& profile);
    virtual ~CAppState();
    CAppState(const CAppState&) = delete;
    CAppState& operator=(const CAppState&) = delete;

    // The store behind the registry values.
    IProfile& GetProfile() const { return m_profile; }

    // Shows a message box (MB_* buttons and icon) and returns the answer (ID*). The shell
    // shows it; without a user interface nothing is shown and the answer is 0.
    virtual int DoMessageBox(const CString& /*text*/, UINT /*type*/) { return 0; }
    // Whether the command (its low 16 bits) is available now; the shell decides, and without
    // it nothing is.
    virtual BOOL IsCommandEnabled(UINT /*id*/) { return FALSE; }

    // The main window's services to the model; null while there is no main window.
    IUndoHost* GetUndoHost() const { return m_pUndoHost; }
    void SetUndoHost(IUndoHost* host) { m_pUndoHost = host; }

    CCVConfig& GetConfig() { return m_config; }
    const CCVConfig& GetConfig() const { return m_config; }
    // The controller's SNMP configuration as the SNMP dialog edits it; user-interface thread.
    CSNMPConfig& GetSnmpConfig() { return m_snmpConfig; }

    // Read from any thread.
    int GetMode() const { return m_nMode.load(); }
    void SetMode(int mode) {
        m_nMode.store(mode);
        ++m_nModeSets;
    }
    // A command sets the mode, or puts back the one it found: unlike SetMode, this tells no
    // command that waits on its dialogs that what it started from has gone.
    void SetCommandMode(int mode) { m_nMode.store(mode); }
    // How often SetMode set the mode: the link, the start and the leaving of a controller, never
    // a command for itself.
    unsigned GetModeSets() const { return m_nModeSets.load(); }

    // How often a session with the controller began or ended, whatever began or ended it: a
    // command that waits on its dialogs acts only for the session it started under. Bumped by
    // the link on any thread.
    unsigned GetSessionChanges() const { return m_nSessionChanges.load(); }
    void NoteSessionChange() { ++m_nSessionChanges; }

    // The smaller of the "VisibleIntercoms" / "VisibleTrunks" setting and the configured count.
    int GetVisibleIcomCount() const { return m_config.GetObjectCount(3, TRUE); }
    int GetVisibleTrunkCount() const { return m_config.GetObjectCount(1, TRUE); }

    // The allocation time-out is kept in seconds: the controller's minute-and-second
    // capability and the "AllocInSeconds" setting together.
    BOOL IsSecondsMode() const {
        return m_bAllocInSeconds && m_config.HasCapability(CCVConfig::kMinSecTimeout);
    }

    // Settings read by the model and the link, with their defaults.
    BOOL m_bAllocInSeconds = FALSE;
    int m_nVisibleIntercoms = 255;
    int m_nVisibleTrunks = 10000;
    BOOL m_bSortIntercomsByIntercomNumber = FALSE;
    BOOL m_bIncludeAlphasInSetupFiles = FALSE;
    BOOL m_bSyncCorvaneClock = TRUE;
    // The colours of "Preferences\\Colors" (0x00BBGGRR).
    COLORREF m_clrCLPCommandText = 0x0000FFFF;
    COLORREF m_clrCLPResponseText = 0x00FFFF00;
    COLORREF m_clrCLPListBackground = 0x00000000;
    COLORREF m_clrCLPEditBackground = 0x00000000;
    COLORREF m_clrCLPEditText = 0x00FFFFFF;
    COLORREF m_clrReadOnlyBackground = 0x00F2F2F2;
    COLORREF m_clrChangedBackground = 0x00C0FFFF;
    COLORREF m_clrChangedHighlightText = 0x0000FFFF;
    COLORREF m_clrProblematicBackground = 0x00C0E0FF;
    COLORREF m_clrInspectOn = 0x00E0FFE0;
    COLORREF m_clrInspectOff = 0x00ECECFF;
    COLORREF m_clrInspectWait = 0x00FFFFE0;
    BOOL m_bAllowEntryOfNamelessIntercoms = FALSE;
    BOOL m_bAllowEntryOfResourcesWithoutAlphas = FALSE;
    BOOL m_bAllowKatakanaAlphas = FALSE;
    BOOL m_bLimitKatakanaAlphas = FALSE;
    BOOL m_bAllowDragDrop = FALSE;
    // The screens offer the trunk maintenance commands only with it.
    BOOL m_bAllowMaintenanceMode = FALSE;
    // Without it the memory screen only shows the controller's memory.
    BOOL m_bAllowMemoryPoke = FALSE;
    BOOL m_bCreateBAKFiles = TRUE;
    // "IPAddress" and "StandbyIP": the link engine thread exchanges them.
    CGuardedText m_ipAddress;
    CGuardedText m_standbyIP;
    // Request logging on or off, and the application's own logging state (-1 unknown, 0, 1);
    // both read on the user-interface and the link engine thread.
    std::atomic<int> m_nRequestLogging{0};
    std::atomic<int> m_nLogging{-1};
    // Set by the controller's status reply; cleared only when a link is opened and when the
    // link to the controller is lost.
    std::atomic<int> m_nControllerPresent{0};
    std::atomic<int> m_nControllerLogging{0};
    // Set while a screen's print preview runs.
    BOOL m_bPrintPreview = FALSE;

    // Validation data: the last error number (-1 none), the text of each error number and
    // the error numbers the user chose to suppress.
    int m_nLastError = -1;
    // While set, the reports of the edit rules wait here, to be told or forgotten.
    std::optional<CHeldReports> m_heldReports;
    std::array<CString, kValidationErrors> m_errorTexts;
    CBitArray m_suppressedErrors{kValidationErrors};

private:
    IProfile& m_profile;
    IUndoHost* m_pUndoHost = nullptr;
    std::atomic<int> m_nMode{kModeFile};
    std::atomic<unsigned> m_nModeSets{0};
    std::atomic<unsigned> m_nSessionChanges{0};
    CCVConfig m_config;
    CSNMPConfig m_snmpConfig;
};

// The one application state; it must exist.
CAppState& GetApp();

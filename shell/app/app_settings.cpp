#include <QDir>
#include <QStandardPaths>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/base/profile.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/app/comm_settings.h"
#include "shell/app/kelvardin_app.h"

namespace {

constexpr const char16_t* kCommunication = u"Settings\\Communication";
constexpr const char16_t* kFiles = u"Settings\\Files and Directories";
constexpr const char16_t* kStartup = u"Settings\\Startup and Shutdown";
constexpr const char16_t* kRestrictions = u"Settings\\Restrictions";
constexpr const char16_t* kConfiguration = u"Settings\\Configuration";
constexpr const char16_t* kPreferences = u"Settings\\Preferences";
constexpr const char16_t* kColors = u"Preferences\\Colors";
constexpr const char16_t* kApplicationWindow = u"Windows\\Application";

constexpr int kMaxVisibleIntercoms = 255;
constexpr int kMaxVisibleTrunks = 10000;

struct FlagSetting {
    const char16_t* section;
    const char16_t* key;
    BOOL CKelvardinApp::*member;
    BOOL initial;
};

// In the order they are read and written.
const FlagSetting kRestrictionFlags[] = {
    {kRestrictions, u"AllowCommandLineProtocol", &CKelvardinApp::m_bAllowCommandLineProtocol,
     FALSE},
    {kRestrictions, u"AllowDragDrop", &CKelvardinApp::m_bAllowDragDrop, FALSE},
    {kRestrictions, u"AllowMaintenanceMode", &CKelvardinApp::m_bAllowMaintenanceMode, FALSE},
    {kRestrictions, u"AllowMemoryPeek", &CKelvardinApp::m_bAllowMemoryPeek, FALSE},
    {kRestrictions, u"AllowMemoryPoke", &CKelvardinApp::m_bAllowMemoryPoke, FALSE},
    {kRestrictions, u"EnableAlphaPalette", &CKelvardinApp::m_bEnableAlphaPalette, FALSE},
};

const FlagSetting kPreferenceFlags[] = {
    {kPreferences, u"IncludeAlphasInSetupFiles", &CKelvardinApp::m_bIncludeAlphasInSetupFiles,
     FALSE},
    {kPreferences, u"AllowAlphasInPartialSave", &CKelvardinApp::m_bAllowAlphasInPartialSave, FALSE},
    {kPreferences, u"SortIntercomsByIntercomNumber",
     &CKelvardinApp::m_bSortIntercomsByIntercomNumber, FALSE},
    {kPreferences, u"AllowEntryOfNamelessIntercoms",
     &CKelvardinApp::m_bAllowEntryOfNamelessIntercoms, FALSE},
    {kPreferences, u"AllowEntryOfResourcesWithoutAlphas",
     &CKelvardinApp::m_bAllowEntryOfResourcesWithoutAlphas, FALSE},
    {kPreferences, u"PopupHelpID", &CKelvardinApp::m_bPopupHelpID, FALSE},
    {kPreferences, u"LaunchHelp", &CKelvardinApp::m_bLaunchHelp, TRUE},
    {kPreferences, u"VistaStyleFileDialogs", &CKelvardinApp::m_bVistaStyleFileDialogs, TRUE},
    {kPreferences, u"AllowKatakanaAlphas", &CKelvardinApp::m_bAllowKatakanaAlphas, FALSE},
    {kPreferences, u"LimitKatakanaAlphas", &CKelvardinApp::m_bLimitKatakanaAlphas, FALSE},
    {kPreferences, u"AllocInSeconds", &CKelvardinApp::m_bAllocInSeconds, FALSE},
};

struct ColourSetting {
    const char16_t* key;
    COLORREF CAppState::*member;
    COLORREF initial;
};

const ColourSetting kColours[] = {
    {u"CLPCommandText", &CAppState::m_clrCLPCommandText, 0x0000FFFF},
    {u"CLPResponseText", &CAppState::m_clrCLPResponseText, 0x00FFFF00},
    {u"CLPListBackground", &CAppState::m_clrCLPListBackground, 0x00000000},
    {u"CLPEditBackground", &CAppState::m_clrCLPEditBackground, 0x00000000},
    {u"CLPEditText", &CAppState::m_clrCLPEditText, 0x00FFFFFF},
    {u"ReadOnlyBackground", &CAppState::m_clrReadOnlyBackground, 0x00F2F2F2},
    {u"ChangedBackground", &CAppState::m_clrChangedBackground, 0x00C0FFFF},
    {u"ChangedHighlightText", &CAppState::m_clrChangedHighlightText, 0x0000FFFF},
    {u"ProblematicBackground", &CAppState::m_clrProblematicBackground, 0x00C0E0FF},
    {u"InspectOn", &CAppState::m_clrInspectOn, 0x00E0FFE0},
    {u"InspectOff", &CAppState::m_clrInspectOff, 0x00ECECFF},
    {u"InspectWait", &CAppState::m_clrInspectWait, 0x00FFFFE0},
};

// Where the program keeps its files unless told otherwise: the user's data directory.
CString DataDirectory(const char16_t* folder) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return FromQString(base + QStringLiteral("/Ostrum/Kelvardin/") + ToQString(folder));
}

// A directory lexically canonical; with trailingSeparator it ends in "/", without it only the
// root does.
CString CanonicalDirectory(const CString& path, bool trailingSeparator) {
    if (path.IsEmpty()) return path;
    QString clean = QDir::cleanPath(ToQString(path));
    if (trailingSeparator && !clean.endsWith(u'/')) clean += u'/';
    return FromQString(clean);
}

class CSettingsReader {
public:
    explicit CSettingsReader(IProfile& profile) : m_profile(profile) {}

    int Int(const char16_t* section, const char16_t* key, int initial) {
        return static_cast<std::int32_t>(
            m_profile.GetProfileInt(section, key, static_cast<std::uint32_t>(initial)));
    }
    BOOL Flag(const char16_t* section, const char16_t* key, BOOL initial) {
        return Int(section, key, initial) != 0 ? TRUE : FALSE;
    }
    CString Text(const char16_t* section, const char16_t* key, const CString& initial) {
        return m_profile.GetProfileString(section, key, initial);
    }

private:
    IProfile& m_profile;
};

class CSettingsWriter {
public:
    explicit CSettingsWriter(IProfile& profile) : m_profile(profile) {}

    void Int(const char16_t* section, const char16_t* key, int value) {
        m_profile.WriteProfileInt(section, key, static_cast<std::uint32_t>(value));
    }
    void Flag(const char16_t* section, const char16_t* key, BOOL value) {
        Int(section, key, value ? 1 : 0);
    }
    void Text(const char16_t* section, const char16_t* key, const CString& value) {
        m_profile.WriteProfileString(section, key, value);
    }

private:
    IProfile& m_profile;
};

}  // namespace

void CKelvardinApp::LoadSettings() {
    GetConfig().LoadFromRegistry(GetProfile());
    CSettingsReader in(GetProfile());

    m_strComPort = in.Text(kCommunication, u"ComPort", u"NET:");
    m_bNetwork = IsNetPort(m_strComPort);
    m_nBaudRate = ClampBaudRate(in.Int(kCommunication, u"BaudRate", 38400));
    m_ipAddress.Set(in.Text(kCommunication, u"IPAddress", {}));
    m_standbyIP.Set(in.Text(kCommunication, u"StandbyIP", {}));

    SetSetupDirectory(in.Text(kFiles, u"SetupFileDirectory", DataDirectory(u"Setups")));
    SetLogDirectory(in.Text(kFiles, u"LogFileDirectory", DataDirectory(u"Logs/")));
    SetSNMPDirectory(in.Text(kFiles, u"SNMPConfigDirectory", DataDirectory(u"SNMP")));
    m_bConfirmFileName = in.Flag(kFiles, u"ConfirmFileName", TRUE);
    m_bCreateBAKFiles = in.Flag(kFiles, u"CreateBAKFiles", TRUE);

    m_bAutoConnect = in.Flag(kStartup, u"AutoConnect", TRUE);
    m_bConfirmExit = in.Flag(kStartup, u"ConfirmExit", TRUE);
    m_nRequestLogging = in.Flag(kRestrictions, u"AllowLog", m_bNetwork ? FALSE : TRUE);
    m_nAutoLog = in.Int(kStartup, u"AutoLog", -1);
    if (m_nAutoLog < -1 || m_nAutoLog > 1) m_nAutoLog = -1;
    m_bSavePosition = in.Flag(kApplicationWindow, u"SavePosition", TRUE);

    m_nVisibleIntercoms = in.Int(kConfiguration, u"VisibleIntercoms", kMaxVisibleIntercoms);
    m_nVisibleTrunks = in.Int(kConfiguration, u"VisibleTrunks", kMaxVisibleTrunks);
    // The counts of the oldest controllers were once stored as the visible counts.
    if (m_nVisibleIntercoms == 31 && m_nVisibleTrunks == 999) {
        m_nVisibleIntercoms = kMaxVisibleIntercoms;
        m_nVisibleTrunks = kMaxVisibleTrunks;
    }
    if (m_nVisibleIntercoms < 1 || m_nVisibleIntercoms > kMaxVisibleIntercoms)
        m_nVisibleIntercoms = kMaxVisibleIntercoms;
    if (m_nVisibleTrunks < 1 || m_nVisibleTrunks > kMaxVisibleTrunks)
        m_nVisibleTrunks = kMaxVisibleTrunks;
    m_bSyncCorvaneClock = in.Int(kConfiguration, u"SyncCorvaneClock", 1);

    for (const auto& flag : kRestrictionFlags)
        this->*flag.member = in.Flag(flag.section, flag.key, flag.initial);
    for (const auto& flag : kPreferenceFlags)
        this->*flag.member = in.Flag(flag.section, flag.key, flag.initial);

    m_suppressedErrors.SetSize(kValidationErrors);
    if (const auto bytes = GetProfile().GetProfileBinary(kConfiguration, u"SuppressedErrors")) {
        const size_t bits = std::min<size_t>(kValidationErrors, bytes->size() * 8);
        for (size_t n = 0; n < bits; ++n) {
            if ((*bytes)[n / 8] & (1u << (n % 8))) m_suppressedErrors.SetBit(UINT(n), TRUE);
        }
    }

    for (const auto& colour : kColours)
        this->*colour.member = static_cast<COLORREF>(in.Int(kColors, colour.key, colour.initial));
}

void CKelvardinApp::SaveSettings() {
    GetConfig().SaveToRegistry(GetProfile());
    CSettingsWriter out(GetProfile());

    out.Text(kCommunication, u"ComPort", m_strComPort);
    out.Int(kCommunication, u"BaudRate", m_nBaudRate);
    out.Text(kCommunication, u"IPAddress", m_ipAddress.Get());
    out.Text(kCommunication, u"StandbyIP", m_standbyIP.Get());

    out.Text(kFiles, u"SetupFileDirectory", m_strSetupDirectory);
    out.Text(kFiles, u"LogFileDirectory", m_strLogDirectory);
    out.Text(kFiles, u"SNMPConfigDirectory", m_strSNMPDirectory);
    out.Flag(kFiles, u"ConfirmFileName", m_bConfirmFileName);
    out.Flag(kFiles, u"CreateBAKFiles", m_bCreateBAKFiles);

    out.Flag(kStartup, u"AutoConnect", m_bAutoConnect);
    out.Flag(kStartup, u"ConfirmExit", m_bConfirmExit);
    out.Flag(kRestrictions, u"AllowLog", m_nRequestLogging != 0);
    out.Int(kStartup, u"AutoLog", m_nAutoLog);
    out.Flag(kApplicationWindow, u"SavePosition", m_bSavePosition);

    out.Int(kConfiguration, u"VisibleIntercoms", m_nVisibleIntercoms);
    out.Int(kConfiguration, u"VisibleTrunks", m_nVisibleTrunks);
    // SyncCorvaneClock is only ever read.

    for (const auto& flag : kRestrictionFlags)
        out.Flag(flag.section, flag.key, this->*flag.member);
    for (const auto& flag : kPreferenceFlags)
        out.Flag(flag.section, flag.key, this->*flag.member);

    std::vector<std::uint8_t> bytes((kValidationErrors + 7) / 8);
    m_suppressedErrors.StoreBits(bytes.data());
    GetProfile().WriteProfileBinary(kConfiguration, u"SuppressedErrors", bytes);

    for (const auto& colour : kColours)
        out.Int(kColors, colour.key, static_cast<int>(this->*colour.member));
    FlushSettings();
}

void CKelvardinApp::FlushSettings() {
    if (GetProfile().Flush() || m_bToldSettingsUnsaved) return;
    m_bToldSettingsUnsaved = true;
    ModalMessageBox(
        SubstituteArgs(LoadResString(kIdsSettingsNotSaved).str(), {GetProfile().GetLocation()}),
        MB_OK | MB_ICONEXCLAMATION);
}

void CKelvardinApp::SetSetupDirectory(const CString& path) {
    m_strSetupDirectory = CanonicalDirectory(path, false);
    GetProfile().WriteProfileString(kFiles, u"SetupFileDirectory", m_strSetupDirectory);
}

void CKelvardinApp::SetLogDirectory(const CString& path) {
    m_strLogDirectory = CanonicalDirectory(path, true);
    GetProfile().WriteProfileString(kFiles, u"LogFileDirectory", m_strLogDirectory);
}

void CKelvardinApp::SetSNMPDirectory(const CString& path) {
    m_strSNMPDirectory = CanonicalDirectory(path, false);
    GetProfile().WriteProfileString(kFiles, u"SNMPConfigDirectory", m_strSNMPDirectory);
}

bool CKelvardinApp::PrepareDirectory(const CString& path) {
    return !path.IsEmpty() && QDir().mkpath(ToQString(path));
}

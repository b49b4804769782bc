// Reads arbitrary bytes as the settings file and checks that every value comes out within its
// rule, and that what is written back reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <unistd.h>

#include "platform/ui/ini_profile.h"
#include "shell/app/kelvardin_app.h"

namespace {

// The settings file of the rounds, removed at the end.
struct CScratchFile {
    std::string path = "/tmp/kelvardin-settings-fuzz-" + std::to_string(getpid());
    ~CScratchFile() {
        std::remove(path.c_str());
        std::remove((path + ".lock").c_str());
    }
};

struct Snapshot {
    CString port, setupDir, logDir;
    int baud, autoLog, icoms, trunks, allowLog;
    BOOL peek, launchHelp;
    COLORREF changed;
    CBitArray suppressed;
    bool operator==(const Snapshot&) const = default;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

// Reads the file as the program does; with saveBack it writes the settings back into it.
Snapshot Read(const CString& path, bool saveBack) {
    CIniProfile profile(path);
    CKelvardinApp app(profile);
    app.LoadSettings();
    Check(app.m_nBaudRate == 9600 || app.m_nBaudRate == 19200 || app.m_nBaudRate == 38400);
    Check(app.m_nAutoLog >= -1 && app.m_nAutoLog <= 1);
    Check(app.m_nVisibleIntercoms >= 1 && app.m_nVisibleIntercoms <= 255);
    Check(app.m_nVisibleTrunks >= 1 && app.m_nVisibleTrunks <= 10000);
    Check(app.m_nRequestLogging >= 0 && app.m_nRequestLogging <= 1);
    const CString& logDir = app.GetLogDirectory();
    Check(logDir.IsEmpty() || logDir[logDir.GetLength() - 1] == u'/');
    if (saveBack) app.SaveSettings();
    return {app.m_strComPort,
            app.GetSetupDirectory(),
            logDir,
            app.m_nBaudRate,
            app.m_nAutoLog,
            app.m_nVisibleIntercoms,
            app.m_nVisibleTrunks,
            app.m_nRequestLogging,
            app.m_bAllowMemoryPeek,
            app.m_bLaunchHelp,
            app.m_clrChangedBackground,
            app.m_suppressedErrors};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CScratchFile scratch;
    {
        std::ofstream file(scratch.path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const CString path = CString::FromUtf8(scratch.path);
    const Snapshot first = Read(path, true);
    Check(Read(path, false) == first);
    return 0;
}

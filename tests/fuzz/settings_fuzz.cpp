// Reads arbitrary bytes as the settings file and checks that every value comes out within its
// rule, and that what is written back reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "platform/ui/ini_profile.h"
#include "shell/kelvardin_app.h"

namespace {

// A store whose file each round replaces.
class CRoundProfile : public IProfile {
public:
    void Open(const CString& path) {
        m_file.reset();
        m_file = std::make_unique<CIniProfile>(path);
    }
    std::uint32_t GetProfileInt(const CString& s, const CString& e, std::uint32_t d) override {
        return m_file->GetProfileInt(s, e, d);
    }
    bool WriteProfileInt(const CString& s, const CString& e, std::uint32_t v) override {
        return m_file->WriteProfileInt(s, e, v);
    }
    CString GetProfileString(const CString& s, const CString& e, const CString& d) override {
        return m_file->GetProfileString(s, e, d);
    }
    bool WriteProfileString(const CString& s, const CString& e, const CString& v) override {
        return m_file->WriteProfileString(s, e, v);
    }
    std::optional<std::vector<std::uint8_t>> GetProfileBinary(const CString& s,
                                                              const CString& e) override {
        return m_file->GetProfileBinary(s, e);
    }
    bool WriteProfileBinary(const CString& s, const CString& e,
                            const std::vector<std::uint8_t>& v) override {
        return m_file->WriteProfileBinary(s, e, v);
    }

private:
    std::unique_ptr<CIniProfile> m_file;
};

struct Snapshot {
    CString port;
    int baud, autoLog, icoms, trunks, allowLog;
    BOOL network, peek, launchHelp;
    CString setupDir, logDir;
    COLORREF changed;
    CBitArray suppressed;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CKelvardinApp& a) {
    return {a.m_strComPort,        a.m_nBaudRate,        a.m_nAutoLog,
            a.m_nVisibleIntercoms, a.m_nVisibleTrunks,   a.m_nRequestLogging,
            a.m_bNetwork,          a.m_bAllowMemoryPeek, a.m_bLaunchHelp,
            a.GetSetupDirectory(), a.GetLogDirectory(),  a.m_clrChangedBackground,
            a.m_suppressedErrors};
}

// The settings file of the rounds, removed at the end.
struct CScratchFile {
    std::string path = "/tmp/kelvardin-settings-fuzz-" + std::to_string(getpid());
    ~CScratchFile() {
        std::remove(path.c_str());
        std::remove((path + ".lock").c_str());
    }
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CScratchFile scratch;
    const std::string& path = scratch.path;
    static CRoundProfile profile;
    static CKelvardinApp app(profile);
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const CString filePath = CString::FromUtf8(path);
    profile.Open(filePath);
    app.LoadSettings();
    Check(app.m_nBaudRate == 9600 || app.m_nBaudRate == 19200 || app.m_nBaudRate == 38400);
    Check(app.m_nAutoLog >= -1 && app.m_nAutoLog <= 1);
    Check(app.m_nVisibleIntercoms >= 1 && app.m_nVisibleIntercoms <= 255);
    Check(app.m_nVisibleTrunks >= 1 && app.m_nVisibleTrunks <= 10000);
    Check((app.m_nRequestLogging == 0 || app.m_nRequestLogging == 1) &&
          (app.m_bAllowMemoryPeek == 0 || app.m_bAllowMemoryPeek == 1));
    Check(app.m_suppressedErrors.GetSize() == CAppState::kValidationErrors);
    const CString& logDir = app.GetLogDirectory();
    Check(logDir.IsEmpty() || logDir[logDir.GetLength() - 1] == u'/');

    const Snapshot first = Take(app);
    app.SaveSettings();
    profile.Open(filePath);  // written to the file and read from it afresh
    app.LoadSettings();
    Check(Take(app) == first);
    return 0;
}

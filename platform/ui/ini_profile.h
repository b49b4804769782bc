#pragma once

#include <memory>
#include <mutex>

#include "platform/base/profile.h"

class QSettings;

// The settings store in an INI file: a registry path such as "Settings\Communication" is a
// group, an entry a key in it. Numbers are kept as decimal text, binary values byte for byte.
// A value that is missing or does not parse reads as the default. Safe to use from any thread.
class CIniProfile : public IProfile {
public:
    // The user's own file: the organisation's folder of the configuration directory.
    CIniProfile(const CString& organisation, const CString& application);
    // A file of its own, for tests and other stores.
    explicit CIniProfile(const CString& filePath);
    ~CIniProfile() override;

    CString GetFilePath() const;
    // Writes what is pending to the file now; false when it cannot be written.
    bool Flush();

    std::uint32_t GetProfileInt(const CString& section, const CString& entry,
                                std::uint32_t defaultValue) override;
    bool WriteProfileInt(const CString& section, const CString& entry,
                         std::uint32_t value) override;
    CString GetProfileString(const CString& section, const CString& entry,
                             const CString& defaultValue) override;
    bool WriteProfileString(const CString& section, const CString& entry,
                            const CString& value) override;
    std::optional<std::vector<std::uint8_t>> GetProfileBinary(const CString& section,
                                                              const CString& entry) override;
    bool WriteProfileBinary(const CString& section, const CString& entry,
                            const std::vector<std::uint8_t>& value) override;

private:
    mutable std::mutex m_lock;
    std::unique_ptr<QSettings> m_settings;
};

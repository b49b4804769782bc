#pragma once

#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <mutex>

#include "platform/base/profile.h"

class QSettings;

// The settings store in an INI file: a registry path such as "Settings\Communication" is a
// group, an entry a key in it. Numbers are kept as decimal text, binary values byte for byte.
// A value that is missing or does not parse reads as the default. Safe to use from any thread.
// Another running copy of the program shares the file: a value written as this store first
// read it (or last wrote it) is no change of this copy's and is left to what the file holds.
class CIniProfile : public IProfile {
public:
    // The user's own file: the organisation's folder of the configuration directory.
    CIniProfile(const CString& organisation, const CString& application);
    // A file of its own, for tests and other stores.
    explicit CIniProfile(const CString& filePath);
    ~CIniProfile() override;

    CString GetFilePath() const;
    bool Flush() override;
    void Reread(const CString& section, const CString& entry) override;
    CString GetLocation() const override { return GetFilePath(); }

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
    QVariant Read(const QString& key);
    bool Write(const QString& key, const QVariant& value);

    mutable std::mutex m_lock;
    std::unique_ptr<QSettings> m_settings;
    // Each key as this store first saw it, or last wrote it; invalid when it was missing.
    std::map<QString, QVariant> m_known;
};

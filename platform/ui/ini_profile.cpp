#include "platform/ui/ini_profile.h"

#include <QSettings>

#include <limits>

#include "platform/ui/qt_convert.h"

namespace {

QString Key(const CString& section, const CString& entry) {
    QString path = ToQString(section);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + ToQString(entry);
}

bool SameValue(const QVariant& a, const QVariant& b) {
    return a.isValid() && a.typeId() == b.typeId() && a == b;
}

}  // namespace

CIniProfile::CIniProfile(const CString& organisation, const CString& application)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             ToQString(organisation), ToQString(application))) {}

CIniProfile::CIniProfile(const CString& filePath)
    : m_settings(std::make_unique<QSettings>(ToQString(filePath), QSettings::IniFormat)) {}

CIniProfile::~CIniProfile() {
    Flush();
}

CString CIniProfile::GetFilePath() const {
    std::lock_guard guard(m_lock);
    return FromQString(m_settings->fileName());
}

bool CIniProfile::Flush() {
    std::lock_guard guard(m_lock);
    m_settings->sync();
    // A file that did not parse is still written; only one that cannot be written fails.
    return m_settings->status() != QSettings::AccessError;
}

void CIniProfile::Reread(const CString& section, const CString& entry) {
    std::lock_guard guard(m_lock);
    m_settings->sync();
    const QString key = Key(section, entry);
    m_known.insert_or_assign(key, m_settings->value(key));
}

QVariant CIniProfile::Read(const QString& key) {
    QVariant value = m_settings->value(key);
    m_known.try_emplace(key, value);
    return value;
}

bool CIniProfile::Write(const QString& key, const QVariant& value) {
    auto known = m_known.find(key);
    if (known != m_known.end() && SameValue(known->second, value)) return true;
    m_settings->setValue(key, value);
    m_known.insert_or_assign(key, value);
    return m_settings->isWritable();
}

std::uint32_t CIniProfile::GetProfileInt(const CString& section, const CString& entry,
                                         std::uint32_t defaultValue) {
    std::lock_guard guard(m_lock);
    const QVariant value = Read(Key(section, entry));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    // A negative number is the two's complement of what was stored.
    if (!ok || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::uint32_t>::max()) {
        return defaultValue;
    }
    return static_cast<std::uint32_t>(number);
}

bool CIniProfile::WriteProfileInt(const CString& section, const CString& entry,
                                  std::uint32_t value) {
    std::lock_guard guard(m_lock);
    // Signed, as a person reads and types it: -1, not 4294967295.
    return Write(Key(section, entry), QString::number(static_cast<std::int32_t>(value)));
}

CString CIniProfile::GetProfileString(const CString& section, const CString& entry,
                                      const CString& defaultValue) {
    std::lock_guard guard(m_lock);
    const QVariant value = Read(Key(section, entry));
    if (!value.isValid() || !value.canConvert<QString>()) return defaultValue;
    return FromQString(value.toString());
}

bool CIniProfile::WriteProfileString(const CString& section, const CString& entry,
                                     const CString& value) {
    std::lock_guard guard(m_lock);
    return Write(Key(section, entry), ToQString(value));
}

std::optional<std::vector<std::uint8_t>> CIniProfile::GetProfileBinary(const CString& section,
                                                                       const CString& entry) {
    std::lock_guard guard(m_lock);
    const QVariant value = Read(Key(section, entry));
    if (!value.isValid() || value.typeId() != QMetaType::QByteArray) return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

bool CIniProfile::WriteProfileBinary(const CString& section, const CString& entry,
                                     const std::vector<std::uint8_t>& value) {
    std::lock_guard guard(m_lock);
    return Write(Key(section, entry), QByteArray(reinterpret_cast<const char*>(value.data()),
                                                 static_cast<qsizetype>(value.size())));
}

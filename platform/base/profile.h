#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "platform/base/cstring.h"

// The settings store that stands in for the registry: values by section and entry.
// Sections use the registry's path form ("Corvane\\Configuration").
class IProfile {
public:
    virtual ~IProfile() = default;

    virtual std::uint32_t GetProfileInt(const CString& section, const CString& entry,
                                        std::uint32_t defaultValue) = 0;
    virtual bool WriteProfileInt(const CString& section, const CString& entry,
                                 std::uint32_t value) = 0;
    virtual CString GetProfileString(const CString& section, const CString& entry,
                                     const CString& defaultValue) = 0;
    virtual bool WriteProfileString(const CString& section, const CString& entry,
                                    const CString& value) = 0;
    // nullopt when the entry is missing.
    virtual std::optional<std::vector<std::uint8_t>> GetProfileBinary(const CString& section,
                                                                      const CString& entry) = 0;
    virtual bool WriteProfileBinary(const CString& section, const CString& entry,
                                    const std::vector<std::uint8_t>& value) = 0;
    // Writes what is pending to the store now; false when it could not be written.
    virtual bool Flush() { return true; }
    // Reads the entry again from where the store keeps it, since another running copy of the
    // program may have written it meanwhile; the next read and write go by what it holds now.
    virtual void Reread(const CString& /*section*/, const CString& /*entry*/) {}
    // Where the store keeps its values, to tell the user; empty when nowhere they could look.
    virtual CString GetLocation() const { return {}; }
};

// A profile held in memory; used by tests and whenever no persistent store is wanted.
class CMemoryProfile : public IProfile {
public:
    using Value = std::variant<std::uint32_t, CString, std::vector<std::uint8_t>>;

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

    bool Has(const CString& section, const CString& entry) const;
    // Entries in the order they were first written, to check what a writer stored.
    std::vector<std::pair<CString, CString>> WriteOrder() const;

private:
    std::optional<Value> Find(const CString& section, const CString& entry) const;
    void Store(const CString& section, const CString& entry, Value value);

    mutable std::mutex m_lock;
    std::map<std::pair<CString, CString>, Value> m_values;
    std::vector<std::pair<CString, CString>> m_order;
};

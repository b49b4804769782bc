#pragma once

#include <array>

#include "model/bit_array.h"
#include "model/cv_config.h"
#include "model/obj_spec.h"

// What a setup file holds, as its pre-read found it: a controller configuration whose counts
// are the file's, and one bit set per kind of object (bit i: object i is in the file).
class CPartialSaveSelection {
public:
    // The configuration starts as a copy of the live one, so that opening a file keeps the
    // controller's capabilities and only takes the file's counts.
    CPartialSaveSelection();
    // As above, from the configuration the file is to be opened with.
    explicit CPartialSaveSelection(const CCVConfig& base);

    CCVConfig& GetConfig() { return m_config; }
    const CCVConfig& GetConfig() const { return m_config; }

    // The set of object type 1 (trunks) to 5 (alphas); null for any other type.
    CBitArray* GetSectionSet(int type);
    const CBitArray* GetSectionSet(int type) const;
    // The set of the section codes in the file signatures section.
    CBitArray& GetSignatureSet() { return m_sets[kSignatureSet]; }
    // The size of a type's set; 0 for any other type.
    int GetSectionCount(int type) const;
    // Whether the set of the object id's type holds its index.
    BOOL IsIncluded(const CObjSpec& objSpec) const;

    // Stores a section's count into the configuration's count of its type (trunks,
    // intercoms, groups or alphas); other types have none.
    void SetSectionCount(int type, WORD count);

private:
    static constexpr int kSignatureSet = 5;

    CCVConfig m_config;
    // Trunks, options, intercoms, groups, alphas, file signatures.
    std::array<CBitArray, 6> m_sets;
};

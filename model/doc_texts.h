#pragma once

#include <array>

#include "model/value_records.h"
#include "platform/base/cstring.h"

// The texts that formatting and parsing of fields share, loaded from the string table once.
struct CDocTexts {
    static constexpr int kModelIndexes = 17;

    CDocTexts();

    // Whether the model index has a name of its own, not a placeholder for "no model" or "not
    // known yet".
    static bool NamesModel(int index);

    std::array<CString, 5> m_trunkStates;  // "Maint", "In-Use", "Alloc", "Idle", "?"
    std::array<CString, 2> m_connTypes;    // by connection type
    std::array<CString, 4> m_baudRates;    // by baud rate choice
    std::array<CString, kAlphaListCount> m_resourceTypes;  // by alpha list index
    std::array<CString, kModelIndexes> m_models;           // by intercom model index
    std::array<CString, 3> m_requestStates;                // "Cut", "Cur", "Old"
};

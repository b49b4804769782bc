#include "model/doc_texts.h"

#include "res/string_table.h"

namespace {

constexpr unsigned kUnknown = 2220;  // "?": a model not known yet

// The intercom frame model shown for each model index; 0 marks an index that names no model.
constexpr unsigned kModelIds[CDocTexts::kModelIndexes] = {
    2214,     2215,     2216,     2217,     2218, 2219,  // KX1100 ... Pellam-K
    2432,     2453,     2488,     2438,     5502,        // QORA, QORA-Q, QORA-Q S, Medlow, Quillnet
    0,        0,                                         // not used by any frame
    kUnknown, kUnknown, kUnknown, kUnknown,              // models not known yet
};

template <size_t N>
void Load(std::array<CString, N>& texts, const unsigned (&ids)[N]) {
    for (size_t i = 0; i < N; ++i)
        texts[i] = ids[i] ? LoadResString(ids[i]) : CString(u"-");
}

}  // namespace

bool CDocTexts::NamesModel(int index) {
    if (index < 0 || index >= kModelIndexes) return false;
    const unsigned id = kModelIds[static_cast<size_t>(index)];
    return id != 0 && id != kUnknown;
}

CDocTexts::CDocTexts() {
    Load(m_trunkStates, {2185, 2186, 2187, 2188, 2189});
    Load(m_connTypes, {2459, 2460});
    Load(m_baudRates, {2196, 2197, 2198, 2199});
    Load(m_resourceTypes, {2190, 2191, 2192, 2193, 2194, 2195, 2388, 2449});
    Load(m_models, kModelIds);
    Load(m_requestStates, {2221, 2222, 2223});
}

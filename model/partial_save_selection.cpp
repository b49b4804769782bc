#include "model/partial_save_selection.h"

#include <algorithm>
#include <utility>

#include "model/app_state.h"

CPartialSaveSelection::CPartialSaveSelection() : CPartialSaveSelection(GetApp().GetConfig()) {}

CPartialSaveSelection::CPartialSaveSelection(const CCVConfig& base) : m_config(base) {}

const CBitArray* CPartialSaveSelection::GetSectionSet(int type) const {
    const bool typed = type >= CObjSpec::kTrunk && type <= CObjSpec::kAlpha;
    return typed ? &m_sets[static_cast<size_t>(type - 1)] : nullptr;
}

CBitArray* CPartialSaveSelection::GetSectionSet(int type) {
    return const_cast<CBitArray*>(std::as_const(*this).GetSectionSet(type));
}

int CPartialSaveSelection::GetSectionCount(int type) const {
    const CBitArray* set = GetSectionSet(type);
    return set ? static_cast<int>(set->GetSize()) : 0;
}

BOOL CPartialSaveSelection::IsIncluded(const CObjSpec& objSpec) const {
    const CBitArray* set = GetSectionSet(static_cast<int>(objSpec.m_nType));
    return set && set->GetBit(objSpec.m_nIndex);
}

void CPartialSaveSelection::SetSectionCount(int type, WORD count) {
    switch (type) {
        case CObjSpec::kTrunk: m_config.m_wNumTrunks = count; break;
        case CObjSpec::kIntercom:
            // Every per-intercom table stops at 255.
            m_config.m_wNumIntercoms = std::min(count, CCVConfig::kMaxIntercoms);
            break;
        case CObjSpec::kGroup: m_config.m_wNumGroups = count; break;
        case CObjSpec::kAlpha: m_config.m_wNumAlphas = count; break;
        default: break;
    }
}

#include "model/kelvardin_doc.h"

BOOL CKelvardinDoc::StoreAlpha(const CAssign& assign, const CString& label) {
    CIntercom* icom = FindIcom(assign.m_icom);
    // An alpha the intercom's lists cannot hold, or a label no alpha can take, is not kept.
    if (!icom || assign.m_type >= kAlphaListCount || label.GetLength() > CAlpha::kLabelLength)
        return FALSE;
    const DWORD key = assign.GetKey();
    auto it = m_alphas.lower_bound(key);
    const bool found = it != m_alphas.end() && it->first == key;

    if (label.IsEmpty()) {
        BOOL removed = FALSE;
        if (found) {
            icom->RemoveAlpha(assign);
            m_alphas.erase(it);
            UpdateAlphaCount();
            removed = TRUE;
        }
        UpdateAllViews(nullptr, kHintAlphaRemoved, static_cast<LPARAM>(key));
        return removed;
    }

    if (!found) {
        it = m_alphas.try_emplace(it, key);
        UpdateAlphaCount();
    }
    CAlpha& alpha = it->second;
    BOOL changed = alpha.SetLabel(label);
    if (alpha.GetKey() != assign) changed = alpha.SetKey(assign) || changed;
    icom->InsertAlpha(&alpha);
    UpdateAllViews(nullptr, kHintAlphaStored, static_cast<LPARAM>(key));
    return changed;
}

BOOL CKelvardinDoc::RemoveAlphasFrom(const CAssign& assign) {
    if (m_alphas.empty()) return FALSE;
    // The keys of one intercom and list are contiguous, in resource order.
    const DWORD listKey = assign.GetKey() & 0xFFFF0000u;
    const auto from = m_alphas.lower_bound(assign.GetKey());
    const auto to = m_alphas.upper_bound(listKey | 0xFFFFu);
    if (from == to) return FALSE;
    if (CIntercom* icom = FindIcom(assign.m_icom)) icom->RemoveAlphasFrom(assign);
    m_alphas.erase(from, to);
    UpdateAlphaCount();
    return TRUE;
}

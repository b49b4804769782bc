#include "model/kelvardin_doc.h"

#include <vector>

BOOL CKelvardinDoc::StoreAlpha(const CAssign& assign, const CString& label) {
    return StoreReceived([&] { return PutAlpha(assign, label); });
}

BOOL CKelvardinDoc::PutAlpha(const CAssign& assign, const CString& label) {
    CIntercom* icom = FindIcom(assign.m_icom);
    if (!icom) return FALSE;
    auto pos = m_alphas.lower_bound(assign.GetKey());
    return StoreAlphaAt(pos, *icom, assign, label);
}

BOOL CKelvardinDoc::StoreAlphas(const CAssign& first, const std::vector<CString>& labels) {
    return StoreReceived([&]() -> BOOL {
        CIntercom* icom = FindIcom(first.m_icom);
        if (!icom) return FALSE;
        // The keys are consecutive, so one search finds where the whole run goes.
        auto pos = m_alphas.lower_bound(first.GetKey());
        BOOL changed = FALSE;
        CAssign assign = first;
        for (const CString& label : labels) {
            changed = StoreAlphaAt(pos, *icom, assign, label) || changed;
            if (assign.m_number == 0xFFFF) break;
            ++assign.m_number;
        }
        return changed;
    });
}

BOOL CKelvardinDoc::StoreAlphaAt(CAlphaMap::iterator& pos, CIntercom& icom, const CAssign& assign,
                                 const CString& label) {
    // An alpha the intercom's lists cannot hold, or a label no alpha can take, is not kept.
    if (assign.m_type >= kAlphaListCount || label.GetLength() > CAlpha::kLabelLength) return FALSE;
    const DWORD key = assign.GetKey();
    while (pos != m_alphas.end() && pos->first < key)
        ++pos;
    const bool found = pos != m_alphas.end() && pos->first == key;

    if (label.IsEmpty()) {
        BOOL removed = FALSE;
        if (found) {
            icom.RemoveAlpha(assign);
            pos = m_alphas.erase(pos);
            UpdateAlphaCount();
            removed = TRUE;
        }
        UpdateAllViews(nullptr, CUpdateHint::kAlphaRemoved, static_cast<LPARAM>(key));
        return removed;
    }

    if (!found) {
        pos = m_alphas.try_emplace(pos, key);
        UpdateAlphaCount();
    }
    CAlpha& alpha = pos->second;
    ++pos;
    BOOL changed = alpha.SetLabel(label);
    if (alpha.GetKey() != assign) changed = alpha.SetKey(assign) || changed;
    icom.InsertAlpha(&alpha);
    UpdateAllViews(nullptr, CUpdateHint::kAlphaStored, static_cast<LPARAM>(key));
    return changed;
}

BOOL CKelvardinDoc::RemoveAlphasFrom(const CAssign& assign) {
    return StoreReceived([&]() -> BOOL {
        if (m_alphas.empty()) return FALSE;
        // The keys of one intercom and list are contiguous, in resource order.
        const DWORD listKey = assign.GetKey() & 0xFFFF0000u;
        const auto from = m_alphas.lower_bound(assign.GetKey());
        const auto to = m_alphas.upper_bound(listKey | 0xFFFFu);
        if (from == to) return FALSE;
        if (CIntercom* icom = FindIcom(assign.m_icom)) icom->RemoveAlphasFrom(assign);
        std::vector<DWORD> removed;
        for (auto it = from; it != to; ++it)
            removed.push_back(it->first);
        m_alphas.erase(from, to);
        UpdateAlphaCount();
        // Hidden screens too keep a row per alpha: each hears of every alpha that went.
        for (DWORD key : removed)
            UpdateAllViews(nullptr, CUpdateHint::kAlphaRemoved, static_cast<LPARAM>(key));
        return TRUE;
    });
}

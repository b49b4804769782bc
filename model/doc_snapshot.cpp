#include "model/doc_snapshot.h"

#include <unordered_map>
#include <utility>

namespace {

template <class Record>
std::vector<std::unique_ptr<Record>> CopyRecords(const std::vector<std::unique_ptr<Record>>& from) {
    std::vector<std::unique_ptr<Record>> copy;
    copy.reserve(from.size());
    for (const auto& record : from)
        copy.push_back(record ? std::make_unique<Record>(*record) : nullptr);
    return copy;
}

}  // namespace

CDocSnapshot CKelvardinDoc::TakeSnapshot() const {
    CDocSnapshot snapshot;
    snapshot.m_trunks = CopyRecords(m_trunks);
    snapshot.m_options = CopyRecords(m_options);
    snapshot.m_groups = CopyRecords(m_groups);
    snapshot.m_alphas = m_alphas;
    snapshot.m_intercoms = CopyRecords(m_intercoms);
    // The copied intercoms still list the document's alphas: each is swapped for its copy.
    std::unordered_map<const CAlpha*, CAlpha*> copies;
    copies.reserve(m_alphas.size());
    auto copy = snapshot.m_alphas.begin();
    for (const auto& [key, alpha] : m_alphas)
        copies.emplace(&alpha, &(copy++)->second);
    for (const auto& icom : snapshot.m_intercoms) {
        if (!icom) continue;
        for (int index = 0; index < kAlphaListCount; ++index) {
            const CIntercom::CAlphaList listed = icom->GetAlphas(index);
            for (const auto& [number, alpha] : listed)
                icom->InsertAlpha(copies.at(alpha));
        }
    }
    snapshot.m_signatureTexts = m_signatureTexts;
    snapshot.m_signatureBits = m_signatureBits;
    snapshot.m_bPartialFile = m_bPartialFile;
    return snapshot;
}

void CKelvardinDoc::RestoreSnapshot(CDocSnapshot&& snapshot) {
    // The intercoms' alpha lists refer to the alphas, so they go first.
    m_intercoms = std::move(snapshot.m_intercoms);
    m_alphas = std::move(snapshot.m_alphas);
    m_trunks = std::move(snapshot.m_trunks);
    m_options = std::move(snapshot.m_options);
    m_groups = std::move(snapshot.m_groups);
    m_signatureTexts = std::move(snapshot.m_signatureTexts);
    m_signatureBits = std::move(snapshot.m_signatureBits);
    m_bPartialFile = snapshot.m_bPartialFile;
    UpdateAlphaCount();
    m_portCheck = {};
    InvalidateIcomChecks();
    UpdateAllViews(nullptr, CUpdateHint::kRebuild);
}

#include "model/doc_snapshot.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "model/app_state.h"

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

CDocSnapshot::CDocSnapshot(CKelvardinDoc& doc) : m_pDoc(&doc) {
    m_trunks = CopyRecords(doc.m_trunks);
    m_options = CopyRecords(doc.m_options);
    m_groups = CopyRecords(doc.m_groups);
    m_alphas = doc.m_alphas;
    m_intercoms = CopyRecords(doc.m_intercoms);
    // The copied intercoms still list the document's alphas: each is swapped for its copy.
    std::unordered_map<const CAlpha*, CAlpha*> copies;
    copies.reserve(doc.m_alphas.size());
    auto copy = m_alphas.begin();
    for (const auto& [key, alpha] : doc.m_alphas)
        copies.emplace(&alpha, &(copy++)->second);
    for (const auto& icom : m_intercoms) {
        if (!icom) continue;
        for (int index = 0; index < kAlphaListCount; ++index) {
            const CIntercom::CAlphaList listed = icom->GetAlphas(index);
            for (const auto& [number, alpha] : listed)
                icom->InsertAlpha(copies.at(alpha));
        }
    }
    m_signatureTexts = doc.m_signatureTexts;
    m_signatureBits = doc.m_signatureBits;
    m_bPartialFile = doc.m_bPartialFile;
    doc.m_held.push_back(this);
}

CDocSnapshot::~CDocSnapshot() {
    Release();
}

void CDocSnapshot::Release() {
    if (!m_pDoc) return;
    std::erase(m_pDoc->m_held, this);
    m_pDoc = nullptr;
}

void CKelvardinDoc::RestoreSnapshot(CDocSnapshot& snapshot) {
    snapshot.Release();
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

void CKelvardinDoc::SwapSetup(CDocSnapshot& held) {
    std::swap(m_trunks, held.m_trunks);
    std::swap(m_options, held.m_options);
    std::swap(m_intercoms, held.m_intercoms);
    std::swap(m_groups, held.m_groups);
    std::swap(m_alphas, held.m_alphas);
}

void CKelvardinDoc::StoreIntoHeld(const std::function<BOOL()>& store) {
    // The store runs on each copy in the setup's place, unheard by the views, which show the
    // setup; whatever it leaves, the setup comes back with its own alpha count.
    class CStandIn {
    public:
        CStandIn(CKelvardinDoc& doc, CDocSnapshot& held)
            : m_doc(doc), m_held(held), m_pViews(std::exchange(doc.m_pViews, nullptr)) {
            m_doc.SwapSetup(m_held);
        }
        ~CStandIn() {
            m_doc.SwapSetup(m_held);
            m_doc.m_pViews = m_pViews;
            m_doc.UpdateAlphaCount();
        }
        CStandIn(const CStandIn&) = delete;
        CStandIn& operator=(const CStandIn&) = delete;

    private:
        CKelvardinDoc& m_doc;
        CDocSnapshot& m_held;
        IDocViews* m_pViews;
    };
    for (CDocSnapshot* held : m_held) {
        CStandIn standIn(*this, *held);
        store();
    }
}

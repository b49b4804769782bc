#include "model/kelvardin_doc.h"

#include <algorithm>
#include <utility>

#include "model/app_state.h"
#include "model/memory_page.h"

namespace {

// The configured count of a record type (1 for the options).
int ConfiguredCount(int type) {
    return GetApp().GetConfig().GetObjectCount(type, FALSE);
}

template <class Record>
Record* At(const std::vector<std::unique_ptr<Record>>& records, DWORD index, int type) {
    const bool inRange =
        index < static_cast<DWORD>(ConfiguredCount(type)) && index < records.size();
    return inRange ? records[index].get() : nullptr;
}

// Marks the reset as running in the live configuration and shows the wait cursor while it
// lives, so that neither stays behind when building the setup fails.
class CResetScope {
public:
    CResetScope(CCVConfig& config, IDocViews* views) : m_config(config), m_pViews(views) {
        m_config.m_bResetInProgress = TRUE;
        if (m_pViews) m_pViews->BeginWaitCursor();
    }
    ~CResetScope() {
        m_config.m_bResetInProgress = FALSE;
        if (m_pViews) m_pViews->EndWaitCursor();
    }
    CResetScope(const CResetScope&) = delete;
    CResetScope& operator=(const CResetScope&) = delete;

private:
    CCVConfig& m_config;
    IDocViews* m_pViews;
};

constexpr int kDefaultGroupMembers = 31;

// Calls f(record, index) for the records of a type 1-4 below the configured count while it
// answers true.
template <class Doc, class F>
void ForEachRecord(Doc& doc, int type, F f) {
    const bool known = type >= CObjSpec::kTrunk && type <= CObjSpec::kGroup;
    const int count = known ? ConfiguredCount(type) : 0;
    for (int i = 0; i < count; ++i) {
        auto* record = doc.FindObject(
            CObjSpec(static_cast<DWORD>(type), static_cast<DWORD>(i), CObjSpec::kFieldRecord));
        if (!record || !f(*record, i)) break;
    }
}

}  // namespace

CKelvardinDoc::CKelvardinDoc() = default;

CKelvardinDoc::~CKelvardinDoc() = default;

void CKelvardinDoc::UpdateAllViews(CView* sender, CUpdateHint hint, LPARAM object) {
    if (m_pViews) m_pViews->UpdateAllViews(sender, hint, object);
}

void CKelvardinDoc::UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) {
    if (m_pViews) m_pViews->UpdateAllFrameViews(sender, hint, object);
}

// ---------------------------------------------------------------------------------------------

BOOL CKelvardinDoc::ResetToDefaultSetup() {
    CCVConfig& config = GetApp().GetConfig();
    if (config.m_bResetInProgress) return FALSE;
    {
        CResetScope scope(config, m_pViews);
        m_bPartialFile = FALSE;
        DeleteContents();

        m_trunks.resize(config.m_wNumTrunks);
        for (auto& trunk : m_trunks)
            trunk = std::make_unique<CTrunk>();
        m_options.push_back(std::make_unique<COptions>());
        m_intercoms.resize(config.m_wNumIntercoms);
        for (size_t i = 0; i < m_intercoms.size(); ++i) {
            m_intercoms[i] = std::make_unique<CIntercom>();
            m_intercoms[i]->SetCascadeCost(static_cast<int>(i + 1) * 10, FALSE);
        }
        m_groups.resize(config.m_wNumGroups);
        for (auto& group : m_groups)
            group = std::make_unique<CGroup>();
        if (!m_groups.empty()) {
            CGroup& first = *m_groups.front();
            first.SetName(u"DefaultGroup", FALSE);
            const int members = std::min<int>(kDefaultGroupMembers, config.m_wNumIntercoms);
            for (int i = 0; i < members; ++i)
                first.SetMember(i, TRUE, FALSE);
        }

        // A setup made anew is written after every step made before.
        const std::uint64_t written = ++m_lastWrite;
        for (auto& trunk : m_trunks)
            trunk->NoteWrite(CCVObject::kWholeRecord, written);
        for (auto& icom : m_intercoms)
            icom->NoteWrite(CCVObject::kWholeRecord, written);

        m_portCheck = {};
        InvalidateIcomChecks();
    }
    UpdateAllViews(nullptr, CUpdateHint::kRebuild);
    return TRUE;
}

void CKelvardinDoc::DeleteContents() {
    // The intercoms' alpha lists refer to the alphas, so they go first.
    m_trunks.clear();
    m_options.clear();
    m_intercoms.clear();
    m_groups.clear();
    m_alphas.clear();
    UpdateAlphaCount();
}

void CKelvardinDoc::UpdateAlphaCount() {
    GetApp().GetConfig().m_wNumAlphas =
        static_cast<WORD>(std::min<size_t>(m_alphas.size(), 0xFFFF));
}

void CKelvardinDoc::InvalidateIcomChecks() {
    m_rangeCheck = {};
    m_namedIcomCount = {};
}

// ---------------------------------------------------------------------------------------------

const CTrunk* CKelvardinDoc::FindTrunk(int trunk) const {
    return At(m_trunks, static_cast<DWORD>(trunk), CObjSpec::kTrunk);
}

const COptions* CKelvardinDoc::FindOptions() const {
    return At(m_options, 0, CObjSpec::kOptions);
}

const CIntercom* CKelvardinDoc::FindIcom(int icom) const {
    return At(m_intercoms, static_cast<DWORD>(icom), CObjSpec::kIntercom);
}

const CGroup* CKelvardinDoc::FindGroup(int group) const {
    return At(m_groups, static_cast<DWORD>(group), CObjSpec::kGroup);
}

const CCVObject* CKelvardinDoc::FindObject(const CObjSpec& objSpec) const {
    switch (objSpec.m_nType) {
        case CObjSpec::kTrunk: return At(m_trunks, objSpec.m_nIndex, CObjSpec::kTrunk);
        case CObjSpec::kOptions: return At(m_options, objSpec.m_nIndex, CObjSpec::kOptions);
        case CObjSpec::kIntercom: return At(m_intercoms, objSpec.m_nIndex, CObjSpec::kIntercom);
        case CObjSpec::kGroup: return At(m_groups, objSpec.m_nIndex, CObjSpec::kGroup);
        case CObjSpec::kAlpha: return FindAlpha(objSpec.m_nIndex);
        default: return nullptr;
    }
}

CCVObject* CKelvardinDoc::FindObject(const CObjSpec& objSpec) {
    return const_cast<CCVObject*>(std::as_const(*this).FindObject(objSpec));
}

std::uint64_t CKelvardinDoc::GetWriteNumber(const CObjSpec& field) const {
    const CCVObject* record = FindObject(field);
    return record ? record->GetWriteNumber(field.m_nFieldId) : 0;
}

const CAlpha* CKelvardinDoc::FindAlpha(DWORD key) const {
    const auto it = m_alphas.find(key);
    return it != m_alphas.end() ? &it->second : nullptr;
}

CAlpha* CKelvardinDoc::FindAlpha(DWORD key) {
    return const_cast<CAlpha*>(std::as_const(*this).FindAlpha(key));
}

// ---------------------------------------------------------------------------------------------

const IMemoryPage* CKelvardinDoc::FindMemoryPage(DWORD address) const {
    if (!m_pMemoryPage || GetApp().GetMode() != CAppState::kModeOnline) return nullptr;
    const bool inPage = IMemoryPage::InPage(m_pMemoryPage->GetMemoryImageAddress(), address);
    return inPage ? m_pMemoryPage : nullptr;
}

DWORD CKelvardinDoc::IsModified(const CObjSpec& objSpec) const {
    if (objSpec.m_nType == CObjSpec::kController) {
        const IMemoryPage* page = FindMemoryPage(objSpec.m_nIndex);
        if (!page) return 0;
        return page->GetMemoryWriteBits().GetBit(objSpec.m_nIndex - page->GetMemoryImageAddress());
    }
    const CCVObject* record = FindObject(objSpec);
    return record ? record->IsModified(objSpec.m_nFieldId) : 0;
}

void CKelvardinDoc::SetModified(const CObjSpec& objSpec, BOOL on) {
    if (objSpec.m_nType == CObjSpec::kController) {
        if (FindMemoryPage(objSpec.m_nIndex))
            m_pMemoryPage->GetMemoryWriteBits().SetBit(
                objSpec.m_nIndex - m_pMemoryPage->GetMemoryImageAddress(), on);
        return;
    }
    if (CCVObject* record = FindObject(objSpec)) record->SetModified(objSpec.m_nFieldId, on);
}

void CKelvardinDoc::ClearObjectModified(const CObjSpec& objSpec) {
    if (CCVObject* record = FindObject(objSpec)) record->ClearModified();
}

void CKelvardinDoc::ClearAllModified(int type) {
    ForEachRecord(*this, type, [](CCVObject& record, int) {
        record.ClearModified();
        return true;
    });
}

void CKelvardinDoc::ClearAllChanges() {
    for (int type : {CObjSpec::kTrunk, CObjSpec::kOptions, CObjSpec::kIntercom, CObjSpec::kGroup})
        ClearAllModified(type);
}

int CKelvardinDoc::FindModified(int type) const {
    int found = -1;
    ForEachRecord(*this, type, [&](const CCVObject& record, int i) {
        if (record.IsModified(CObjSpec::kFieldRecord)) found = i;
        return found < 0;
    });
    return found;
}

int CKelvardinDoc::FindModifiedTrunk() const {
    return FindModified(CObjSpec::kTrunk);
}

int CKelvardinDoc::FindModifiedIcom() const {
    return FindModified(CObjSpec::kIntercom);
}

int CKelvardinDoc::FindModifiedOptions() const {
    return FindModified(CObjSpec::kOptions);
}

int CKelvardinDoc::FindModifiedGroup() const {
    return FindModified(CObjSpec::kGroup);
}

BOOL CKelvardinDoc::HasModifications() const {
    return FindModifiedTrunk() >= 0 || FindModifiedIcom() >= 0 || FindModifiedOptions() >= 0 ||
           FindModifiedGroup() >= 0;
}

// ---------------------------------------------------------------------------------------------

void CKelvardinDoc::SetFlagOnType(int type, DWORD bits, BOOL on) {
    if (type != CObjSpec::kAlpha) {
        ForEachRecord(*this, type, [&](CCVObject& record, int) {
            record.SetFlags(bits, on);
            return true;
        });
        return;
    }
    // The visible count limits what is shown, not what a file holds.
    ForEachRecord(*this, CObjSpec::kIntercom, [&](CCVObject& record, int) {
        auto& icom = static_cast<CIntercom&>(record);
        for (int index = 0; index < kAlphaListCount; ++index)
            icom.SetAlphaFlags(index, bits, on);
        return true;
    });
}

void CKelvardinDoc::SetFlagOnAll(DWORD bits, BOOL on) {
    for (int type : {CObjSpec::kTrunk, CObjSpec::kOptions, CObjSpec::kIntercom, CObjSpec::kGroup,
                     CObjSpec::kAlpha})
        SetFlagOnType(type, bits, on);
}

void CKelvardinDoc::SetObjectFlags(int type, DWORD testBits, DWORD setBits) {
    if (type != CObjSpec::kAlpha) {
        // The controllers keep no flags word of their own, so type 6 has nothing to mark.
        ForEachRecord(*this, type, [&](CCVObject& record, int) {
            if (record.GetFlags() & testBits) record.SetFlags(setBits, TRUE);
            return true;
        });
        return;
    }
    ForEachRecord(*this, CObjSpec::kIntercom, [&](CCVObject& record, int) {
        auto& icom = static_cast<CIntercom&>(record);
        for (int index = 0; index < kAlphaListCount; ++index) {
            if (icom.GetAlphaFlags(index) & testBits) icom.SetAlphaFlags(index, setBits, TRUE);
        }
        return true;
    });
}

void CKelvardinDoc::SetFlagOnFlagged(DWORD testBits, DWORD setBits) {
    for (int type : {CObjSpec::kTrunk, CObjSpec::kOptions, CObjSpec::kIntercom, CObjSpec::kGroup,
                     CObjSpec::kAlpha})
        SetObjectFlags(type, testBits, setBits);
}

template <class Visit>
void CKelvardinDoc::ForEachFlagWord(Visit visit) {
    for (int type : {CObjSpec::kTrunk, CObjSpec::kOptions, CObjSpec::kIntercom, CObjSpec::kGroup}) {
        ForEachRecord(*this, type, [&](CCVObject& record, int) {
            DWORD word = record.GetFlags();
            visit(word);
            record.SetFlags(~word, FALSE);
            record.SetFlags(word, TRUE);
            return true;
        });
    }
    ForEachRecord(*this, CObjSpec::kIntercom, [&](CCVObject& record, int) {
        auto& icom = static_cast<CIntercom&>(record);
        for (int index = 0; index < kAlphaListCount; ++index) {
            DWORD word = icom.GetAlphaFlags(index);
            visit(word);
            icom.SetAlphaFlags(index, ~word, FALSE);
            icom.SetAlphaFlags(index, word, TRUE);
        }
        return true;
    });
}

CKelvardinDoc::CFlagMarks CKelvardinDoc::SaveFlagMarks(DWORD bits) {
    CFlagMarks marks{bits, {}};
    ForEachFlagWord([&](DWORD& word) { marks.words.push_back(word & bits); });
    return marks;
}

void CKelvardinDoc::RestoreFlagMarks(const CFlagMarks& marks) {
    size_t next = 0;
    ForEachFlagWord([&](DWORD& word) {
        if (next < marks.words.size()) word = (word & ~marks.bits) | marks.words[next++];
    });
}

void CKelvardinDoc::SetIcomAlphaFlags(int icom, int index, DWORD bits, BOOL on) {
    if (icom >= GetApp().GetVisibleIcomCount()) return;
    SetAnyIcomAlphaFlags(icom, index, bits, on);
}

void CKelvardinDoc::SetAnyIcomAlphaFlags(int icom, int index, DWORD bits, BOOL on) {
    if (index < 0 || index >= kAlphaListCount) return;
    if (CIntercom* record = FindIcom(icom)) record->SetAlphaFlags(index, bits, on);
}

void CKelvardinDoc::ClearHiddenAlphaFlags(DWORD bits) {
    const int visible = GetApp().GetVisibleIcomCount();
    ForEachRecord(*this, CObjSpec::kIntercom, [&](CCVObject& record, int icom) {
        for (int index = 0; icom >= visible && index < kAlphaListCount; ++index)
            static_cast<CIntercom&>(record).SetAlphaFlags(index, bits, FALSE);
        return true;
    });
}

BOOL CKelvardinDoc::IsAlphaTypeIncluded(int icom, int index) const {
    const CIntercom* record = FindIcom(icom);
    return record && (record->GetAlphaFlags(index) & CCVObject::kInFile) != 0;
}

// ---------------------------------------------------------------------------------------------

BOOL CKelvardinDoc::IsReadOnlyObjectID(int fieldId) {
    switch (fieldId) {
        case 0:
        case 1:
        case 2:
        case 9: return TRUE;
        default: return (fieldId >= 77 && fieldId <= 1100) || (fieldId >= 1356 && fieldId <= 1362);
    }
}

CString CKelvardinDoc::GetBuildDate() {
    return CString::FromUtf8(__DATE__);
}

CString CKelvardinDoc::GetCVVersionItem(int i) const {
    return i >= 0 && i < static_cast<int>(m_versionItems.size()) ? m_versionItems[i] : CString();
}

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "model/app_state.h"
#include "model/edit_rules.h"
#include "model/kelvardin_doc.h"
#include "model/newer_holders.h"
#include "model/select_alpha.h"
#include "model/undo_host.h"
#include "model/undo_object.h"

namespace {

constexpr long long kDecimalLimit = 1'000'000'000'000;

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

int HexDigit(char16_t ch) {
    if (IsDigit(ch)) return ch - u'0';
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    return -1;
}

using CTrunkAssignGetter = const CAssign& (CTrunk::*)(BOOL) const;

// Where a trunk assignment is looked for: by get, with the field ids of its two ends.
struct CTrunkAssignField {
    CTrunkAssignGetter get;
    DWORD field1;
    DWORD field2;
};

constexpr CTrunkAssignField kEnds{&CTrunk::GetEndpoint, CTrunk::kFieldEnd1, CTrunk::kFieldEnd2};
constexpr CTrunkAssignField kFixed{&CTrunk::GetFixedAssign, CTrunk::kFieldFixed1,
                                   CTrunk::kFieldFixed2};

// The first trunk whose assignment (ends or fixed assignments) is the one given, over end 1 of
// every trunk and then end 2, skipping one end of one trunk and the holders skip names.
int FindTrunkUsing(const CKelvardinDoc& doc, const CTrunkAssignField& where, const CAssign& assign,
                   int excludeTrunk, BOOL excludeEnd1, BOOL* isEnd1,
                   const CKelvardinDoc::CHolderTest& skip) {
    const int count = GetApp().GetConfig().m_wNumTrunks;
    for (BOOL first : {TRUE, FALSE}) {
        for (int i = 0; i < count; ++i) {
            const auto* record = dynamic_cast<const CTrunk*>(doc.FindObject(CTrunkSpec(i, 1)));
            if (!record) break;
            if (i == excludeTrunk && (excludeEnd1 != 0) == (first != 0)) continue;
            if ((record->*where.get)(first).GetKey() != assign.GetKey()) continue;
            if (skip && skip(CTrunkSpec(i, first ? where.field1 : where.field2))) continue;
            if (isEnd1) *isEnd1 = first;
            return i;
        }
    }
    return -1;
}

}  // namespace

// ---- Reading typed text ---------------------------------------------------------------------

CString WithoutTrailingBlanks(CString text) {
    text.TrimRight();
    return text;
}

long long DecimalValue(const CString& text) {
    CString t = text;
    t.TrimLeft();
    int i = 0;
    const bool negative = !t.IsEmpty() && t[0] == u'-';
    if (!t.IsEmpty() && (t[0] == u'-' || t[0] == u'+')) ++i;
    long long value = 0;
    for (; i < t.GetLength() && IsDigit(t[i]); ++i)
        value = std::min(value * 10 + (t[i] - u'0'), kDecimalLimit);
    return negative ? -value : value;
}

bool ReadHexText(const CString& text, DWORD& value) {
    CString t = text;
    t.Trim();
    if (t.IsEmpty()) return false;
    unsigned long long v = 0;
    for (int i = 0; i < t.GetLength(); ++i) {
        const int digit = HexDigit(t[i]);
        if (digit < 0) return false;
        v = std::min<unsigned long long>(v * 16 + static_cast<unsigned>(digit), 0xFFFFFFFF);
    }
    value = static_cast<DWORD>(v);
    return true;
}

bool CKelvardinDoc::IsFreedByEdit(const CObjSpec& holder) const {
    return m_freed.contains(holder.Key());
}

CKelvardinDoc::CFreedFieldsScope::CFreedFieldsScope(CKelvardinDoc& doc,
                                                    std::set<CObjSpec::CKey> fields)
    : m_doc(doc), m_outer(std::exchange(doc.m_freed, std::move(fields))) {}

CKelvardinDoc::CFreedFieldsScope::~CFreedFieldsScope() {
    m_doc.m_freed = std::move(m_outer);
}

BOOL CKelvardinDoc::IsNumberText(const CString& text) {
    CString t = text;
    t.Trim();
    return std::all_of(t.str().begin(), t.str().end(), IsDigit);
}

// ---- The entry point ------------------------------------------------------------------------

BOOL CKelvardinDoc::SetObjectField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo,
                                   const CObjSpec& fieldSpec) {
    switch (objSpec.m_nType) {
        case CObjSpec::kTrunk: return SetTrunkField(objSpec, fieldSpec, text, recordUndo);
        case CObjSpec::kOptions: return SetOptionField(objSpec, text, recordUndo);
        case CObjSpec::kIntercom: return SetIcomField(objSpec, text, recordUndo);
        case CObjSpec::kGroup: return SetGroupField(objSpec, text, recordUndo);
        case CObjSpec::kController: return SetMemoryField(objSpec, text, recordUndo);
        default: return FALSE;  // alphas come only from the controller and from files
    }
}

BOOL CKelvardinDoc::RestoreObjectField(const CObjSpec& objSpec, const CString& text,
                                       const CObjSpec& fieldSpec) {
    const DWORD field = objSpec.m_nFieldId;
    const BOOL on = DecimalValue(text) != 0;
    switch (objSpec.m_nType) {
        case CObjSpec::kTrunk: return RestoreTrunkField(objSpec, text, fieldSpec);
        case CObjSpec::kIntercom: return RestoreIcomField(objSpec, text);
        case CObjSpec::kOptions:
            if (field == COptions::kFieldTimeout)
                return SetOptionTimeout(static_cast<DWORD>(DecimalValue(text)), TRUE);
            if (field == COptions::kFieldAutoClear) return SetOptionAutoClear(on, TRUE);
            return field == COptions::kFieldWaitForTalkKey && SetOptionWaitForTalkKey(on, TRUE);
        case CObjSpec::kGroup: {
            const int group = objSpec.GetIndex();
            if (field >= CGroup::kFieldFirstMember &&
                field < CGroup::kFieldFirstMember + CGroup::kMaxMembers)
                return SetGroupMember(group, static_cast<int>(field - CGroup::kFieldFirstMember),
                                      on);
            CGroup* record = FindGroup(group);
            return field == CGroup::kFieldName && record &&
                   record->SetName(WithoutTrailingBlanks(text), TRUE);
        }
        case CObjSpec::kController: return SetMemoryField(objSpec, text, FALSE);
        default: return FALSE;
    }
}

CKelvardinDoc::CPutBack CKelvardinDoc::BeginPutBack(std::vector<CObjSpec> fields,
                                                    std::uint64_t made) const {
    CPutBack putBack{std::move(fields), made, {}};
    for (const CObjSpec& field : putBack.fields)
        putBack.before.push_back(field.m_nType == CObjSpec::kTrunk ? GetTrunkValue(field) : 0);
    return putBack;
}

BOOL CKelvardinDoc::CheckPutBack(const CPutBack& putBack) const {
    // Only trunk and intercom fields can clash with another record's: the setup is searched
    // for the first of them, once.
    std::optional<CNewerHolders> found;
    const auto holders = [&]() -> const CNewerHolders& {
        if (!found) found.emplace(*this, putBack.fields, putBack.made);
        return *found;
    };
    CEditNotices notices;
    for (size_t i = 0; i < putBack.fields.size(); ++i) {
        const CObjSpec& field = putBack.fields[i];
        const bool free = field.m_nType == CObjSpec::kTrunk
                              ? CheckTrunkPutBack(field, putBack.before[i], holders())
                          : field.m_nType == CObjSpec::kIntercom
                              ? CheckIcomPutBack(field, holders(), notices)
                              : true;
        if (!free) return FALSE;
    }
    notices.Report();
    return TRUE;
}

void AddUndoStep(std::unique_ptr<CUndoObject> record) {
    if (IUndoHost* host = GetApp().GetUndoHost()) host->AddUndo(std::move(record));
}

void AddUndoStep(std::unique_ptr<CUndoObList> list) {
    if (IUndoHost* host = GetApp().GetUndoHost()) host->AddUndoList(std::move(list));
}

CString CKelvardinDoc::IcomLabel(int icom) const {
    CString label = NumberText(icom + 1);
    const CString name = GetIcomText(icom, GetApp().GetConfig().m_nAlphaSize, TRUE, FALSE);
    if (!name.IsEmpty()) label += u" (" + name + u")";
    return label;
}

// ---- Searches -------------------------------------------------------------------------------

int CKelvardinDoc::FindIntercomByText(const CString& text, int excludeIcom, BOOL alsoDefaultNames,
                                      const CHolderTest& skip) const {
    const CString wanted = WithoutTrailingBlanks(text);
    if (wanted.IsEmpty()) return -1;  // an unnamed intercom is no match
    const int visible = GetApp().GetVisibleIcomCount();
    const int length = GetApp().GetConfig().m_nAlphaSize;
    const auto other = [&](int i) {
        return i != excludeIcom && !(skip && skip(CIcomSpec(i, CIntercom::kFieldName)));
    };
    for (int i = 0; i < visible; ++i) {
        if (other(i) && GetIcomText(i, length, TRUE, FALSE) == wanted) return i;
    }
    if (!alsoDefaultNames) return -1;
    for (int i = 0; i < visible; ++i) {
        if (other(i) && GetDefaultIcomName(i) == wanted) return i;
    }
    return -1;
}

int CKelvardinDoc::FindAlphasByText(int icom, const CString& text, int typeFilter,
                                    std::vector<CAlphaChoice>& list) const {
    const int visible = GetApp().GetVisibleIcomCount();
    if (icom >= visible) return 0;
    // Labels are kept padded with blanks.
    const CString wanted = WithoutTrailingBlanks(text);
    if (wanted.IsEmpty() || wanted.GetLength() > CAlpha::kLabelLength)
        return static_cast<int>(list.size());
    const CString label = PadWithBlanks(wanted, CAlpha::kLabelLength);
    std::vector<CAlpha*> found;
    const int first = icom < 0 ? 0 : icom;
    const int last = icom < 0 ? visible : icom + 1;
    for (int i = first; i < last; ++i) {
        if (const CIntercom* record = FindIcom(i)) record->FindAlphas(typeFilter, label, found);
    }
    for (const CAlpha* alpha : found)
        list.push_back({alpha->GetKey(), alpha->GetLabel()});
    return static_cast<int>(list.size());
}

int CKelvardinDoc::FindTrunkUsingEnd(const CAssign& assign, int excludeTrunk, BOOL excludeEnd1,
                                     BOOL* isEnd1, const CHolderTest& skip) const {
    return FindTrunkUsing(*this, kEnds, assign, excludeTrunk, excludeEnd1, isEnd1, skip);
}

int CKelvardinDoc::FindTrunkUsingFixed(const CAssign& assign, BOOL* isEnd1,
                                       const CHolderTest& skip) const {
    return FindTrunkUsing(*this, kFixed, assign, -1, FALSE, isEnd1, skip);
}

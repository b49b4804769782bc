#include "model/undo_object.h"

#include <algorithm>
#include <limits>
#include <set>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"

namespace {

std::optional<CContext> LiveContext() {
    const IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetCurrentContext() : std::nullopt;
}

}  // namespace

CUndoObject::CUndoObject(const CObjSpec& objSpec, const CObjSpec& fieldSpec, const CString& oldText,
                         DWORD wasModified, std::optional<CContext> context, std::uint64_t made)
    : m_objSpec(objSpec),
      m_fieldSpec(fieldSpec),
      m_oldText(oldText),
      m_wasModified(wasModified),
      m_context(context ? std::move(context) : LiveContext()),
      m_made(made) {}

CString CUndoObject::ReadFieldText(const CKelvardinDoc& doc, const CObjSpec& objSpec,
                                   const CObjSpec& fieldSpec) {
    // A trunk end or fixed assignment is kept as its key: its display text depends on alphas
    // that may change before the record is replayed.
    if (fieldSpec.m_nType == CObjSpec::kAlpha && fieldSpec.m_nFieldId == CObjSpec::kEntryAssignKey)
        return CString::Formatted(u"%lu", doc.GetTrunkValue(objSpec));
    if (fieldSpec.m_nType == CObjSpec::kTrunk)
        return CString::Formatted(u"%lu", doc.GetTrunkValue(fieldSpec));
    return doc.GetObjectText(objSpec);
}

std::unique_ptr<CUndoObject> CUndoObject::Capture(const CKelvardinDoc& doc, const CObjSpec& objSpec,
                                                  const CObjSpec& fieldSpec,
                                                  std::optional<CContext> context) {
    return std::make_unique<CUndoObject>(objSpec, fieldSpec, ReadFieldText(doc, objSpec, fieldSpec),
                                         doc.IsModified(objSpec), std::move(context),
                                         doc.GetLastWrite());
}

std::unique_ptr<CUndoStep> CUndoObject::MakeInverse(const CKelvardinDoc& doc) const {
    return Capture(doc, m_objSpec, m_fieldSpec, m_context);
}

void CUndoObject::Apply(BOOL select) const {
    IUndoHost* host = GetApp().GetUndoHost();
    CKelvardinDoc* doc = host ? host->GetActiveDocument() : nullptr;
    if (!doc) return;
    if (select && m_context) {
        host->GoToContext(*m_context);
        host->EmptyForward();
    }
    int row = -1;
    int col = -1;
    if (host->FindGridCell(m_objSpec, m_fieldSpec, row, col) && row >= 0 && col >= 0)
        host->SelectGridCell(row, col, select != FALSE);
    Restore(*doc);
}

void CUndoObject::Restore(CKelvardinDoc& doc) const {
    const BOOL stored = doc.RestoreObjectField(m_objSpec, m_oldText, m_fieldSpec);
    // A memory byte the page would not take keeps its value, and with it its change mark.
    if (stored || ReadFieldText(doc, m_objSpec, m_fieldSpec) == m_oldText)
        doc.SetModified(m_objSpec, m_wasModified != 0);
}

void CUndoObList::Append(CUndoObList&& other) {
    for (auto& record : other.m_records)
        m_records.push_back(std::move(record));
    other.m_records.clear();
}

size_t CUndoObList::RemoveIf(const std::function<bool(const CUndoObject&)>& predicate) {
    return std::erase_if(
        m_records, [&](const std::unique_ptr<CUndoObject>& record) { return predicate(*record); });
}

std::unique_ptr<CUndoStep> CUndoObList::MakeInverse(const CKelvardinDoc& doc) const {
    auto inverse = std::make_unique<CUndoObList>();
    for (const auto& record : m_records)
        inverse->Add(CUndoObject::Capture(doc, record->GetObjSpec(), record->GetFieldSpec(),
                                          record->GetContext()));
    return inverse;
}

void CUndoObList::Apply(BOOL select) const {
    IUndoHost* host = GetApp().GetUndoHost();
    CKelvardinDoc* doc = host ? host->GetActiveDocument() : nullptr;
    if (!doc || m_records.empty()) return;
    // One step shows one cell, its first: the fields it also took back add no highlights of
    // their own.
    m_records.front()->Apply(select);
    Restore(*doc);
}

std::vector<CObjSpec> CUndoObList::GetFields() const {
    std::vector<CObjSpec> fields;
    for (const auto& record : m_records)
        fields.push_back(record->GetObjSpec());
    return fields;
}

std::uint64_t CUndoObList::GetMade() const {
    std::uint64_t made = std::numeric_limits<std::uint64_t>::max();
    for (const auto& record : m_records)
        made = std::min(made, record->GetMade());
    return made;
}

void CUndoObList::Restore(CKelvardinDoc& doc) const {
    // A field edited more than once goes back once, to the value its first record kept: the
    // value from before the edits. The later records hold values in between.
    std::set<CObjSpec::CKey> restored;
    for (const auto& record : m_records) {
        if (restored.insert(record->GetObjSpec().Key()).second) record->Restore(doc);
    }
}

bool ReplayNewestStep(CKelvardinDoc& doc, CStack<CUndoStep>& from, CStack<CUndoStep>& to) {
    std::unique_ptr<CUndoStep> step = from.Pop();
    if (!step) return false;
    // The inverse is made now, before the put-back: for a Redo, when its Undo ran.
    std::unique_ptr<CUndoStep> inverse = step->MakeInverse(doc);
    const CKelvardinDoc::CPutBack putBack = doc.BeginPutBack(step->GetFields(), step->GetMade());
    step->Apply(TRUE);
    // The fields are checked as the step leaves them, as one: the order its records were
    // written in matters no more than it did to the edit.
    if (doc.CheckPutBack(putBack)) {
        to.Push(std::move(inverse));
        return true;
    }
    inverse->Restore(doc);
    from.Push(std::move(step));
    return false;
}

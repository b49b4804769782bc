#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/bounded_stack.h"
#include "model/obj_spec.h"
#include "model/view_context.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CKelvardinDoc;

// One step of the undo or redo history: a record of one field, or a list of records undone
// together.
class CUndoStep {
public:
    virtual ~CUndoStep() = default;
    // The step that takes the fields back to what they hold now.
    virtual std::unique_ptr<CUndoStep> MakeInverse(const CKelvardinDoc& doc) const = 0;
    // Writes the recorded values back; with select the edited screen and cell are shown.
    virtual void Apply(BOOL select) const = 0;
    // Writes the recorded values back, and shows nothing. Never refused.
    virtual void Restore(CKelvardinDoc& doc) const = 0;
    // The fields the step writes.
    virtual std::vector<CObjSpec> GetFields() const = 0;
    // The document's last write number when the step was made: a field written after it may
    // have taken a value the step puts back (CKelvardinDoc::CheckPutBack).
    virtual std::uint64_t GetMade() const = 0;
};

// Undo or Redo: applies the newest step of from and puts its inverse onto to. A step that
// would leave a value on two fields, one of them written after the step was made
// (CKelvardinDoc::CheckPutBack), is put back at once and stays where it was. Answers whether
// a step went.
bool ReplayNewestStep(CKelvardinDoc& doc, CStack<CUndoStep>& from, CStack<CUndoStep>& to);

// What one field held before an edit: its text in the form the edit entry point takes back,
// whether it had an unsent change, and where the user made the edit.
class CUndoObject : public CUndoStep {
public:
    // Without a context the record takes the live context of the current screen, if any.
    // made: the document's last write number before the edit.
    CUndoObject(const CObjSpec& objSpec, const CObjSpec& fieldSpec, const CString& oldText,
                DWORD wasModified, std::optional<CContext> context = std::nullopt,
                std::uint64_t made = 0);

    // A record of the field as it is now, made now.
    static std::unique_ptr<CUndoObject> Capture(const CKelvardinDoc& doc, const CObjSpec& objSpec,
                                                const CObjSpec& fieldSpec,
                                                std::optional<CContext> context = std::nullopt);
    // The field's present value as text: the assignment key in decimal for an entry of kind
    // 1628, the trunk value a trunk fieldSpec names, else the display text.
    static CString ReadFieldText(const CKelvardinDoc& doc, const CObjSpec& objSpec,
                                 const CObjSpec& fieldSpec);

    std::unique_ptr<CUndoStep> MakeInverse(const CKelvardinDoc& doc) const override;
    void Apply(BOOL select) const override;
    // Writes the old value and its change mark back.
    void Restore(CKelvardinDoc& doc) const override;
    std::vector<CObjSpec> GetFields() const override { return {m_objSpec}; }
    std::uint64_t GetMade() const override { return m_made; }

    const CObjSpec& GetObjSpec() const { return m_objSpec; }
    const CObjSpec& GetFieldSpec() const { return m_fieldSpec; }
    const CString& GetOldText() const { return m_oldText; }
    DWORD WasModified() const { return m_wasModified; }
    const std::optional<CContext>& GetContext() const { return m_context; }

private:
    CObjSpec m_objSpec;
    CObjSpec m_fieldSpec;
    CString m_oldText;
    DWORD m_wasModified;
    std::optional<CContext> m_context;
    std::uint64_t m_made;
};

// Records undone as one step, in the order the edit made them.
class CUndoObList : public CUndoStep {
public:
    void Add(std::unique_ptr<CUndoObject> record) { m_records.push_back(std::move(record)); }
    // Moves every record of the other list to the end of this one.
    void Append(CUndoObList&& other);
    // Drops the records the predicate answers true for; answers how many went.
    size_t RemoveIf(const std::function<bool(const CUndoObject&)>& predicate);
    bool IsEmpty() const { return m_records.empty(); }
    size_t GetCount() const { return m_records.size(); }
    const CUndoObject& GetAt(size_t i) const { return *m_records[i]; }

    std::unique_ptr<CUndoStep> MakeInverse(const CKelvardinDoc& doc) const override;
    // The first record shows its screen and its cell, the only one selected; the others
    // follow without navigating or selecting.
    void Apply(BOOL select) const override;
    // Writes every field back as it was before the records' edits.
    void Restore(CKelvardinDoc& doc) const override;
    std::vector<CObjSpec> GetFields() const override;
    // The earliest of its records'.
    std::uint64_t GetMade() const override;

private:
    std::vector<std::unique_ptr<CUndoObject>> m_records;
};

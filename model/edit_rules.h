#pragma once

#include <initializer_list>
#include <memory>

#include "model/kelvardin_doc.h"
#include "model/undo_object.h"
#include "model/validation_report.h"
#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// Helpers that the edit rules share.

// The text without trailing white space.
CString WithoutTrailingBlanks(CString text);

// The value of a decimal text as the C runtime reads it: leading white space, an optional
// sign, then digits up to the first other character; 0 without digits. Large values are
// held at +-10^12, beyond every field's range.
long long DecimalValue(const CString& text);

// A text of hexadecimal digits only, blanks around it allowed; false for anything else.
bool ReadHexText(const CString& text, DWORD& value);

// Whether an intercom's remote-trunking numbers, one per named intercom from its start number
// (0: none), run past 255.
inline bool RemoteRangeOverflows(DWORD start, int named) {
    return start != 0 && start + static_cast<DWORD>(named) - 1 > 255;
}

// Hands a user edit's undo step to the main window; without one it is dropped.
void AddUndoStep(std::unique_ptr<CUndoObject> record);
void AddUndoStep(std::unique_ptr<CUndoObList> list);

// Runs store() for a user edit of the field; when it stored something, the field's value
// before goes into the undo list (when given) under the fieldSpec.
template <class Store>
BOOL StoreRecorded(const CKelvardinDoc& doc, const CObjSpec& objSpec, const CObjSpec& fieldSpec,
                   CUndoObList* undo, Store store) {
    auto record = undo ? CUndoObject::Capture(doc, objSpec, fieldSpec) : nullptr;
    const BOOL stored = store();
    if (stored && undo) undo->Add(std::move(record));
    return stored;
}

// The same for an edit that is one undo step of its own (recordUndo 1).
template <class Store>
BOOL StoreEdit(const CKelvardinDoc& doc, const CObjSpec& objSpec, BOOL recordUndo, Store store) {
    auto record = recordUndo ? CUndoObject::Capture(doc, objSpec, CObjSpec::Plain()) : nullptr;
    const BOOL stored = store();
    if (stored && record) AddUndoStep(std::move(record));
    return stored;
}

// Reports the rule and answers FALSE, for rules that refuse the edit.
inline BOOL Refuse(const CEditRule& rule, std::initializer_list<CString> args = {}) {
    ReportRule(rule, args);
    return FALSE;
}

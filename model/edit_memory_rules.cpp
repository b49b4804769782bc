#include "model/edit_rules.h"
#include "model/kelvardin_doc.h"
#include "model/memory_page.h"

namespace {

constexpr DWORD kFieldMemoryByte = 1629;

}  // namespace

BOOL CKelvardinDoc::SetMemoryField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo) {
    // The controller's status rows and the character rows are never edited.
    if (objSpec.m_nFieldId != kFieldMemoryByte) return FALSE;
    // A text that is not hexadecimal names no byte; like a write the page refuses, it is
    // dropped without a message.
    DWORD value = 0;
    if (!WithoutTrailingBlanks(text).IsEmpty() && !ReadHexText(text, value)) return FALSE;
    if (!m_pMemoryPage) return FALSE;
    return StoreEdit(*this, objSpec, recordUndo,
                     [&] { return m_pMemoryPage->SetMemoryByte(objSpec.m_nIndex, value); });
}

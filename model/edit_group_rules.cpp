#include "model/edit_rules.h"
#include "model/kelvardin_doc.h"

namespace {

constexpr CEditRule kGroupNameTooLong{0, 2321};

}  // namespace

BOOL CKelvardinDoc::SetGroupField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo) {
    const int group = objSpec.GetIndex();
    const DWORD field = objSpec.m_nFieldId;
    if (field >= CGroup::kFieldFirstMember &&
        field < CGroup::kFieldFirstMember + CGroup::kMaxMembers) {
        const int icom = static_cast<int>(field - CGroup::kFieldFirstMember);
        return StoreEdit(*this, objSpec, recordUndo,
                         [&] { return SetGroupMember(group, icom, DecimalValue(text) != 0); });
    }
    if (field != CGroup::kFieldName) return FALSE;
    const CString name = WithoutTrailingBlanks(text);
    if (name.GetLength() > CGroup::kNameLength)
        return Refuse(kGroupNameTooLong, {NumberText(CGroup::kNameLength)});
    CGroup* record = FindGroup(group);
    return record &&
           StoreEdit(*this, objSpec, recordUndo, [&] { return record->SetName(name, TRUE); });
}

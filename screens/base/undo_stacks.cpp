#include "screens/base/undo_stacks.h"

namespace {

constexpr DWORD kFieldMemoryByte = 1629;

bool IsMemoryEdit(const CUndoObject& record) {
    const CObjSpec& obj = record.GetObjSpec();
    return obj.m_nType == CObjSpec::kController && obj.m_nFieldId == kFieldMemoryByte;
}

}  // namespace

void RemoveMemoryEdits(CStack<CUndoStep>& stack) {
    stack.RemoveIf([](CUndoStep& step) {
        if (auto* list = dynamic_cast<CUndoObList*>(&step)) {
            list->RemoveIf(IsMemoryEdit);
            return list->IsEmpty();
        }
        const auto* record = dynamic_cast<const CUndoObject*>(&step);
        return record && IsMemoryEdit(*record);
    });
}

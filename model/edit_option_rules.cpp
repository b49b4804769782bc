#include "model/app_state.h"
#include "model/edit_rules.h"
#include "model/kelvardin_doc.h"

namespace {

constexpr CEditRule kTimeoutInvalid{6, 2324};

constexpr long long kMaxMinutes = 99;
constexpr long long kMaxSeconds = 999;

}  // namespace

BOOL CKelvardinDoc::SetOptionField(const CObjSpec& objSpec, const CString& text, BOOL recordUndo) {
    switch (objSpec.m_nFieldId) {
        case COptions::kFieldTimeout: {
            const long long largest = GetApp().IsSecondsMode() ? kMaxSeconds : kMaxMinutes;
            const long long timeout = IsNumberText(text) ? DecimalValue(text) : 0;
            if (timeout < 1 || timeout > largest)
                return Refuse(kTimeoutInvalid,
                              {NumberText(1), NumberText(static_cast<int>(largest))});
            return StoreEdit(*this, objSpec, recordUndo,
                             [&] { return SetOptionTimeout(static_cast<DWORD>(timeout), TRUE); });
        }
        case COptions::kFieldAutoClear:
            return StoreEdit(*this, objSpec, recordUndo,
                             [&] { return SetOptionAutoClear(DecimalValue(text) != 0, TRUE); });
        case COptions::kFieldWaitForTalkKey:
            return StoreEdit(*this, objSpec, recordUndo, [&] {
                return SetOptionWaitForTalkKey(DecimalValue(text) != 0, TRUE);
            });
        default: return FALSE;  // the dynamic allocation mode comes from the controller only
    }
}

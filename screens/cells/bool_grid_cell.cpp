#include "screens/cells/bool_grid_cell.h"

#include <string_view>

#include "model/kelvardin_doc.h"
#include "platform/ui/win_consts.h"
#include "screens/cells/cell_compare.h"

namespace {

constexpr std::u16string_view kTrueKeys = u"+1yY";
constexpr std::u16string_view kFalseKeys = u"-0nN";

bool IsIn(std::u16string_view keys, UINT ch) {
    return ch <= 0xFFFF && keys.find(static_cast<char16_t>(ch)) != std::u16string_view::npos;
}

}  // namespace

CBoolGridCell::CBoolGridCell() {
    UpdateText();
}

void CBoolGridCell::Reset() {
    CKelvardinGridCell::Reset();
    m_bValue = 0;
}

BOOL CBoolGridCell::SetValue(int value) {
    m_bValue = value ? 1 : 0;
    CKelvardinDoc* doc = GetDocument();
    const BOOL stored =
        doc ? doc->SetObjectField(MappedSpec(), m_bValue ? u"1" : u"0", TRUE, GetAltObjSpec())
            : FALSE;
    if (UpdateText()) RedrawSelf();
    if (stored) SortColumnMayHaveChanged();
    return stored;
}

BOOL CBoolGridCell::UpdateText() {
    // An unbound cell, or one without a document, shows nothing.
    if (GetObjSpec().IsEmpty() || !GetDocument()) return FALSE;
    BOOL changed = CKelvardinGridCell::UpdateText();
    if (changed) m_bValue = LeadingNumber(CGridCell::GetText()) != 0 ? 1 : 0;
    const CString shown = m_bValue ? kTrueText : kFalseText;
    if (CGridCell::GetText() != shown) {
        SetText(shown);
        changed = TRUE;
    }
    return changed;
}

BOOL CBoolGridCell::Edit(int, int, CRect, CPoint, UINT, UINT ch) {
    if (IsIn(kFalseKeys, ch)) {
        SetValue(0);
    } else if (IsIn(kTrueKeys, ch)) {
        SetValue(1);
    } else if (ch == VK_SPACE || ch == VK_RETURN) {
        UpdateText();
        SetValue(!m_bValue);
    } else {
        return FALSE;
    }
    return TRUE;
}

BOOL CBoolGridCell::ValidateEdit(const CString& text) {
    if (text.IsEmpty()) return SetValue(0);
    if (text.GetLength() != 1 || IsReadOnly()) return FALSE;
    if (IsIn(kFalseKeys, text[0])) return SetValue(0);
    if (IsIn(kTrueKeys, text[0])) return SetValue(1);
    return FALSE;
}

void CBoolGridCell::OnDblClick(CPoint) {
    if (IsReadOnly()) return;
    UpdateText();
    SetValue(!m_bValue);
}

#include "screens/cells/choice_grid_cells.h"

#include "grid/in_place_editor.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/win_consts.h"

namespace {

// The baud-rate choices the document knows.
constexpr int kBaud38400 = 1;
constexpr int kBaud9600 = 2;

bool IsSwitchKey(UINT ch) {
    return ch == VK_SPACE || ch == '+' || ch == '-';
}

}  // namespace

CConnTypeCell::CConnTypeCell() {
    UpdateText();
}

BOOL CConnTypeCell::KeyCommand(UINT ch) {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return FALSE;
    int choice = -1;
    if (IsSwitchKey(ch)) {
        choice = doc->ParseConnTypeText(GetText()) == 0 ? 1 : 0;
    } else if (ch == 'S' || ch == 's') {
        choice = 0;
    } else if (ch == 'N' || ch == 'n' || ch == 'E' || ch == 'e') {
        choice = 1;
    } else {
        return FALSE;
    }
    SetValueText(doc->GetConnTypeText(choice));
    return TRUE;
}

BOOL CConnTypeCell::Edit(int, int, CRect, CPoint, UINT, UINT ch) {
    if (IsEditing()) {
        if (CInPlaceEditor* editor = GetEditWnd()) editor->SendChar(ch);
        return TRUE;
    }
    return KeyCommand(ch);
}

BOOL CConnTypeCell::ValidateEdit(const CString& text) {
    const CKelvardinDoc* doc = GetDocument();
    if (IsReadOnly() || !doc) return FALSE;
    const int choice = doc->ParseConnTypeText(text);
    if (choice < 0) return FALSE;
    return SetValueText(doc->GetConnTypeText(choice));
}

void CConnTypeCell::OnDblClick(CPoint) {
    if (!IsReadOnly()) KeyCommand(VK_SPACE);
}

CBaudRateGridCell::CBaudRateGridCell() {
    UpdateText();
}

BOOL CBaudRateGridCell::KeyCommand(UINT ch) {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc) return FALSE;
    int choice = -1;
    if (IsSwitchKey(ch)) {
        choice = doc->ParseBaudRateText(GetText()) == kBaud9600 ? kBaud38400 : kBaud9600;
    } else if (ch == '9') {
        choice = kBaud9600;
    } else if (ch == '3') {
        choice = kBaud38400;
    } else {
        return FALSE;
    }
    SetValueText(doc->GetBaudRateText(choice));
    return TRUE;
}

BOOL CBaudRateGridCell::Edit(int, int, CRect, CPoint, UINT, UINT ch) {
    if (IsEditing()) {
        if (CInPlaceEditor* editor = GetEditWnd()) editor->SendChar(ch);
        return TRUE;
    }
    return KeyCommand(ch);
}

BOOL CBaudRateGridCell::ValidateEdit(const CString& text) {
    const CKelvardinDoc* doc = GetDocument();
    if (IsReadOnly() || !doc) return FALSE;
    const int choice = doc->ParseBaudRateText(text);
    if (choice < 0) return FALSE;
    return SetValueText(doc->GetBaudRateText(choice));
}

void CBaudRateGridCell::OnDblClick(CPoint) {
    if (!IsReadOnly()) KeyCommand(VK_SPACE);
}

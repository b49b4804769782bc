#include "screens/cells/ip_addr_grid_cell.h"

#include "model/ip_text.h"
#include "model/kelvardin_doc.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_host.h"

namespace {

constexpr DWORD kNoAddress = 0xFFFFFFFF;
constexpr int kSearchNameLength = 4;

}  // namespace

CIPAddrGridCell::CIPAddrGridCell() {
    UpdateText();
}

BOOL CIPAddrGridCell::ValidateEdit(const CString& text) {
    if (IsReadOnly()) return FALSE;
    CString dotted = text;
    const DWORD address = ParseIPAddress(dotted);
    // The document refuses text that is no address, and says why.
    return SetValueText(address == kNoAddress ? text : FormatIPAddress(address));
}

BOOL CIPAddrGridCell::KeyCommand(UINT ch) {
    if (ch == '-') {
        // The document takes a blank as no address.
        SetValueText(u" ");
        return TRUE;
    }
    if (ch == 'B' || ch == 'b') {
        SearchForDevice();
        return TRUE;
    }
    return FALSE;
}

BOOL CIPAddrGridCell::Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) {
    if (!IsEditing() && KeyCommand(ch)) return TRUE;
    return CKelvardinGridCell::Edit(row, col, rect, point, id, ch);
}

void CIPAddrGridCell::OnDblClick(CPoint) {
    if (!IsReadOnly()) SearchForDevice();
}

void CIPAddrGridCell::SearchForDevice() {
    CKelvardinDoc* doc = GetDocument();
    CKelvardinGridView* view = GetGridView();
    if (!doc || !view) return;
    const int icom = MappedSpec().GetIndex();
    const CString name = doc->GetIcomText(icom, kSearchNameLength, TRUE, FALSE);
    CString found;
    CString primary;
    CString backup;
    if (view->GetHost().SearchForIntercom(icom, name, found, primary, backup))
        doc->SetIcomAddresses(icom, found, primary, backup);
    if (UpdateText()) RedrawSelf();
}

// Enter on a trunk end or fixed assignment: the intercom or the alpha picked in a dialog.
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "screens/base/edit_scopes.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/trunks/trunk_defs_host.h"
#include "screens/trunks/trunk_defs_view.h"

namespace {

struct DialogStart {
    int thisIcom = -1;
    int otherIcom = -1;
    int typeFilter = -1;
};

bool IsIntercom(int icom, int count) {
    return icom >= 0 && icom < count;
}

// The intercoms of the edited end (or fixed assignment) and of the other one, and the alpha
// type the dialog may offer; false when there is nothing to pick for the field.
bool StartOf(const CKelvardinDoc& doc, int trunk, DWORD field, DialogStart& start) {
    const int count = GetApp().GetConfig().m_wNumIntercoms;
    switch (field) {
        case CTrunk::kFieldEnd1:
        case CTrunk::kFieldEnd2: {
            const BOOL first = field == CTrunk::kFieldEnd1;
            start.thisIcom = doc.GetTrunkEnd(trunk, first).m_icom;
            start.otherIcom = doc.GetTrunkEnd(trunk, !first).m_icom;
            start.typeFilter = 0;
            break;
        }
        case CTrunk::kFieldFixed1:
        case CTrunk::kFieldFixed2: {
            const BOOL first = field == CTrunk::kFieldFixed1;
            start.thisIcom = doc.GetTrunkFixedAssign(trunk, first).m_icom;
            start.otherIcom = doc.GetTrunkFixedAssign(trunk, !first).m_icom;
            if (!IsIntercom(start.thisIcom, count)) {
                start.thisIcom = doc.GetTrunkEnd(trunk, first).m_icom;
                start.otherIcom = doc.GetTrunkEnd(trunk, !first).m_icom;
            }
            if (!IsIntercom(start.thisIcom, count)) return false;
            start.typeFilter = -1;
            break;
        }
        default: return false;
    }
    if (!IsIntercom(start.thisIcom, count)) start.thisIcom = -1;
    if (!IsIntercom(start.otherIcom, count)) start.otherIcom = -1;
    if (start.typeFilter < 0 || start.typeFilter > 7) start.typeFilter = -1;
    return true;
}

}  // namespace

void CTrunkDefsView::OnEditSelectedCell() {
    CKelvardinGridCtrl* grid = GetGrid();
    CKelvardinDoc* doc = GetDocument();
    ITrunkDefsHost* host = GetTrunkHost();
    if (!grid || !doc || !host || grid->GetSelectedCount() > 1) return;
    const CCellID focus = grid->GetFocusCell();
    if (!grid->IsValid(focus)) return;
    const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid->GetCell(focus.row, focus.col));
    if (!cell || cell->GetObjSpec().m_nType != CObjSpec::kTrunk) return;
    // The cell is lent: what it stands for is taken before anything asks the grid again.
    const CObjSpec obj = cell->GetObjSpec();
    const DWORD entry = cell->GetAltObjSpec().m_nFieldId;
    const int trunk = obj.GetIndex();
    DialogStart start;
    if (!StartOf(*doc, trunk, obj.m_nFieldId, start)) return;

    const CObjSpec icomEntry(CObjSpec::kAlpha, 0, CObjSpec::kEntryIcom);
    // Both writes of a pick are one step of the undo history.
    if (entry == CObjSpec::kEntryIcom) {
        const int icom = host->SelectIntercom(start.thisIcom, start.otherIcom);
        if (icom < 0) return;
        const CUndoGroupScope group;
        doc->SetObjectField(obj, CString::Formatted(u"%d", icom + 1), TRUE, icomEntry);
    } else if (entry == CObjSpec::kEntryAlphaLabel || entry == CObjSpec::kEntryAssignText) {
        CAssign assign = CAssign::FromKey(doc->GetTrunkValue(obj));
        if (start.thisIcom != -1) assign.m_icom = static_cast<BYTE>(start.thisIcom);
        if (start.typeFilter != -1) assign.m_type = static_cast<BYTE>(start.typeFilter);
        // OK without a choice leaves the none assignment: nothing changes.
        if (!host->SelectAssign(assign, start.thisIcom, start.typeFilter, start.otherIcom) ||
            !assign.IsValid())
            return;
        const CUndoGroupScope group;
        if (start.thisIcom == -1 &&
            !doc->SetObjectField(obj, CString::Formatted(u"%d", assign.m_icom + 1), TRUE,
                                 icomEntry))
            return;
        doc->SetObjectField(obj, FormatAssignText(assign), TRUE,
                            CObjSpec(CObjSpec::kAlpha, 0, CObjSpec::kEntryAssignText));
    } else {
        return;
    }
    // The dialog ran the event loop: the grid and the trunk's row in it are found again.
    RedrawTrunkRow(trunk);
    // The rows may be sorted by what was picked.
    SortDataChanged();
}

void CTrunkDefsView::RedrawTrunkRow(int trunk) {
    CKelvardinGridCtrl* grid = GetGrid();
    if (!grid) return;
    const int row = grid->FindDisplayRow(trunk + grid->GetFixedRowCount());
    if (row >= grid->GetFixedRowCount()) grid->RedrawGridRow(row);
}

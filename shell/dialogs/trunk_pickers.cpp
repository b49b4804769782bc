#include "shell/dialogs/trunk_pickers.h"

#include "platform/base/message_box.h"
#include "shell/dialogs/dlg_select_assign.h"
#include "shell/dialogs/dlg_select_icom.h"

int PickTrunkIntercom(const CKelvardinDoc* doc, QWidget* parent, int preselect, int excluded) {
    CDlgSelectIcom dialog(doc, parent);
    dialog.m_nIntercom = preselect;
    dialog.m_nExcludedIntercom = excluded;
    return dialog.DoModal() == IDOK ? dialog.m_nIntercom : -1;
}

bool PickTrunkAssign(const CKelvardinDoc* doc, QWidget* parent, CAssign& assign, int fixedIcom,
                     int typeFilter, int excluded) {
    CDlgSelectAssign dialog(doc, parent);
    dialog.m_assign = assign;
    dialog.m_nFixedIntercom = fixedIcom;
    dialog.m_nTypeFilter = typeFilter;
    dialog.m_nExcludedIntercom = excluded;
    // OK without a choice is no choice.
    if (dialog.DoModal() != IDOK || !dialog.m_assign.IsValid()) return false;
    assign = dialog.m_assign;
    return true;
}

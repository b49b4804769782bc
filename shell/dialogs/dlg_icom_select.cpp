#include "shell/dialogs/dlg_icom_select.h"

#include "model/kelvardin_doc.h"
#include "res/string_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/combo_list_ctrl.h"

CDlgIcomSelect::CDlgIcomSelect(QWidget* parent)
    : CDlgTrunkSelect(kIdsClearAllocationsCaption, kIdsClearAllocationsMessage, parent) {}

void CDlgIcomSelect::FillEntries(CComboListCtrl& list) {
    if (const CKelvardinDoc* doc = GetKelvardinApp().GetKelvardinDoc())
        doc->FillIcomCombo(list, m_bSelected, m_bAll, m_bAny);
}

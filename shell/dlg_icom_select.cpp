#include "shell/dlg_icom_select.h"

#include "model/kelvardin_doc.h"
#include "res/string_ids.h"
#include "shell/combo_list_ctrl.h"
#include "shell/kelvardin_app.h"

CDlgIcomSelect::CDlgIcomSelect(QWidget* parent)
    : CDlgTrunkSelect(kIdsClearAllocationsCaption, kIdsClearAllocationsMessage, parent) {}

void CDlgIcomSelect::FillEntries(CComboListCtrl& list) {
    if (const CKelvardinDoc* doc = GetKelvardinApp().GetKelvardinDoc())
        doc->FillIcomCombo(list, m_bSelected, m_bAll, m_bAny);
}

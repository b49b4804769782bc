#include "shell/dlg_icom_select.h"

#include "model/kelvardin_doc.h"
#include "shell/combo_list_ctrl.h"
#include "shell/kelvardin_app.h"

namespace {

constexpr UINT kIdsCaption = 2235;
constexpr UINT kIdsMessage = 2236;

}  // namespace

CDlgIcomSelect::CDlgIcomSelect(QWidget* parent)
    : CDlgTrunkSelect(kIdsCaption, kIdsMessage, parent) {}

void CDlgIcomSelect::FillEntries(CComboListCtrl& list) {
    if (const CKelvardinDoc* doc = GetKelvardinApp().GetKelvardinDoc())
        doc->FillIcomCombo(list, m_bSelected, m_bAll, m_bAny);
}

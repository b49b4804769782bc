#include "shell/dialogs/dlg_select_icom.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/message_box.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/controls/list_ctrl_sort.h"
#include "shell/dialogs/select_dialogs.h"

CDlgSelectIcom::CDlgSelectIcom(const CKelvardinDoc* doc, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Select Intercom"));
    auto* layout = new QVBoxLayout(this);
    m_list.setObjectName(QStringLiteral("ctl%1").arg(kList));
    layout->addWidget(&m_list);
    layout->addWidget(MakeOkCancel(*this));
    PrepareChoiceList(*this, m_list);
}

void CDlgSelectIcom::OnInitDialog() {
    m_list.InsertColumn(0, LoadResString(kIdsNumberHeading), 0);
    m_list.InsertColumn(1, LoadResString(kIdsAlphaHeading), 0);
    m_list.BeginUpdate();
    const CAppState& app = GetApp();
    const int visible = m_doc ? app.GetVisibleIcomCount() : 0;
    for (int i = 0; i < visible; ++i) {
        if (i == m_nExcludedIntercom) continue;
        const CString name = m_doc->GetIcomText(i, app.GetConfig().m_nAlphaSize, TRUE, FALSE);
        if (name.IsEmpty()) continue;
        const int row = m_list.AddItem(CString::Formatted(u"%d", i + 1), i);
        m_list.SetItemText(row, 1, name);
        if (i == m_nIntercom) SelectRow(m_list, row);
    }
    if (m_list.GetItemCount() == 0) {
        m_list.EndUpdate();
        GetApp().DoMessageBox(LoadResString(kIdsNoIntercoms), MB_OK | MB_ICONEXCLAMATION);
        EndDialog(IDCANCEL);
        return;
    }
    m_list.SetSortColumn(app.m_bSortIntercomsByIntercomNumber ? 0 : 1);
    // Sized once sorted, so that the headings keep room for the sort mark.
    m_list.AutoSizeColumn(0, false, false, false);
    m_list.AutoSizeColumn(1, false, false, false);
    if (QTreeWidgetItem* current = m_list.currentItem()) m_list.scrollToItem(current);
    m_list.EndUpdate();
}

int CDlgSelectIcom::GetCompareKind(const CKelvardinListCtrl&, int column, bool) {
    return column == 0 ? kCompareInteger : kCompareText;
}

void CDlgSelectIcom::accept() {
    const int row = FirstSelectedRow(m_list);
    m_nIntercom = row < 0 ? -1 : static_cast<int>(m_list.GetItemData(row));
    CKelvardinDialog::accept();
}

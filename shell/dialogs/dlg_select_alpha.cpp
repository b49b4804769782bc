#include "shell/dialogs/dlg_select_alpha.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "model/app_state.h"
#include "model/assign_text.h"
#include "model/kelvardin_doc.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/dialogs/select_dialogs.h"

CDlgSelectAlpha::CDlgSelectAlpha(const CKelvardinDoc* doc, std::vector<CAlphaChoice> candidates,
                                 QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent), m_doc(doc), m_candidates(std::move(candidates)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("The alpha entered matches more than one resource.\n"
                                  "Please select the specific assignment desired.")));
    m_list.setObjectName(QStringLiteral("ctl%1").arg(kList));
    m_list.header()->setSectionsClickable(false);
    layout->addWidget(&m_list);
    layout->addWidget(MakeOkCancel(*this));
    PrepareChoiceList(*this, m_list);
}

void CDlgSelectAlpha::OnInitDialog() {
    CWaitCursor wait;
    m_list.setUpdatesEnabled(false);
    m_list.setHeaderLabels({ToQString(LoadResString(kIdsIntercomHeading)),
                            ToQString(LoadResString(kIdsAssignmentHeading))});
    const int nameLength = GetApp().GetConfig().m_nAlphaSize;
    for (const CAlphaChoice& alpha : m_candidates) {
        const CAssign& key = alpha.assign;
        const CString name =
            m_doc ? m_doc->GetIcomText(key.m_icom, nameLength, TRUE, FALSE) : CString();
        auto* item =
            new QTreeWidgetItem(&m_list, {ToQString(name), ToQString(FormatAssignText(key))});
        item->setToolTip(0, item->text(0));
        item->setToolTip(1, item->text(1));
    }
    if (!m_candidates.empty()) {
        CString label = m_candidates.back().label;
        setWindowTitle(ToQString(
            SubstituteArgs(LoadResString(kIdsSelectAlphaTitle).str(), {label.TrimRight()})));
    }
    for (int column = 0; column < m_list.columnCount(); ++column)
        m_list.resizeColumnToContents(column);
    m_list.setUpdatesEnabled(true);
}

void CDlgSelectAlpha::accept() {
    m_nResult = FirstSelectedRow(m_list);
    CKelvardinDialog::accept();
}

int CAlphaChooser::DoSelectAlpha(const std::vector<CAlphaChoice>& candidates) {
    CDlgSelectAlpha dialog(&m_doc, candidates, m_parent);
    return dialog.DoModal() == IDOK ? dialog.m_nResult : -1;
}

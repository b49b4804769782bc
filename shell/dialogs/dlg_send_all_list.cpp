#include "shell/dialogs/dlg_send_all_list.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/app_state.h"
#include "platform/ui/sys_info.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/io/changed_list.h"
#include "shell/io/send_list_rows.h"

CDlgSendAllList::CDlgSendAllList(const CKelvardinDoc& doc, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent), m_doc(doc) {
    setWindowTitle(QStringLiteral("Send Changes"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("The following items have changed and will be sent to the Corvane if you "
                       "elect to continue."));
    text->setWordWrap(true);
    layout->addWidget(text);
    m_pList = new CKelvardinListCtrl;
    m_pList->setObjectName(QStringLiteral("ctl%1").arg(kListId));
    m_pList->header()->setSectionsClickable(false);
    layout->addWidget(m_pList, 1);

    auto* buttons = new QDialogButtonBox;
    QPushButton* send = buttons->addButton(QStringLiteral("Send"), QDialogButtonBox::AcceptRole);
    send->setObjectName(QStringLiteral("ctl%1").arg(IDOK));
    send->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel)
        ->setObjectName(QStringLiteral("ctl%1").arg(IDCANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgSendAllList::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgSendAllList::reject);
    layout->addWidget(buttons);
}

void CDlgSendAllList::OnInitDialog() {
    CWaitCursor wait;
    m_pList->SetRedraw(FALSE);
    m_pList->InsertColumn(0, LoadResString(kIdsResourceTypeHeading), 0);
    m_pList->InsertColumn(1, LoadResString(kIdsChangedItemsHeading), 0);
    CChangedList rows(m_pList);
    const CAppState& app = GetApp();
    FillSendList(m_doc, app.GetConfig(), app.IsSecondsMode(), rows);
    for (int column = 0; column < m_pList->GetColumnCount(); ++column)
        m_pList->AutoSizeColumn(column, false, false, false);
    m_pList->WidenToColumns();
    m_pList->SetRedraw(TRUE);
}

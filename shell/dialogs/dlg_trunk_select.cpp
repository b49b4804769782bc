#include "shell/dialogs/dlg_trunk_select.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/app_state.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/controls/combo_list_ctrl.h"
#include "shell/controls/dialog_controls.h"

CDlgTrunkSelect::CDlgTrunkSelect(UINT captionId, UINT messageId, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_list(new CComboListCtrl),
      m_message(MakeDlgStatic(kMessageText, {})),
      m_strMessage(LoadResString(messageId)),
      m_strCaption(LoadResString(captionId)) {
    m_list->setObjectName(ControlName(kList));
    m_list->setMinimumContentsLength(24);
    QPushButton* ok = MakeDlgButton(IDOK, u"OK");
    QPushButton* cancel = MakeDlgButton(IDCANCEL, u"Cancel");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgTrunkSelect::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgTrunkSelect::reject);
    connect(m_list, &QComboBox::currentIndexChanged, this, &CDlgTrunkSelect::OnSelChange);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_list);
    layout->addLayout(MakeButtonRow({ok, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDlgTrunkSelect::OnInitDialog() {
    setWindowTitle(ToQString(m_strCaption));
    m_message->setText(ToQString(m_strMessage));
    // Filling and presetting are no choice of the user's.
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    FillEntries(*m_list);
    m_list->setCurrentIndex(m_list->FindItemData(m_nSelection));
}

void CDlgTrunkSelect::OnSelChange(int row) {
    if (row >= 0) m_nSelection = static_cast<int>(m_list->GetItemData(row));
}

void CDlgTrunkSelect::FillEntries(CComboListCtrl& list) {
    const int count = GetApp().GetVisibleTrunkCount();
    for (int i = 0; i < count; ++i)
        list.InsertItem(i, CString::Formatted(u"Trunk #%d", i + 1), i);
    if (m_bSelected) list.InsertItem(0, LoadResString(kIdsSelectedTrunks), kDataSelected);
    if (m_bAll) {
        list.InsertItem(0, LoadResString(kIdsAllTrunks), kDataAll);
    } else if (m_bAny) {
        list.InsertItem(0, LoadResString(kIdsAnyTrunk), kDataAll);
    }
}

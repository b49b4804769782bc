#include "shell/dialogs/dlg_select_assign.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "platform/base/message_box.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/controls/list_ctrl_sort.h"
#include "shell/dialogs/select_dialogs.h"

namespace {

constexpr const char16_t* kTypeNames[kAlphaListCount] = {u"PP", u"PL",  u"IFB", u"SL",
                                                         u"RY", u"ISO", u"UR",  u"IL"};

const CIntercom* FindIntercom(const CKelvardinDoc& doc, int icom) {
    return dynamic_cast<const CIntercom*>(doc.FindObject(CIcomSpec(icom, CObjSpec::kFieldRecord)));
}

void Complain(UINT id, const CString& arg = CString()) {
    GetApp().DoMessageBox(SubstituteArgs(LoadResString(id).str(), {arg}),
                          MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

CDlgSelectAssign::CDlgSelectAssign(const CKelvardinDoc* doc, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_doc(doc),
      m_sortColumn(GetApp().m_bSortIntercomsByIntercomNumber ? 0 : 1) {
    setWindowTitle(QStringLiteral("Select Assignment"));
    auto* layout = new QVBoxLayout(this);
    auto* icomRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Intercom:"));
    label->setBuddy(&m_combo);
    m_combo.setObjectName(QStringLiteral("ctl%1").arg(kIcomCombo));
    icomRow->addWidget(label);
    icomRow->addWidget(&m_combo, 1);
    layout->addLayout(icomRow);

    auto* typeRow = new QHBoxLayout;
    typeRow->setSpacing(2);
    for (int type = 0; type < kAlphaListCount; ++type) {
        auto* button = new QPushButton(ToQString(kTypeNames[type]));
        button->setObjectName(QStringLiteral("ctl%1").arg(kFirstTypeButton + type));
        button->setCheckable(true);
        button->setAutoDefault(false);
        m_types.addButton(button, type);
        typeRow->addWidget(button);
    }
    typeRow->addStretch();
    layout->addLayout(typeRow);

    m_list.setObjectName(QStringLiteral("ctl%1").arg(kList));
    layout->addWidget(&m_list);
    layout->addWidget(MakeOkCancel(*this));
    PrepareChoiceList(*this, m_list);

    connect(&m_combo, &QComboBox::activated, this, &CDlgSelectAssign::OnIntercomPicked);
    connect(&m_types, &QButtonGroup::idClicked, this, &CDlgSelectAssign::OnTypeClicked);
}

void CDlgSelectAssign::OnInitDialog() {
    if (!FillIntercoms()) return;
    SetUpTypeButtons();
    if (m_nTypeFilter >= 0 && m_assign.m_type != m_nTypeFilter) {
        EndDialog(IDCANCEL);
        return;
    }
    if (QAbstractButton* button = m_types.button(m_assign.m_type)) {
        button->setChecked(true);
    } else {
        m_types.setExclusive(false);  // no type yet: no button pressed
        for (QAbstractButton* each : m_types.buttons())
            each->setChecked(false);
        m_types.setExclusive(true);
    }
    m_list.InsertColumn(0, LoadResString(kIdsNumberHeading), 0);
    m_list.InsertColumn(1, LoadResString(kIdsAlphaHeading), 0);
    m_initialised = true;
    FillList();
}

bool CDlgSelectAssign::FillIntercoms() {
    if (m_doc) m_doc->FillIcomCombo(m_combo, FALSE, FALSE, FALSE);
    m_combo.SelectItemData(m_assign.m_icom);
    if (m_combo.count() == 0) {
        Complain(kIdsNoIntercoms);
        EndDialog(IDCANCEL);
        return false;
    }
    for (int row = m_combo.count() - 1; row >= 0; --row) {
        const int icom = static_cast<int>(m_combo.GetItemData(row));
        const CIntercom* record = FindIntercom(*m_doc, icom);
        if (icom == m_nExcludedIntercom || !record || record->GetAlphaCount(-1) == 0)
            m_combo.removeItem(row);
    }
    if (m_combo.count() == 0) {
        Complain(kIdsNoAlphas);
        EndDialog(IDCANCEL);
        return false;
    }
    m_combo.SelectItemData(m_assign.m_icom);
    if (m_combo.count() == 1) m_combo.setCurrentIndex(0);
    // A fixed intercom must be among those offered.
    if (m_nFixedIntercom >= 0 && m_combo.FindItemData(m_assign.m_icom) < 0) {
        const int icom = m_assign.m_icom;
        CString name = m_doc->GetIcomText(icom, GetApp().GetConfig().m_nAlphaSize, TRUE, FALSE);
        if (name.IsEmpty()) name = CString::Formatted(u"intercom #%d", icom + 1);
        Complain(kIdsNoAlphasFor, name);
        EndDialog(IDCANCEL);
        return false;
    }
    if (m_combo.count() == 1) m_assign.m_icom = static_cast<BYTE>(m_combo.GetItemData(0));
    m_combo.setEnabled(m_nFixedIntercom < 0);
    return true;
}

void CDlgSelectAssign::SetUpTypeButtons() {
    const CCVConfig& config = GetApp().GetConfig();
    const bool offered[kAlphaListCount] = {true,
                                           true,
                                           true,
                                           true,
                                           true,
                                           true,
                                           config.HasFlag(CCVConfig::kNewCorvane) != 0,
                                           config.HasCapability(CCVConfig::kIFBSLSupport) != 0};
    for (int type = 0; type < kAlphaListCount; ++type) {
        QAbstractButton* button = m_types.button(type);
        button->setVisible(offered[type]);
        const bool allowed = m_nTypeFilter < 0 || m_nTypeFilter == type;
        button->setEnabled(offered[type] && allowed);
    }
}

void CDlgSelectAssign::FillList() {
    if (!m_initialised) return;
    m_list.BeginUpdate();
    m_list.DeleteAll();
    const CIntercom* icom = m_doc ? FindIntercom(*m_doc, m_assign.m_icom) : nullptr;
    const DWORD wanted = m_assign.GetKey();
    if (icom && icom->GetAlphaCount(m_assign.m_type) > 0) {
        for (const auto& [number, alpha] : icom->GetAlphas(m_assign.m_type)) {
            const DWORD key = alpha->GetKey().GetKey();
            const int row = m_list.AddItem(CString::Formatted(u"%d", number + 1), key);
            CString label = alpha->GetLabel();
            m_list.SetItemText(row, 1, label.TrimRight());
            if (key == wanted) SelectRow(m_list, row);
        }
    }
    m_list.SetSortColumn(-1);
    m_list.SetSortColumn(m_sortColumn);
    if (const int row = m_list.FindItemByData(wanted); row >= 0)
        m_list.scrollToItem(m_list.topLevelItem(row));
    m_list.setEnabled(m_list.GetItemCount() > 0);
    m_list.AutoSizeColumn(0, false, false, false);
    m_list.AutoSizeColumn(1, false, false, false);
    m_list.EndUpdate();
}

int CDlgSelectAssign::GetCompareKind(const CKelvardinListCtrl&, int column, bool) {
    m_sortColumn = column;
    return column == 0 ? kCompareInteger : kCompareText;
}

void CDlgSelectAssign::OnIntercomPicked(int index) {
    if (m_nFixedIntercom >= 0) return;
    const LPARAM icom = m_combo.GetItemData(index);
    if (icom == m_assign.m_icom) return;
    m_assign.m_icom = static_cast<BYTE>(icom);
    FillList();
}

void CDlgSelectAssign::OnTypeClicked(int type) {
    if (type == m_assign.m_type) return;
    m_assign.m_type = static_cast<BYTE>(type);
    FillList();
}

void CDlgSelectAssign::accept() {
    const int row = FirstSelectedRow(m_list);
    m_assign = row < 0 ? CAssign() : CAssign::FromKey(static_cast<DWORD>(m_list.GetItemData(row)));
    CKelvardinDialog::accept();
}

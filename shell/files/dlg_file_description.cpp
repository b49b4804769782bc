#include "shell/files/dlg_file_description.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "model/cv_config.h"
#include "model/obj_spec.h"
#include "model/partial_save_selection.h"
#include "platform/ui/qt_convert.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "shell/controls/kelvardin_list_ctrl.h"
#include "shell/io/changed_list.h"

namespace {

struct CSectionRow {
    int objectType;
    UINT labelId;
};

constexpr CSectionRow kSections[] = {
    {CObjSpec::kTrunk, 2133}, {CObjSpec::kOptions, 2206}, {CObjSpec::kIntercom, 2134},
    {CObjSpec::kGroup, 2209}, {CObjSpec::kAlpha, 2136},
};

QString ControlName(UINT id) {
    return QStringLiteral("ctl%1").arg(id);
}

}  // namespace

CDlgFileDescription::CDlgFileDescription(const CPartialSaveSelection* info,
                                         const CCVConfig& current, BOOL showAlways,
                                         const CString& fileName, QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_pInfo(info),
      m_current(current),
      m_bShowAlways(showAlways),
      m_strFileName(fileName) {
    setWindowTitle(QStringLiteral("File Description"));
    auto* layout = new QVBoxLayout(this);
    m_pList = new CKelvardinListCtrl;
    m_pList->setObjectName(ControlName(kListId));
    m_pList->header()->setSectionsClickable(false);
    layout->addWidget(m_pList, 1);

    auto* warningRow = new QHBoxLayout;
    m_pIcon = new QLabel;
    m_pIcon->setObjectName(ControlName(kWarningIconId));
    m_pWarning = new QLabel(QStringLiteral("THIS FILE IS NOT VALID, IT CANNOT BE LOADED!"));
    m_pWarning->setObjectName(ControlName(kWarningTextId));
    m_pWarning->setWordWrap(true);
    warningRow->addWidget(m_pIcon, 0, Qt::AlignTop);
    warningRow->addWidget(m_pWarning, 1);
    layout->addLayout(warningRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(ControlName(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(ControlName(IDCANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgFileDescription::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgFileDescription::reject);
    layout->addWidget(buttons);
}

void CDlgFileDescription::OnInitDialog() {
    FillList();
    setWindowTitle(ToQString(u"File Description - " + m_strFileName));

    const bool warn = m_pInfo && m_pInfo->GetConfig() != m_current;
    if (warn) {
        m_pWarning->setText(QStringLiteral(
            "Warning:  The Corvane configuration in the file does not match the current Corvane "
            "size.  Some file data may not be loaded."));
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        m_pIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size));
    }
    // Without the warning the list takes its place.
    m_pWarning->setVisible(warn);
    m_pIcon->setVisible(warn);
    if (!m_bShowAlways && !warn) EndDialog(IDOK);
}

void CDlgFileDescription::FillList() {
    m_pList->InsertColumn(0, LoadResString(kIdsResourceTypeHeading), 0);
    m_pList->InsertColumn(1, u"Maximum Count", 0);
    m_pList->InsertColumn(2, u"Instances Included", 0);
    CChangedList rows(m_pList);
    for (const CSectionRow& section : kSections) {
        const CBitArray* set = m_pInfo ? m_pInfo->GetSectionSet(section.objectType) : nullptr;
        const UINT count = set ? set->GetSize() : 0;
        rows.StartRow(TRUE, static_cast<int>(count));
        for (UINT i = 0; i < count; ++i) {
            if (set->GetBit(i)) {
                rows.Add(static_cast<int>(i), section.labelId);
            } else {
                rows.FlushRange();
            }
        }
        rows.Flush();
    }
    for (int column = 0; column < m_pList->GetColumnCount(); ++column)
        m_pList->AutoSizeColumn(column, false, false, false);
    m_pList->WidenToColumns();
}

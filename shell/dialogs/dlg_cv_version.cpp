#include "shell/dialogs/dlg_cv_version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/qt_convert.h"
#include "shell/controls/dialog_controls.h"

CDlgCVVersion::CDlgCVVersion(UINT templateId, QWidget* parent)
    : CKelvardinDialog(templateId, parent) {
    setWindowTitle(QStringLiteral("Corvane Version"));
    QPushButton* ok = MakeDlgButton(IDOK, u"OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgCVVersion::accept);

    auto* text = new QHBoxLayout;
    text->addWidget(MakeDlgIcon(0, QStyle::SP_MessageBoxInformation), 0, Qt::AlignTop);
    QLabel* version = MakeDlgStatic(kVersionText, u"Version");
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(text);
    layout->addLayout(MakeButtonRow({ok}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDlgCVVersion::OnInitDialog() {
    findChild<QLabel*>(ControlName(kVersionText))->setText(ToQString(m_strVersion));
}

#include "shell/files/dlg_confirm_size.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <class Control>
Control* Named(Control* control, UINT id) {
    control->setObjectName(QStringLiteral("ctl%1").arg(id));
    return control;
}

}  // namespace

CDlgConfirmSize::CDlgConfirmSize(QWidget* parent) : CKelvardinDialog(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("Select Corvane Configuration"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral(
        "The current Corvane configuration is different than the default configuration.  "
        "Before opening a file, or creating a new file you must select which configuration to "
        "use:"));
    text->setWordWrap(true);
    layout->addWidget(text);
    m_pDefault = Named(new QRadioButton(QStringLiteral(" Use &Default Configuration")), kDefaultId);
    m_pCurrent = Named(new QRadioButton(QStringLiteral(" Use &Current Configuration")), kCurrentId);
    m_pMakeDefault = Named(
        new QCheckBox(QStringLiteral(" &Make the current configuration the new system default")),
        kMakeDefaultId);
    layout->addWidget(m_pDefault);
    layout->addWidget(m_pCurrent);
    layout->addWidget(m_pMakeDefault);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    Named(buttons->button(QDialogButtonBox::Ok), IDOK);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConfirmSize::accept);
    layout->addWidget(buttons);
}

void CDlgConfirmSize::OnInitDialog() {
    (m_nChoice == kUseDefault ? m_pDefault : m_pCurrent)->setChecked(true);
    m_pMakeDefault->setChecked(m_bMakeDefault);
}

void CDlgConfirmSize::accept() {
    m_nChoice = m_pDefault->isChecked() ? kUseDefault : kUseCurrent;
    m_bMakeDefault = m_pMakeDefault->isChecked();
    CKelvardinDialog::accept();
}

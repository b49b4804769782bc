#include "shell/dialogs/dlg_clear_changes.h"

#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/controls/dialog_controls.h"

namespace {

QRadioButton* MakeChoice(UINT id, const QString& text) {
    auto* choice = new QRadioButton(text);
    choice->setObjectName(ControlName(id));
    return choice;
}

}  // namespace

CDlgClearChanges::CDlgClearChanges(QWidget* parent)
    : CKelvardinDialog(kTemplateId, parent),
      m_all(MakeChoice(kAllItems, QStringLiteral(" &All items"))),
      m_selected(MakeChoice(kSelectedItems, QStringLiteral(" &Selected items"))) {
    setWindowTitle(QStringLiteral("Clear Changes"));
    auto* group = new QGroupBox(QStringLiteral("Clear changes for..."));
    auto* choices = new QVBoxLayout(group);
    for (QRadioButton* choice : {m_all, m_selected}) {
        choices->addWidget(choice);
        choice->installEventFilter(this);
    }
    QPushButton* ok = MakeDlgButton(IDOK, u"OK");
    QPushButton* cancel = MakeDlgButton(IDCANCEL, u"Cancel");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgClearChanges::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgClearChanges::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(MakeButtonRow({ok, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDlgClearChanges::OnInitDialog() {
    (m_nChoice == kChoiceSelected ? m_selected : m_all)->setChecked(true);
}

void CDlgClearChanges::accept() {
    m_nChoice = m_selected->isChecked() ? kChoiceSelected : kChoiceAll;
    CKelvardinDialog::accept();
}

bool CDlgClearChanges::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_all || watched == m_selected)) {
        static_cast<QRadioButton*>(watched)->setChecked(true);
        accept();
        return true;
    }
    return CKelvardinDialog::eventFilter(watched, event);
}

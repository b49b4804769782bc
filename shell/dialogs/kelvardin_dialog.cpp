#include "shell/dialogs/kelvardin_dialog.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QWhatsThis>

#include "platform/ui/modal.h"
#include "shell/app/help_ids.h"
#include "shell/app/kelvardin_app.h"

CKelvardinDialog::CKelvardinDialog(UINT templateId, QWidget* parent)
    : QDialog(parent), m_templateId(templateId) {
    setObjectName(QStringLiteral("dlg%1").arg(templateId));
}

int CKelvardinDialog::DoModal() {
    m_endedEarly = false;
    m_initialising = true;
    OnInitDialog();
    m_initialising = false;
    if (m_endedEarly) return m_earlyResult;
    return ExecModalDialog(*this);
}

void CKelvardinDialog::EndDialog(int result) {
    if (m_initialising) {
        m_endedEarly = true;
        m_earlyResult = result;
        return;
    }
    done(result);
}

UINT CKelvardinDialog::GetControlId(const QWidget* widget) {
    for (; widget && !widget->isWindow(); widget = widget->parentWidget()) {
        const QString name = widget->objectName();
        if (!name.startsWith(QLatin1String("ctl"))) continue;
        bool ok = false;
        const uint id = name.mid(3).toUInt(&ok);
        if (ok) return id;
    }
    return 0;
}

DWORD CKelvardinDialog::GetControlHelpId(UINT controlId) const {
    return DialogControlHelpId(m_templateId, controlId);
}

void CKelvardinDialog::OnHelpInfo(const QWidget* control, bool shift) {
    CKelvardinApp& app = GetKelvardinApp();
    const UINT id = GetControlId(control);
    if ((!app.m_bHelpMode && !shift) || id == 0) {
        app.WinHelp(kHelpBaseResource + m_templateId, HELP_CONTEXT);
        return;
    }
    app.WinHelp(GetControlHelpId(id), HELP_CONTEXTPOPUP);
    app.m_bHelpMode = false;
}

bool CKelvardinDialog::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnterWhatsThisMode: GetKelvardinApp().m_bHelpMode = true; break;
        case QEvent::LeaveWhatsThisMode: GetKelvardinApp().m_bHelpMode = false; break;
        case QEvent::WhatsThis: {
            // A control without help text of its own passes the click on to its dialog.
            const auto* help = static_cast<QHelpEvent*>(event);
            OnHelpInfo(childAt(help->pos()), false);
            event->accept();
            QWhatsThis::leaveWhatsThisMode();
            return true;
        }
        default: break;
    }
    return QDialog::event(event);
}

void CKelvardinDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OnHelpInfo(focusWidget(), (event->modifiers() & Qt::ShiftModifier) != 0);
        return;
    }
    QDialog::keyPressEvent(event);
}

#include "platform/ui/modal.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <utility>
#include <vector>

#include "platform/ui/nested_loop.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/title_fit.h"
#include "platform/ui/ui_environment.h"

namespace {

IModalScript* Script() {
    const CUiEnvironment* env = CUiEnvironment::Current();
    return env ? env->GetModalScript() : nullptr;
}

QMessageBox::StandardButton StandardButton(int answer) {
    switch (answer) {
        case IDOK: return QMessageBox::Ok;
        case IDCANCEL: return QMessageBox::Cancel;
        case IDABORT: return QMessageBox::Abort;
        case IDRETRY: return QMessageBox::Retry;
        case IDIGNORE: return QMessageBox::Ignore;
        case IDYES: return QMessageBox::Yes;
        case IDNO: return QMessageBox::No;
        default: return QMessageBox::NoButton;
    }
}

std::vector<std::pair<int, QMessageBox::StandardButton>> Buttons(UINT type) {
    std::vector<std::pair<int, QMessageBox::StandardButton>> buttons;
    for (int answer : MessageBoxAnswers(type))
        buttons.emplace_back(answer, StandardButton(answer));
    return buttons;
}

QMessageBox::Icon Icon(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONSTOP: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONEXCLAMATION: return QMessageBox::Warning;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// The plain box, for a program that has not put its own in place.
int PlainMessageBox(const CString& text, UINT type) {
    QMessageBox box(Icon(type), QGuiApplication::applicationDisplayName(), ToQString(text));
    const auto buttons = Buttons(type);
    for (const auto& [id, button] : buttons)
        box.addButton(button);
    const size_t defIndex = ((type & MB_DEFMASK) >> 8);
    if (defIndex < buttons.size()) box.setDefaultButton(buttons[defIndex].second);
    FitWidthToTitle(box);
    const int pressed = box.exec();
    for (const auto& [id, button] : buttons) {
        if (pressed == button) return id;
    }
    return buttons.size() == 1 ? buttons[0].first : IDCANCEL;
}

// The script's turn at a dialog comes first in the dialog's loop, ahead of whatever else was
// queued (a reply from the link, say), as a user is there as soon as the dialog shows. Were a
// queued message to open a dialog over this one first, the script's answer to this one would
// run inside the inner dialog's loop, and that loop could not end before the answer did.
class CScriptTurn : public QObject {
public:
    CScriptTurn(QDialog& dialog, IModalScript& script) : QObject(&dialog), m_script(script) {}

    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        QPointer<QDialog> dialog(static_cast<QDialog*>(parent()));
        const int answer = m_script.OnDialog(*dialog);
        // Gone with the dialog, should the answer have deleted it.
        if (!dialog) return true;
        if (dialog->isVisible()) dialog->done(answer);
        deleteLater();
        return true;
    }

private:
    IModalScript& m_script;
};

}  // namespace

int ModalMessageBox(const CString& text, UINT type, UINT helpId) {
    const CNestedLoopScope loop;
    if (IModalScript* script = Script()) return script->OnMessageBox(text, type, helpId);
    const CUiEnvironment* env = CUiEnvironment::Current();
    if (env && env->GetMessageBoxPresenter())
        return env->GetMessageBoxPresenter()(text, type, helpId);
    return PlainMessageBox(text, type);
}

int SystemMessageBox(const CString& text, UINT type, UINT helpId) {
    const CNestedLoopScope loop;
    if (IModalScript* script = Script()) return script->OnMessageBox(text, type, helpId);
    return PlainMessageBox(text, type);
}

int ExecModalDialog(QDialog& dialog) {
    const CNestedLoopScope loop;
    FitWidthToTitle(dialog);
    IModalScript* script = Script();
    if (!script) return dialog.exec();
    QCoreApplication::postEvent(new CScriptTurn(dialog, *script), new QEvent(QEvent::User),
                                Qt::HighEventPriority);
    return dialog.exec();
}

int ExecPopupMenu(QMenu& menu, CPoint screenPoint) {
    const CNestedLoopScope loop;
    if (IModalScript* script = Script()) return script->OnPopupMenu(menu);
    QAction* chosen = menu.exec(ToQPoint(screenPoint));
    return chosen ? chosen->data().toInt() : 0;
}

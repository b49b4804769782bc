#include "platform/ui/modal.h"

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <utility>
#include <vector>

#include "platform/ui/qt_convert.h"
#include "platform/ui/title_fit.h"
#include "platform/ui/ui_environment.h"

namespace {

IModalScript* Script() {
    const CUiEnvironment* env = CUiEnvironment::Current();
    return env ? env->GetModalScript() : nullptr;
}

std::vector<std::pair<int, QMessageBox::StandardButton>> Buttons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, QMessageBox::Ok}, {IDCANCEL, QMessageBox::Cancel}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, QMessageBox::Abort},
                    {IDRETRY, QMessageBox::Retry},
                    {IDIGNORE, QMessageBox::Ignore}};
        case MB_YESNOCANCEL:
            return {{IDYES, QMessageBox::Yes},
                    {IDNO, QMessageBox::No},
                    {IDCANCEL, QMessageBox::Cancel}};
        case MB_YESNO: return {{IDYES, QMessageBox::Yes}, {IDNO, QMessageBox::No}};
        case MB_RETRYCANCEL:
            return {{IDRETRY, QMessageBox::Retry}, {IDCANCEL, QMessageBox::Cancel}};
        default: return {{IDOK, QMessageBox::Ok}};
    }
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

}  // namespace

int ModalMessageBox(const CString& text, UINT type, UINT helpId) {
    if (IModalScript* script = Script()) return script->OnMessageBox(text, type, helpId);
    const CUiEnvironment* env = CUiEnvironment::Current();
    if (env && env->GetMessageBoxPresenter())
        return env->GetMessageBoxPresenter()(text, type, helpId);
    return PlainMessageBox(text, type);
}

int SystemMessageBox(const CString& text, UINT type, UINT helpId) {
    if (IModalScript* script = Script()) return script->OnMessageBox(text, type, helpId);
    return PlainMessageBox(text, type);
}

int ExecModalDialog(QDialog& dialog) {
    FitWidthToTitle(dialog);
    IModalScript* script = Script();
    if (!script) return dialog.exec();
    QPointer<QDialog> guard(&dialog);
    QTimer::singleShot(0, &dialog, [script, guard] {
        if (!guard) return;
        const int answer = script->OnDialog(*guard);
        if (guard && guard->isVisible()) guard->done(answer);
    });
    return dialog.exec();
}

int ExecPopupMenu(QMenu& menu, CPoint screenPoint) {
    if (IModalScript* script = Script()) return script->OnPopupMenu(menu);
    QAction* chosen = menu.exec(ToQPoint(screenPoint));
    return chosen ? chosen->data().toInt() : 0;
}

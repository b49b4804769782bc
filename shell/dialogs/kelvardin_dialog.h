#pragma once

#include <QDialog>

#include "platform/base/message_box.h"
#include "platform/base/win_types.h"

// The base of every dialog of the program. Its object name is "dlg" and the template id, its
// controls are named "ctl" and their control id. DoModal answers IDOK, IDCANCEL or the id the
// dialog ended with. F1 asks for the dialog's help; Shift+F1, or a click in the context help
// mode, asks for the help of the control under it.
class CKelvardinDialog : public QDialog {
public:
    explicit CKelvardinDialog(UINT templateId, QWidget* parent = nullptr);

    // Runs the dialog modally, unless its initialisation ended it first: then it never shows.
    int DoModal();
    // Ends the dialog with the result; called during the initialisation it ends the dialog
    // before it shows.
    void EndDialog(int result);
    UINT GetTemplateId() const { return m_templateId; }

    // The control id a widget or its nearest named ancestor carries; 0 for none.
    static UINT GetControlId(const QWidget* widget);
    // The help id of one of this dialog's controls.
    DWORD GetControlHelpId(UINT controlId) const;

    void accept() override { done(IDOK); }
    void reject() override { done(IDCANCEL); }

protected:
    // Fills the controls before the dialog shows; may end it with EndDialog.
    virtual void OnInitDialog() {}
    // A help request for the control (null when it names none).
    virtual void OnHelpInfo(const QWidget* control, bool shift);

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const UINT m_templateId;
    bool m_initialising = false;
    bool m_endedEarly = false;
    int m_earlyResult = 0;
};

#pragma once

#include <QCheckBox>
#include <QString>
#include <QStyle>
#include <QWidget>

#include <initializer_list>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

// The pieces the program's dialogs are laid out from. Controls carry "ctl" and their control
// id as object name, so that help and tests find them; ids 0 and -1 name no control.
QString ControlName(UINT id);

template <class Control>
Control* Named(Control* control, UINT id) {
    control->setObjectName(ControlName(id));
    return control;
}

inline QCheckBox* NamedCheckBox(UINT id, const char* text, bool checked) {
    auto* box = Named(new QCheckBox(QString::fromUtf8(text)), id);
    box->setChecked(checked);
    return box;
}

QPushButton* MakeDlgButton(UINT id, const CString& text);
// Plain text; it wraps at its line breaks only.
QLabel* MakeDlgStatic(UINT id, const CString& text);
// One of the platform's message icons at 32 x 32 pixels.
QLabel* MakeDlgIcon(UINT id, QStyle::StandardPixmap icon);
void SetDlgIcon(QLabel& label, QStyle::StandardPixmap icon);
// The buttons side by side at the right end of a row.
QHBoxLayout* MakeButtonRow(std::initializer_list<QPushButton*> buttons);

#pragma once

#include <QStyle>

#include <initializer_list>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class QBoxLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

// The pieces the program's dialogs are laid out from, each named "ctl" and its control id so
// that tests find it.

// Ids 0 and -1 name no control: such a piece stays unnamed.
QString DlgControlName(UINT id);
QPushButton* MakeDlgButton(UINT id, const CString& text);
// Plain text; it wraps at its line breaks only.
QLabel* MakeDlgStatic(UINT id, const CString& text);
// One of the platform's message icons at 32 x 32 pixels.
QLabel* MakeDlgIcon(UINT id, QStyle::StandardPixmap icon);
void SetDlgIcon(QLabel& label, QStyle::StandardPixmap icon);
// The buttons side by side at the right end of a row.
QHBoxLayout* MakeButtonRow(std::initializer_list<QPushButton*> buttons);

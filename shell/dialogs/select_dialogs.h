#pragma once

#include "platform/base/win_types.h"

class QDialog;
class QDialogButtonBox;
class QTreeWidget;

// What the selection dialogs share: their OK and Cancel, and a list of choices of one row
// each in which Enter or a double click is OK.

// OK (the default button) and Cancel, named by their ids.
QDialogButtonBox* MakeOkCancel(QDialog& dialog);
// One row at a time, selected by the whole row; a double click on a row accepts the dialog.
void PrepareChoiceList(QDialog& dialog, QTreeWidget& list);
// Makes the row the selected and current one.
void SelectRow(QTreeWidget& list, int row);
// The first selected row, -1 when none is.
int FirstSelectedRow(const QTreeWidget& list);

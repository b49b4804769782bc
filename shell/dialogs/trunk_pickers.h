#pragma once

#include "model/value_records.h"

class CKelvardinDoc;
class QWidget;

// The selection dialogs as the trunk definitions screen asks for them; the main window answers
// the screen's ITrunkDefsHost through these.

// "Select Intercom" with the intercom preselected and the other end's left out: the intercom
// chosen, -1 when cancelled or none was chosen.
int PickTrunkIntercom(const CKelvardinDoc* doc, QWidget* parent, int preselect, int excluded);
// "Select Assignment" from the assignment given: true with the alpha chosen in assign.
bool PickTrunkAssign(const CKelvardinDoc* doc, QWidget* parent, CAssign& assign, int fixedIcom,
                     int typeFilter, int excluded);

#pragma once

#include "platform/base/win_types.h"

class IPrintView;
class QWidget;

// Runs a print command on a view: the print dialog, a print straight to the default printer or
// the preview, while which the application knows that a preview shows (the main window's
// close waits for it). Other commands do nothing.
void RunPrintCommand(IPrintView& view, UINT command, QWidget* parent);

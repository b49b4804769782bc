#include "screens/base/print_command.h"

#include "model/app_state.h"
#include "platform/ui/print.h"
#include "res/command_ids.h"

void RunPrintCommand(IPrintView& view, UINT command, QWidget* parent) {
    switch (command) {
        case ID_FILE_PRINT_PREVIEW:
            GetApp().m_bPrintPreview = TRUE;
            PrintView(view, PrintMode::Preview, parent);
            GetApp().m_bPrintPreview = FALSE;
            break;
        case ID_FILE_PRINT: PrintView(view, PrintMode::Dialog, parent); break;
        case ID_FILE_PRINT_DIRECT: PrintView(view, PrintMode::Direct, parent); break;
        default: break;
    }
}

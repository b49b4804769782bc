#pragma once

#include "platform/base/win_types.h"

// Help commands.
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_CONTEXTPOPUP = 0x0008;
constexpr UINT HELP_PARTIALKEY = 0x0105;

// The help id of a dialog, of a screen and of a status bar pane are their id above these.
constexpr DWORD kHelpBaseResource = 0x20000;
constexpr DWORD kHelpBasePane = 0x50000;

// A dialog control's help id: the template id's low 15 bits and the control id's low 16.
constexpr DWORD DialogControlHelpId(UINT templateId, UINT controlId) {
    return 0x80000000u + ((templateId & 0x7FFFu) << 16) + (controlId & 0xFFFFu);
}

#pragma once

#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/message_box.h"

class QWidget;

// The program's message box: the system box's button sets, icons, default buttons and answers,
// and beyond them a check box under the buttons, Yes to All and No to All, a Help button and
// a Continue/Abort set. The style's low 16 bits are the system's; these are its own.
constexpr UINT MB_CONTINUEABORT = 0x00000008;
constexpr UINT MB_HELP = 0x00004000;
constexpr UINT MB_DONT_ASK_AGAIN = 0x01000000;      // check box "Don't ask me again"
constexpr UINT MB_DONT_DISPLAY_AGAIN = 0x02000000;  // check box "Suppress this message"
constexpr UINT MB_YES_TO_ALL = 0x04000000;          // with the Yes/No sets only
constexpr UINT MB_NO_TO_ALL = 0x08000000;
constexpr UINT MB_NORESOURCE = 0x10000000;  // built-in English captions
constexpr UINT MB_DEFAULT_CHECKED = 0x20000000;
constexpr UINT MB_NOSOUND = 0x80000000;

// Its answers beyond the system's, and the bits it adds when the check box was ticked.
constexpr int IDCONTINUE = 11;
constexpr int IDYESTOALL = 12;
constexpr int IDNOTOALL = 13;
constexpr int IDHELP_BUTTON = 300;
constexpr DWORD kDontAskAgainChecked = 0x01000000;
constexpr DWORD kSuppressChecked = 0x02000000;

// Its controls.
constexpr UINT kExtBoxIconId = 1000;
constexpr UINT kExtBoxTextId = 1001;
constexpr UINT kExtBoxCheckId = 5555;

// What a style asks the box to show.
struct CExtBoxPlan {
    std::vector<int> buttons;  // ids, left to right
    int defaultButton = IDOK;
    DWORD checkBox = 0;  // the bit a ticked check box adds: 0 when there is none
    bool preChecked = false;
    bool hasCancel = false;  // Escape and the title bar's Close answer IDCANCEL
    bool okOnly = false;     // Escape and the title bar's Close answer IDOK
    UINT icon = 0;           // MB_ICON*, 0 for none
};
CExtBoxPlan PlanExtMessageBox(UINT style);

// The string id of a button's caption (by the button's id) and of a check box's (by its bit).
UINT ExtBoxButtonString(int buttonId);
UINT ExtBoxCheckString(DWORD checkBox);
// A caption from the string table, or its built-in text when the style asks for that or the
// table lacks the string.
CString ExtBoxCaption(UINT stringId, bool builtIn);

// Shows the box modally over the owner (null: no owner) and answers the button that closed
// it, with the check box's bit when it was ticked. The help id serves Help and F1 (0: none).
// A stop icon with MB_SYSTEMMODAL shows the platform's plain box instead.
DWORD ExtMessageBox(const CString& text, UINT helpId, QWidget* owner, UINT style);

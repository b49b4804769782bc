#pragma once

#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"
#include "platform/ui/win_consts.h"

// The system's colours, metrics, fonts and input state, read from the running Qt application
// (its palette, style and hints).

// A COLOR_* index; an index the table does not know answers the window colour.
COLORREF GetSysColor(int index);
int GetSystemMetrics(int index);
// The font of message boxes and of the menus, as pixel-sized logical fonts.
LogFont GetMessageFont();
LogFont GetMenuFont();
// The system's fixed-pitch font, for text laid out in columns.
LogFont GetFixedFont();
int GetWheelScrollLines();
// The platform's drag distance, in pixels.
int GetDragDistance();
// Negative (high bit set) while the key is down: VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON,
// VK_RBUTTON. During a key or mouse event it answers that event's state.
short GetKeyState(int vk);
CPoint GetCursorPos();
// Sounds the bell for a message-box kind (MB_ICON*); tests hear it through the environment.
void MessageBeep(UINT type);

// While it lives, GetKeyState answers from these MK_* flags (shift, control, alt and the
// buttons): the windows set it around each input event, tests around the handlers they call.
class CInputState {
public:
    explicit CInputState(UINT mkFlags);
    ~CInputState();
    CInputState(const CInputState&) = delete;
    CInputState& operator=(const CInputState&) = delete;

    static const CInputState* Current();
    UINT Flags() const { return m_flags; }

private:
    UINT m_flags;
    const CInputState* m_outer;
};

// Shows the wait cursor for as long as it lives.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

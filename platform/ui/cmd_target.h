#pragma once

#include <optional>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// The state a command's update handler gives its menu item, toolbar button or status pane.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}

    void Enable(BOOL enable = TRUE) { m_bEnabled = enable != FALSE; }
    // 0 unchecked, 1 checked.
    void SetCheck(int check = 1) { m_nCheck = check; }
    void SetRadio(BOOL on = TRUE) { m_nCheck = on ? 1 : 0; }
    void SetText(const CString& text) { m_text = text; }

    bool IsEnabled() const { return m_bEnabled; }
    std::optional<int> GetCheck() const { return m_nCheck; }
    const std::optional<CString>& GetText() const { return m_text; }

    UINT m_nID;

private:
    bool m_bEnabled = true;
    std::optional<int> m_nCheck;
    std::optional<CString> m_text;
};

// Something that handles commands by id. With an update object the call asks for the
// command's state; without, it carries the command out. Answers whether it handled it, so
// a window can offer a command to its parts before handling it itself.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual BOOL OnCmdMsg(UINT id, CCmdUI* update) {
        (void)id;
        (void)update;
        return FALSE;
    }
};

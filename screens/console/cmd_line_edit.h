#pragma once

#include "platform/ui/wnd.h"

class QPlainTextEdit;

// The console's command line: a text box of several lines in the console's colours. Tab and
// Return are not typed: Tab asks the parent to move the focus (kTabMessage with the id) and
// Return sends the command (WM_COMMAND with kEnterCode in the high word).
class CCmdLineEdit : public CWnd {
public:
    static constexpr UINT kTabMessage = WM_APP + 0x511;
    static constexpr WORD kEnterCode = 0x501;

    // The colours are the settings' "CLPEditText" and "CLPEditBackground".
    CCmdLineEdit(COLORREF text, COLORREF back);
    ~CCmdLineEdit() override;

    BOOL Create(const CRect& rect, CWnd* parent, UINT id);

    CString GetText() const;
    // The caret goes to the end.
    void SetText(const CString& text);
    void SetEditFont(const LogFont& font);
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBackColor() const { return m_crBack; }
    // The text box, for placing the focus and for tests that type as a user would.
    QPlainTextEdit* GetEditor() const { return m_editor; }

    void OnSetFocus(CWnd* oldWnd) override;

private:
    class CEditor;
    friend class CEditor;

    // A key the editor does not type: true when it was taken.
    bool OnEditorKey(int qtKey);

    COLORREF m_crText;
    COLORREF m_crBack;
    QPlainTextEdit* m_editor = nullptr;  // owned by the host
};

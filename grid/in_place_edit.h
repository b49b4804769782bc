#pragma once

#include "grid/in_place_editor.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"

class CGridCtrl;
class CWnd;
class QLineEdit;

// Styles of the in-place text editor.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;

// How a typed character starts an edit.
enum class EditStart {
    CaretAtEnd,       // a click, F2 or Enter: the text as it is
    DeleteLast,       // Backspace: the last character goes
    SelectAll,        // Tab, space, paging and arrow keys: the whole text selected
    Empty,            // 0x15: an empty text
    ReplaceWithChar,  // anything else: the character replaces the text
};
EditStart EditStartFor(UINT ch);
// Whether the filter lets the character in (Backspace always passes).
bool EditFilterAccepts(UINT ch, bool digitsOnly, bool hexDigits);

// The text editor opened over a cell. It ends the edit when it loses the focus: Tab and Enter
// give the focus back to the grid, Escape first puts the original text back, and the paging
// and arrow keys do so too when the edit was started by typing (or with Ctrl). It reports the
// text and the key that ended it to the grid once, then closes; the grid deletes it with its
// widget.
class CInPlaceEdit : public CInPlaceEditor {
public:
    // Opens over the rectangle (the grid's client coordinates) and takes the focus.
    CInPlaceEdit(CWnd* parent, const CRect& rect, DWORD style, UINT id, int row, int col,
                 const CString& initText, UINT firstChar);
    ~CInPlaceEdit() override;
    CInPlaceEdit(const CInPlaceEdit&) = delete;
    CInPlaceEdit& operator=(const CInPlaceEdit&) = delete;

    void SendChar(UINT ch) override;
    BOOL PasteClipboard() override;
    void EndEdit() override;
    CString GetWindowText() const override;

    void SetDigitsOnly(bool digitsOnly) { m_bDigitsOnly = digitsOnly; }
    void SetHexDigits(bool hexDigits) { m_bHexDigits = hexDigits; }
    void SetLimitText(UINT maxChars);
    void SetFont(const LogFont& font);
    UINT GetLastChar() const { return m_nLastChar; }
    // The editor's widget, for tests and for placing the caret.
    QLineEdit* GetWidget() const;

private:
    class CEditWidget;
    friend class CEditWidget;

    bool TakeKey(int qtKey, unsigned qtModifiers);
    bool TakeChar(UINT ch);
    void GiveFocusBack(UINT key);
    void Grow();
    void WidgetGone();

    CWnd* m_pParent;
    CGridCtrl* m_pGrid;  // the parent when it is a grid
    CEditWidget* m_widget = nullptr;
    UINT m_nID;
    int m_nRow;
    int m_nColumn;
    CString m_sInitText;
    UINT m_nLastChar = 0;
    bool m_bExitOnArrows;
    bool m_bDigitsOnly = false;
    bool m_bHexDigits = false;
    bool m_bEnded = false;
};

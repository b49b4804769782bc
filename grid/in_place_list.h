#pragma once

#include <vector>

#include "grid/in_place_editor.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"

class CGridCtrl;
class CWnd;
class QComboBox;

// The edit part of a drop-down combo. The lists here have none, so it stays unattached.
class CComboEdit {};

// A drop-down list opened over a cell: the choice is the new text. Tab and Enter end the edit
// as the key comes up, Escape puts the original choice back first; the paging and arrow keys
// move in the list unless Ctrl is held, when they end the edit. Opening the list never ends it.
class CInPlaceList : public CInPlaceEditor {
public:
    static constexpr int kDropDownLines = 4;

    CInPlaceList(CWnd* parent, const CRect& rect, UINT id, int row, int col,
                 const std::vector<CString>& items, const CString& initText, UINT firstChar);
    ~CInPlaceList() override;
    CInPlaceList(const CInPlaceList&) = delete;
    CInPlaceList& operator=(const CInPlaceList&) = delete;

    void SendChar(UINT ch) override;
    void EndEdit() override;
    CString GetWindowText() const override;

    // Down opens the list and F4 does nothing, as in the screens' lists.
    void SetExtendedUI(BOOL extended) { m_bExtendedUI = extended; }
    UINT GetLastChar() const { return m_nLastChar; }
    QComboBox* GetWidget() const;

private:
    class CListWidget;
    friend class CListWidget;

    bool TakeKeyDown(int qtKey, unsigned qtModifiers);
    bool TakeKeyUp(int qtKey);
    void GiveFocusBack(UINT key);
    void SelectText(const CString& text);
    void WidgetGone();

    CWnd* m_pParent;
    CGridCtrl* m_pGrid;  // the parent when it is a grid
    CListWidget* m_widget = nullptr;
    CComboEdit m_edit;
    UINT m_nID;
    int m_nRow;
    int m_nColumn;
    CString m_sInitText;
    CString m_sWindowText;  // the text when no item is chosen
    UINT m_nLastChar = 0;
    bool m_bExtendedUI = false;
    bool m_bEnded = false;
};

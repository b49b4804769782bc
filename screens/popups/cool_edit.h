#pragma once

#include <array>
#include <chrono>
#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/log_font.h"
#include "platform/ui/wnd.h"
#include "screens/popups/cool_edit_rules.h"

class CPopupList;
class CPopupMonthCal;

// The drop-down input control of the selector panes and the navigation palette: one custom-drawn
// window split into a label that expands or collapses it, a value, a drop-down button and two
// step buttons. The value is picked from a drop-down list (list mode) or month calendar (date
// mode), or is a number shown as eight hexadecimal digits that the buttons step and the user can
// type digit by digit (spin mode). The parent hears of every change by WM_COMMAND, with the
// codes of cool_edit_rules.h in the high word of wParam and the control in lParam.
class CCoolEdit : public CWnd {
public:
    static constexpr UINT_PTR kRepeatTimer = 1;
    static constexpr UINT kFirstRepeatDelay = 500;
    static constexpr UINT kRepeatInterval = 100;

    // Colour slots, in order.
    enum Color {
        kFace,
        kText,
        kTextBack,
        kLightEdge,
        kDarkEdge,
        kTypingFill,
        kTypingText,
        kTypingTextBack,
        kButtonFill,
        kGlyph,
        kColorCount
    };

    CCoolEdit();
    ~CCoolEdit() override;

    BOOL Create(const CRect& rect, CWnd* parent, UINT id);

    void SetListMode(BOOL stepButtons);
    void SetSpinMode();
    void SetDateMode();
    int GetMode() const { return m_value.GetMode(); }

    // Both labels.
    void SetText(const CString& label);
    const CString& GetCollapsedText() const { return m_collapsedText; }
    const CString& GetExpandedText() const { return m_expandedText; }
    BOOL SetValueText(const CString& text);
    const CString& GetValueText() const { return m_value.GetValueText(); }

    // List mode. The list is the control's own; fillers fill it through IListControl.
    CPopupList* GetPopupList() const { return m_list.get(); }
    void SetCurSel(int index);
    int GetCurSel() const { return m_value.GetIndex(); }
    void SelectByData(DWORD data);
    // The item data of the selected item; -1 when no item is selected.
    LPARAM GetCurSelData() const;

    // Spin mode.
    BOOL SetValue(DWORD value);
    DWORD GetValue() const { return m_value.GetValue(); }
    BOOL SetRange(DWORD minValue, DWORD maxValue);
    void ResetRange();
    DWORD GetMin() const { return m_value.GetMin(); }
    DWORD GetMax() const { return m_value.GetMax(); }
    void FormatValue() { m_value.FormatValue(); }
    DWORD GetStep() const { return m_value.GetStep(); }
    void SetStep(DWORD step) { m_value.SetStep(step); }
    BOOL IsTyping() const { return m_value.IsTyping(); }
    int GetCaretPos() const { return m_value.GetCaretPos(); }

    // Date mode.
    void SetDate(const std::chrono::year_month_day& date);
    // FALSE, with the date not ok(), when the calendar holds no day it can give.
    BOOL GetDate(std::chrono::year_month_day& date) const;

    // The step buttons move one item, one day or one step: the previous (upper button) or
    // the next (lower button).
    void StepNext();
    void StepPrevious();

    // Opens the list or calendar as a click on the drop-down button would; FALSE when the
    // control shows no drop-down button (collapsed, hidden or without one).
    BOOL OpenDropDown();
    BOOL CanOpenDropDown() const;
    void ShowPopupList();
    void ShowPopupCalendar();
    void ClosePopup();
    BOOL IsPopupOpen() const { return m_bPopupOpen; }

    // The order becomes 1, 2, a, b (3 the drop-down button, 4 the step buttons).
    void SetButtonOrder(int a, int b);
    void SetPopupAnchor(int area, int areaCorner, int popupCorner);
    void SetPopupPoint(int x, int y, int popupCorner);
    // The anchor in client coordinates and the popup corner placed on it.
    CPoint GetPopupPoint() const { return m_popupPoint; }

    void Expand();
    // Ends typing, committing it in spin mode; answers whether it was expanded.
    BOOL Collapse();
    BOOL IsExpanded() const { return m_bExpanded; }

    // Areas 1 to 3, 4 the step buttons, 5 the drop-down list; -1 computes the width.
    void SetAreaWidth(int area, int width);
    // The rectangle of areas 1 to 5, in client coordinates.
    CRect GetAreaRect(int area) const { return m_layout.Area(area); }
    // The area under a client point: 6 and 7 are the open list and calendar.
    int HitTest(CPoint point) const;
    int GetHotArea() const { return m_nHotArea; }
    int GetPressedArea() const { return m_nPressedArea; }

    BOOL GetEditable() const { return m_bEditable; }
    void SetEditable(BOOL on) { m_bEditable = on; }
    BOOL GetExpandable() const { return m_bExpandable; }
    void SetExpandable(BOOL on) { m_bExpandable = on; }
    BOOL GetCollapsible() const { return m_bCollapsible; }
    void SetCollapsible(BOOL on) { m_bCollapsible = on; }
    // Mark 1 is drawn after the label, mark 2 before it; each widens the label by 7 pixels.
    void SetLabelMarks(BOOL first, BOOL second);
    void SetDropButton(BOOL on);
    BOOL GetDropButton() const { return m_bDropButton; }
    void SetStepButtons(BOOL on);
    BOOL GetStepButtons() const { return m_bStepButtons; }
    BOOL GetFlatLabel() const { return m_bFlatLabel; }
    void SetFlatLabel(BOOL on);
    BOOL GetReverseSteps() const { return m_bReverseSteps; }
    void SetReverseSteps(BOOL on) { m_bReverseSteps = on; }
    BOOL GetDigits() const { return m_value.GetDigits(); }
    void SetDigits(BOOL on) { m_value.SetDigits(on); }
    BOOL GetHexDigits() const { return m_value.GetHexDigits(); }
    void SetHexDigits(BOOL on) { m_value.SetHexDigits(on); }
    COLORREF GetColor(Color slot) const { return m_colors[slot]; }
    void SetColor(Color slot, COLORREF color);
    // Slots as CCoolEditTipState::overrides numbers them; empty gives the built-in text.
    void SetToolTipText(int slot, const CString& text);
    // The tip of the area under a client point; empty for none.
    CString GetToolTipText(CPoint point) const;

    void OnPaint(CDC& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFont(const LogFont& font, BOOL redraw) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    BOOL OnSetCursor() override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnSysKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) override;

private:
    void RecalcLayout();
    void NotifyParent(WORD code);
    void OnDateSelect();
    void Step(bool next);
    void StepDate(int days);
    void StepArea(int area);
    void StartTyping(CPoint point);
    void EndTyping(bool commit);
    bool HasFocus() const;
    void ReturnFocus();
    CRect ScreenAreaRect(int area) const;
    CRect MainWindowRect() const;
    CCoolEditTipState TipState() const;
    bool IsInteractive() const;
    bool CanToggle() const;
    void PaintArea(CDC& dc, int area, bool flat);
    void PaintText(CDC& dc, const CRect& area, const CString& text, int indent, COLORREF color,
                   COLORREF back);
    void PaintLabelMarks(CDC& dc);
    void PaintCaret(CDC& dc);

    BOOL m_bTracking = FALSE;
    BOOL m_bMouseDown = FALSE;
    BOOL m_bEditable = FALSE;
    BOOL m_bExpandable = TRUE;
    BOOL m_bCollapsible = TRUE;
    BOOL m_bLabelMark1 = FALSE;
    BOOL m_bLabelMark2 = FALSE;
    BOOL m_bDropButton = FALSE;
    BOOL m_bStepButtons = FALSE;
    BOOL m_bFlatLabel = FALSE;
    BOOL m_bExpanded = FALSE;
    BOOL m_bPopupOpen = FALSE;
    BOOL m_bReverseSteps = FALSE;
    std::array<int, 4> m_nOrder{1, 2, 3, 4};
    CCoolEditLayout m_layout;
    std::array<int, 5> m_nWidth{-1, -1, -1, -1, -1};
    int m_nPressedArea = 0;
    CString m_collapsedText;
    CString m_expandedText;
    std::array<CString, 8> m_toolTips;
    CCoolEditValue m_value;
    std::array<COLORREF, kColorCount> m_colors{};
    int m_nHotArea = 0;
    std::unique_ptr<CPopupList> m_list;
    std::unique_ptr<CPopupMonthCal> m_calendar;
    CPoint m_popupPoint;
    int m_nPopupCorner = 1;
    int m_nAnchorArea = 5;  // 0: the point was given
    int m_nAnchorCorner = 3;
    UINT_PTR m_nTimer = 0;
};

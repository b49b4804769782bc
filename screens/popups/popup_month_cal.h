#pragma once

#include <chrono>
#include <memory>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"
#include "platform/ui/wnd.h"

class QWidget;

// The drop-down month calendar of the input control. A day the user picks reaches the owner as
// MCN_SELECT, any other change of the selected day the user makes as MCN_SELCHANGE; Enter and
// Escape as NM_CLICK with item -1, and a close it did not ask for as NM_KILLFOCUS, all from kId.
class CPopupMonthCal {
public:
    static constexpr UINT kId = 7;

    explicit CPopupMonthCal(CWnd& owner);
    ~CPopupMonthCal();
    CPopupMonthCal(const CPopupMonthCal&) = delete;
    CPopupMonthCal& operator=(const CPopupMonthCal&) = delete;

    void SetColors(COLORREF titleText, COLORREF titleBack, COLORREF trailingText);
    // The selected day; not ok() when the calendar holds none it can give.
    std::chrono::year_month_day GetCurSel() const;
    // The selected day as the user's locale writes a date alone.
    CString GetCurSelText() const;
    // Selects the day without notifying; FALSE when the calendar cannot show it.
    BOOL SetCurSel(const std::chrono::year_month_day& date);
    // The smallest size that shows a whole month, frame included.
    CSize GetMinReqRect() const;

    // Shows the calendar over the screen rectangle; a click on closeRect only closes it.
    void Show(const CRect& screenRect, const CRect& closeRect);
    void Hide();
    BOOL IsOpen() const;
    CRect GetWindowRect() const;
    // The calendar, for tests that act on it as a user would.
    QWidget* GetWidget() const;

private:
    class CFrame;
    friend class CFrame;

    void Notify(int code);

    CWnd* m_pOwner;
    std::unique_ptr<CFrame> m_frame;
};

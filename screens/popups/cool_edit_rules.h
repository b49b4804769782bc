#pragma once

#include <array>
#include <functional>
#include <optional>

#include "platform/base/cstring.h"
#include "platform/base/gdi_types.h"

// The rules of the drop-down input control that need no window: the layout of its areas, hit
// tests, tool-tip texts, the placement and size of its drop-downs, list steps, and the value of
// spin mode with its typing.

namespace cool_edit {

// The areas, numbered as hit tests, tool tips and the layout order number them.
enum Area : int {
    kNone = 0,
    kLabel = 1,
    kValue = 2,
    kDropButton = 3,
    kStepUp = 4,  // in the layout order: the pair of step buttons
    kStepDown = 5,
    kPopupList = 6,
    kPopupCalendar = 7,
};

// The corners of an area or a drop-down, as RectCorner numbers them.
enum Corner : int { kLeftTop = 0, kRightTop = 1, kLeftBottom = 2, kRightBottom = 3 };

enum Mode : int { kNoMode = 0, kListMode = 1, kSpinMode = 2, kDateMode = 3 };

// Notification codes the parent gets in the high word of WM_COMMAND's wParam.
constexpr WORD kSelChange = 9;
constexpr WORD kTextChange = 0x300;
constexpr WORD kDateTaken = 0xFD13;

constexpr int kLabelMarkWidth = 7;
constexpr int kTextPadding = 10;
constexpr int kTextIndent = 5;
constexpr int kMaxVisibleItems = 25;

}  // namespace cool_edit

// What the areas are laid out from. Fixed widths are -1 when computed; area 2's may also be
// -2: computed, but never narrower than lastValueWidth.
struct CCoolEditLayoutInput {
    CRect client;
    std::array<int, 4> order{1, 2, 3, 4};  // 4 stands for the step-button pair
    std::array<int, 4> fixedWidth{-1, -1, -1, -1};
    bool dropButton = false;
    bool stepButtons = false;
    int labelMarks = 0;
    bool hasLabel = false;   // either label is not empty
    int labelTextWidth = 0;  // the wider of the two labels' extents
    int valueTextWidth = 0;  // the value text's extent; 0 when it is empty
    int lastValueWidth = 0;
};

struct CCoolEditLayout {
    std::array<CRect, 5> areas;  // areas 1 to 5
    int valueWidth = 0;          // area 2's width before the last area was stretched

    const CRect& Area(int area) const { return areas.at(static_cast<size_t>(area - 1)); }
};

// Splits the client rectangle from left to right in the given order; the last area that takes
// any width is stretched to the right edge.
CCoolEditLayout LayOutCoolEdit(const CCoolEditLayoutInput& input);

// The area under a client point, leaving out the drop-downs: area 1 always, the others only
// while expanded and shown.
int HitTestCoolEdit(const CCoolEditLayout& layout, CPoint point, bool expanded, bool dropButton,
                    bool stepButtons);

// A corner of a rectangle: 0 left-top, 1 right-top, 2 left-bottom, 3 right-bottom.
CPoint RectCorner(const CRect& rect, int corner);

// Where a drop-down of the size goes when its corner (numbered as RectCorner's) lies on the
// anchor, moved up or down to lie within the bounds (the main window) where it can.
CRect PlacePopup(CPoint anchor, int popupCorner, CSize size, const CRect& bounds);

struct CPopupListSize {
    CSize size;
    int columnWidth = 0;
};

// The drop-down list's size: its column fits the contents (or a fixed list width), inside a
// frame of four frame widths across and five frame heights down; it shows at most 25 rows and
// takes a scroll bar's width more when it holds more.
CPopupListSize SizePopupList(int contentWidth, int fixedWidth, int itemCount, int rowHeight,
                             CSize frame, int scrollBarWidth);

// The list index a step of the given size reaches, or none when it would leave the list. The
// index is -1 when nothing is selected.
std::optional<int> StepListIndex(int index, int step, int itemCount, bool next);

// What the tool tips depend on. The override texts, in order: area 1 collapsed, area 1 expanded,
// area 2 editable, area 2 not editable, areas 3, 4, 5 and 6.
struct CCoolEditTipState {
    int mode = cool_edit::kNoMode;
    bool expanded = false;
    bool expandable = false;
    bool collapsible = false;
    bool editable = false;
    bool reverseSteps = false;
    std::array<CString, 8> overrides;
};

// The tip of an area; empty for none.
CString CoolEditToolTip(int area, const CCoolEditTipState& state);

// The value of the control: the value text of every mode, the list index or the number of spin
// mode with its range and step, and the typing of digits at a caret. Every notification the
// parent must hear goes out through the callback, in the order the changes happen.
class CCoolEditValue {
public:
    using Notify = std::function<void(WORD code)>;

    explicit CCoolEditValue(Notify notify) : m_notify(std::move(notify)) {}

    int GetMode() const { return m_nMode; }
    void SetMode(int mode) { m_nMode = mode; }
    BOOL GetDigits() const { return m_bDigits; }
    void SetDigits(BOOL digits) { m_bDigits = digits; }
    BOOL GetHexDigits() const { return m_bHexDigits; }
    void SetHexDigits(BOOL hex) { m_bHexDigits = hex; }

    const CString& GetValueText() const { return m_valueText; }
    // List and date mode: shows the text and notifies; FALSE in spin mode.
    BOOL SetValueText(const CString& text);
    // List mode: a new index is stored and notified.
    void SelectIndex(int index);

    DWORD GetValue() const { return m_nValue; }
    int GetIndex() const { return static_cast<int>(m_nValue); }
    // Spin mode: the number clamped into the range; a change is stored, notified and shown.
    BOOL SetValue(DWORD value);
    DWORD GetMin() const { return m_nMin; }
    DWORD GetMax() const { return m_nMax; }
    // A range whose minimum lies above its maximum is refused; the value is clamped into it.
    BOOL SetRange(DWORD minValue, DWORD maxValue);
    void ResetRange() { SetRange(0, 0xFFFFFFFF); }
    DWORD GetStep() const { return m_nStep; }
    void SetStep(DWORD step) { m_nStep = step; }
    // The text becomes the value as eight hexadecimal digits, and the parent hears of it.
    void FormatValue();
    // The same without telling the parent, for a control being set up.
    void ShowValue() { m_valueText = FormatNumber(m_nValue); }

    // The step of a step button: the place value of the digit under the caret while digits
    // are typed, else the step.
    DWORD GetStepSize() const;
    // Spin mode: the previous step adds, the next subtracts, modulo 2^32. While digits are
    // typed the typed number is taken first, so that no typed digit is lost.
    void StepSpin(bool previous);

    BOOL IsTyping() const { return m_bTyping; }
    int GetCaretPos() const { return m_nCaretPos; }
    void StartTyping(int caret);
    // Commits the typed number (with digit entry), or drops it and shows the value again.
    void EndTyping(bool commit);
    // A typed character; FALSE when it is no digit of the kind allowed.
    BOOL TypeChar(char16_t ch);
    // Backspace, Delete, Left, Right, Home, End, Enter and Escape; FALSE for other keys.
    BOOL TypeKey(UINT vk);
    // Steps the digit under the caret without carry.
    void RollDigit(bool up);

private:
    static CString FormatNumber(DWORD value);
    std::optional<DWORD> ParseTyped() const;
    bool CanEditText() const;

    Notify m_notify;
    int m_nMode = cool_edit::kNoMode;
    BOOL m_bDigits = FALSE;
    BOOL m_bHexDigits = FALSE;
    BOOL m_bTyping = FALSE;
    int m_nCaretPos = 0;
    CString m_valueText;
    DWORD m_nValue = 0;
    DWORD m_nMin = 0;
    DWORD m_nMax = 0xFFFFFFFF;
    DWORD m_nStep = 1;
};

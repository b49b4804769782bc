#include "screens/popups/cool_edit_rules.h"

#include <algorithm>

#include "platform/ui/win_consts.h"

using namespace cool_edit;

namespace {

constexpr int kTypedLength = 8;

int ComputedWidth(const CCoolEditLayoutInput& in, int area, int half) {
    switch (area) {
        case kLabel:
            if (in.fixedWidth[0] >= 0) return in.fixedWidth[0];
            if (!in.hasLabel && in.labelMarks == 0) return 0;
            return in.labelTextWidth + kLabelMarkWidth * in.labelMarks + kTextPadding;
        case kValue: {
            if (in.fixedWidth[1] >= 0) return in.fixedWidth[1];
            const int width = in.valueTextWidth > 0 ? in.valueTextWidth + kTextPadding : 0;
            return in.fixedWidth[1] == -2 ? std::max(width, in.lastValueWidth) : width;
        }
        case kDropButton:
            if (!in.dropButton) return 0;
            return in.fixedWidth[2] >= 0 ? in.fixedWidth[2] : half + 1;
        default:
            if (!in.stepButtons) return 0;
            return in.fixedWidth[3] >= 0 ? in.fixedWidth[3] : half + 1;
    }
}

bool IsHexDigit(char16_t ch) {
    return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f');
}

}  // namespace

CCoolEditLayout LayOutCoolEdit(const CCoolEditLayoutInput& in) {
    CCoolEditLayout layout;
    const CRect& client = in.client;
    const int half = std::max(client.Height() / 2, 9);
    int x = client.left;
    int last = kNone;
    for (int area : in.order) {
        const int width = ComputedWidth(in, area, half);
        if (area == kValue) layout.valueWidth = width;
        if (area == kStepUp || area == kStepDown) {
            layout.areas[3] = CRect(x, client.top, x + width, client.top + half);
            layout.areas[4] = CRect(x, client.top + half, x + width, client.bottom);
        } else if (area >= kLabel && area <= kDropButton) {
            layout.areas[area - 1] = CRect(x, client.top, x + width, client.bottom);
        } else {
            continue;
        }
        x += width;
        if (width > 0) last = area;
    }
    if (last == kStepUp || last == kStepDown) {
        layout.areas[3].right = layout.areas[4].right = client.right;
    } else if (last != kNone) {
        layout.areas[last - 1].right = client.right;
    }
    return layout;
}

int HitTestCoolEdit(const CCoolEditLayout& layout, CPoint point, bool expanded, bool dropButton,
                    bool stepButtons) {
    if (layout.Area(kLabel).PtInRect(point)) return kLabel;
    if (!expanded) return kNone;
    if (layout.Area(kValue).PtInRect(point)) return kValue;
    if (dropButton && layout.Area(kDropButton).PtInRect(point)) return kDropButton;
    if (stepButtons) {
        if (layout.Area(kStepUp).PtInRect(point)) return kStepUp;
        if (layout.Area(kStepDown).PtInRect(point)) return kStepDown;
    }
    return kNone;
}

CPoint RectCorner(const CRect& rect, int corner) {
    return CPoint((corner & 1) ? rect.right : rect.left, (corner & 2) ? rect.bottom : rect.top);
}

CRect PlacePopup(CPoint anchor, int popupCorner, CSize size, const CRect& bounds) {
    const int left = (popupCorner & 1) ? anchor.x - size.cx : anchor.x;
    int top = (popupCorner & 2) ? anchor.y - size.cy : anchor.y;
    if (top < bounds.top) {
        top = bounds.top;
    } else if (top + size.cy > bounds.bottom) {
        top = bounds.bottom - size.cy;
    }
    return CRect(CPoint(left, top), size);
}

CPopupListSize SizePopupList(int contentWidth, int fixedWidth, int itemCount, int rowHeight,
                             CSize frame, int scrollBarWidth) {
    CPopupListSize result;
    if (fixedWidth >= 0) {
        result.columnWidth = fixedWidth - 4 * frame.cx;
        result.size.cx = fixedWidth;
    } else {
        result.columnWidth = contentWidth;
        result.size.cx = contentWidth + 4 * frame.cx;
    }
    if (itemCount > kMaxVisibleItems) result.size.cx += scrollBarWidth;
    result.size.cy = rowHeight * std::min(itemCount, kMaxVisibleItems) + 5 * frame.cy;
    return result;
}

std::optional<int> StepListIndex(int index, int step, int itemCount, bool next) {
    const long long reached =
        next ? static_cast<long long>(index) + step : static_cast<long long>(index) - step;
    if (next ? reached < itemCount : reached >= 0) return static_cast<int>(reached);
    return std::nullopt;
}

CString CoolEditToolTip(int area, const CCoolEditTipState& s) {
    // The step buttons' tips follow their actions.
    if (s.reverseSteps && (area == kStepUp || area == kStepDown))
        area = area == kStepUp ? kStepDown : kStepUp;
    const bool spin = s.mode == kSpinMode;
    int slot = -1;
    CString text;
    switch (area) {
        case kLabel:
            slot = s.expanded ? 1 : 0;
            if (!s.expanded && s.expandable) text = u"Click here to expand.";
            if (s.expanded && s.collapsible) text = u"Click here to collapse.";
            break;
        case kValue:
            slot = s.editable ? 2 : 3;
            text = s.editable ? u"Click here to edit."
                   : spin     ? u"The current value."
                              : u"The current selection.";
            break;
        case kDropButton:
            slot = 4;
            text = u"Click here to select from a list.";
            break;
        case kStepUp:
            slot = 5;
            text = spin ? u"Click here to increment the current value."
                        : u"Click here to select the previous list item.";
            break;
        case kStepDown:
            slot = 6;
            text = spin ? u"Click here to decrement the current value."
                        : u"Click here to select the next list item.";
            break;
        case kPopupList:
            slot = 7;
            text = u"Select an item from the list.";
            break;
        default: return CString();
    }
    const CString& custom = s.overrides[static_cast<size_t>(slot)];
    return custom.IsEmpty() ? text : custom;
}

BOOL CCoolEditValue::SetValueText(const CString& text) {
    if (m_nMode == kSpinMode) return FALSE;
    m_valueText = text;
    m_notify(kTextChange);
    return TRUE;
}

void CCoolEditValue::SelectIndex(int index) {
    if (static_cast<DWORD>(index) == m_nValue) return;
    m_nValue = static_cast<DWORD>(index);
    m_notify(kSelChange);
}

BOOL CCoolEditValue::SetValue(DWORD value) {
    if (m_nMode != kSpinMode || m_nMin > m_nMax) return FALSE;
    value = std::clamp(value, m_nMin, m_nMax);
    if (value != m_nValue) {
        m_nValue = value;
        m_notify(kSelChange);
        FormatValue();
    }
    return TRUE;
}

BOOL CCoolEditValue::SetRange(DWORD minValue, DWORD maxValue) {
    if (minValue > maxValue) return FALSE;
    m_nMin = minValue;
    m_nMax = maxValue;
    SetValue(m_nValue);
    return TRUE;
}

CString CCoolEditValue::FormatNumber(DWORD value) {
    return CString::Formatted(u"%08.8x", value);
}

void CCoolEditValue::FormatValue() {
    m_valueText = FormatNumber(m_nValue);
    m_notify(kTextChange);
}

DWORD CCoolEditValue::GetStepSize() const {
    if (!m_bTyping || !m_bDigits || m_nMode != kSpinMode) return m_nStep;
    const int right = std::max(m_valueText.GetLength() - 1 - m_nCaretPos, 0);
    DWORD place = 1;
    for (int i = 0; i < right; ++i)
        place *= 16;
    return place;
}

void CCoolEditValue::StepSpin(bool previous) {
    const DWORD step = GetStepSize();
    if (m_bTyping && m_bDigits) {
        if (const std::optional<DWORD> typed = ParseTyped()) SetValue(*typed);
    }
    SetValue(previous ? m_nValue + step : m_nValue - step);
    // A step that changed nothing still shows the number the steps start from.
    if (m_bTyping && m_bDigits && m_valueText != FormatNumber(m_nValue)) FormatValue();
}

void CCoolEditValue::StartTyping(int caret) {
    m_bTyping = TRUE;
    m_nCaretPos = std::clamp(caret, 0, std::max(m_valueText.GetLength() - 1, 0));
}

void CCoolEditValue::EndTyping(bool commit) {
    if (!m_bTyping) return;
    m_bTyping = FALSE;
    if (!m_bDigits || m_nMode != kSpinMode) return;
    if (commit) {
        if (const std::optional<DWORD> typed = ParseTyped()) SetValue(*typed);
    }
    // The text always ends up showing the value kept, clamped or unchanged as it may be.
    if (m_valueText != FormatNumber(m_nValue)) FormatValue();
}

std::optional<DWORD> CCoolEditValue::ParseTyped() const {
    // Read as the digits up to the first character that is none.
    const DWORD base = m_bHexDigits ? 16 : 10;
    DWORD value = 0;
    int digits = 0;
    for (char16_t ch : m_valueText.str()) {
        int digit = -1;
        if (ch >= u'0' && ch <= u'9') digit = ch - u'0';
        if (base == 16 && ch >= u'a' && ch <= u'f') digit = ch - u'a' + 10;
        if (digit < 0) break;
        value = value * base + static_cast<DWORD>(digit);
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

bool CCoolEditValue::CanEditText() const {
    return m_bTyping && m_bDigits && m_nCaretPos < m_valueText.GetLength();
}

BOOL CCoolEditValue::TypeChar(char16_t ch) {
    if (ch >= u'A' && ch <= u'F') ch = static_cast<char16_t>(ch - u'A' + u'a');
    const bool digit = (ch >= u'0' && ch <= u'9') || (m_bHexDigits && IsHexDigit(ch));
    if (!digit || !CanEditText()) return FALSE;
    m_valueText.SetAt(m_nCaretPos, ch);
    if (m_nCaretPos < m_valueText.GetLength() - 1) ++m_nCaretPos;
    return TRUE;
}

BOOL CCoolEditValue::TypeKey(UINT vk) {
    if (!m_bTyping) return FALSE;
    const int last = std::max(m_valueText.GetLength() - 1, 0);
    switch (vk) {
        case VK_BACK:
            if (m_nCaretPos > 0 && CanEditText()) {
                m_valueText.Delete(m_nCaretPos - 1);
                m_valueText += u' ';
                --m_nCaretPos;
            }
            return TRUE;
        case VK_DELETE:
            if (CanEditText()) {
                m_valueText.Delete(m_nCaretPos);
                m_valueText += u' ';
            }
            return TRUE;
        case VK_LEFT: m_nCaretPos = std::max(m_nCaretPos - 1, 0); return TRUE;
        case VK_RIGHT: m_nCaretPos = std::min(m_nCaretPos + 1, last); return TRUE;
        case VK_HOME: m_nCaretPos = 0; return TRUE;
        case VK_END: m_nCaretPos = last; return TRUE;
        case VK_RETURN: EndTyping(true); return TRUE;
        case VK_ESCAPE: EndTyping(false); return TRUE;
        default: return FALSE;
    }
}

void CCoolEditValue::RollDigit(bool up) {
    if (!CanEditText()) return;
    char16_t ch = m_valueText[m_nCaretPos];
    // A blank left by Backspace or Delete rolls as a 0.
    if (!IsHexDigit(ch)) ch = u'0';
    const char16_t top = m_bHexDigits ? u'f' : u'9';
    if (up) {
        ch = ch == u'9'  ? (m_bHexDigits ? u'a' : u'0')
             : ch == top ? u'0'
                         : static_cast<char16_t>(ch + 1);
    } else {
        ch = ch == u'0' ? top : ch == u'a' ? u'9' : static_cast<char16_t>(ch - 1);
    }
    m_valueText.SetAt(m_nCaretPos, ch);
}

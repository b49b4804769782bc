#include "screens/popups/cool_edit.h"

#include <algorithm>

#include <QWidget>

#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "screens/popups/popup_list.h"
#include "screens/popups/popup_month_cal.h"

using namespace cool_edit;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A filled triangle pointing up, down or right, its tip half a size from the centre.
void FillTriangle(CDC& dc, CPoint centre, int half, char direction, COLORREF color) {
    for (int i = 0; i <= half; ++i) {
        const int reach = half - i;
        switch (direction) {
            case 'u':
                dc.FillSolidRect(CRect(centre.x - i, centre.y - half / 2 + i, centre.x + i + 1,
                                       centre.y - half / 2 + i + 1),
                                 color);
                break;
            case 'd':
                dc.FillSolidRect(CRect(centre.x - reach, centre.y - half / 2 + i,
                                       centre.x + reach + 1, centre.y - half / 2 + i + 1),
                                 color);
                break;
            default:
                dc.FillSolidRect(CRect(centre.x - half / 2 + i, centre.y - reach,
                                       centre.x - half / 2 + i + 1, centre.y + reach + 1),
                                 color);
                break;
        }
    }
}

}  // namespace

CCoolEdit::CCoolEdit()
    : m_value([this](WORD code) {
          NotifyParent(code);
          if (code == kTextChange && m_nWidth[1] < 0) RecalcLayout();
          Invalidate();
      }) {
    m_colors = {GetSysColor(COLOR_BTNSHADOW),  kWhite,
                GetSysColor(COLOR_BTNSHADOW),  GetSysColor(COLOR_BTNFACE),
                GetSysColor(COLOR_BTNTEXT),    GetSysColor(COLOR_WINDOW),
                GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
                GetSysColor(COLOR_BTNSHADOW),  kWhite};
}

CCoolEdit::~CCoolEdit() = default;

BOOL CCoolEdit::Create(const CRect& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE, rect, parent, id)) return FALSE;
    SetWindowText(u"CoolEdit");
    // Not a tab stop: the control takes the focus only while it is clicked or typed into.
    GetWidget()->setFocusPolicy(Qt::ClickFocus);
    SetOpaquePaint(TRUE);
    EnableToolTips(TRUE);
    RecalcLayout();
    return TRUE;
}

void CCoolEdit::SetListMode(BOOL stepButtons) {
    m_bDropButton = TRUE;
    m_bStepButtons = stepButtons;
    m_bEditable = FALSE;
    m_value.SetDigits(FALSE);
    m_value.SetMode(kListMode);
    if (!m_list) m_list = std::make_unique<CPopupList>(*this);
    m_list->SetColors(m_colors[kFace], m_colors[kFace], m_colors[kText]);
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetSpinMode() {
    m_bStepButtons = TRUE;
    m_bDropButton = FALSE;
    m_bEditable = FALSE;
    m_value.SetDigits(TRUE);
    m_value.SetHexDigits(TRUE);
    m_value.SetMode(kSpinMode);
    // The number shows from the start, before anything tells the parent of it.
    m_value.ShowValue();
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetDateMode() {
    m_bDropButton = TRUE;
    m_bStepButtons = TRUE;
    m_bEditable = FALSE;
    m_value.SetDigits(FALSE);
    m_value.SetMode(kDateMode);
    if (!m_calendar) m_calendar = std::make_unique<CPopupMonthCal>(*this);
    m_calendar->SetColors(m_colors[kText], m_colors[kFace], m_colors[kFace]);
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetText(const CString& label) {
    m_collapsedText = label;
    m_expandedText = label;
    if (m_nWidth[0] < 0) RecalcLayout();
    Invalidate();
}

BOOL CCoolEdit::SetValueText(const CString& text) {
    return m_value.SetValueText(text);
}

void CCoolEdit::SetCurSel(int index) {
    if (GetMode() != kListMode || !m_list) return;
    m_value.SelectIndex(index);
    // The parent may have refilled the list meanwhile: the text is the one now at the index.
    SetValueText(m_list->GetItemText(m_value.GetIndex()));
    Invalidate();
}

void CCoolEdit::SelectByData(DWORD data) {
    if (!m_list || m_list->GetItemCount() == 0) return;
    const int count = m_list->GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (static_cast<DWORD>(m_list->GetItemData(row)) == data) {
            SetCurSel(row);
            return;
        }
    }
    SetCurSel(0);
}

LPARAM CCoolEdit::GetCurSelData() const {
    const int index = m_value.GetIndex();
    if (!m_list || index < 0 || index >= m_list->GetItemCount()) return -1;
    return m_list->GetItemData(index);
}

BOOL CCoolEdit::SetValue(DWORD value) {
    return m_value.SetValue(value);
}

BOOL CCoolEdit::SetRange(DWORD minValue, DWORD maxValue) {
    return m_value.SetRange(minValue, maxValue);
}

void CCoolEdit::ResetRange() {
    if (GetMode() == kSpinMode) m_value.ResetRange();
}

void CCoolEdit::SetDate(const std::chrono::year_month_day& date) {
    if (!m_calendar) return;
    m_calendar->SetCurSel(date);
    OnDateSelect();
}

BOOL CCoolEdit::GetDate(std::chrono::year_month_day& date) const {
    date = m_calendar ? m_calendar->GetCurSel() : std::chrono::year_month_day{};
    return date.ok();
}

void CCoolEdit::OnDateSelect() {
    if (GetMode() != kDateMode || !m_calendar) return;
    SetValueText(m_calendar->GetCurSelText());
    Invalidate();
    NotifyParent(kDateTaken);
}

void CCoolEdit::StepDate(int days) {
    std::chrono::year_month_day date;
    if (!GetDate(date)) return;
    const auto moved = std::chrono::sys_days(date) + std::chrono::days(days);
    if (m_calendar->SetCurSel(std::chrono::year_month_day(moved))) OnDateSelect();
}

void CCoolEdit::StepNext() {
    Step(true);
}

void CCoolEdit::StepPrevious() {
    Step(false);
}

void CCoolEdit::Step(bool next) {
    const int step = static_cast<int>(m_value.GetStepSize());
    switch (GetMode()) {
        case kListMode:
            if (!m_list) break;
            if (auto index = StepListIndex(m_value.GetIndex(), step, m_list->GetItemCount(), next))
                SetCurSel(*index);
            break;
        case kDateMode: StepDate(next ? step : -step); break;
        case kSpinMode: m_value.StepSpin(!next); break;
        default: break;
    }
    Invalidate();
}

void CCoolEdit::StepArea(int area) {
    if ((area == kStepUp) != static_cast<bool>(m_bReverseSteps)) {
        StepPrevious();
    } else {
        StepNext();
    }
}

BOOL CCoolEdit::CanOpenDropDown() const {
    return m_bExpanded && m_bDropButton && !m_layout.Area(kDropButton).IsRectEmpty();
}

BOOL CCoolEdit::OpenDropDown() {
    if (!CanOpenDropDown()) return FALSE;
    // As a click on the button would: the control takes the focus, so that the key which
    // opened the list goes nowhere else when it is let go.
    SetFocus();
    if (IsTyping()) EndTyping(true);
    if (GetMode() == kListMode) ShowPopupList();
    if (GetMode() == kDateMode) ShowPopupCalendar();
    return TRUE;
}

CRect CCoolEdit::ScreenAreaRect(int area) const {
    CRect rect = m_layout.Area(area);
    ClientToScreen(&rect);
    return rect;
}

CRect CCoolEdit::MainWindowRect() const {
    const QWidget* host = GetWidget();
    return host ? FromQRect(host->window()->frameGeometry()) : CRect();
}

void CCoolEdit::ShowPopupList() {
    if (!m_list || m_list->GetItemCount() < 2) return;
    const CSize frame(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
    const CPopupListSize size =
        SizePopupList(m_list->GetContentWidth(), m_nWidth[4], m_list->GetItemCount(),
                      m_list->GetRowHeight(), frame, GetSystemMetrics(SM_CXVSCROLL));
    m_list->SetColumnWidth(size.columnWidth);
    CPoint anchor = m_popupPoint;
    ClientToScreen(&anchor);
    const CRect rect = PlacePopup(anchor, m_nPopupCorner, size.size, MainWindowRect());
    m_bPopupOpen = TRUE;
    m_list->Show(rect, m_value.GetIndex(), ScreenAreaRect(kDropButton));
    Invalidate();
}

void CCoolEdit::ShowPopupCalendar() {
    if (!m_calendar) return;
    CPoint anchor = m_popupPoint;
    ClientToScreen(&anchor);
    const CRect rect =
        PlacePopup(anchor, m_nPopupCorner, m_calendar->GetMinReqRect(), MainWindowRect());
    m_bPopupOpen = TRUE;
    m_calendar->Show(rect, ScreenAreaRect(kDropButton));
    Invalidate();
}

void CCoolEdit::ClosePopup() {
    if (!m_bPopupOpen) return;
    m_bPopupOpen = FALSE;
    if (m_list) m_list->Hide();
    if (m_calendar) m_calendar->Hide();
    Invalidate();
    // The closed drop-down hands the focus back to the control, which has no use for it.
    if (!IsTyping() && HasFocus()) ReturnFocus();
}

void CCoolEdit::SetButtonOrder(int a, int b) {
    m_nOrder = {kLabel, kValue, a, b};
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetPopupAnchor(int area, int areaCorner, int popupCorner) {
    m_nAnchorArea = area;
    m_nAnchorCorner = areaCorner;
    m_nPopupCorner = popupCorner;
    if (area >= kLabel && area <= kStepDown)
        m_popupPoint = RectCorner(m_layout.Area(area), areaCorner);
}

void CCoolEdit::SetPopupPoint(int x, int y, int popupCorner) {
    m_nAnchorArea = kNone;
    m_popupPoint = CPoint(x, y);
    m_nPopupCorner = popupCorner;
}

void CCoolEdit::Expand() {
    m_bExpanded = TRUE;
    Invalidate();
}

BOOL CCoolEdit::Collapse() {
    const BOOL was = m_bExpanded;
    if (IsTyping()) EndTyping(true);
    ClosePopup();
    m_bExpanded = FALSE;
    Invalidate();
    return was;
}

void CCoolEdit::SetAreaWidth(int area, int width) {
    if (area < kLabel || area > kStepDown) return;
    m_nWidth[static_cast<size_t>(area - 1)] = width;
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetLabelMarks(BOOL first, BOOL second) {
    m_bLabelMark1 = first;
    m_bLabelMark2 = second;
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetDropButton(BOOL on) {
    m_bDropButton = on;
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetStepButtons(BOOL on) {
    m_bStepButtons = on;
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::SetFlatLabel(BOOL on) {
    m_bFlatLabel = on;
    Invalidate();
}

void CCoolEdit::SetColor(Color slot, COLORREF color) {
    m_colors[slot] = color;
    if (m_list) m_list->SetColors(m_colors[kFace], m_colors[kFace], m_colors[kText]);
    if (m_calendar) m_calendar->SetColors(m_colors[kText], m_colors[kFace], m_colors[kFace]);
    Invalidate();
}

void CCoolEdit::SetToolTipText(int slot, const CString& text) {
    if (slot >= 0 && slot < static_cast<int>(m_toolTips.size()))
        m_toolTips[static_cast<size_t>(slot)] = text;
}

void CCoolEdit::RecalcLayout() {
    if (!IsWindow()) return;
    const std::unique_ptr<CDC> dc = GetDC();
    auto extent = [&dc](const CString& text) {
        return text.IsEmpty() ? 0 : dc->GetTextExtent(text).cx;
    };
    CCoolEditLayoutInput in;
    in.client = GetClientRect();
    in.order = m_nOrder;
    std::copy_n(m_nWidth.begin(), in.fixedWidth.size(), in.fixedWidth.begin());
    in.dropButton = m_bDropButton;
    in.stepButtons = m_bStepButtons;
    in.labelMarks = (m_bLabelMark1 ? 1 : 0) + (m_bLabelMark2 ? 1 : 0);
    in.hasLabel = !m_expandedText.IsEmpty() || !m_collapsedText.IsEmpty();
    in.labelTextWidth = std::max(extent(m_expandedText), extent(m_collapsedText));
    in.valueTextWidth = extent(GetValueText());
    in.lastValueWidth = m_layout.valueWidth;
    m_layout = LayOutCoolEdit(in);
    if (m_nAnchorArea >= kLabel && m_nAnchorArea <= kStepDown)
        m_popupPoint = RectCorner(m_layout.Area(m_nAnchorArea), m_nAnchorCorner);
}

void CCoolEdit::NotifyParent(WORD code) {
    CWnd* parent = GetParent();
    if (!parent) return;
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(GetDlgCtrlID()), code),
                        reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
}

int CCoolEdit::HitTest(CPoint point) const {
    CPoint screen = point;
    ClientToScreen(&screen);
    if (m_bPopupOpen && m_list && m_list->GetWindowRect().PtInRect(screen)) return kPopupList;
    if (m_bPopupOpen && m_calendar && m_calendar->GetWindowRect().PtInRect(screen))
        return kPopupCalendar;
    return HitTestCoolEdit(m_layout, point, m_bExpanded, m_bDropButton, m_bStepButtons);
}

CCoolEditTipState CCoolEdit::TipState() const {
    CCoolEditTipState state;
    state.mode = GetMode();
    state.expanded = m_bExpanded;
    state.expandable = m_bExpandable;
    state.collapsible = m_bCollapsible;
    state.editable = m_bEditable;
    state.reverseSteps = m_bReverseSteps;
    state.overrides = m_toolTips;
    return state;
}

CString CCoolEdit::GetToolTipText(CPoint point) const {
    return CoolEditToolTip(HitTest(point), TipState());
}

INT_PTR CCoolEdit::OnToolHitTest(CPoint point, TOOLINFO* info) {
    if (HitTest(point) == kNone) return -1;
    info->rect = CRect(point.x - 1, point.y - 1, point.x + 2, point.y + 2);
    info->text.Empty();
    return static_cast<INT_PTR>((point.x & 0xFFFF) | ((point.y & 0xFFFF) << 16));
}

BOOL CCoolEdit::OnNotify(WPARAM id, NMHDR* header, LRESULT* result) {
    *result = 0;
    switch (header->code) {
        case TTN_NEEDTEXT: {
            auto* tip = reinterpret_cast<TOOLTIPTEXT*>(header);
            const CPoint point(static_cast<short>(LOWORD(header->idFrom)),
                               static_cast<short>(HIWORD(header->idFrom)));
            const CString text = GetToolTipText(point);
            const size_t count = std::min(static_cast<size_t>(text.GetLength()),
                                          static_cast<size_t>(TOOLTIPTEXT::kTextSize - 1));
            std::copy_n(text.GetString(), count, tip->szText);
            tip->szText[count] = 0;
            return TRUE;
        }
        case NM_CLICK:
        case NM_RCLICK:
            if (id == CPopupList::kId) {
                const int item = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
                if (item >= 0) SetCurSel(item);
            }
            ClosePopup();
            return TRUE;
        case NM_KILLFOCUS: ClosePopup(); return TRUE;
        case MCN_SELECT:
        case MCN_SELCHANGE: OnDateSelect(); return TRUE;
        default: return FALSE;
    }
}

bool CCoolEdit::HasFocus() const {
    return CWnd::GetFocus() == this;
}

void CCoolEdit::ReturnFocus() {
    if (CWnd* parent = GetParent()) parent->SetFocus();
}

void CCoolEdit::StartTyping(CPoint point) {
    const CString& text = GetValueText();
    const std::unique_ptr<CDC> dc = GetDC();
    const int offset = point.x - (m_layout.Area(kValue).left + kTextIndent);
    int caret = text.GetLength() - 1;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (dc->GetTextExtent(text.Left(i + 1)).cx > offset) {
            caret = i;
            break;
        }
    }
    m_value.StartTyping(caret);
    Invalidate();
}

void CCoolEdit::EndTyping(bool commit) {
    m_value.EndTyping(commit);
    Invalidate();
}

void CCoolEdit::OnSize(UINT, int, int) {
    RecalcLayout();
    Invalidate();
}

void CCoolEdit::OnSetFont(const LogFont&, BOOL) {
    RecalcLayout();
}

void CCoolEdit::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    SetCapture();
    m_bMouseDown = TRUE;
    const int area = HitTest(point);
    m_nPressedArea = m_nHotArea = area;
    if (area == kStepUp || area == kStepDown) {
        m_nTimer = SetTimer(kRepeatTimer, kFirstRepeatDelay);
        if (IsTyping() && GetDigits() && GetMode() == kSpinMode) {
            m_value.RollDigit((area == kStepUp) != static_cast<bool>(m_bReverseSteps));
        } else {
            StepArea(area);
        }
    } else if (IsTyping() && area != kValue && area != kDropButton) {
        EndTyping(true);
    }
    Invalidate();
}

void CCoolEdit::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point);
}

void CCoolEdit::OnLButtonUp(UINT, CPoint point) {
    if (!m_bMouseDown) return;
    m_bMouseDown = FALSE;
    if (m_nTimer) KillTimer(m_nTimer);
    m_nTimer = 0;
    if (GetCapture() == this) ReleaseCapture();
    const int pressed = m_nPressedArea;
    m_nPressedArea = kNone;
    if (HitTest(point) == pressed) {
        switch (pressed) {
            case kLabel:
                if (!m_bExpanded && m_bExpandable) {
                    Expand();
                } else if (m_bExpanded && m_bCollapsible) {
                    Collapse();
                }
                break;
            case kValue:
                if (m_bExpanded && m_bEditable) StartTyping(point);
                break;
            case kDropButton:
                if (m_bExpanded && GetMode() == kListMode) ShowPopupList();
                if (m_bExpanded && GetMode() == kDateMode) ShowPopupCalendar();
                break;
            default: break;
        }
    }
    Invalidate();
    if (!IsTyping() && HasFocus()) ReturnFocus();
}

void CCoolEdit::OnMouseMove(UINT, CPoint point) {
    m_bTracking = TRUE;
    const int area = HitTest(point);
    if (area == m_nHotArea) return;
    m_nHotArea = area;
    Invalidate();
}

void CCoolEdit::OnMouseLeave() {
    m_bTracking = FALSE;
    m_nHotArea = kNone;
    Invalidate();
}

BOOL CCoolEdit::OnSetCursor() {
    if (!IsTyping()) return FALSE;
    CPoint point = GetCursorPos();
    ScreenToClient(&point);
    if (HitTest(point) != kValue) return FALSE;
    SetCursor(Cursor::IBeam);
    return TRUE;
}

void CCoolEdit::OnKeyDown(UINT vk, UINT, UINT) {
    if (IsTyping()) {
        if (vk == VK_UP || vk == VK_DOWN) {
            m_value.RollDigit((vk == VK_UP) != static_cast<bool>(m_bReverseSteps));
        } else {
            m_value.TypeKey(vk);
        }
        Invalidate();
    }
    if (!IsTyping() && HasFocus()) ReturnFocus();
}

void CCoolEdit::OnSysKeyDown(UINT vk, UINT repeat, UINT flags) {
    // Alt+Down opens the drop-down, as it does on any drop-down list.
    if (vk == VK_DOWN && OpenDropDown()) return;
    CWnd::OnSysKeyDown(vk, repeat, flags);
}

void CCoolEdit::OnChar(UINT ch, UINT, UINT) {
    if (IsTyping() && m_value.TypeChar(static_cast<char16_t>(ch))) Invalidate();
    if (!IsTyping() && HasFocus()) ReturnFocus();
}

UINT CCoolEdit::OnGetDlgCode() {
    // While typing, Enter and Escape belong to the control, not to the window's accelerators.
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (IsTyping() ? DLGC_WANTALLKEYS : 0);
}

void CCoolEdit::OnKillFocus(CWnd*) {
    if (m_nTimer) KillTimer(m_nTimer);
    m_nTimer = 0;
    if (IsTyping()) EndTyping(true);
    if (GetCapture() == this) ReleaseCapture();
    m_bMouseDown = FALSE;
    m_nPressedArea = kNone;
    Invalidate();
}

void CCoolEdit::OnTimer(UINT_PTR id) {
    if (id != kRepeatTimer || m_nTimer == 0) return;
    m_nTimer = SetTimer(kRepeatTimer, kRepeatInterval);
    const bool step = m_nPressedArea == kStepUp || m_nPressedArea == kStepDown;
    if (m_bMouseDown && step && m_nHotArea == m_nPressedArea) StepArea(m_nPressedArea);
}

bool CCoolEdit::CanToggle() const {
    return m_bExpanded ? m_bCollapsible : m_bExpandable;
}

bool CCoolEdit::IsInteractive() const {
    return IsTyping() || m_bPopupOpen || (m_bExpandable && m_nHotArea == kLabel) ||
           (m_bExpanded && m_nHotArea != kNone) || m_nPressedArea != kNone;
}

void CCoolEdit::OnPaint(CDC& dc) {
    dc.FillSolidRect(GetClientRect(), m_colors[kFace]);
    const bool flat = m_bFlatLabel && !IsInteractive();
    PaintArea(dc, kLabel, flat);
    if (!m_bExpanded) return;
    PaintArea(dc, kValue, flat);
    if (m_bDropButton) PaintArea(dc, kDropButton, flat);
    if (m_bStepButtons) {
        PaintArea(dc, kStepUp, flat);
        PaintArea(dc, kStepDown, flat);
    }
    if (IsTyping() && HasFocus()) PaintCaret(dc);
}

void CCoolEdit::PaintText(CDC& dc, const CRect& area, const CString& text, int indent,
                          COLORREF color, COLORREF back) {
    if (text.IsEmpty()) return;
    CRect rect = area;
    rect.left += indent;
    dc.SetTextColor(color);
    dc.SetBkColor(back);
    dc.SetBkMode(OPAQUE);
    dc.DrawText(text, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CCoolEdit::PaintLabelMarks(CDC& dc) {
    const CRect& rect = m_layout.Area(kLabel);
    const int y = rect.CenterPoint().y;
    if (m_bLabelMark2) FillTriangle(dc, CPoint(rect.left + 4, y), 3, 'r', m_colors[kText]);
    if (m_bLabelMark1) {
        const CString& label = m_bExpanded ? m_expandedText : m_collapsedText;
        const int x = rect.left + kTextIndent + (m_bLabelMark2 ? kLabelMarkWidth : 0) +
                      (label.IsEmpty() ? 0 : dc.GetTextExtent(label).cx) + 4;
        FillTriangle(dc, CPoint(x, y), 3, m_bExpanded ? 'd' : 'r', m_colors[kText]);
    }
}

void CCoolEdit::PaintArea(CDC& dc, int area, bool flat) {
    const CRect& rect = m_layout.Area(area);
    if (rect.IsRectEmpty()) return;
    const bool typing = IsTyping();
    if (area == kLabel) {
        const CString& label = m_bExpanded ? m_expandedText : m_collapsedText;
        PaintText(dc, rect, label, kTextIndent + (m_bLabelMark2 ? kLabelMarkWidth : 0),
                  m_colors[kText], m_colors[kTextBack]);
        PaintLabelMarks(dc);
    } else if (area == kValue) {
        dc.FillSolidRect(rect, m_colors[typing ? kTypingFill : kFace]);
        PaintText(dc, rect, GetValueText(), kTextIndent, m_colors[typing ? kTypingText : kText],
                  m_colors[typing ? kTypingTextBack : kTextBack]);
    } else {
        if (flat) return;
        dc.FillSolidRect(rect, m_colors[kButtonFill]);
        const int half = std::max(std::min(rect.Width(), rect.Height()) / 4, 2);
        const CPoint centre = rect.CenterPoint();
        if (area == kDropButton) {
            FillTriangle(dc, centre, half, 'd', m_colors[kGlyph]);
            dc.FillSolidRect(
                CRect(centre.x - half, centre.y + half, centre.x + half + 1, centre.y + half + 1),
                m_colors[kGlyph]);
        } else {
            FillTriangle(dc, centre, half, area == kStepUp ? 'u' : 'd', m_colors[kGlyph]);
        }
    }
    if (flat) return;
    const bool sunken =
        (m_nPressedArea == area && (area != kLabel || CanToggle())) || (area == kValue && typing);
    dc.Draw3dRect(rect, m_colors[sunken ? kDarkEdge : kLightEdge],
                  m_colors[sunken ? kLightEdge : kDarkEdge]);
}

void CCoolEdit::PaintCaret(CDC& dc) {
    const CRect& rect = m_layout.Area(kValue);
    const CString& text = GetValueText();
    const int caret = GetCaretPos();
    const int x = rect.left + kTextIndent + (caret > 0 ? dc.GetTextExtent(text.Left(caret)).cx : 0);
    const int height = dc.GetTextMetrics().tmHeight;
    const int top = rect.CenterPoint().y - height / 2;
    dc.FillSolidRect(CRect(x, top, x + 2, top + height), m_colors[kTypingText]);
}

#include "screens/popups/multi_line_list_box.h"

#include <algorithm>

#include "platform/ui/sys_info.h"

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr int kInset = 2;
constexpr int kItemPadding = 4;
constexpr UINT kOneLine = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr UINT kWrapped = DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;

int LineHeight(CDC& dc) {
    const TextMetrics metrics = dc.GetTextMetrics();
    return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace

CMultiLineListBox::CMultiLineListBox() = default;

CMultiLineListBox::~CMultiLineListBox() = default;

BOOL CMultiLineListBox::Create(const CRect& rect, CWnd* parent, UINT id) {
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, rect, parent,
                      id))
        return FALSE;
    SetOpaquePaint(TRUE);
    UpdateScrollBars();
    return TRUE;
}

void CMultiLineListBox::SetWrap(BOOL wrap) {
    m_bWrap = wrap;
    RemeasureItems();
}

void CMultiLineListBox::DeleteAll() {
    m_items.clear();
    m_nSel = -1;
    m_nTop = 0;
    m_nExtent = 0;
    m_nOffset = 0;
    Changed();
}

int CMultiLineListBox::AddItem(const CString& text, LPARAM data) {
    return InsertItem(-1, text, data);
}

int CMultiLineListBox::InsertItem(int row, const CString& text, LPARAM data) {
    if (row < 0 || row > GetCount()) row = GetCount();
    Item item{text, static_cast<COLORREF>(data), 0};
    item.height = MeasureItem(item);
    m_items.insert(m_items.begin() + row, std::move(item));
    if (m_nSel >= row) ++m_nSel;
    Changed();
    return row;
}

void CMultiLineListBox::SetItemText(int row, int /*column*/, const CString& text) {
    if (row < 0 || row >= GetCount()) return;
    Item& item = m_items[static_cast<size_t>(row)];
    item.text = text;
    item.height = MeasureItem(item);
    Changed();
}

void CMultiLineListBox::SetRedraw(BOOL redraw) {
    m_bRedraw = redraw;
    CWnd::SetRedraw(redraw);
    if (redraw) Changed();
}

CString CMultiLineListBox::GetText(int item) const {
    return item >= 0 && item < GetCount() ? m_items[static_cast<size_t>(item)].text : CString();
}

COLORREF CMultiLineListBox::GetItemColor(int item) const {
    return item >= 0 && item < GetCount() ? m_items[static_cast<size_t>(item)].color : 0;
}

void CMultiLineListBox::SetCurSel(int item) {
    m_nSel = item >= 0 && item < GetCount() ? item : -1;
    if (m_nSel >= 0) EnsureVisible(m_nSel);
    Invalidate();
}

void CMultiLineListBox::SetTopIndex(int item) {
    // As a list box does: the last page stays full, so the history above it stays in sight.
    m_nTop = std::clamp(item, 0, MaxTopIndex());
    Changed();
}

void CMultiLineListBox::ScrollToEnd() {
    SetTopIndex(MaxTopIndex());
}

int CMultiLineListBox::MaxTopIndex() const {
    const int height = GetClientRect().Height();
    int top = GetCount();
    for (int y = 0; top > 0 && y + m_items[static_cast<size_t>(top - 1)].height <= height; --top)
        y += m_items[static_cast<size_t>(top - 1)].height;
    return std::min(top, std::max(GetCount() - 1, 0));
}

int CMultiLineListBox::MeasureItem(const Item& item) {
    if (!IsWindow()) return 0;
    const std::unique_ptr<CDC> dc = GetDC();
    const int line = LineHeight(*dc);
    if (item.text.IsEmpty()) return line;
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    if (m_bWrap) {
        CRect rect(0, 0, std::max(GetClientRect().Width() - kItemPadding - scrollBar, 1), 0);
        dc->DrawText(item.text, rect, kWrapped | DT_CALCRECT);
        return std::max(rect.Height(), line) + kItemPadding;
    }
    // A line too long for the list lets it scroll sideways as far as the line reaches.
    const int width = dc->GetTextExtent(item.text).cx + scrollBar + kItemPadding;
    if (width > m_nExtent) m_nExtent = width;
    return line + kItemPadding;
}

void CMultiLineListBox::RemeasureItems() {
    m_nExtent = 0;
    for (Item& item : m_items)
        item.height = MeasureItem(item);
    Changed();
}

int CMultiLineListBox::ItemWidth() const {
    const int client = GetClientRect().Width();
    return m_bWrap ? client : std::max(client, m_nExtent);
}

int CMultiLineListBox::ItemFromPoint(CPoint point) const {
    if (point.y < 0) return -1;
    int y = 0;
    for (int i = m_nTop; i < GetCount(); ++i) {
        y += m_items[static_cast<size_t>(i)].height;
        if (point.y < y) return i;
    }
    return -1;
}

int CMultiLineListBox::VisibleCount() const {
    const int height = GetClientRect().Height();
    int y = 0;
    int count = 0;
    for (int i = m_nTop; i < GetCount(); ++i) {
        y += m_items[static_cast<size_t>(i)].height;
        if (y > height) break;
        ++count;
    }
    return std::max(count, 1);
}

void CMultiLineListBox::EnsureVisible(int item) {
    if (item < m_nTop) {
        m_nTop = item;
    } else {
        while (item >= m_nTop + VisibleCount() && m_nTop < item)
            ++m_nTop;
    }
    UpdateScrollBars();
}

void CMultiLineListBox::Changed() {
    if (!m_bRedraw) return;
    UpdateScrollBars();
    Invalidate();
}

void CMultiLineListBox::UpdateScrollBars() {
    if (!IsWindow()) return;
    SCROLLINFO vert;
    vert.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    // The thumb reaches its end where the last page is full.
    vert.nMax = std::max(GetCount() - 1, 0);
    vert.nPage = static_cast<UINT>(std::max(GetCount() - MaxTopIndex(), 1));
    vert.nPos = m_nTop;
    SetScrollInfo(SB_VERT, vert);
    // A bar shows only while there is something to scroll; showing one narrows the client and
    // measures the lines again, so each one is decided from the list as it is at that moment.
    ShowBarWhen(SB_VERT, MaxTopIndex() > 0);
    SCROLLINFO horz;
    horz.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    horz.nMax = m_bWrap ? 0 : std::max(m_nExtent - 1, 0);
    horz.nPage = static_cast<UINT>(std::max(GetClientRect().Width(), 1));
    m_nOffset = std::clamp(m_nOffset, 0, std::max(horz.nMax + 1 - static_cast<int>(horz.nPage), 0));
    horz.nPos = m_nOffset;
    SetScrollInfo(SB_HORZ, horz);
    ShowBarWhen(SB_HORZ, !m_bWrap && m_nExtent > GetClientRect().Width());
}

void CMultiLineListBox::ShowBarWhen(int bar, bool show) {
    if (IsScrollBarVisible(bar) != static_cast<BOOL>(show)) ShowScrollBar(bar, show);
}

void CMultiLineListBox::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    dc.FillSolidRect(client, kBlack);
    int y = 0;
    for (int i = m_nTop; i < GetCount() && y < client.bottom; ++i) {
        const int height = m_items[static_cast<size_t>(i)].height;
        DrawItem(dc, i, CRect(-m_nOffset, y, -m_nOffset + ItemWidth(), y + height));
        y += height;
    }
}

void CMultiLineListBox::DrawItem(CDC& dc, int index, const CRect& rect) {
    const Item& item = m_items[static_cast<size_t>(index)];
    const bool selected = index == m_nSel;
    dc.FillSolidRect(rect, selected ? GetSysColor(COLOR_BTNSHADOW) : m_crBack);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(item.color);
    if (m_bWrap) {
        dc.DrawText(item.text,
                    CRect(rect.left + kInset, rect.top + kInset, rect.right - kInset, rect.bottom),
                    kWrapped);
    } else {
        // Cut where the list's client ends, so a line that goes on to the right ends in an
        // ellipsis until the list is scrolled far enough to show all of it.
        const int right = std::min(rect.right, GetClientRect().right);
        dc.DrawText(item.text, CRect(rect.left + kInset, rect.top, right, rect.bottom), kOneLine);
    }
    if (selected && m_bFocused) dc.FrameRect(rect, item.color);
}

void CMultiLineListBox::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    RemeasureItems();
    // A taller list shows more of the history above, not space below the last line.
    SetTopIndex(m_nTop);
}

void CMultiLineListBox::OnVScroll(UINT code, UINT pos) {
    const int last = std::max(GetCount() - 1, 0);
    int top = m_nTop;
    switch (code) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= VisibleCount(); break;
        case SB_PAGEDOWN: top += VisibleCount(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = static_cast<int>(pos); break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = last; break;
        default: return;
    }
    SetTopIndex(std::clamp(top, 0, last));
}

void CMultiLineListBox::OnHScroll(UINT code, UINT pos) {
    const int page = GetClientRect().Width();
    const int line = std::max(LineHeight(*GetDC()) / 2, 1);
    switch (code) {
        case SB_LINELEFT: SetHorizontalOffset(m_nOffset - line); break;
        case SB_LINERIGHT: SetHorizontalOffset(m_nOffset + line); break;
        case SB_PAGELEFT: SetHorizontalOffset(m_nOffset - page); break;
        case SB_PAGERIGHT: SetHorizontalOffset(m_nOffset + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetHorizontalOffset(static_cast<int>(pos)); break;
        case SB_LEFT: SetHorizontalOffset(0); break;
        case SB_RIGHT: SetHorizontalOffset(m_nExtent); break;
        default: break;
    }
}

void CMultiLineListBox::SetHorizontalOffset(int offset) {
    m_nOffset = std::max(offset, 0);
    UpdateScrollBars();
    Invalidate();
}

BOOL CMultiLineListBox::OnMouseWheel(UINT /*flags*/, short delta, CPoint /*point*/) {
    const int lines = -delta / WHEEL_DELTA * std::max(GetWheelScrollLines(), 1);
    SetTopIndex(m_nTop + lines);
    return TRUE;
}

void CMultiLineListBox::ChangeSelection(int item) {
    if (GetCount() == 0) return;
    item = std::clamp(item, 0, GetCount() - 1);
    if (item == m_nSel) return;
    SetCurSel(item);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(GetDlgCtrlID()), kSelChange),
                            reinterpret_cast<LPARAM>(static_cast<CWnd*>(this)));
}

void CMultiLineListBox::OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) {
    const int from = std::max(m_nSel, 0);
    switch (vk) {
        case VK_UP: ChangeSelection(m_nSel < 0 ? 0 : from - 1); break;
        case VK_DOWN: ChangeSelection(m_nSel < 0 ? 0 : from + 1); break;
        case VK_PRIOR: ChangeSelection(from - VisibleCount()); break;
        case VK_NEXT: ChangeSelection(from + VisibleCount()); break;
        case VK_HOME: ChangeSelection(0); break;
        case VK_END: ChangeSelection(GetCount() - 1); break;
        case VK_LEFT: OnHScroll(SB_LINELEFT, 0); break;
        case VK_RIGHT: OnHScroll(SB_LINERIGHT, 0); break;
        default: break;
    }
}

void CMultiLineListBox::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    CWnd* parent = GetParent();
    if (!parent) return;
    if (ch == VK_TAB) parent->SendMessage(kTabMessage, GetDlgCtrlID(), 0);
    if (ch == VK_RETURN) parent->SendMessage(kReturnMessage, GetDlgCtrlID(), 0);
}

UINT CMultiLineListBox::OnGetDlgCode() {
    return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
}

void CMultiLineListBox::OnLButtonDown(UINT /*flags*/, CPoint point) {
    SetFocus();
    const int item = ItemFromPoint(point);
    if (item >= 0) ChangeSelection(item);
}

void CMultiLineListBox::OnRButtonUp(UINT flags, CPoint point) {
    if (CWnd* parent = GetParent()) parent->SendMessage(kRightButtonMessage, GetDlgCtrlID(), 0);
    CWnd::OnRButtonUp(flags, point);
}

void CMultiLineListBox::OnSetFocus(CWnd* oldWnd) {
    CWnd::OnSetFocus(oldWnd);
    m_bFocused = true;
    Invalidate();
}

void CMultiLineListBox::OnKillFocus(CWnd* newWnd) {
    CWnd::OnKillFocus(newWnd);
    m_bFocused = false;
    Invalidate();
}

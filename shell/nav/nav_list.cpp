#include "shell/nav/nav_list.h"

#include <QMenu>
#include <QWidget>

#include <algorithm>

#include "model/app_state.h"
#include "platform/base/profile.h"
#include "platform/ui/image_list.h"
#include "platform/ui/modal.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/string_table.h"
#include "screens/base/pane_frame.h"
#include "shell/nav/nav_group.h"
#include "shell/nav/nav_images.h"

namespace {

constexpr char16_t kLargeIconsEntry[] = u"LargeIcons";
constexpr COLORREF kTextColor = RGB(255, 255, 255);
constexpr int kLargeHalfWidth = 20;  // a large icon sits this far left of the centre
constexpr int kLargeTextTop = 38;
constexpr int kSmallTextIndent = 22;
constexpr int kTextBand = 20;
constexpr int kMenuId = 132;

}  // namespace

CNavList::CNavList() = default;
CNavList::~CNavList() = default;

BOOL CNavList::Create(const CRect& rect, CWnd* parent, UINT id, const CString& section) {
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, rect, parent, id)) return FALSE;
    m_section = section;
    m_bLargeIcons =
        static_cast<int>(GetApp().GetProfile().GetProfileInt(m_section, kLargeIconsEntry, 1)) > 0;
    SetOpaquePaint(TRUE);
    // A click gives its command away; the keyboard stays with the screen.
    GetWidget()->setFocusPolicy(Qt::NoFocus);
    GetClientWidget()->setFocusPolicy(Qt::NoFocus);
    ShowScrollBar(SB_HORZ, FALSE);
    return TRUE;
}

void CNavList::SetImageLists(const CImageList* large, const CImageList* small) {
    m_pLarge = large;
    m_pSmall = small;
    Invalidate();
}

int CNavList::AddItem(const CString& text, UINT command, int image) {
    return InsertItem(GetItemCount(), text, command, image);
}

int CNavList::AddItem(UINT stringId, UINT command, int image) {
    return AddItem(LoadResString(stringId), command, image);
}

int CNavList::InsertItem(int index, const CString& text, UINT command, int image) {
    index = std::clamp(index, 0, GetItemCount());
    Item item;
    item.text = text.GetLength() > kMaxText ? text.Left(kMaxText) : text;
    item.command = command;
    item.image = image;
    m_items.insert(m_items.begin() + index, std::move(item));
    m_nHot = -1;
    return index;
}

void CNavList::DeleteAllItems() {
    m_items.clear();
    m_nHot = -1;
    UpdateScrollBar();
    Invalidate();
}

void CNavList::ArrangeItems() {
    if (m_bArranging || !IsWindow()) return;
    m_bArranging = TRUE;
    // Showing or hiding the scroll bar changes the width that large icons are centred in.
    for (int pass = 0; pass < 2; ++pass) {
        const int width = GetClientRect().Width();
        PlaceItems(width);
        UpdateScrollBar();
        if (GetClientRect().Width() == width) break;
    }
    Invalidate();
    m_bArranging = FALSE;
}

void CNavList::PlaceItems(int width) {
    const std::unique_ptr<CDC> dc = GetDC();
    for (size_t i = 0; i < m_items.size(); ++i) {
        Item& item = m_items[i];
        const int textWidth = item.text.IsEmpty() ? 0 : dc->GetTextExtent(item.text.str()).cx;
        const int index = static_cast<int>(i);
        if (m_bLargeIcons) {
            item.position = CPoint(width / 2 - kLargeHalfWidth, kLargeTop + kLargeStep * index);
            const int top = item.position.y;
            const int left = std::min(item.position.x, width / 2 - textWidth / 2);
            const int right =
                std::max(item.position.x + kNavLargeImageSize, width / 2 + textWidth / 2);
            item.bounds = CRect(left, top, right, top + kLargeTextTop + kTextBand);
        } else {
            item.position = CPoint(kSmallLeft, kSmallTop + kSmallStep * index);
            item.bounds =
                CRect(item.position.x, item.position.y,
                      item.position.x + kSmallTextIndent + textWidth, item.position.y + kTextBand);
        }
    }
}

void CNavList::SetLargeIcons(BOOL large, BOOL store) {
    m_bLargeIcons = large;
    ArrangeItems();
    if (store) GetApp().GetProfile().WriteProfileInt(m_section, kLargeIconsEntry, large ? 1 : 0);
}

int CNavList::GetNeededHeight() const {
    const int count = GetItemCount();
    return m_bLargeIcons ? kLargeStep * count + 32 : kSmallStep * count + 24;
}

CRect CNavList::ClientBounds(int index) const {
    CRect rect = GetItem(index).bounds;
    rect.OffsetRect(0, -m_nScroll);
    return rect;
}

int CNavList::HitTest(CPoint point) const {
    for (int i = 0; i < GetItemCount(); ++i) {
        if (ClientBounds(i).PtInRect(point)) return i;
    }
    return -1;
}

DWORD CNavList::OnHelpHitTest(CPoint point) const {
    const int item = HitTest(point);
    return item < 0 ? 0 : GetItem(item).command | 0x10000;
}

void CNavList::UpdateScrollBar() {
    const int content = GetNeededHeight();
    const int page = GetClientRect().Height();
    if (content <= page || page <= 0) {
        m_nScroll = 0;
        ShowScrollBar(SB_VERT, FALSE);
        return;
    }
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = content - 1;
    info.nPage = static_cast<UINT>(page);
    info.nPos = m_nScroll;
    SetScrollInfo(SB_VERT, info);
    ShowScrollBar(SB_VERT, TRUE);
    m_nScroll = GetScrollPos(SB_VERT);
}

void CNavList::ScrollTo(int pos) {
    SetScrollPos(SB_VERT, pos);
    const int scrolled = IsScrollBarVisible(SB_VERT) ? GetScrollPos(SB_VERT) : 0;
    if (scrolled == m_nScroll) return;
    m_nScroll = scrolled;
    m_nHot = -1;
    Invalidate();
}

void CNavList::RedrawItem(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    const CRect rect = ClientBounds(index);
    InvalidateRect(&rect);
}

LRESULT CNavList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NAV_NEEDED_HEIGHT) return GetNeededHeight();
    return CWnd::WindowProc(message, wParam, lParam);
}

void CNavList::OnPaint(CDC& dc) {
    const CRect client = GetClientRect();
    const COLORREF back = GetSysColor(COLOR_BTNSHADOW);
    dc.FillSolidRect(client, back);
    const CImageList* images = m_bLargeIcons ? m_pLarge : m_pSmall;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kTextColor);
    for (int i = 0; i < GetItemCount(); ++i) {
        const Item& item = GetItem(i);
        const CRect bounds = ClientBounds(i);
        if (bounds.bottom <= client.top || bounds.top >= client.bottom) continue;
        const CPoint at(item.position.x, item.position.y - m_nScroll);
        if (images) {
            const int overlay = i != m_nHot ? 0 : m_bLButtonDown ? 2 : 1;
            images->Draw(&dc, item.image, at, ILD_TRANSPARENT | INDEXTOOVERLAYMASK(overlay));
        }
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (m_bLargeIcons) {
            const CRect band(client.left, at.y + kLargeTextTop, client.right,
                             at.y + kLargeTextTop + kTextBand);
            dc.DrawText(item.text.str(), band, format | DT_CENTER);
        } else {
            const CRect band(at.x + kSmallTextIndent, at.y, client.right, at.y + kTextBand);
            dc.DrawText(item.text.str(), band, format | DT_LEFT);
        }
    }
}

void CNavList::OnSize(UINT, int, int) {
    ArrangeItems();
}

void CNavList::OnSetFont(const LogFont&, BOOL) {
    ArrangeItems();
}

void CNavList::OnVScroll(UINT code, UINT pos) {
    const int line = m_bLargeIcons ? kLargeStep : kSmallStep;
    const int page = std::max(GetClientRect().Height() - line, line);
    switch (code) {
        case SB_LINEUP: ScrollTo(m_nScroll - line); break;
        case SB_LINEDOWN: ScrollTo(m_nScroll + line); break;
        case SB_PAGEUP: ScrollTo(m_nScroll - page); break;
        case SB_PAGEDOWN: ScrollTo(m_nScroll + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(static_cast<int>(pos)); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(GetNeededHeight()); break;
        default: break;
    }
}

BOOL CNavList::OnMouseWheel(UINT, short delta, CPoint) {
    const int line = m_bLargeIcons ? kLargeStep : kSmallStep;
    ScrollTo(m_nScroll - delta / WHEEL_DELTA * line);
    return TRUE;
}

void CNavList::OnLButtonDown(UINT, CPoint point) {
    m_bLButtonDown = TRUE;
    RedrawItem(HitTest(point));
}

void CNavList::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point);
}

void CNavList::OnLButtonUp(UINT, CPoint point) {
    m_bLButtonDown = FALSE;
    const int item = HitTest(point);
    if (item < 0) return;
    RedrawItem(item);
    // The main window decides whether the command can run now.
    if (m_pFrame) m_pFrame->SendCommand(GetItem(item).command & 0xFFFF);
}

void CNavList::OnMouseMove(UINT, CPoint point) {
    const int item = HitTest(point);
    if (item != m_nHot) {
        RedrawItem(m_nHot);
        m_nHot = item;
        RedrawItem(m_nHot);
    }
    const bool available = item >= 0 && GetApp().IsCommandEnabled(GetItem(item).command);
    SetCursor(available ? Cursor::Hand : Cursor::Arrow);
}

void CNavList::OnMouseLeave() {
    RedrawItem(m_nHot);
    m_nHot = -1;
}

BOOL CNavList::OnSetCursor() {
    // The pointer's move chooses the cursor.
    return TRUE;
}

void CNavList::OnContextMenu(CWnd*, CPoint point) {
    CPoint client = point;
    if (point == CPoint(-1, -1)) {
        point = CPoint(0, 0);
        ClientToScreen(&point);
    } else {
        ScreenToClient(&client);
        if (HitTest(client) >= 0) return;
    }
    QMenu menu(GetWidget());
    menu.setObjectName(QStringLiteral("menu%1").arg(kMenuId));
    // The size shown now is not offered.
    const UINT other = m_bLargeIcons ? ID_NAV_SMALL_ICONS : ID_NAV_LARGE_ICONS;
    menu.addAction(m_bLargeIcons ? QStringLiteral("&Small icons") : QStringLiteral("&Large icons"))
        ->setData(static_cast<int>(other));
    const int chosen = ExecPopupMenu(menu, point);
    if (chosen == static_cast<int>(ID_NAV_LARGE_ICONS) ||
        chosen == static_cast<int>(ID_NAV_SMALL_ICONS))
        SetLargeIcons(chosen == static_cast<int>(ID_NAV_LARGE_ICONS), TRUE);
}

// The scroll bars and their arithmetic, scrolling by line, page and thumb, and bringing a cell
// into view. The grid repaints rather than moving pixels.
#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "grid/grid_ctrl.h"
#include "grid/scroll_layout.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr int kHorzBarBit = 1;
constexpr int kVertBarBit = 2;

}  // namespace

void CGridCtrl::EnableScrollBars(int bar, BOOL enable) {
    for (const int which : {SB_HORZ, SB_VERT}) {
        if (bar != which && bar != SB_BOTH) continue;
        const int bit = which == SB_HORZ ? kHorzBarBit : kVertBarBit;
        if (enable) {
            m_nBarState |= bit;
            ShowScrollBar(which, TRUE);
            EnableScrollBarCtrl(which, TRUE);
        } else {
            m_nBarState &= ~bit;
            ShowScrollBar(which, FALSE);
        }
    }
}

void CGridCtrl::ResetScrollBars() {
    m_idTopLeftCell = CCellID();
    if (!m_bAllowDraw || !IsWindow()) return;
    // Showing or hiding a bar resizes the client area, which comes back here: once more after.
    if (m_bInResetScrollBars) {
        m_bResetScrollBarsAgain = true;
        return;
    }
    m_bInResetScrollBars = true;
    do {
        m_bResetScrollBarsAgain = false;
        CRect client = GetClientRect();
        if (client.IsRectEmpty()) break;
        if (m_nBarState & kVertBarBit)
            client.right += GetSystemMetrics(SM_CXVSCROLL) + GetSystemMetrics(SM_CXBORDER);
        if (m_nBarState & kHorzBarBit)
            client.bottom += GetSystemMetrics(SM_CYHSCROLL) + GetSystemMetrics(SM_CYBORDER);

        const ScrollBarLayout layout = ComputeScrollBars(
            {client, GetFixedColumnWidth(), GetFixedRowHeight(), GetVirtualWidth(),
             GetVirtualHeight(), GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)});
        if (!layout.hasArea) {
            EnableScrollBars(SB_BOTH, FALSE);
            continue;
        }
        m_nVScrollMax = layout.vMax;
        m_nHScrollMax = layout.hMax;
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMax = layout.hMax;
        info.nPage = static_cast<UINT>(layout.hPage);
        SetScrollInfo(SB_HORZ, info);
        info.nMax = layout.vMax;
        info.nPage = static_cast<UINT>(layout.vPage);
        SetScrollInfo(SB_VERT, info);
        if (layout.showV != ((m_nBarState & kVertBarBit) != 0))
            EnableScrollBars(SB_VERT, layout.showV);
        if (layout.showH != ((m_nBarState & kHorzBarBit) != 0))
            EnableScrollBars(SB_HORZ, layout.showH);
        m_idTopLeftCell = CCellID();
    } while (m_bResetScrollBarsAgain);
    m_bInResetScrollBars = false;
}

BOOL CGridCtrl::SetScrollPos32(int bar, int pos, BOOL redraw) {
    m_idTopLeftCell = CCellID();
    SetScrollPos(bar, pos, redraw);
    return TRUE;
}

int CGridCtrl::GetScrollPos32(int bar, BOOL getTrackPos) const {
    SCROLLINFO info;
    if (!GetScrollInfo(bar, &info, getTrackPos ? SIF_TRACKPOS : SIF_POS)) return 0;
    return getTrackPos ? info.nTrackPos : info.nPos;
}

void CGridCtrl::OnVScroll(UINT code, UINT /*pos*/) {
    // Whoever scrolls, the edit and the tip belong to a cell that is about to move.
    EndEditing();
    HideTitleTip();
    const int pos = GetScrollPos32(SB_VERT);
    const CCellID topLeft = GetTopleftNonFixedCell();
    const CRect client = GetClientRect();
    CRect scrolled(client.left, GetFixedRowHeight(), client.right, client.bottom);
    const int page = client.bottom - GetFixedRowHeight();

    switch (code) {
        case SB_LINEDOWN:
            if (pos < m_nVScrollMax) {
                // Hidden rows are stepped over, to the next row that shows.
                int height = 0;
                for (int row = topLeft.row; row < m_nRows && height == 0; ++row)
                    height = GetRowHeight(row);
                SetScrollPos32(SB_VERT, pos + height);
                if (GetScrollPos32(SB_VERT) != pos) InvalidateRect(&scrolled);
            }
            break;
        case SB_LINEUP:
            if (pos > 0 && topLeft.row > m_nFixedRows) {
                int row = topLeft.row - 1;
                int height = GetRowHeight(row);
                while (height == 0 && row > m_nFixedRows)
                    height = GetRowHeight(--row);
                SetScrollPos32(SB_VERT, std::max(0, pos - height));
                InvalidateRect(&scrolled);
            }
            break;
        case SB_PAGEDOWN:
            if (pos < m_nVScrollMax) {
                SetScrollPos32(SB_VERT, std::min(m_nVScrollMax, pos + page));
                InvalidateRect(&scrolled);
            }
            break;
        case SB_PAGEUP:
            if (pos > 0) {
                SetScrollPos32(SB_VERT, std::max(0, pos - page));
                InvalidateRect(&scrolled);
            }
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            SetScrollPos32(SB_VERT, GetScrollPos32(SB_VERT, TRUE));
            if (GetTopleftNonFixedCell() != topLeft) InvalidateRect(&scrolled);
            break;
        case SB_TOP:
            if (pos > 0) {
                SetScrollPos32(SB_VERT, 0);
                Invalidate();
            }
            break;
        case SB_BOTTOM:
            if (pos < m_nVScrollMax) {
                SetScrollPos32(SB_VERT, m_nVScrollMax);
                Invalidate();
            }
            break;
        default: break;
    }
}

void CGridCtrl::OnHScroll(UINT code, UINT /*pos*/) {
    EndEditing();
    HideTitleTip();
    const int pos = GetScrollPos32(SB_HORZ);
    const CCellID topLeft = GetTopleftNonFixedCell();
    const CRect client = GetClientRect();
    CRect scrolled(GetFixedColumnWidth(), client.top, client.right, client.bottom);
    const int page = client.right - GetFixedColumnWidth();

    switch (code) {
        case SB_LINERIGHT:
            if (pos < m_nHScrollMax) {
                int width = 0;
                for (int col = topLeft.col; col < m_nCols && width == 0; ++col)
                    width = GetColumnWidth(col);
                SetScrollPos32(SB_HORZ, pos + width);
                if (GetScrollPos32(SB_HORZ) != pos) InvalidateRect(&scrolled);
            }
            break;
        case SB_LINELEFT:
            if (pos > 0 && topLeft.col > m_nFixedCols) {
                int col = topLeft.col - 1;
                int width = GetColumnWidth(col);
                while (width == 0 && col > m_nFixedCols)
                    width = GetColumnWidth(--col);
                SetScrollPos32(SB_HORZ, std::max(0, pos - width));
                InvalidateRect(&scrolled);
            }
            break;
        case SB_PAGERIGHT:
            if (pos < m_nHScrollMax) {
                SetScrollPos32(SB_HORZ, std::min(m_nHScrollMax, pos + page));
                InvalidateRect(&scrolled);
            }
            break;
        case SB_PAGELEFT:
            if (pos > 0) {
                SetScrollPos32(SB_HORZ, std::max(0, pos - page));
                InvalidateRect(&scrolled);
            }
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            SetScrollPos32(SB_HORZ, GetScrollPos32(SB_HORZ, TRUE));
            if (GetTopleftNonFixedCell() != topLeft) InvalidateRect(&scrolled);
            break;
        case SB_LEFT:
            if (pos > 0) {
                SetScrollPos32(SB_HORZ, 0);
                Invalidate();
            }
            break;
        case SB_RIGHT:
            if (pos < m_nHScrollMax) {
                SetScrollPos32(SB_HORZ, m_nHScrollMax);
                Invalidate();
            }
            break;
        default: break;
    }
}

void CGridCtrl::EnsureVisible(int row, int col) {
    if (!m_bAllowDraw) return;
    // Scrolling never moves the focus here, but an edit it ends may: it goes back where it was.
    QPointer<QWidget> focus = QApplication::focusWidget();
    const CCellRange visible = GetVisibleNonFixedCellRange();

    for (int c = visible.GetMaxCol() + 1; c <= col; ++c) {
        if (GetColumnWidth(c) > 0) OnHScroll(SB_LINERIGHT, 0);
    }
    for (int c = visible.GetMinCol() - 1; c >= col; --c) {
        if (GetColumnWidth(c) > 0) OnHScroll(SB_LINELEFT, 0);
    }
    for (int r = visible.GetMaxRow() + 1; r <= row; ++r) {
        if (GetRowHeight(r) > 0) OnVScroll(SB_LINEDOWN, 0);
    }
    for (int r = visible.GetMinRow() - 1; r >= row; --r) {
        if (GetRowHeight(r) > 0) OnVScroll(SB_LINEUP, 0);
    }

    // A cell wider or taller than what shows is brought in line by line; a step that no longer
    // moves ends it.
    const CRect client = GetClientRect();
    CRect rect;
    while (GetCellRect(row, col, &rect) && rect.right > client.right &&
           rect.left > GetFixedColumnWidth() && (m_nBarState & kHorzBarBit)) {
        const int before = GetScrollPos32(SB_HORZ);
        OnHScroll(SB_LINERIGHT, 0);
        if (GetScrollPos32(SB_HORZ) == before) break;
    }
    while (GetCellRect(row, col, &rect) && rect.bottom > client.bottom &&
           rect.top > GetFixedRowHeight() && (m_nBarState & kVertBarBit)) {
        const int before = GetScrollPos32(SB_VERT);
        OnVScroll(SB_LINEDOWN, 0);
        if (GetScrollPos32(SB_VERT) == before) break;
    }

    if (focus && focus->isVisible() && QApplication::focusWidget() != focus) focus->setFocus();
}

void CGridCtrl::OnSize(UINT type, int cx, int cy) {
    if (m_bInOnSize) return;
    m_bInOnSize = true;
    if (IsWindow()) {
        EndEditing();
        CWnd::OnSize(type, cx, cy);
        ResetScrollBars();
    }
    m_bInOnSize = false;
}

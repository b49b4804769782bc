// The mouse: selecting by clicks and drags with automatic scrolling, resizing rows and columns
// at their dividers, starting edits and drags, the wheel, the cursor and the title tip.
#include <QApplication>

#include <cstdlib>

#include "grid/grid_ctrl.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr UINT kClicked = 0;  // BN_CLICKED

CPoint Clamp(CPoint p, const CRect& area) {
    if (area.IsRectEmpty()) return p;
    return CPoint(std::clamp(p.x, area.left, area.right - 1),
                  std::clamp(p.y, area.top, area.bottom - 1));
}

}  // namespace

CPoint CGridCtrl::RelativeToCell(const CCellID& cell, CPoint point) const {
    CPoint origin;
    return GetCellOrigin(cell, &origin) ? point - origin : CPoint();
}

// Whether the point lies in the text area of the cell.
bool CGridCtrl::InTextArea(const CCellID& cell, CPoint point) const {
    CGridCellBase* object = GetCell(cell.row, cell.col);
    CRect rect;
    if (!object || !GetCellRect(cell, &rect)) return false;
    if (!object->GetTextRect(&rect)) return false;
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
           point.y <= rect.bottom;
}

void CGridCtrl::MoveTrackLine(const CRect& line) {
    if (!m_rectTrackLine.IsRectEmpty()) InvalidateRect(&m_rectTrackLine);
    m_rectTrackLine = line;
    if (!m_rectTrackLine.IsRectEmpty()) InvalidateRect(&m_rectTrackLine);
}

void CGridCtrl::HideTitleTip() {
    m_TitleTip.Hide();
}

// Rows can change or move, and a cell's text change, without any mouse or scroll message: the
// tip goes unless the same cell still lies where it was shown, with the same text.
void CGridCtrl::HideStaleTitleTip() {
    if (!m_TitleTip.IsShowing()) return;
    const CRect& hover = m_TitleTip.GetHoverRect();
    const CCellID id = GetCellFromPt(hover.CenterPoint());
    const CGridCellBase* cell = IsValid(id) ? GetCell(id.row, id.col) : nullptr;
    CRect cellRect;
    const bool same = cell && GetCellRect(id, &cellRect) && cellRect.left == hover.left &&
                      cellRect.top == hover.top && cellRect.right + 1 == hover.right &&
                      cellRect.bottom + 1 == hover.bottom &&
                      cell->GetTipText() == m_TitleTip.GetTipText();
    if (!same) HideTitleTip();
}

bool CGridCtrl::IsTrackingPress() const {
    // A release the grid never heard of ends the press too.
    return m_bLMouseButtonDown && m_MouseMode != MOUSE_NOTHING && GetKeyState(VK_LBUTTON) < 0;
}

// The mouse is heard as usual again only once no drag runs over the grid: one whose leave
// never came is over.
void CGridCtrl::EndStaleDragOver() {
    if (m_bDragOver) OnDragLeave();
}

void CGridCtrl::OnLButtonDown(UINT flags, CPoint point) {
    HideTitleTip();
    EndStaleDragOver();
    m_bDoubleClickPress = false;
    m_LeftClickDownPoint = point;
    m_bLMouseButtonDown = TRUE;
    m_LeftClickDownCell = GetCellFromPt(point, TRUE);
    if (!IsValid(m_LeftClickDownCell)) return;
    m_nClickDownRow = m_LeftClickDownCell.row;

    if (!(flags & MK_SHIFT)) {
        m_SelectionStartCell = m_LeftClickDownCell;
    } else if (!IsValid(m_SelectionStartCell)) {
        m_SelectionStartCell = m_idCurrentCell;
    }
    EndEditing();
    const CCellID down = m_LeftClickDownCell;
    if (CGridCellBase* cell = GetCell(down.row, down.col))
        cell->OnClickDown(RelativeToCell(down, point));
    const bool inText = InTextArea(down, point);

    // A press on the focus cell's text edits it on release, unless the mouse moves first; the
    // grid keeps the pointer until then, as in every other press mode.
    if (down == m_idCurrentCell && !(flags & MK_CONTROL) && inText && IsCellEditable(down)) {
        m_MouseMode = MOUSE_PREPARE_EDIT;
        SetCapture();
        return;
    }
    if (IsCellSelected(down)) {
        SetFocusCell(down);
        if (flags & MK_CONTROL) {
            if (m_bListMode) {
                SelectRows(down, TRUE, FALSE);
            } else {
                SelectCells(down, TRUE, FALSE);
            }
            return;
        }
        if (m_bAllowDragAndDrop) m_MouseMode = MOUSE_PREPARE_DRAG;
    } else if (m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE) {
        if (IsCellFixed(down.row, down.col)) {
            SetFocusCell(-1, -1);
        } else {
            SetFocusCell(down);
        }
    }

    SetCapture();
    if (m_MouseMode == MOUSE_NOTHING) {
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
            SetCursor(Cursor::SizeWE);
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
        } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
            SetCursor(Cursor::SizeNS);
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
        }
    }

    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE) {
        if (!StartSizing(point, true)) return;
    } else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
        if (!StartSizing(point, false)) return;
    } else if (m_MouseMode != MOUSE_PREPARE_DRAG) {
        SendMessageToParent(down.row, down.col, GRIDN_SELCHANGING);
        m_PrevSelectedCellMap.clear();
        if (flags & MK_CONTROL) m_PrevSelectedCellMap = m_SelectedCellMap;
        CCellID clicked = down;
        if (down.row < m_nFixedRows) {
            OnFixedRowClick(clicked);
        } else if (down.col < m_nFixedCols) {
            OnFixedColumnClick(clicked);
        } else {
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            OnSelecting(down);
            m_nTimerID = SetTimer(WM_LBUTTONDOWN, m_nTimerInterval);
        }
    }
    m_LastMousePoint = point;
}

// Starts dragging a column's (or a row's) divider: which one is grabbed, the line that follows
// the mouse and the room it may move in. False when there is no divider to drag after all.
bool CGridCtrl::StartSizing(CPoint point, bool column) {
    m_MouseMode = column ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW;
    const auto size = [this, column](int i) {
        return column ? GetColumnWidth(i) : GetRowHeight(i);
    };
    const auto along = [column](CPoint p) { return column ? p.x : p.y; };
    int& index = column ? m_LeftClickDownCell.col : m_LeftClickDownCell.row;
    const int last = (column ? m_nCols : m_nRows) - 1;

    CRect visible;
    GetVisibleNonFixedCellRange(&visible);
    const int visibleEnd = column ? visible.right : visible.bottom;
    if (size(last) < m_nResizeCaptureRange &&
        std::abs(along(point) - visibleEnd) < m_nResizeCaptureRange)
        index = last;

    CPoint start;
    if (!GetCellOrigin(m_LeftClickDownCell, &start)) return false;
    const bool nearStart = along(point) - along(start) < m_nResizeCaptureRange;
    const bool reveals = column ? m_bHiddenColUnhide : m_bHiddenRowUnhide;
    if (!reveals && !(!nearStart && index == last)) {
        for (;;) {
            const int probe = nearStart ? index - 1 : index;
            if (probe < 0) return false;
            if (size(probe) != 0) break;
            --index;
        }
    }

    const CRect client = GetClientRect();
    MoveTrackLine(column ? CRect(point.x, client.top, point.x + 2, client.bottom)
                         : CRect(client.left, point.y, client.right, point.y + 2));
    if (nearStart && !(index == last && size(last) < m_nResizeCaptureRange)) {
        --index;
        if (!GetCellOrigin(m_LeftClickDownCell, &start)) return false;
    }
    // The divider cannot be dragged left of (above) the start of its own column (row).
    if (column) {
        m_rectCursorClip =
            CRect(start.x + 1, client.top, start.x + 1 + client.Width() - GetFixedColumnWidth(),
                  client.bottom);
    } else {
        m_rectCursorClip = CRect(client.left, start.y + 1, client.right,
                                 start.y + 1 + client.Height() - GetFixedRowHeight());
    }
    return true;
}

void CGridCtrl::OnMouseMove(UINT flags, CPoint point) {
    EndStaleDragOver();
    const CRect client = GetClientRect();
    if (m_TitleTip.IsShowing() && !m_TitleTip.GetHoverRect().PtInRect(point)) HideTitleTip();
    if (m_MouseMode != MOUSE_DRAGGING && !client.PtInRect(point) &&
        !(m_bLMouseButtonDown &&
          (m_MouseMode == MOUSE_SIZING_COL || m_MouseMode == MOUSE_SIZING_ROW)))
        return;

    if (m_bLMouseButtonDown && m_MouseMode != MOUSE_NOTHING) {
        if (!IsValid(m_LeftClickDownCell)) {
            m_LastMousePoint = point;
            return;
        }
        switch (m_MouseMode) {
            case MOUSE_SELECT_ALL: break;
            case MOUSE_SELECT_COL:
            case MOUSE_SELECT_ROW:
            case MOUSE_SELECT_CELLS: {
                const CCellID cell = GetCellFromPt(point);
                if (!IsValid(cell)) return;
                if (cell != m_idCurrentCell) {
                    OnSelecting(cell);
                    if (m_MouseMode != MOUSE_SELECT_CELLS || !IsCellFixed(cell.row, cell.col))
                        SetFocusCell(cell);
                }
                break;
            }
            case MOUSE_SIZING_ROW: {
                const CPoint p = Clamp(point, m_rectCursorClip);
                MoveTrackLine(CRect(client.left, p.y, client.right, p.y + 2));
                break;
            }
            case MOUSE_SIZING_COL: {
                const CPoint p = Clamp(point, m_rectCursorClip);
                MoveTrackLine(CRect(p.x, client.top, p.x + 2, client.bottom));
                break;
            }
            case MOUSE_PREPARE_EDIT:
            case MOUSE_PREPARE_DRAG: {
                // Pointer jitter is not a drag; and no drag starts with the button up.
                const CPoint moved = point - m_LeftClickDownPoint;
                if (std::abs(moved.x) + std::abs(moved.y) < GetDragDistance()) return;
                if (!(flags & MK_LBUTTON)) return;
                m_MouseMode = MOUSE_PREPARE_DRAG;
                OnBeginDrag();
                break;
            }
            default: break;
        }
        m_LastMousePoint = point;
        return;
    }

    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
        if (m_MouseMode != MOUSE_OVER_COL_DIVIDE) {
            SetCursor(Cursor::SizeWE);
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
        }
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
        if (m_MouseMode != MOUSE_OVER_ROW_DIVIDE) {
            SetCursor(Cursor::SizeNS);
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
        }
    } else if (m_MouseMode != MOUSE_NOTHING) {
        SetCursor(Cursor::Arrow);
        m_MouseMode = MOUSE_NOTHING;
    }

    if (m_MouseMode == MOUSE_NOTHING) {
        const CCellID id = GetCellFromPt(point);
        CGridCellBase* cell =
            IsValid(id) && (!m_bVirtualMode || m_bTitleTips) ? GetCell(id.row, id.col) : nullptr;
        if (cell) cell->OnMouseOver();
        if (cell && m_bTitleTips && !m_bRMouseButtonDown && !cell->IsEditing() &&
            !cell->GetTipText().IsEmpty()) {
            CRect cellRect;
            if (GetCellRect(id, &cellRect)) {
                CRect textRect = cellRect;
                if (cell->GetTipTextRect(&textRect)) {
                    m_TitleTip.Show(textRect, cell->GetTipText(), cellRect, cell->GetFont(),
                                    m_crTTipTextClr, m_crTTipBackClr);
                }
            }
        }
    }
    m_LastMousePoint = point;
}

void CGridCtrl::OnLButtonUp(UINT /*flags*/, CPoint point) {
    m_bLMouseButtonDown = FALSE;
    m_rectCursorClip = CRect();
    if (GetCapture() == this) {
        ReleaseCapture();
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    const CCellID down = m_LeftClickDownCell;
    // A double click let go where it was pressed stays a double click.
    if (m_bDoubleClickPress && m_MouseMode == MOUSE_PREPARE_DRAG) m_MouseMode = MOUSE_NOTHING;
    m_bDoubleClickPress = false;

    switch (m_MouseMode) {
        case MOUSE_PREPARE_EDIT:
            OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col,
                       RelativeToCell(m_idCurrentCell, point), VK_LBUTTON);
            break;
        case MOUSE_PREPARE_DRAG:
            // Pressed on a selected cell and let go without dragging.
            if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
                cell->OnClick(RelativeToCell(m_idCurrentCell, point));
            SendMessageToParent(down.row, down.col, NM_CLICK);
            SendMessageToParent(down.row, down.col, GRIDN_SELCHANGING);
            m_PrevSelectedCellMap.clear();
            SetSelectedRange(-1, -1, -1, -1, FALSE, TRUE);
            SetFocusCell(-1, -1);
            SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GRIDN_SELCHANGED);
            break;
        case MOUSE_SIZING_COL:
        case MOUSE_SIZING_ROW: {
            MoveTrackLine(CRect());
            const bool column = m_MouseMode == MOUSE_SIZING_COL;
            // Let go before the start of the column (row), it is hidden, or kept at 1 pixel.
            const CPoint p = point;
            if (p != m_LeftClickDownPoint && p != CPoint(0, 0)) {
                CPoint start;
                if (!GetCellOrigin(down, &start)) return;
                if (column && down.col >= 0) {
                    SetColumnWidth(down.col, std::max(p.x - start.x, m_bAllowColHide ? 0 : 1));
                } else if (!column && down.row >= 0) {
                    SetRowHeight(down.row, std::max(p.y - start.y, m_bAllowRowHide ? 0 : 1));
                }
                ResetScrollBars();
                Invalidate();
            }
            break;
        }
        default:
            SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GRIDN_SELCHANGED);
            if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
                cell->OnClick(RelativeToCell(m_idCurrentCell, point));
            SendMessageToParent(down.row, down.col, NM_CLICK);
            break;
    }
    m_MouseMode = MOUSE_NOTHING;
    SetCursor(Cursor::Arrow);
    if (IsValid(down)) {
        if (CWnd* owner = GetOwner(); owner && owner->IsWindow())
            owner->PostMessage(WM_COMMAND, (kClicked << 16) | (GetDlgCtrlID() & 0xFFFF),
                               reinterpret_cast<LPARAM>(this));
    }
}

void CGridCtrl::OnLButtonDblClk(UINT /*flags*/, CPoint point) {
    HideTitleTip();
    CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell)) return;

    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
        // A double click on a divider sizes the row or column before it to its contents.
        const bool column = m_MouseMode == MOUSE_OVER_COL_DIVIDE;
        CPoint start;
        if (!GetCellOrigin(cell, &start)) return;
        int& index = column ? cell.col : cell.row;
        if ((column ? point.x - start.x : point.y - start.y) < m_nResizeCaptureRange) --index;
        while (index >= 0 && (column ? GetColumnWidth(index) : GetRowHeight(index)) == 0)
            --index;
        if (index < 0) return;
        if (column) {
            AutoSizeColumn(index);
        } else {
            AutoSizeRow(index);
        }
        Invalidate();
    } else if (m_MouseMode == MOUSE_NOTHING) {
        const bool editable = !IsCellFixed(cell.row, cell.col) && InTextArea(cell, point);
        if (editable && (IsValid(m_LeftClickDownCell) || m_bListMode))
            OnEditCell(cell.row, cell.col, RelativeToCell(cell, point), VK_LBUTTON);
        // The second press of a double click comes only as this message: where it opened no
        // editor it may still start a drag, as a press on a selected cell does.
        const CGridCellBase* object = GetCell(cell.row, cell.col);
        if (m_bAllowDragAndDrop && IsCellSelected(cell) && !GetInPlaceEditor() &&
            !(object && object->IsEditing()) && GetKeyState(VK_LBUTTON) < 0) {
            m_LeftClickDownPoint = point;
            m_LeftClickDownCell = cell;
            m_nClickDownRow = cell.row;
            m_bLMouseButtonDown = TRUE;
            m_bDoubleClickPress = true;
            m_MouseMode = MOUSE_PREPARE_DRAG;
            SetCapture();
        }
    }
    if (CGridCellBase* object = GetCell(cell.row, cell.col))
        object->OnDblClick(RelativeToCell(cell, point));
    SendMessageToParent(cell.row, cell.col, NM_DBLCLK);
}

void CGridCtrl::OnRButtonDown(UINT /*flags*/, CPoint /*point*/) {
    HideTitleTip();
}

void CGridCtrl::OnRButtonUp(UINT /*flags*/, CPoint point) {
    m_bRMouseButtonDown = FALSE;
    EndEditing();
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell)) {
        SendMessageToParent(-1, -1, NM_RCLICK);
        return;
    }
    SetFocusCell(-1, -1);
    SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
    if (CGridCellBase* object = GetCell(cell.row, cell.col))
        object->OnRClick(RelativeToCell(cell, point));
    SendMessageToParent(cell.row, cell.col, NM_RCLICK);
}

void CGridCtrl::OnTimer(UINT_PTR id) {
    if (id != WM_LBUTTONDOWN) {
        CWnd::OnTimer(id);
        return;
    }
    CPoint cursor = GetCursorPos();
    ScreenToClient(&cursor);
    const CRect client = GetClientRect();
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();

    CPoint p = cursor;
    if (p.y > client.bottom) {
        OnKeyDown(VK_DOWN, 0, 0);
        p = CPoint(std::clamp(p.x, client.left, client.right), client.bottom);
        OnSelecting(GetCellFromPt(p));
    } else if (p.y < fixedHeight) {
        OnKeyDown(VK_UP, 0, 0);
        p = CPoint(std::clamp(p.x, client.left, client.right), fixedHeight + 1);
        OnSelecting(GetCellFromPt(p));
    }
    p = cursor;
    if (p.x > client.right) {
        OnKeyDown(VK_RIGHT, 0, 0);
        p = CPoint(client.right, std::clamp(p.y, client.top, client.bottom));
        OnSelecting(GetCellFromPt(p));
    } else if (p.x < fixedWidth) {
        OnKeyDown(VK_LEFT, 0, 0);
        p = CPoint(fixedWidth + 1, std::clamp(p.y, client.top, client.bottom));
        OnSelecting(GetCellFromPt(p));
    }
}

void CGridCtrl::OnCaptureChanged(CWnd* wnd) {
    if (wnd == this) return;
    if (m_nTimerID) KillTimer(m_nTimerID);
    m_nTimerID = 0;
    if (m_MouseMode == MOUSE_DRAGGING) m_MouseMode = MOUSE_NOTHING;
}

BOOL CGridCtrl::OnSetCursor() {
    // While the grid holds the mouse the cursor stays as the press set it.
    if (GetCapture() == this) return TRUE;
    switch (m_MouseMode) {
        case MOUSE_OVER_ROW_DIVIDE: SetCursor(Cursor::SizeNS); return TRUE;
        case MOUSE_OVER_COL_DIVIDE: SetCursor(Cursor::SizeWE); return TRUE;
        case MOUSE_DRAGGING: return TRUE;
        default: break;
    }
    if (m_bVirtualMode) return FALSE;
    CPoint cursor = GetCursorPos();
    ScreenToClient(&cursor);
    const CCellID id = GetCellFromPt(cursor);
    CGridCellBase* cell = GetCell(id.row, id.col);
    return cell ? cell->OnSetCursor() : FALSE;
}

BOOL CGridCtrl::OnMouseWheel(UINT /*flags*/, short delta, CPoint /*point*/) {
    HideTitleTip();
    if (m_nRowsPerWheelNotch == -1) {
        const int pages = delta / WHEEL_DELTA;
        for (int i = 0; i < std::abs(pages); ++i)
            OnVScroll(pages > 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    } else {
        const int lines = m_nRowsPerWheelNotch * delta / WHEEL_DELTA;
        for (int i = 0; i < std::abs(lines); ++i)
            OnVScroll(lines > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    }
    return TRUE;
}

void CGridCtrl::OnMouseLeave() {
    HideTitleTip();
}

void CGridCtrl::OnKillFocus(CWnd* newWnd) {
    HideTitleTip();
    CWnd::OnKillFocus(newWnd);
}

void CGridCtrl::OnEditSelectAll() {
    if (!m_bEnableSelection) return;
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDN_SELCHANGING);
    SelectAllCells();
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GRIDN_SELCHANGED);
}

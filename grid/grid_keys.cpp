// The keyboard: moving the focus over the cells that show, selecting with Shift, the clipboard
// keys, and typing that starts an edit.
#include "grid/grid_ctrl.h"
#include "platform/ui/sys_info.h"

namespace {

bool KeyHeld(int vk) {
    return GetKeyState(vk) < 0;
}

}  // namespace

void CGridCtrl::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    HideTitleTip();
    if (!IsValid(m_idCurrentCell)) {
        CWnd::OnKeyDown(vk, repeat, flags);
        return;
    }
    const bool ctrl = KeyHeld(VK_CONTROL);
    const bool shift = KeyHeld(VK_SHIFT);
    CCellID next = m_idCurrentCell;
    bool changeLine = false;

    if (ctrl) {
        switch (vk) {
            case 'A': OnEditSelectAll(); break;
            case 'X': OnEditCut(); break;
            case VK_INSERT:
            case 'C': OnEditCopy(); break;
            case 'V': OnEditPaste(); break;
            default: break;
        }
    }
    if (vk == VK_INSERT && shift && !ctrl) {
        OnEditPaste();
        CWnd::OnKeyDown(vk, repeat, flags);
        return;
    }

    const auto shownRow = [this](int row) { return GetRowHeight(row) > 0; };
    const auto shownCol = [this](int col) { return GetColumnWidth(col) > 0; };
    const bool tab = vk == VK_TAB;
    switch (vk) {
        case VK_DELETE: CutSelectedText(); break;
        case VK_DOWN:
            for (int row = next.row + 1; row < m_nRows; ++row) {
                if (shownRow(row)) {
                    next.row = row;
                    break;
                }
            }
            break;
        case VK_UP:
            for (int row = next.row - 1; row >= m_nFixedRows; --row) {
                if (shownRow(row)) {
                    next.row = row;
                    break;
                }
            }
            break;
        case VK_RIGHT:
        case VK_TAB:
            if (vk == VK_RIGHT || !shift) {
                int col = next.col + 1;
                if (tab && col >= m_nCols && next.row < m_nRows - 1) {
                    for (int row = next.row + 1; row < m_nRows; ++row) {
                        if (shownRow(row)) {
                            next.row = row;
                            col = m_nFixedCols;
                            changeLine = true;
                            break;
                        }
                    }
                } else if (tab) {
                    CWnd::OnKeyDown(vk, repeat, flags);
                }
                while (col < m_nCols && !shownCol(col))
                    ++col;
                if (col < m_nCols) {
                    next.col = col;
                } else if (changeLine) {
                    // Every column of the next row is hidden: the focus stays.
                    next = m_idCurrentCell;
                    changeLine = false;
                }
                break;
            }
            [[fallthrough]];
        case VK_LEFT: {
            int col = next.col - 1;
            if (tab && col == m_nFixedCols - 1 && next.row > m_nFixedRows) {
                int row = next.row - 1;
                while (row > m_nFixedRows && !shownRow(row))
                    --row;
                next.row = row;
                col = m_nCols - 1;
                changeLine = true;
            } else if (tab) {
                CWnd::OnKeyDown(vk, repeat, flags);
            }
            while (col >= m_nFixedCols && !shownCol(col))
                --col;
            if (col >= m_nFixedCols) {
                next.col = col;
            } else if (changeLine) {
                next = m_idCurrentCell;
                changeLine = false;
            }
            break;
        }
        case VK_NEXT: {
            const CCellID before = GetTopleftNonFixedCell();
            OnVScroll(SB_PAGEDOWN, 0);
            const int moved = GetTopleftNonFixedCell().row - before.row;
            next.row = moved == 0 ? m_nRows - 1 : std::min(next.row + moved, m_nRows - 1);
            break;
        }
        case VK_PRIOR: {
            const CCellID before = GetTopleftNonFixedCell();
            OnVScroll(SB_PAGEUP, 0);
            const int moved = before.row - GetTopleftNonFixedCell().row;
            next.row = moved == 0 ? m_nFixedRows : std::max(next.row - moved, m_nFixedRows);
            break;
        }
        case VK_HOME: {
            OnHScroll(SB_LEFT, 0);
            if (ctrl) {
                OnVScroll(SB_TOP, 0);
                next.row = m_nFixedRows;
            }
            int col = m_nFixedCols;
            while (col < m_nCols - 1 && !shownCol(col))
                ++col;
            next.col = col;
            while (next.row < m_nRows - 1 && !shownRow(next.row))
                ++next.row;
            break;
        }
        case VK_END: {
            OnHScroll(SB_RIGHT, 0);
            if (ctrl) {
                OnVScroll(SB_BOTTOM, 0);
                next.row = m_nRows - 1;
            }
            int col = m_nCols - 1;
            while (col > m_nFixedCols + 1 && !shownCol(col))
                --col;
            next.col = col;
            while (next.row > m_nFixedRows + 1 && !shownRow(next.row))
                --next.row;
            break;
        }
        case VK_F2:
            OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), VK_LBUTTON);
            break;
        default: CWnd::OnKeyDown(vk, repeat, flags); break;
    }
    if (next == m_idCurrentCell) return;

    if (m_MouseMode == MOUSE_NOTHING) {
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        if (!shift || tab) m_SelectionStartCell = next;
        SendMessageToParent(next.row, next.col, GRIDN_SELCHANGING);
        OnSelecting(next);
        SendMessageToParent(next.row, next.col, GRIDN_SELCHANGED);
        m_MouseMode = MOUSE_NOTHING;
    }
    SetFocusCell(next);

    const int vPos = GetScrollPos32(SB_VERT);
    const int hPos = GetScrollPos32(SB_HORZ);
    if (!IsCellVisible(next)) {
        switch (vk) {
            case VK_RIGHT: OnHScroll(SB_LINERIGHT, 0); break;
            case VK_LEFT: OnHScroll(SB_LINELEFT, 0); break;
            case VK_DOWN: OnVScroll(SB_LINEDOWN, 0); break;
            case VK_UP: OnVScroll(SB_LINEUP, 0); break;
            case VK_TAB:
                if (changeLine) {
                    OnVScroll(shift ? SB_LINEUP : SB_LINEDOWN, 0);
                    SetScrollPos32(SB_HORZ, shift ? m_nHScrollMax : 0);
                } else {
                    OnHScroll(shift ? SB_LINELEFT : SB_LINERIGHT, 0);
                }
                break;
            default: break;
        }
        EnsureVisible(next);
        Invalidate();
    }
    EnsureVisible(next);
    if (GetScrollPos32(SB_VERT) != vPos) OnVScroll(SB_ENDSCROLL, 0);
    if (GetScrollPos32(SB_HORZ) != hPos) OnHScroll(SB_ENDSCROLL, 0);
}

void CGridCtrl::OnSysKeyDown(UINT vk, UINT repeat, UINT flags) {
    HideTitleTip();
    CWnd::OnSysKeyDown(vk, repeat, flags);
}

void CGridCtrl::OnChar(UINT ch, UINT repeat, UINT flags) {
    HideTitleTip();
    if (!KeyHeld(VK_CONTROL) && m_MouseMode == MOUSE_NOTHING && ch != VK_ESCAPE &&
        !(ch == VK_TAB && m_bHandleTabKey))
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), ch);
    CWnd::OnChar(ch, repeat, flags);
}

void CGridCtrl::OnImeChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    HideTitleTip();
    if (!KeyHeld(VK_CONTROL) && m_MouseMode == MOUSE_NOTHING && ch != VK_ESCAPE)
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), ch);
}

UINT CGridCtrl::OnGetDlgCode() {
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !KeyHeld(VK_CONTROL)) code |= DLGC_WANTTAB;
    return code;
}

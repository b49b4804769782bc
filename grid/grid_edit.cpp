// In-place editing: starting and ending an edit with the owner's vetoes, and the same protocol
// for text that did not come from an editor (paste, cut, drop).
#include "grid/grid_ctrl.h"

BOOL CGridCtrl::EndEditing() {
    // A grid going away applies no edit: its owner may be going too.
    if (m_bDestroying) return FALSE;
    BOOL ended = FALSE;
    if (IsValid(m_idCurrentCell)) {
        if (CGridCellBase* cell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col)) {
            cell->EndEdit();
            ended = TRUE;
        }
    }
    // The focus may have left the edited cell: its editor must still end before the rows
    // under it change, or its text would land on whatever record sits there then.
    if (CInPlaceEditor* open = m_pInPlaceEditor.get()) {
        open->EndEdit();
        ended = TRUE;
    }
    return ended;
}

void CGridCtrl::AdoptInPlaceEditor(std::unique_ptr<CInPlaceEditor> editor) {
    // The editor before it may still be open or closing: it goes with its control.
    if (m_pInPlaceEditor) m_closingEditors.push_back(std::move(m_pInPlaceEditor));
    m_pInPlaceEditor = std::move(editor);
}

bool CGridCtrl::ReleaseInPlaceEditor(const CInPlaceEditor* editor) {
    if (!editor) return false;
    if (m_pInPlaceEditor.get() == editor) {
        m_pInPlaceEditor.reset();
        if (!m_bDestroying) OnEditorClosed();
        return true;
    }
    return std::erase_if(m_closingEditors,
                         [editor](const auto& held) { return held.get() == editor; }) > 0;
}

bool CGridCtrl::BeginEditorEnd() {
    if (m_bEditorEnding) return false;
    m_bEditorEnding = true;
    return true;
}

void CGridCtrl::OnEditCell(int row, int col, CPoint point, UINT ch) {
    HideTitleTip();
    if (!IsValid(row, col) || !IsCellEditable(row, col)) return;
    // A hidden row or column shows no cell to edit.
    if (GetRowHeight(row) <= 0 || GetColumnWidth(col) <= 0) return;
    EnsureVisible(row, col);
    CRect rect;
    if (!IsCellVisible(row, col) || !GetCellRect(row, col, &rect)) return;
    if (SendMessageToParent(row, col, GRIDN_BEGINLABELEDIT) < 0) return;
    if (CGridCellBase* cell = GetCell(row, col))
        cell->Edit(row, col, rect, point, IDC_INPLACE_CONTROL, ch);
}

void CGridCtrl::OnEndEditCell(int row, int col, const CString& text) {
    // The rows may have changed under an edit that ended late: nothing lands elsewhere.
    if (!IsValid(row, col)) return;
    const CString current = GetItemText(row, col);
    if (text != current) {
        if (!m_bVirtualMode) SetItemText(row, col, text);
        const bool accepted =
            ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDLABELEDIT) >= 0;
        if (accepted) {
            SetModified(row, col);
            RedrawCell(row, col);
        } else if (!m_bVirtualMode) {
            SetItemText(row, col, current);
        }
    }
    if (CGridCellBase* cell = GetCell(row, col)) cell->OnEndEdit();
}

BOOL CGridCtrl::ValidateEdit(int row, int col, const CString& text) {
    CGridCellBase* cell = GetCell(row, col);
    return cell ? cell->ValidateEdit(text) : TRUE;
}

BOOL CGridCtrl::SetTextAsIfEdited(int row, int col, const CString& text) {
    if (!IsCellEditable(row, col)) return FALSE;
    if (SendMessageToParent(row, col, GRIDN_BEGINLABELEDIT) < 0) return FALSE;
    const CString old = GetItemText(row, col);
    if (text == old) return TRUE;
    SetItemText(row, col, text);
    if (ValidateEdit(row, col, text) && SendMessageToParent(row, col, GRIDN_ENDLABELEDIT) >= 0) {
        SetModified(row, col);
        RedrawCell(row, col);
        return TRUE;
    }
    SetItemText(row, col, old);
    return FALSE;
}

void CGridCtrl::ClearCells(const CCellRange& selection) {
    for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); ++row) {
        if (GetRowHeight(row) <= 0) continue;
        for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) > 0 && IsCellSelected(row, col))
                SetTextAsIfEdited(row, col, CString());
        }
    }
    Refresh();
}

BOOL CGridCtrl::OnNotify(WPARAM id, NMHDR* header, LRESULT* result) {
    if (id != IDC_INPLACE_CONTROL || !header || header->code != LVN_ENDLABELEDIT)
        return CWnd::OnNotify(id, header, result);
    const auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
    if (IsWindow()) {
        OnEndEditCell(info->iItem, info->iSubItem, info->text);
        // Tab, the paging and the arrow keys that ended the edit move on; Enter and Escape do not.
        const auto key = static_cast<UINT>(info->lParam);
        if (key == VK_TAB || (key >= VK_PRIOR && key <= VK_DOWN)) OnKeyDown(key, 0, 0);
    }
    if (result) *result = 0;
    return TRUE;
}

#include "grid/grid_cell.h"
#include "grid/grid_ctrl.h"
#include "grid/in_place_edit.h"

BOOL CGridCell::Edit(int row, int col, CRect rect, CPoint /*point*/, UINT id, UINT ch) {
    if (m_bEditing) {
        if (m_pEditWnd) m_pEditWnd->SendChar(ch);
        return TRUE;
    }
    CGridCtrl* grid = GetGrid();
    if (!grid || !grid->IsWindow()) return FALSE;
    DWORD style = ES_LEFT;
    const DWORD format = GetFormat();
    if (format & DT_RIGHT) {
        style = ES_RIGHT;
    } else if (format & DT_CENTER) {
        style = ES_CENTER;
    }
    // The grid holds the editor until the edit ends and its widget goes.
    AttachEditor(grid->SetInPlaceEditor(
        std::make_unique<CInPlaceEdit>(grid, rect, style, id, row, col, GetText(), ch)));
    return TRUE;
}

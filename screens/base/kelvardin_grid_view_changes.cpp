// The changes under the selection, and the screen's part of Cancel Changes.
#include "model/kelvardin_doc.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_host.h"
#include "screens/cells/kelvardin_grid_cell.h"

BOOL CKelvardinGridView::SelectionHasChanges() {
    const CKelvardinDoc* doc = GetDocument();
    if (!doc || !m_pGrid) return FALSE;
    const CKelvardinGridCtrl& grid = *m_pGrid;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        for (int col = grid.GetFixedColumnCount(); col < grid.GetColumnCount(); ++col) {
            // A virtual grid knows its selection only by its map.
            if (!grid.IsCellSelected(row, col)) continue;
            const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(row, col));
            if (cell && !cell->IsReadOnly() && doc->IsModified(cell->MappedSpec())) return TRUE;
        }
    }
    return FALSE;
}

void CKelvardinGridView::ClearSelectedChanges() {
    CKelvardinDoc* doc = GetDocument();
    if (!doc || !m_pGrid) return;
    const CKelvardinGridCtrl& grid = *m_pGrid;
    for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row) {
        for (int col = grid.GetFixedColumnCount(); col < grid.GetColumnCount(); ++col) {
            const auto* cell = dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(row, col));
            if (!cell || !cell->IsSelected() || cell->IsReadOnly()) continue;
            const CObjSpec obj = cell->MappedSpec();
            if (doc->IsModified(obj)) doc->ClearModified(obj);
        }
    }
}

LRESULT CKelvardinGridView::OnClearChanges() {
    if (!m_pGrid) return 0;
    const int choice = m_host.AskClearChanges(SelectionHasChanges() ? 1 : 0);
    if (choice < 0) return 0;
    if (choice == 0) {
        ClearAllChanges();
    } else {
        ClearSelectedChanges();
    }
    UpdateGrid();
    if (m_pGrid->IsWindow() && m_pGrid->IsDrawingAllowed()) m_pGrid->Invalidate();
    return 1;
}

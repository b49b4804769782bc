#include "screens/base/edit_scopes.h"

#include "model/app_state.h"
#include "model/undo_host.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/cells/kelvardin_grid_cell.h"

CUndoGroupScope::CUndoGroupScope() : m_host(GetApp().GetUndoHost()) {
    if (m_host) m_host->BeginUndoGroup(true);
}

CUndoGroupScope::~CUndoGroupScope() {
    if (m_host) m_host->BeginUndoGroup(false);
}

CMoveDropScope::CMoveDropScope(const CKelvardinGridCtrl& grid, const COleDataObject* data) {
    CKelvardinDoc* doc = grid.GetDocument();
    const std::vector<CCellID> moved = grid.GetMovedCells(data);
    if (!doc || moved.empty()) return;
    std::set<CObjSpec::CKey> sources;
    for (const CCellID& cell : moved) {
        if (const auto* source =
                dynamic_cast<const CKelvardinGridCell*>(grid.GetCell(cell.row, cell.col)))
            sources.insert(source->GetObjSpec().Key());
    }
    m_freed.emplace(*doc, std::move(sources));
}

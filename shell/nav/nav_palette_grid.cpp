#include "shell/nav/nav_palette_grid.h"

#include "grid/cell_class.h"

CNavPaletteGrid::CNavPaletteGrid() {
    SetDefaultCellType(CellClassOf<CNavPaletteCellBase>());
}

void CNavPaletteGrid::BindCell(int row, int col, const CObjSpec& obj) {
    if (auto* cell = dynamic_cast<CNavPaletteCellBase*>(GetCell(row, col))) cell->SetObjSpec(obj);
}

int CNavPaletteGrid::FindAlphaRow(DWORD key) const {
    for (int row = GetFixedRowCount(); row < GetRowCount(); ++row) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            const auto* cell = dynamic_cast<const CNavPaletteCellBase*>(GetCell(row, col));
            if (cell && cell->GetObjSpec().m_nType == CObjSpec::kAlpha &&
                cell->GetObjSpec().m_nIndex == key)
                return row;
        }
    }
    return -1;
}

DROPEFFECT CNavPaletteGrid::DoDragDrop(COleDataSource& source) {
    return source.DoDragDrop(*this, DROPEFFECT_COPY);
}

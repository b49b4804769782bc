#pragma once

#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/cells/kelvardin_grid_cell.h"

// The alpha palette's grid stands on the screens' grid, whose cells show a field of the document
// each time they are drawn and which answers WM_APP+0x516 with the height of its rows. It is not
// editable, so nothing is dropped onto it, and it gives its rows away by drag as copies only.
using CNavPaletteGridBase = CKelvardinGridCtrl;
using CNavPaletteCellBase = CKelvardinGridCell;

class CNavPaletteGrid : public CNavPaletteGridBase {
public:
    CNavPaletteGrid();

    // Binds the cell to a field of the document.
    void BindCell(int row, int col, const CObjSpec& obj);
    // The row whose cells are bound to the alpha of the key; -1 when none is.
    int FindAlphaRow(DWORD key) const;

protected:
    // A label taken from the palette stays in it, whatever the target does with the drop.
    DROPEFFECT DoDragDrop(COleDataSource& source) override;
};

#pragma once

#include "grid/grid_cell.h"
#include "grid/grid_ctrl.h"
#include "model/obj_spec.h"

// The alpha palette's grid and its cells, kept to this one place: the cells show a field of the
// document each time they are drawn, the grid answers WM_APP+0x516 and gives its rows away by
// drag as copies only. When the screens' grid control and cell type are built, they take the
// place of the two bases here.
using CNavPaletteGridBase = CGridCtrl;
using CNavPaletteCellBase = CGridCell;

// A palette cell bound to one field of an alpha.
class CNavPaletteCell : public CNavPaletteCellBase {
public:
    const CObjSpec& GetObjSpec() const { return m_spec; }
    void SetObjSpec(const CObjSpec& spec);
    // Takes the field's text from the document; TRUE when it changed.
    BOOL UpdateText();

    BOOL Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd = TRUE) override;
    BOOL PrintCell(CDC* dc, int row, int col, CRect rect) override;

private:
    CObjSpec m_spec;
};

class CNavPaletteGrid : public CNavPaletteGridBase {
public:
    CNavPaletteGrid();

    // Binds the cell to a field of the document and shows its text.
    void BindCell(int row, int col, const CObjSpec& spec);
    // The row whose cells are bound to the alpha of the key; -1 when none is.
    int FindAlphaRow(DWORD key) const;
    // The height that shows n rows (all of them when n is negative): n times the first row's
    // height; 0 for a grid without rows.
    int GetRowsHeight(int rows) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // A label taken from the palette stays in it, whatever the target does with the drop.
    DROPEFFECT DoDragDrop(COleDataSource& source) override;
};

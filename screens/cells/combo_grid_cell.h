#pragma once

#include "screens/cells/kelvardin_grid_cell.h"

// A field chosen from the document's list of choices in a drop-down list editor.
class CComboGridCell : public CKelvardinGridCell {
public:
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;
    // Text pasted or dropped onto the cell is refused; the list editor's choice is stored.
    BOOL ValidateEdit(const CString& text) override;
};

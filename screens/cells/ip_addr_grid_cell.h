#pragma once

#include "screens/cells/kelvardin_grid_cell.h"

// An intercom's primary or backup IPv4 address. '-' clears it; 'B' or a double click looks
// for the intercom on the network and takes the addresses of the device chosen.
class CIPAddrGridCell : public CKelvardinGridCell {
public:
    CIPAddrGridCell();

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;
    // Dotted text (or empty or "-" for none), stored in its dotted form.
    BOOL ValidateEdit(const CString& text) override;
    void OnDblClick(CPoint point) override;

private:
    BOOL KeyCommand(UINT ch);
    void SearchForDevice();
};

#pragma once

#include "screens/cells/kelvardin_grid_cell.h"

// A cell of the trunk inspection: coloured by what it shows, not by changes. A request mark
// (fields 33-64) is "on" for "Y", "off" for "-" and "waiting" when it holds '*'; the
// inspected trunk (field 10) is "off" while the trunk is in maintenance or flagged.
class CInspectGridCell : public CKelvardinGridCell {
public:
    CInspectGridCell();

    COLORREF GetBackClr() const override;
};

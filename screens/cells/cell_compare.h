#pragma once

#include "grid/grid_ctrl.h"

// The screens' column comparisons. Each answers 0 when either cell is missing. A value that
// counts as empty (0 for the numbers and addresses, an empty text or "-" for the texts)
// answers minus the sort parameter as the first cell and the parameter as the second, so
// with the parameter a header sort gives (-1 ascending, +1 descending) empty values stay at
// the end in both directions.
int CompareCellNumbers(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param);
int CompareCellText(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param);
int CompareCellIPAddr(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM param);

// The leading signed decimal number of a text, 0 when it has none.
long long LeadingNumber(const CString& text);

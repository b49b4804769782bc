#pragma once

#include "grid/cell_class.h"
#include "grid/grid_ctrl.h"
#include "platform/base/win_types.h"

// One column of a screen's column table: its header, a flag the owning screen gives its own
// meaning, the object type and field id its cells are bound to (or the first id of a block
// the screen offsets by the row), the class of its cells (null for the screen cell) and its
// comparison (null for none).
struct ColumnDesc {
    UINT headerId = 0;
    bool flag = false;
    DWORD objectType = 0;
    DWORD fieldId = 0;
    const CCellClass* cellClass = nullptr;
    PFNGRIDCOMPARE compare = nullptr;
};

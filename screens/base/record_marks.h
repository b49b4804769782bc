#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "grid/cell_id.h"
#include "platform/base/win_types.h"

class CGridCtrl;

// The focus cell, the selected cells and the anchor of the selection of a grid, each by the
// record its row shows (the record of the row's first cell) and its column, so that they can be
// put back on the same records after the rows moved: a sort, or the grid made again. A cell
// whose row shows no record stays at its position.
class CRecordMarks {
public:
    explicit CRecordMarks(const CGridCtrl& grid);

    // Marks the cells again where their records are now. A selected cell whose record is gone
    // is dropped; the focus then keeps its position, as far as the grid still has it, and the
    // anchor goes to the focus.
    void Restore(CGridCtrl& grid) const;

private:
    // The record's type and index.
    using RecordKey = std::pair<DWORD, DWORD>;
    struct CMark {
        std::optional<RecordKey> record;
        CCellID cell;
    };

    static std::optional<RecordKey> RecordOfRow(const CGridCtrl& grid, int row);
    CMark MarkOf(const CGridCtrl& grid, CCellID cell) const;

    std::optional<CMark> m_focus;
    std::optional<CMark> m_start;
    std::vector<CMark> m_selected;
};

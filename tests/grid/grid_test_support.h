#pragma once

#include "grid/grid_ctrl.h"
#include "tests/support/recording_dc.h"

// A grid whose state tests can set directly, as a deriving screen can.
class CTestGrid : public CGridCtrl {
public:
    using CGridCtrl::m_bAscending;
    using CGridCtrl::m_idCurrentCell;
    using CGridCtrl::m_nCols;
    using CGridCtrl::m_nRows;
    using CGridCtrl::m_nSortColumn;
};

inline std::vector<CRecordingDC::Record> LinesOf(const CRecordingDC& dc, COLORREF color) {
    std::vector<CRecordingDC::Record> lines;
    for (const auto& r : dc.Of(CRecordingDC::Op::Line))
        if (r.color == color) lines.push_back(r);
    return lines;
}

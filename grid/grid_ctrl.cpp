#include "grid/grid_ctrl.h"

#include "platform/ui/sys_info.h"

namespace {

enum DefaultCell { kNormal, kFixedCol, kFixedRow, kFixedCorner };

}  // namespace

CGridCtrl::CGridCtrl() {
    m_crWindowText = GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = GetSysColor(COLOR_WINDOW);
    m_cr3DFace = GetSysColor(COLOR_3DFACE);
    m_crShadow = GetSysColor(COLOR_3DSHADOW);
    m_crGridBkColour = m_crShadow;

    for (CGridDefaultCell& cell : m_defaultCells) {
        cell.SetGrid(this);
        cell.SetTextClr(m_crWindowText);
        cell.SetBackClr(m_cr3DFace);
    }
    m_defaultCells[kNormal].SetBackClr(m_crWindowColour);
}

CGridCtrl::~CGridCtrl() = default;

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const {
    const int which = fixedRow && fixedCol ? kFixedCorner
                      : fixedRow           ? kFixedRow
                      : fixedCol           ? kFixedCol
                                           : kNormal;
    return const_cast<CGridDefaultCell*>(&m_defaultCells[which]);
}

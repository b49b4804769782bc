#pragma once

#include <array>

#include "grid/cell_id.h"
#include "grid/grid_cell.h"
#include "platform/ui/wnd.h"

// Which cell borders the grid draws.
constexpr int GVL_NONE = 0;
constexpr int GVL_HORZ = 1;
constexpr int GVL_VERT = 2;
constexpr int GVL_BOTH = 3;

// The table window on which every screen is built: cells in rows and columns with fixed
// (header) rows at the top and fixed columns at the left, or, in virtual mode, cells supplied
// by the owner on demand.
class CGridCtrl : public CWnd {
public:
    CGridCtrl();
    ~CGridCtrl() override;

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }

    // The default cell for cells of that fixedness.
    CGridDefaultCell* GetDefaultCell(BOOL fixedRow, BOOL fixedCol) const;

    CCellID GetFocusCell() const { return m_idCurrentCell; }
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL GetSortAscending() const { return m_bAscending; }

    void SetGridLines(int lines) { m_nGridLines = lines; }
    int GetGridLines() const { return m_nGridLines; }
    void SetFrameFocusCell(BOOL frame) { m_bFrameFocus = frame; }
    BOOL GetFrameFocusCell() const { return m_bFrameFocus; }
    // Header cells in the focus cell's row and column are drawn pressed in.
    void SetTrackFocusCell(BOOL track) { m_bTrackFocusCell = track; }
    BOOL GetTrackFocusCell() const { return m_bTrackFocusCell; }

    COLORREF GetGridBkColor() const { return m_crGridBkColour; }
    void SetGridBkColor(COLORREF color) { m_crGridBkColour = color; }
    COLORREF GetGridLineColor() const { return m_crGridLineColour; }
    void SetGridLineColor(COLORREF color) { m_crGridLineColour = color; }

protected:
    COLORREF m_crGridBkColour = 0;
    COLORREF m_crGridLineColour = RGB(192, 192, 192);
    COLORREF m_crWindowText = 0;
    COLORREF m_crWindowColour = 0;
    COLORREF m_cr3DFace = 0;
    COLORREF m_crShadow = 0;

    int m_nGridLines = GVL_BOTH;
    BOOL m_bFrameFocus = TRUE;
    BOOL m_bTrackFocusCell = TRUE;

    int m_nRows = 0;
    int m_nFixedRows = 0;
    int m_nCols = 0;
    int m_nFixedCols = 0;

    // Normal, fixed-column, fixed-row and fixed-corner default cells.
    std::array<CGridDefaultCell, 4> m_defaultCells;

    CCellID m_idCurrentCell;
    BOOL m_bAscending = TRUE;
    int m_nSortColumn = -1;
};

// Painting the grid: the background, the cells in four passes and the grid lines; the control's
// font and its answer to a change of the system colours.
#include "grid/grid_ctrl.h"
#include "grid/mem_dc.h"
#include "platform/ui/sys_info.h"

namespace {

enum DefaultCell { kNormal, kFixedCol, kFixedRow, kFixedCorner };

// Rows or columns laid out one after the other from a start, the hidden ones skipped.
struct Span {
    int index;
    int first;  // first pixel
    int last;   // last pixel
};

// The spans from first to last; with clipping, those wholly before the clip are left out and
// the first wholly after it ends them.
template <class Size>
std::vector<Span> Spans(int first, int last, int start, int lowClip, int highClip, bool clipped,
                        const Size& size) {
    std::vector<Span> out;
    int end = start - 1;
    for (int i = first; i <= last; ++i) {
        const int extent = size(i);
        if (extent <= 0) continue;
        const Span span{i, end + 1, end + extent};
        end = span.last;
        if (clipped && span.first > highClip) break;
        if (clipped && span.last < lowClip) continue;
        out.push_back(span);
    }
    return out;
}

// The rows and columns a paint of the clip visits, pass by pass: the fixed corner (unclipped),
// the fixed columns, the fixed rows and the body.
struct PaintLayout {
    std::vector<Span> fixedRows, fixedCols, clippedFixedRows, clippedFixedCols, bodyRows, bodyCols;

    template <class Visit>
    void ForEachCell(const Visit& visit) const {
        const auto pass = [&](const std::vector<Span>& rows, const std::vector<Span>& cols) {
            for (const Span& row : rows) {
                for (const Span& col : cols)
                    visit(row, col);
            }
        };
        pass(fixedRows, fixedCols);
        pass(bodyRows, clippedFixedCols);
        pass(clippedFixedRows, bodyCols);
        pass(bodyRows, bodyCols);
    }
};

PaintLayout LayOut(const CGridCtrl& grid, const CRect& clip, const CCellRange& visible) {
    const auto height = [&grid](int row) { return grid.GetRowHeight(row); };
    const auto width = [&grid](int col) { return grid.GetColumnWidth(col); };
    const CCellID topLeft = grid.GetTopleftNonFixedCell();
    const int fixedRows = grid.GetFixedRowCount() - 1;
    const int fixedCols = grid.GetFixedColumnCount() - 1;
    return {Spans(0, fixedRows, 0, 0, 0, false, height),
            Spans(0, fixedCols, 0, 0, 0, false, width),
            Spans(0, fixedRows, 0, clip.top, clip.bottom, true, height),
            Spans(0, fixedCols, 0, clip.left, clip.right, true, width),
            Spans(topLeft.row, visible.GetMaxRow(), grid.GetFixedRowHeight(), clip.top, clip.bottom,
                  true, height),
            Spans(topLeft.col, visible.GetMaxCol(), grid.GetFixedColumnWidth(), clip.left,
                  clip.right, true, width)};
}

// The area a cell covers, its last pixels included.
CRect CellArea(const Span& row, const Span& col) {
    return CRect(col.first, row.first, col.last + 1, row.last + 1);
}

}  // namespace

void CGridCtrl::OnPaint(CDC& dc) {
    HideStaleTitleTip();
    auto* painter = dynamic_cast<CQtPainterDC*>(&dc);
    if (m_bDoubleBuffer && painter && !painter->IsPrinting()) {
        CKMemDC memDC(*painter);
        OnDraw(&memDC);
    } else {
        OnDraw(&dc);
    }
}

void CGridCtrl::FillBackground(CDC* dc) {
    const CRect clip = dc->GetClipBox();
    const int fixedWidth = GetFixedColumnWidth();
    const int fixedHeight = GetFixedRowHeight();
    CRect visible;
    GetVisibleNonFixedCellRange(&visible);

    if (clip.left < fixedWidth && clip.top < fixedHeight) {
        dc->FillSolidRect(CRect(clip.left, clip.top, fixedWidth, fixedHeight),
                          m_defaultCells[kFixedCorner].GetBackClr());
    }
    if (clip.left < fixedWidth && clip.top < visible.bottom) {
        dc->FillSolidRect(CRect(clip.left, fixedHeight, fixedWidth, visible.bottom),
                          m_defaultCells[kFixedCol].GetBackClr());
    }
    if (clip.top < fixedHeight && clip.right > fixedWidth && clip.left < visible.right) {
        dc->FillSolidRect(CRect(fixedWidth - 1, clip.top, visible.right, fixedHeight),
                          m_defaultCells[kFixedRow].GetBackClr());
    }
    CRect body;
    if (body.IntersectRect(visible, clip)) {
        dc->FillSolidRect(CRect(std::max(fixedWidth, body.left), std::max(fixedHeight, body.top),
                                body.right, body.bottom),
                          m_defaultCells[kNormal].GetBackClr());
    }
    if (visible.right < clip.right) {
        dc->FillSolidRect(CRect(visible.right, clip.top, clip.right, clip.bottom),
                          m_crGridBkColour);
    }
    if (visible.bottom < clip.bottom && clip.left < visible.right) {
        dc->FillSolidRect(CRect(clip.left, visible.bottom, visible.right, clip.bottom),
                          m_crGridBkColour);
    }
}

void CGridCtrl::OnDraw(CDC* dc) {
    if (!m_bAllowDraw || !dc) return;
    const CRect clip = dc->GetClipBox();
    FillBackground(dc);

    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    const CCellID topLeft = GetTopleftNonFixedCell();
    CRect visibleRect;
    const CCellRange visible = GetVisibleNonFixedCellRange(&visibleRect);
    if (m_bVirtualMode) SendCacheHintToParent(visible);
    FollowPaintedRange(visible);

    // Only the cells that the paint puts on screen are drawn; a cell that runs past the window
    // is on screen whole when its part inside is.
    const CRect client = GetClientRect();
    LayOut(*this, clip, visible).ForEachCell([&](const Span& row, const Span& col) {
        CRect area = CellArea(row, col);
        if (CRect shown; shown.IntersectRect(area, client)) area = shown;
        const CDC::Reach reach = dc->ReachOf(area);
        if (reach == CDC::Reach::kNone) return;
        CGridCellBase* cell = GetCell(row.index, col.index);
        if (!cell) {
            m_paintedLooks.erase(CellKey(row.index, col.index));
            return;
        }
        cell->SetCoords(row.index, col.index);
        cell->Draw(dc, row.index, col.index, CRect(col.first, row.first, col.last, row.last),
                   FALSE);
        KeepPaintedLook(*cell, row.index, col.index, reach);
    });

    // Fixed cells draw their own edges; the lines are the body's.
    const CPen old = dc->SelectPen(CPen{PS_SOLID, 0, m_crGridLineColour});
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
        int x = fixedWidth;
        for (int col = topLeft.col; col <= visible.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) <= 0) continue;
            x += GetColumnWidth(col);
            dc->MoveTo(x - 1, fixedHeight);
            dc->LineTo(x - 1, visibleRect.bottom);
        }
    }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
        int y = fixedHeight;
        for (int row = topLeft.row; row <= visible.GetMaxRow(); ++row) {
            if (GetRowHeight(row) <= 0) continue;
            y += GetRowHeight(row);
            dc->MoveTo(fixedWidth, y - 1);
            dc->LineTo(visibleRect.right, y - 1);
        }
    }
    dc->SelectPen(old);
    // The line that follows a divider being dragged.
    if (!m_rectTrackLine.IsRectEmpty()) dc->InvertRect(m_rectTrackLine);
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange());
}

CGridCtrl::CellLook CGridCtrl::LookOf(const CGridCellBase& cell, int row, int col) const {
    CellLook look;
    look.text = cell.GetText();
    look.state = cell.GetState();
    look.textColor = cell.GetTextClr();
    look.backColor = cell.GetBackClr();
    if (look.state & (CELL_SELECTED | CELL_FOCUSED | CELL_DROPHILITED)) {
        look.selectedTextColor = cell.GetSelectedTextClr();
        look.selectedBackColor = cell.GetSelectedBackClr();
    }
    look.format = cell.GetFormat();
    look.margin = cell.GetMargin();
    // The default cells' fonts change only with a repaint of the whole grid.
    if (!cell.IsDefaultFont()) {
        if (const LogFont* font = cell.GetFontObject()) look.font = *font;
    }
    if (row == 0 && col == m_nSortColumn) look.sortMark = m_bAscending ? 2 : 1;
    if (look.state & CELL_FIXED) {
        const CCellID focus = m_idCurrentCell;
        look.pressed =
            m_bTrackFocusCell && IsValid(focus) && (focus.row == row || focus.col == col);
    }
    return look;
}

void CGridCtrl::FollowPaintedRange(const CCellRange& visible) {
    if (visible == m_paintedRange) return;
    if (!(visible.GetTopLeft() == m_paintedRange.GetTopLeft())) {
        // Scrolled: every cell stands elsewhere.
        m_paintedLooks.clear();
    } else {
        // More or fewer rows or columns in view: the others stay where they were.
        std::erase_if(m_paintedLooks, [&](const auto& painted) {
            const auto row = static_cast<int>(painted.first & 0xFFFFFFFFu);
            const auto col = static_cast<int>(painted.first >> 32);
            return (row >= m_nFixedRows && row > visible.GetMaxRow()) ||
                   (col >= m_nFixedCols && col > visible.GetMaxCol());
        });
    }
    m_paintedRange = visible;
}

void CGridCtrl::KeepPaintedLook(const CGridCellBase& cell, int row, int col, CDC::Reach reach) {
    const std::uint64_t key = CellKey(row, col);
    if (reach == CDC::Reach::kAll) {
        m_paintedLooks.insert_or_assign(key, LookOf(cell, row, col));
    } else {
        m_paintedLooks.erase(key);
    }
}

BOOL CGridCtrl::InvalidateChangedCells() {
    if (!IsWindow() || !m_bAllowDraw) return FALSE;
    const CCellRange visible = GetVisibleNonFixedCellRange();
    // Scrolled since it was last painted: every cell in view is painted again.
    if (!(visible.GetTopLeft() == m_paintedRange.GetTopLeft())) m_paintedLooks.clear();
    if (m_bVirtualMode) SendCacheHintToParent(visible);
    BOOL changed = FALSE;
    LayOut(*this, GetClientRect(), visible).ForEachCell([&](const Span& row, const Span& col) {
        CGridCellBase* cell = GetCell(row.index, col.index);
        if (!cell) return;
        cell->SetCoords(row.index, col.index);
        const auto painted = m_paintedLooks.find(CellKey(row.index, col.index));
        if (painted != m_paintedLooks.end() &&
            painted->second == LookOf(*cell, row.index, col.index))
            return;
        CRect area = CellArea(row, col);
        InvalidateRect(&area, TRUE);
        changed = TRUE;
    });
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange());
    return changed;
}

void CGridCtrl::SetFont(const LogFont& font, BOOL redraw) {
    CWnd::SetFont(font, FALSE);
    for (CGridDefaultCell& cell : m_defaultCells)
        cell.SetFont(&font);
    (void)redraw;  // the new font always shows
    Refresh();
}

LogFont CGridCtrl::GetFont() const {
    const LogFont* font = m_defaultCells[kNormal].GetFontObject();
    return font ? *font : LogFont();
}

void CGridCtrl::OnSysColorChange() {
    CWnd::OnSysColorChange();
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    // Colours the program never changed follow the system; the others stay.
    for (CGridDefaultCell& cell : m_defaultCells) {
        if (cell.GetTextClr() == m_crWindowText) cell.SetTextClr(windowText);
    }
    if (m_defaultCells[kNormal].GetBackClr() == m_crWindowColour)
        m_defaultCells[kNormal].SetBackClr(window);
    for (int which : {kFixedCol, kFixedRow, kFixedCorner}) {
        if (m_defaultCells[which].GetBackClr() == m_cr3DFace)
            m_defaultCells[which].SetBackClr(face);
    }
    if (m_crGridBkColour == m_crShadow) m_crGridBkColour = shadow;
    m_crWindowText = windowText;
    m_crWindowColour = window;
    m_cr3DFace = face;
    m_crShadow = shadow;
    Refresh();
}

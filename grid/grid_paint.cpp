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

    // The rows and the columns of each pass, clipped or not.
    const auto spans = [](int first, int last, int start, int lowClip, int highClip, bool clipped,
                          const auto& size) {
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
    };
    const auto height = [this](int row) { return GetRowHeight(row); };
    const auto width = [this](int col) { return GetColumnWidth(col); };
    const auto pass = [&](const std::vector<Span>& rows, const std::vector<Span>& cols) {
        for (const Span& row : rows) {
            for (const Span& col : cols) {
                CGridCellBase* cell = GetCell(row.index, col.index);
                if (!cell) continue;
                cell->SetCoords(row.index, col.index);
                cell->Draw(dc, row.index, col.index,
                           CRect(col.first, row.first, col.last, row.last), FALSE);
            }
        }
    };

    const auto fixedRows = spans(0, m_nFixedRows - 1, 0, 0, 0, false, height);
    const auto fixedCols = spans(0, m_nFixedCols - 1, 0, 0, 0, false, width);
    const auto bodyRows =
        spans(topLeft.row, visible.GetMaxRow(), fixedHeight, clip.top, clip.bottom, true, height);
    const auto bodyCols =
        spans(topLeft.col, visible.GetMaxCol(), fixedWidth, clip.left, clip.right, true, width);
    const auto clippedFixedRows =
        spans(0, m_nFixedRows - 1, 0, clip.top, clip.bottom, true, height);
    const auto clippedFixedCols = spans(0, m_nFixedCols - 1, 0, clip.left, clip.right, true, width);
    pass(fixedRows, fixedCols);
    pass(bodyRows, clippedFixedCols);
    pass(clippedFixedRows, bodyCols);
    pass(bodyRows, bodyCols);

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

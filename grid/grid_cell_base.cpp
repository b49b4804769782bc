#include "grid/grid_cell_base.h"

#include <memory>

#include "grid/grid_ctrl.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr int kSortMarkSize = 9;

CPen SolidPen(int sysColor) {
    return CPen{PS_SOLID, 0, GetSysColor(sysColor)};
}

void Polyline(CDC& dc, std::initializer_list<CPoint> points) {
    auto it = points.begin();
    dc.MoveTo(*it);
    for (++it; it != points.end(); ++it)
        dc.LineTo(*it);
}

// A device context to measure on when the caller gave none: the grid's window, else the screen.
std::unique_ptr<CDC> MeasuringDC(CGridCtrl* grid) {
    if (grid && grid->IsWindow()) return grid->GetDC();
    return std::make_unique<CMeasureDC>(CRect(), nullptr);
}

}  // namespace

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& cell) {
    if (&cell == this) return *this;
    SetGrid(cell.GetGrid());
    SetText(cell.GetText());
    SetImage(cell.GetImage());
    SetData(cell.GetData());
    SetState(cell.GetState());
    SetFormat(cell.GetFormat());
    SetTextClr(cell.GetTextClr());
    SetBackClr(cell.GetBackClr());
    SetFont(cell.IsDefaultFont() ? nullptr : cell.GetFont());
    SetMargin(cell.GetMargin());
    return *this;
}

CGridDefaultCell* CGridCellBase::GetDefaultCell() const {
    const CGridCtrl* grid = GetGrid();
    if (!grid) return nullptr;
    const DWORD state = GetState();
    return grid->GetDefaultCell(state & CELL_FIXEDROW, state & CELL_FIXEDCOL);
}

void CGridCellBase::DrawHeaderEdges(CDC& dc, const CRect& rect) {
    const CPen old = dc.SelectPen(SolidPen(COLOR_3DHIGHLIGHT));
    Polyline(dc, {{rect.right, rect.top}, {rect.left, rect.top}, {rect.left, rect.bottom}});
    dc.SelectPen(SolidPen(COLOR_3DDKSHADOW));
    Polyline(dc, {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom}});
    dc.SelectPen(old);
}

void CGridCellBase::DrawSortMark(CDC& dc, CRect& rect, const CGridCtrl& grid) {
    const int height = rect.bottom - rect.top;
    const int s = height <= kSortMarkSize ? height - 4 : kSortMarkSize;
    const LogFont* font = GetFont();
    const bool vertical = font && font->lfEscapement == 900;
    const int margin = static_cast<int>(GetMargin());
    if (s <= 0 || rect.left + s >= rect.right + 2 * margin) return;

    const int y = (rect.top - s + rect.bottom) / 2;
    const int x = vertical ? (rect.left - s + rect.right) / 2 : rect.right - s;
    const CPen old = dc.SelectPen(SolidPen(COLOR_BTNHIGHLIGHT));
    if (grid.GetSortAscending()) {
        Polyline(dc, {{x + 1, y + s + 1},
                      {x + s / 2 + 1, y + 1},
                      {x + s + 1, y + s + 1},
                      {x + 1, y + s + 1}});
        dc.SelectPen(SolidPen(COLOR_BTNSHADOW));
        Polyline(dc, {{x, y + s}, {x + s / 2, y}, {x + s, y + s}, {x, y + s}});
    } else {
        Polyline(dc,
                 {{x + 1, y + 1}, {x + s / 2 + 1, y + s + 1}, {x + s + 1, y + 1}, {x + 1, y + 1}});
        dc.SelectPen(SolidPen(COLOR_BTNSHADOW));
        Polyline(dc, {{x, y}, {x + s / 2, y + s}, {x + s, y}, {x, y}});
    }
    dc.SelectPen(old);
    if (!vertical) rect.right -= s;
}

BOOL CGridCellBase::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd) {
    CGridCtrl* grid = GetGrid();
    if (!grid || !dc || rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return FALSE;

    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    const CGridDefaultCell* def = GetDefaultCell();
    if (!def) {
        dc->RestoreDC(saved);
        return FALSE;
    }

    COLORREF textClr = GetTextClr() == CLR_DEFAULT ? def->GetTextClr() : GetTextClr();
    COLORREF backClr = def->GetBackClr();
    if (GetBackClr() != CLR_DEFAULT) {
        backClr = GetBackClr();
        eraseBkgnd = TRUE;
    }

    const DWORD state = GetState();
    const int gridLines = grid->GetGridLines();
    if (state & (CELL_FOCUSED | CELL_DROPHILITED)) {
        if (state & CELL_SELECTED) {
            backClr = GetSelectedBackClr();
            textClr = GetSelectedTextClr();
            eraseBkgnd = TRUE;
        }
        // Cell rectangles hold their last pixel; fills and frames stop short of theirs.
        rect.right++;
        rect.bottom++;
        if (eraseBkgnd) dc->FillSolidRect(rect, backClr);
        if (gridLines != GVL_NONE) {
            rect.right--;
            rect.bottom--;
        }
        if (grid->GetFrameFocusCell()) dc->FrameRect(rect, textClr);
        dc->SetTextColor(textClr);
        if (gridLines == GVL_NONE) {
            rect.right--;
            rect.bottom--;
        }
        rect.DeflateRect(1, 1);
    } else if (state & CELL_SELECTED) {
        rect.right++;
        rect.bottom++;
        dc->FillSolidRect(rect, GetSelectedBackClr());
        rect.right--;
        rect.bottom--;
        dc->SetTextColor(GetSelectedTextClr());
    } else {
        if (eraseBkgnd) {
            rect.right++;
            rect.bottom++;
            dc->FillSolidRect(rect, backClr);
            rect.right--;
            rect.bottom--;
        }
        dc->SetTextColor(textClr);
    }

    if ((state & CELL_FIXED) && gridLines != GVL_NONE) {
        const CCellID focus = grid->GetFocusCell();
        const bool focusValid = focus.row >= 0 && focus.row < grid->GetRowCount() &&
                                focus.col >= 0 && focus.col < grid->GetColumnCount();
        if (grid->GetTrackFocusCell() && focusValid && (focus.row == row || focus.col == col)) {
            rect.right++;
            rect.bottom++;
            dc->DrawEdge(rect, BDR_SUNKENINNER, BF_RECT);
        } else {
            DrawHeaderEdges(*dc, rect);
        }
        rect.DeflateRect(1, 1);
    }

    if (!dc->IsPrinting()) {
        if (const LogFont* font = GetFontObject()) dc->SelectFont(*font);
    }
    rect.DeflateRect(static_cast<int>(GetMargin()), 0);
    if (row == 0 && col == grid->GetSortColumn()) DrawSortMark(*dc, rect, *grid);

    GetTextRect(&rect);
    dc->DrawText(GetText(), rect, GetFormat() | DT_NOPREFIX);
    dc->RestoreDC(saved);
    return TRUE;
}

CSize CGridCellBase::GetTextExtent(const CString& text, CDC* dc) {
    std::unique_ptr<CDC> own;
    if (!dc) {
        own = MeasuringDC(GetGrid());
        dc = own.get();
    }

    const LogFont* font = GetFontObject();
    const LogFont previous = font ? dc->SelectFont(*font) : LogFont();
    CSize size;
    const UINT format = GetFormat();
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
        int widest = 0;
        std::u16string_view rest = text;
        for (;;) {
            const size_t end = rest.find(u'\n');
            widest = std::max(widest, dc->GetTextExtent(rest.substr(0, end)).cx);
            if (end == std::u16string_view::npos) break;
            rest.remove_prefix(end + 1);
        }
        CRect bounds(0, 0, widest + 1, 0);
        dc->DrawText(text, bounds, format | DT_CALCRECT);
        size = bounds.Size();
    } else {
        size = dc->GetTextExtent(text);
    }
    size.cx += dc->GetTextMetrics().tmOverhang;
    if (font) dc->SelectFont(previous);

    const int margin = static_cast<int>(GetMargin());
    size.cx += 4 * margin;
    size.cy += 2 * margin;
    if (font && (font->lfEscapement == 900 || font->lfEscapement == -900)) {
        std::swap(size.cx, size.cy);
        size.cy += 4 * margin;
    }
    return size;
}

BOOL CGridCellBase::Edit(int, int, CRect, CPoint, UINT, UINT) {
    return FALSE;
}

BOOL CGridCellBase::OnSetCursor() {
    if (CGridCtrl* grid = GetGrid()) grid->SetCursor(Cursor::Arrow);
    return TRUE;
}

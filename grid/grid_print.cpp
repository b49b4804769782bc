// Printing: the page set-up and, for each page, the header, the row headers, the column
// headings, the body and the footer. Grid units map onto the page so that every column fits
// across it.
#include <QGuiApplication>
#include <QWidget>

#include <ctime>

#include "grid/grid_ctrl.h"
#include "grid/print_layout.h"
#include "platform/ui/print.h"
#include "platform/ui/qt_convert.h"

namespace {

constexpr char16_t kMeasureText[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";
constexpr int kMeasureLength = 52;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kLeft = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr CPen kBlackPen{PS_SOLID, 0, RGB(0, 0, 0)};

LogFont PrinterFont() {
    LogFont font;
    font.lfHeight = -10;
    font.lfWeight = FW_NORMAL;
    font.lfFaceName = u"Arial";
    return font;
}

void Line(CDC* dc, int x1, int y1, int x2, int y2) {
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
}

// The nearest window above the grid with a title of its own.
CString AncestorTitle(const CWnd& grid) {
    for (QWidget* w = grid.GetWidget() ? grid.GetWidget()->parentWidget() : nullptr; w;
         w = w->parentWidget()) {
        if (!w->windowTitle().isEmpty()) return FromQString(w->windowTitle());
    }
    return CString();
}

// The local date and time in one fixed form, whatever the locale.
CString PrintDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%m/%d/%y %H:%M:%S", &local);
    return CString::FromUtf8(text);
}

}  // namespace

std::vector<int> CGridCtrl::BodyRowHeights() const {
    std::vector<int> heights;
    for (int row = m_nFixedRows; row < m_nRows; ++row)
        heights.push_back(GetRowHeight(row));
    return heights;
}

void CGridCtrl::OnBeginPrinting(CDC* dc, CPrintInfo* info) {
    if (!dc || !info) return;
    m_PrinterFont = PrinterFont();
    const LogFont previous = dc->SelectFont(m_PrinterFont);
    const CSize text = dc->GetTextExtent(std::u16string_view(kMeasureText, kMeasureLength));
    m_CharSize = CSize(text.cx / kMeasureLength, text.cy);
    m_PaperSize = CSize(dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));

    const int margins = (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx;
    m_LogicalPageSize.cx = GetVirtualWidth() + margins;
    m_LogicalPageSize.cy = MulDiv(m_LogicalPageSize.cx, m_PaperSize.cy, m_PaperSize.cx);
    m_nPageHeight = m_LogicalPageSize.cy -
                    (m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap) * m_CharSize.cy -
                    GetFixedRowHeight();
    m_nPageWidth = m_LogicalPageSize.cx - GetFixedColumnWidth() - margins;
    // Without room for a row, or without a paper width, there is nothing to print: no pages.
    if (m_PaperSize.cx <= 0 || m_PaperSize.cy <= 0) m_nPageHeight = 0;
    m_nNumPages = static_cast<int>(PageStarts(BodyRowHeights(), m_nPageHeight).size());
    info->SetMaxPage(static_cast<UINT>(m_nNumPages));
    info->m_nCurPage = 1;
    dc->SelectFont(previous);
}

void CGridCtrl::OnEndPrinting(CDC* /*dc*/, CPrintInfo* /*info*/) {
    m_PrinterFont = LogFont();
}

void CGridCtrl::OnPrint(CDC* dc, CPrintInfo* info) {
    if (!dc || !info || m_nNumPages == 0) return;
    const LogFont previous = dc->SelectFont(m_PrinterFont);
    const int fixedHeight = GetFixedRowHeight();
    const int fixedWidth = GetFixedColumnWidth();
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(m_LogicalPageSize.cx, m_LogicalPageSize.cy);
    dc->SetViewportExt(m_PaperSize.cx, m_PaperSize.cy);
    dc->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx, 0);

    info->m_rectDraw =
        CRect(0, 0, m_LogicalPageSize.cx - (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx,
              m_nHeaderHeight * m_CharSize.cy);
    PrintHeader(dc, info);
    dc->OffsetWindowOrg(0, -m_nHeaderHeight * m_CharSize.cy);
    dc->OffsetWindowOrg(0, -m_nGap * m_CharSize.cy);
    dc->OffsetWindowOrg(0, -fixedHeight);

    // The page prints exactly the rows its count gave it, so no row prints on two pages.
    const std::vector<int> starts = PageStarts(BodyRowHeights(), m_nPageHeight);
    const auto page = static_cast<size_t>(info->m_nCurPage);
    m_nCurrPrintRow =
        page >= 1 && page <= starts.size() ? m_nFixedRows + starts[page - 1] : m_nRows;
    m_nPageEndRow = page >= 1 && page < starts.size() ? m_nFixedRows + starts[page] : m_nRows;
    m_nCurrPrintCol = m_nFixedCols;
    PrintRowButtons(dc, info);

    info->m_rectDraw.bottom = fixedHeight;
    dc->OffsetWindowOrg(0, fixedHeight);
    m_nPageWidth += fixedWidth;
    m_nCurrPrintCol = 0;
    PrintColumnHeadings(dc, info);
    m_nPageWidth -= fixedWidth;
    m_nCurrPrintCol = m_nFixedCols;
    dc->OffsetWindowOrg(-fixedWidth, -fixedHeight);

    if (m_nCurrPrintRow < m_nRows) {
        PrintBody(dc);
        info->m_rectDraw.bottom = m_nFooterHeight * m_CharSize.cy;
        dc->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx,
                         m_nFooterHeight * m_CharSize.cy - m_LogicalPageSize.cy);
        PrintFooter(dc, info);
        dc->SetWindowOrg(0, 0);
    }
    dc->SelectFont(previous);
}

void CGridCtrl::PrintBody(CDC* dc) {
    const bool horz = m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ;
    const bool vert = m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT;
    CRect rect;
    rect.bottom = -1;
    bool firstRow = true;
    for (; m_nCurrPrintRow < m_nPageEndRow; ++m_nCurrPrintRow) {
        const int row = m_nCurrPrintRow;
        if (GetRowHeight(row) <= 0) continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        // A row taller than the body still prints, cut at the body's foot, on a page of its own.
        const bool tooTall = rect.bottom >= m_nPageHeight;
        const int saved = tooTall ? dc->SaveDC() : 0;
        if (tooTall) dc->IntersectClipRect(CRect(-1, -1, m_nPageWidth + 1, m_nPageHeight + 1));

        rect.right = -1;
        for (int col = m_nCurrPrintCol; col < m_nCols; ++col) {
            if (GetColumnWidth(col) <= 0) continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (rect.right > m_nPageWidth) break;
            if (CGridCellBase* cell = GetCell(row, col)) cell->PrintCell(dc, row, col, rect);
            const int k = col == 0 ? 0 : 1;
            const int j = firstRow ? 0 : 1;
            if (horz) {
                Line(dc, rect.left - k, rect.bottom, rect.right, rect.bottom);
                if (row == 0) Line(dc, rect.left - k, rect.top, rect.right, rect.top);
            }
            if (vert) {
                Line(dc, rect.right, rect.top - j, rect.right, rect.bottom);
                if (col == 0) Line(dc, rect.left, rect.top - j, rect.left, rect.bottom);
            }
        }
        if (tooTall) dc->RestoreDC(saved);
        firstRow = false;
    }
}

void CGridCtrl::PrintColumnHeadings(CDC* dc, CPrintInfo* /*info*/) {
    const LogFont previous = dc->SelectFont(m_PrinterFont);
    CRect rect;
    rect.bottom = -1;
    BOOL first = TRUE;
    for (int row = 0; row < m_nFixedRows; ++row) {
        if (GetRowHeight(row) <= 0) continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        rect.right = -1;
        PrintFixedRowCells(m_nCurrPrintCol, m_nCols, row, rect, dc, first);
    }
    dc->SelectFont(previous);
}

void CGridCtrl::PrintFixedRowCells(int firstCol, int stopCol, int row, CRect& rect, CDC* dc,
                                   BOOL& first) {
    const bool horz = m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ;
    const bool vert = m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT;
    for (int col = firstCol; col < stopCol; ++col) {
        if (GetColumnWidth(col) <= 0) continue;
        rect.left = rect.right + 1;
        rect.right = rect.left + GetColumnWidth(col) - 1;
        if (rect.right > m_nPageWidth) break;
        if (CGridCellBase* cell = GetCell(row, col)) cell->PrintCell(dc, row, col, rect);
        const int k = col == 0 ? 0 : 1;
        const int j = row == 0 ? 0 : 1;
        if (horz) {
            Line(dc, rect.left - k, rect.bottom, rect.right, rect.bottom);
            if (row == 0) Line(dc, rect.left - k, rect.top, rect.right, rect.top);
        }
        if (vert) {
            Line(dc, rect.right, rect.top - j, rect.right, rect.bottom);
            if (first) {
                Line(dc, rect.left - 1, rect.top - j, rect.left - 1, rect.bottom);
                first = FALSE;
            }
        }
    }
}

void CGridCtrl::PrintRowButtons(CDC* dc, CPrintInfo* /*info*/) {
    const LogFont previous = dc->SelectFont(m_PrinterFont);
    const bool horz = m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ;
    const bool vert = m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT;
    BOOL first = TRUE;
    CRect rect;
    rect.right = -1;
    for (int col = 0; col < m_nFixedCols; ++col) {
        if (GetColumnWidth(col) <= 0) continue;
        rect.left = rect.right + 1;
        rect.right = rect.left + GetColumnWidth(col) - 1;
        rect.bottom = -1;
        for (int row = m_nCurrPrintRow; row < m_nPageEndRow; ++row) {
            if (GetRowHeight(row) <= 0) continue;
            rect.top = rect.bottom + 1;
            rect.bottom = rect.top + GetRowHeight(row) - 1;
            const bool tooTall = rect.bottom >= m_nPageHeight;
            const int saved = tooTall ? dc->SaveDC() : 0;
            if (tooTall)
                dc->IntersectClipRect(CRect(rect.left - 1, -1, rect.right + 1, m_nPageHeight + 1));
            if (CGridCellBase* cell = GetCell(row, col)) cell->PrintCell(dc, row, col, rect);
            const int k = col == 0 ? 0 : 1;
            const int j = row == 0 ? 0 : 1;
            if (horz) {
                Line(dc, rect.left - k, rect.bottom, rect.right, rect.bottom);
                if (first) {
                    Line(dc, rect.left - k, rect.top - 1, rect.right, rect.top - 1);
                    first = FALSE;
                }
            }
            if (vert) {
                Line(dc, rect.right, rect.top - j, rect.right, rect.bottom);
                if (col == 0) Line(dc, rect.left, rect.top - j, rect.left, rect.bottom);
            }
            if (tooTall) dc->RestoreDC(saved);
        }
    }
    dc->SelectFont(previous);
}

void CGridCtrl::PrintHeader(CDC* dc, CPrintInfo* info) {
    const CString appTitle = FromQString(QGuiApplication::applicationDisplayName());
    const CString windowTitle = AncestorTitle(*this);
    LogFont bold = m_PrinterFont;
    bold.lfWeight = FW_BOLD;
    const LogFont previousFont = dc->SelectFont(bold);
    const int previousMode = dc->SetBkMode(TRANSPARENT);
    CRect rect = info->m_rectDraw;
    if (!windowTitle.IsEmpty()) dc->DrawText(windowTitle, rect, kCentred);
    if (!appTitle.IsEmpty()) dc->DrawText(appTitle, rect, kRight);
    dc->SetBkMode(previousMode);
    dc->SelectFont(previousFont);
    const CPen previousPen = dc->SelectPen(kBlackPen);
    Line(dc, rect.left, rect.bottom, rect.right, rect.bottom);
    dc->SelectPen(previousPen);
}

void CGridCtrl::PrintFooter(CDC* dc, CPrintInfo* info) {
    const CString page = CString::Formatted(u"Page %d of %d", info->m_nCurPage, info->GetMaxPage());
    const CString date = PrintDate();
    CRect rect = info->m_rectDraw;
    const CPen previousPen = dc->SelectPen(kBlackPen);
    Line(dc, rect.left, rect.top, rect.right, rect.top);
    dc->SelectPen(previousPen);

    LogFont bold = m_PrinterFont;
    bold.lfWeight = FW_BOLD;
    const LogFont previousFont = dc->SelectFont(bold);
    const int previousMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF previousColor = dc->SetTextColor(RGB(0, 0, 0));
    if (!page.IsEmpty()) dc->DrawText(page, rect, kLeft);
    if (!date.IsEmpty()) dc->DrawText(date, rect, kRight);
    dc->SetTextColor(previousColor);
    dc->SetBkMode(previousMode);
    dc->SelectFont(previousFont);
}

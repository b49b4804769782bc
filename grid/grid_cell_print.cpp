#include "grid/grid_cell_base.h"
#include "grid/grid_ctrl.h"

namespace {

// A two-colour printer has no colour to show text in; each channel is darkened by its weight.
COLORREF TwoColourText(COLORREF color) {
    const auto weigh = [color](int shift, double weight) {
        return static_cast<BYTE>(static_cast<int>(((color >> shift) & 0xFF) * weight));
    };
    return RGB(weigh(0, 0.3), weigh(8, 0.59), weigh(16, 0.11));
}

}  // namespace

BOOL CGridCellBase::PrintCell(CDC* dc, int /*row*/, int /*col*/, CRect rect) {
    CGridCtrl* grid = GetGrid();
    if (!grid || !dc || rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return FALSE;

    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    const CGridDefaultCell* def = GetDefaultCell();
    if (!def) {
        dc->RestoreDC(saved);
        return FALSE;
    }

    const COLORREF ownBack = GetBackClr();
    const COLORREF ownText = GetTextClr() == CLR_DEFAULT ? def->GetTextClr() : GetTextClr();
    bool hasBack = false;
    COLORREF backClr = 0;
    COLORREF textClr = 0;
    if (IsFixed()) {
        hasBack = true;
        backClr = ownBack == CLR_DEFAULT ? def->GetBackClr() : ownBack;
        textClr = ownBack != CLR_DEFAULT ? ownText : def->GetTextClr();
    } else {
        hasBack = ownBack != CLR_DEFAULT && ownBack != def->GetBackClr();
        backClr = ownBack;
        if (ownBack != CLR_DEFAULT) {
            textClr = ownText;
        } else if (GetTextClr() == CLR_DEFAULT || GetTextClr() == def->GetTextClr()) {
            textClr = RGB(0, 0, 0);
        } else {
            textClr = GetTextClr();
        }
    }

    if (dc->GetDeviceCaps(NUMCOLORS) == 2 && !hasBack) textClr = TwoColourText(textClr);
    if (hasBack)
        dc->FillSolidRect(CRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1), backClr);
    dc->SetTextColor(textClr);
    if (const LogFont* font = GetFontObject()) dc->SelectFont(*font);

    if (IsFixed() && grid->GetGridLines() != GVL_NONE) {
        DrawHeaderEdges(*dc, rect);
        rect.DeflateRect(1, 1);
    }
    rect.DeflateRect(static_cast<int>(GetMargin()), 0);
    dc->DrawText(GetText(), rect, GetFormat() | DT_NOPREFIX);
    dc->RestoreDC(saved);
    return TRUE;
}

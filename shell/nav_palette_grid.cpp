#include "shell/nav_palette_grid.h"

#include "grid/cell_class.h"
#include "model/kelvardin_doc.h"
#include "shell/kelvardin_app.h"
#include "shell/nav_group.h"

void CNavPaletteCell::SetObjSpec(const CObjSpec& spec) {
    m_spec = spec;
    UpdateText();
}

BOOL CNavPaletteCell::UpdateText() {
    const CKelvardinDoc* doc = GetKelvardinApp().GetKelvardinDoc();
    if (m_spec.IsEmpty() || !doc) return FALSE;
    const CString text = doc->GetObjectText(m_spec);
    if (text == GetText()) return FALSE;
    SetText(text);
    return TRUE;
}

BOOL CNavPaletteCell::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd) {
    UpdateText();
    return CNavPaletteCellBase::Draw(dc, row, col, rect, eraseBkgnd);
}

BOOL CNavPaletteCell::PrintCell(CDC* dc, int row, int col, CRect rect) {
    UpdateText();
    return CNavPaletteCellBase::PrintCell(dc, row, col, rect);
}

CNavPaletteGrid::CNavPaletteGrid() {
    SetDefaultCellType(CellClassOf<CNavPaletteCell>());
}

void CNavPaletteGrid::BindCell(int row, int col, const CObjSpec& spec) {
    if (auto* cell = dynamic_cast<CNavPaletteCell*>(GetCell(row, col))) cell->SetObjSpec(spec);
}

int CNavPaletteGrid::FindAlphaRow(DWORD key) const {
    for (int row = GetFixedRowCount(); row < GetRowCount(); ++row) {
        for (int col = 0; col < GetColumnCount(); ++col) {
            const auto* cell = dynamic_cast<const CNavPaletteCell*>(GetCell(row, col));
            if (cell && cell->GetObjSpec().m_nType == CObjSpec::kAlpha &&
                cell->GetObjSpec().m_nIndex == key)
                return row;
        }
    }
    return -1;
}

int CNavPaletteGrid::GetRowsHeight(int rows) const {
    if (GetRowCount() == 0) return 0;
    return GetRowHeight(0) * (rows < 0 ? GetRowCount() : rows);
}

LRESULT CNavPaletteGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NAV_NEEDED_HEIGHT) return GetRowsHeight(static_cast<int>(lParam));
    return CNavPaletteGridBase::WindowProc(message, wParam, lParam);
}

DROPEFFECT CNavPaletteGrid::DoDragDrop(COleDataSource& source) {
    return source.DoDragDrop(*this, DROPEFFECT_COPY);
}

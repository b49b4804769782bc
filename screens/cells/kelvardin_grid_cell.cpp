#include "screens/cells/kelvardin_grid_cell.h"

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "grid/in_place_edit.h"
#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "model/undo_host.h"
#include "platform/ui/sys_info.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/base/kelvardin_grid_view.h"

namespace {

enum BorderEdge { kLeft, kTop, kRight, kBottom };

// A mouse click (1), Enter and the Delete key start an edit whatever the filter.
bool StartsAnyEdit(UINT ch) {
    return ch == VK_RETURN || ch == VK_DELETE || ch == VK_LBUTTON;
}

bool IsFilterDigit(UINT ch, bool hex) {
    if (ch >= '0' && ch <= '9') return true;
    return hex && ((ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'));
}

}  // namespace

CKelvardinGridCell::CKelvardinGridCell() {
    ResetOwnFields();
}

CKelvardinGridCell::~CKelvardinGridCell() = default;

void CKelvardinGridCell::ResetOwnFields() {
    m_spec = CObjSpec(CObjSpec::kNone, 0, CObjSpec::kFieldRecord);
    m_altSpec = CObjSpec(CObjSpec::kNone, 0, CObjSpec::kFieldRecord);
    m_nBorders = 0;
    std::fill(std::begin(m_crBorders), std::end(m_crBorders), COLORREF{0});
    m_nRow = -1;
    m_nCol = -1;
    m_bTextCached = false;
    m_bSortTextGiven = false;
    m_bUpperCase = true;
    m_bDigitsOnly = false;
    m_bHexDigits = false;
    m_nMaxChars = 0;
    m_pGridView = nullptr;
}

void CKelvardinGridCell::Reset() {
    CGridCell::Reset();
    ResetOwnFields();
}

void CKelvardinGridCell::Lend(CGridCtrl* grid, DWORD state) {
    CInPlaceEditor* editor = GetEditWnd();
    const bool editing = IsEditing();
    Reset();
    if (editing) AttachEditor(editor);
    SetGrid(grid);
    SetState(state);
}

void CKelvardinGridCell::SetSortText(const CString& text) {
    SetText(text);
    m_bTextCached = true;
    m_bSortTextGiven = true;
}

CKelvardinDoc* CKelvardinGridCell::GetDocument() const {
    // A screen's cell has its screen's document; any other the main window's.
    if (const CKelvardinGridView* view = GetGridView()) return view->GetDocument();
    IUndoHost* host = GetApp().GetUndoHost();
    return host ? host->GetActiveDocument() : nullptr;
}

CKelvardinGridView* CKelvardinGridCell::GetGridView() const {
    if (m_pGridView) return m_pGridView;
    const CGridCtrl* grid = GetGrid();
    if (!grid) return nullptr;
    m_pGridView = dynamic_cast<CKelvardinGridView*>(grid->GetParent());
    return m_pGridView;
}

void CKelvardinGridCell::SetObjSpec(const CObjSpec& obj) {
    m_spec = CObjSpec(obj.m_nType, obj.m_nIndex, obj.m_nFieldId);
}

void CKelvardinGridCell::SetAltObjSpec(const CObjSpec& obj) {
    m_altSpec = CObjSpec(obj.m_nType, obj.m_nIndex, obj.m_nFieldId);
}

void CKelvardinGridCell::SetBorderColors(COLORREF left, COLORREF top, COLORREF right,
                                         COLORREF bottom) {
    m_crBorders[kLeft] = left;
    m_crBorders[kTop] = top;
    m_crBorders[kRight] = right;
    m_crBorders[kBottom] = bottom;
}

void CKelvardinGridCell::SetBorderStyle(BOOL sunken) {
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    if (sunken) {
        SetBorderColors(dark, dark, light, light);
    } else {
        SetBorderColors(light, light, dark, dark);
    }
}

void CKelvardinGridCell::SetCoords(int row, int col) {
    m_nRow = row;
    m_nCol = col;
}

CObjSpec CKelvardinGridCell::MappedSpec() const {
    CObjSpec obj(m_spec.m_nType, m_spec.m_nIndex, m_spec.m_nFieldId);
    if (const CKelvardinGridView* view = GetGridView())
        obj.m_nIndex = static_cast<DWORD>(view->MapRowIndex(m_spec.GetIndex()));
    return obj;
}

BOOL CKelvardinGridCell::UpdateText() {
    const CKelvardinDoc* doc = GetDocument();
    if (m_spec.IsEmpty() || !doc) return FALSE;
    const CObjSpec obj = MappedSpec();
    CString text;
    if (m_altSpec.IsEmpty()) {
        text = doc->GetObjectText(obj);
    } else {
        // The field names another record (an alpha, an intercom): its text is shown.
        m_altSpec.m_nIndex = obj.m_nType == CObjSpec::kTrunk ? doc->GetTrunkValue(obj) : 0;
        text = doc->GetObjectText(m_altSpec);
    }
    if (text == CGridCell::GetText()) return FALSE;
    SetText(text);
    return TRUE;
}

const CKelvardinGridCtrl* CKelvardinGridCell::SortingGrid() const {
    const auto* grid = dynamic_cast<const CKelvardinGridCtrl*>(GetGrid());
    return grid && grid->IsSorting() ? grid : nullptr;
}

const CString& CKelvardinGridCell::GetText() const {
    // The text is the document's, read when asked; a header sort reads it once per cell, not
    // once per comparison. Cells are never const objects: only the shown text changes here.
    auto* self = const_cast<CKelvardinGridCell*>(this);
    // Lent for one comparison of a sort, with its text given: nothing else asks it.
    if (m_bSortTextGiven) return CGridCell::GetText();
    if (const CKelvardinGridCtrl* grid = SortingGrid()) {
        if (!m_bTextCached || m_nTextSortPass != grid->GetSortPass()) {
            self->UpdateText();
            m_bTextCached = true;
            m_nTextSortPass = grid->GetSortPass();
        }
    } else {
        m_bTextCached = false;
        self->UpdateText();
    }
    return CGridCell::GetText();
}

COLORREF CKelvardinGridCell::GetBackClr() const {
    const COLORREF own = CGridCell::GetBackClr();
    if (IsFixed()) return own;
    CKelvardinDoc* doc = GetDocument();
    const CAppState& app = GetApp();
    if (IsReadOnly()) {
        return doc && doc->IsFieldProblematic(MappedSpec()) ? app.m_clrProblematicBackground
                                                            : app.m_clrReadOnlyBackground;
    }
    if (!doc) return own;
    const CObjSpec obj = MappedSpec();
    if (doc->IsModified(obj)) return app.m_clrChangedBackground;
    if (doc->IsFieldProblematic(obj)) return app.m_clrProblematicBackground;
    return own;
}

COLORREF CKelvardinGridCell::GetSelectedTextClr() const {
    if (!IsReadOnly() && !IsFixed()) {
        const CKelvardinDoc* doc = GetDocument();
        if (doc && doc->IsModified(MappedSpec())) return GetApp().m_clrChangedHighlightText;
    }
    return GetSysColor(COLOR_HIGHLIGHTTEXT);
}

BOOL CKelvardinGridCell::Draw(CDC* dc, int row, int col, CRect rect, BOOL eraseBkgnd) {
    UpdateText();
    const BOOL drawn = CGridCell::Draw(dc, row, col, rect, eraseBkgnd);
    if (m_nBorders && rect.Width() > 0 && rect.Height() > 0) DrawBorders(dc, rect);
    return drawn;
}

BOOL CKelvardinGridCell::PrintCell(CDC* dc, int row, int col, CRect rect) {
    UpdateText();
    const BOOL printed = CGridCell::PrintCell(dc, row, col, rect);
    if (m_nBorders && rect.Width() > 0 && rect.Height() > 0) DrawBorders(dc, rect);
    return printed;
}

void CKelvardinGridCell::DrawBorders(CDC* dc, const CRect& rect) {
    if (!dc) return;
    // The rectangle holds its last pixel; a line leaves out its end point.
    const auto line = [dc](COLORREF color, CPoint from, CPoint to) {
        const CPen old = dc->SelectPen(CPen{PS_SOLID, 0, color});
        dc->MoveTo(from);
        dc->LineTo(to);
        dc->SelectPen(old);
    };
    if (m_nBorders & kBorderLeft)
        line(m_crBorders[kLeft], {rect.left, rect.top}, {rect.left, rect.bottom + 1});
    if (m_nBorders & kBorderTop)
        line(m_crBorders[kTop], {rect.left, rect.top}, {rect.right + 1, rect.top});
    if (m_nBorders & kBorderRight)
        line(m_crBorders[kRight], {rect.right, rect.top}, {rect.right, rect.bottom + 1});
    if (m_nBorders & kBorderBottom)
        line(m_crBorders[kBottom], {rect.left, rect.bottom}, {rect.right + 1, rect.bottom});
}

BOOL CKelvardinGridCell::Edit(int row, int col, CRect rect, CPoint /*point*/, UINT id, UINT ch) {
    if (IsEditing()) {
        if (CInPlaceEditor* editor = GetEditWnd()) editor->SendChar(ch);
        return TRUE;
    }
    if (m_bDigitsOnly && !StartsAnyEdit(ch) && !IsFilterDigit(ch, m_bHexDigits)) return FALSE;
    CGridCtrl* grid = GetGrid();
    if (!grid || !grid->IsWindow()) return FALSE;

    DWORD style = ES_LEFT;
    const DWORD format = GetFormat();
    if (format & DT_RIGHT) {
        style = ES_RIGHT;
    } else if (format & DT_CENTER) {
        style = ES_CENTER;
    }
    if (m_bUpperCase) style |= ES_UPPERCASE;
    auto editor = std::make_unique<CInPlaceEdit>(grid, rect, style, id, row, col, GetText(), ch);
    editor->SetDigitsOnly(m_bDigitsOnly);
    editor->SetHexDigits(m_bHexDigits);
    if (m_nMaxChars > 0) editor->SetLimitText(static_cast<UINT>(m_nMaxChars));
    if (const LogFont* font = GetFont()) editor->SetFont(*font);
    // The grid holds the editor until the edit ends and its widget goes.
    AttachEditor(grid->SetInPlaceEditor(std::move(editor)));
    return TRUE;
}

BOOL CKelvardinGridCell::ValidateEdit(const CString& text) {
    return SetValueText(text);
}

BOOL CKelvardinGridCell::SetValueText(const CString& text) {
    CKelvardinDoc* doc = GetDocument();
    // The edit goes to the record the cell shows, which the screen's row mapping names.
    const BOOL stored = doc ? doc->SetObjectField(MappedSpec(), text, TRUE, m_altSpec) : FALSE;
    if (UpdateText()) RedrawSelf();
    return stored;
}

void CKelvardinGridCell::SortColumnMayHaveChanged() {
    const CGridCtrl* grid = GetGrid();
    CKelvardinGridView* view = GetGridView();
    if (grid && view && m_nCol >= 0 && m_nCol == grid->GetSortColumn()) view->SortDataChanged();
}

void CKelvardinGridCell::RedrawSelf() {
    if (CGridCtrl* grid = GetGrid(); grid && m_nRow >= 0 && m_nCol >= 0)
        grid->RedrawCell(m_nRow, m_nCol);
}

#include "shell/nav/nav_palette_group.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/profile.h"
#include "platform/ui/sys_info.h"
#include "screens/popups/cool_edit.h"
#include "screens/popups/popup_list.h"
#include "shell/app/kelvardin_app.h"
#include "shell/nav/nav_palette_grid.h"

namespace {

constexpr char16_t kSection[] = u"Windows\\NavBars\\AlphaPalette";
constexpr char16_t kIntercomEntry[] = u"Intercom";
constexpr char16_t kTypeEntry[] = u"FunctionType";
constexpr char16_t kListWidthText[] = u"  WWWWWWWW  ";
constexpr COLORREF kWhite = RGB(255, 255, 255);

int ReadChoice(const char16_t* entry) {
    return static_cast<int>(GetApp().GetProfile().GetProfileInt(kSection, entry, 0xFFFFFFFF));
}

// The leading decimal number of a cell's text; 0 when there is none.
long long LeadingNumber(const CString& text) {
    long long value = 0;
    for (char16_t ch : text.str()) {
        if (ch < u'0' || ch > u'9') break;
        value = value * 10 + (ch - u'0');
    }
    return value;
}

// The "#" column sorts by number.
int CompareNumbers(CGridCellBase* cell1, CGridCellBase* cell2, LPARAM) {
    if (!cell1 || !cell2) return 0;
    const long long a = LeadingNumber(cell1->GetText());
    const long long b = LeadingNumber(cell2->GetText());
    return a < b ? -1 : a > b ? 1 : 0;
}

}  // namespace

CNavPaletteGroup::CNavPaletteGroup(const CKelvardinDoc* doc)
    : m_pDoc(doc),
      m_nStoredIcom(ReadChoice(kIntercomEntry)),
      m_nStoredType(ReadChoice(kTypeEntry)) {}

CNavPaletteGroup::~CNavPaletteGroup() = default;

BOOL CNavPaletteGroup::Create(const CString& title, const CRect& rect, CWnd* parent, UINT id,
                              const CString& section) {
    if (!CNavGroup::Create(title, rect, parent, id, section)) return FALSE;
    if (!CreateField(m_pIcom, u"Icom:", kIcomFieldId) ||
        !CreateField(m_pType, u"Type:", kTypeFieldId))
        return FALSE;

    auto grid = std::make_unique<CNavPaletteGrid>();
    const int top = GetFixedHeight();
    const int height = std::max(rect.Height() - top, 0);
    if (!grid->Create(CRect(0, top, GetWidth(), top + height), this, kGridId,
                      WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL))
        return FALSE;
    grid->SetColumnCount(2);
    grid->SetFixedRowCount(1);
    grid->SetFixedColumnCount(1);
    grid->SetItemText(0, 0, u"#");
    grid->SetItemText(0, 1, u"Alpha");
    grid->SetEditable(FALSE);
    grid->SetSingleRowSelection(TRUE);
    grid->SetRowResize(FALSE);
    grid->SetHeaderSort(TRUE);
    grid->EnableColumnCompare(TRUE);
    grid->SetColumnCompareFunction(0, CompareNumbers);
    grid->SetColumnCompareFunction(1, CompareCellsText);
    grid->EnableDragAndDrop(GetApp().m_bAllowDragDrop);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (BOOL fixedCol : {FALSE, TRUE})
        grid->GetDefaultCell(TRUE, fixedCol)->SetTextClr(kWhite);
    for (auto [fixedRow, fixedCol] : {std::pair{TRUE, FALSE}, {TRUE, TRUE}, {FALSE, TRUE}})
        grid->GetDefaultCell(fixedRow, fixedCol)->SetBackClr(shadow);
    m_pGrid = grid.get();
    AddChild(std::move(grid), TRUE);

    FillIntercoms();
    FillTypes();
    Refill();
    return TRUE;
}

BOOL CNavPaletteGroup::CreateField(CCoolEdit*& field, const CString& label, UINT id) {
    auto edit = std::make_unique<CCoolEdit>();
    const int top = GetFixedHeight();
    if (!edit->Create(CRect(0, top, GetWidth(), top + NavHeaderHeight()), this, id)) return FALSE;
    edit->SetListMode(FALSE);
    edit->SetText(label);
    // A field of the palette is always open; its label only names it.
    edit->SetExpandable(FALSE);
    edit->SetCollapsible(FALSE);
    edit->Expand();
    field = edit.get();
    AddChild(std::move(edit), FALSE);
    return TRUE;
}

void CNavPaletteGroup::OnSetFont(const LogFont& font, BOOL redraw) {
    CNavGroup::OnSetFont(font, redraw);
    // The grid keeps the font in its default cells.
    if (m_pGrid) m_pGrid->SetFont(font, redraw);
    RecalcLayout();
}

void CNavPaletteGroup::FillField(CCoolEdit& field, int stored, int& current, bool intercoms) {
    CPopupList* list = field.GetPopupList();
    if (!m_pDoc || !list) return;
    const BOOL wasFilling = m_bFilling;
    m_bFilling = TRUE;
    if (intercoms) {
        m_pDoc->FillIcomList(*list, FALSE);
    } else {
        m_pDoc->FillTypeList(*list, FALSE);
    }
    if (list->GetItemCount() == 0) {
        field.SetCurSel(-1);
    } else {
        field.SelectByData(static_cast<DWORD>(stored));
    }
    current = static_cast<int>(field.GetCurSelData());
    field.Invalidate();
    m_bFilling = wasFilling;
}

void CNavPaletteGroup::FillIntercoms() {
    if (m_pIcom) FillField(*m_pIcom, m_nStoredIcom, m_nIcom, true);
}

void CNavPaletteGroup::FillTypes() {
    if (m_pType) FillField(*m_pType, m_nStoredType, m_nType, false);
}

void CNavPaletteGroup::StoreChoice(int& stored, int current, const char16_t* entry) {
    if (current == -1) return;
    stored = current;
    GetApp().GetProfile().WriteProfileInt(kSection, entry, static_cast<std::uint32_t>(current));
}

void CNavPaletteGroup::Refill() {
    if (!m_pDoc || !m_pIcom || !m_pType || !m_pGrid) return;
    m_nIcom = static_cast<int>(m_pIcom->GetCurSelData());
    m_nType = static_cast<int>(m_pType->GetCurSelData());
    m_pGrid->DeleteNonFixedRows();
    m_shown.clear();
    const CCVObject* record =
        m_nIcom < 0 ? nullptr
                    : m_pDoc->FindObject(CObjSpec(CObjSpec::kIntercom, static_cast<DWORD>(m_nIcom),
                                                  CObjSpec::kFieldRecord));
    if (m_nType >= 0 && record && m_nIcom < GetApp().GetVisibleIcomCount()) {
        for (const auto& [number, alpha] :
             static_cast<const CIntercom*>(record)->GetAlphas(m_nType))
            AddRow(alpha->GetKey().GetKey());
    }
    RecalcLayout();
    m_pGrid->Refresh();
}

void CNavPaletteGroup::AddRow(DWORD key) {
    const int row = m_pGrid->InsertRow(CString());
    if (row < 0) return;
    m_pGrid->BindCell(row, 0, CObjSpec(CObjSpec::kAlpha, key, 1625));
    m_pGrid->BindCell(row, 1, CObjSpec(CObjSpec::kAlpha, key, CObjSpec::kEntryAlphaLabel));
    for (int col = 0; col < 2; ++col)
        m_pGrid->SetItemState(row, col, m_pGrid->GetItemState(row, col) | CELL_READONLY);
    m_shown.push_back(key);
}

void CNavPaletteGroup::OnDocumentHint(CUpdateHint hint, DWORD key) {
    if (!m_pGrid) return;
    const CAssign assign = CAssign::FromKey(key);
    if (m_nIcom < 0 || m_nType < 0 || assign.m_icom != m_nIcom || assign.m_type != m_nType) return;
    const auto shown = std::find(m_shown.begin(), m_shown.end(), key);
    if (hint == CUpdateHint::kAlphaRemoved && shown != m_shown.end()) {
        m_shown.erase(shown);
        const int row = m_pGrid->FindAlphaRow(key);
        if (row >= 0) m_pGrid->DeleteRow(row);
    } else if (hint == CUpdateHint::kAlphaStored && shown == m_shown.end()) {
        if (m_pDoc && m_pDoc->FindAlpha(key) && assign.m_icom < GetApp().GetVisibleIcomCount())
            AddRow(key);
    }
    RecalcLayout();
    if (m_pGrid->GetRowCount() > 0) m_pGrid->Invalidate();
}

void CNavPaletteGroup::RecalcLayout() {
    CNavGroup::RecalcLayout();
    if (!m_pIcom || !m_pType || !m_pGrid) return;
    const int width = GetWidth();
    std::unique_ptr<CDC> dc = m_pType->GetDC();
    const int listWidth = dc->GetTextExtent(kListWidthText).cx;
    // Both labels as wide as the wider; the buttons above the grid's scroll bar.
    int label = 0;
    for (CCoolEdit* field : {m_pIcom, m_pType}) {
        field->SetAreaWidth(1, -1);
        label = std::max(label, field->GetAreaRect(1).Width());
    }
    const int button = GetSystemMetrics(SM_CXVSCROLL);
    for (CCoolEdit* field : {m_pIcom, m_pType}) {
        field->SetAreaWidth(1, label);
        field->SetAreaWidth(2, std::max(width - label - button, 0));
        field->SetAreaWidth(3, button);
        field->SetAreaWidth(5, listWidth);
    }
    const CCoolEdit& type = *m_pType;
    m_pGrid->SetColumnWidth(0, type.GetAreaRect(1).Width());
    m_pGrid->SetColumnWidth(
        1, type.GetAreaRect(2).Width() + (m_pGrid->IsScrollBarVisible(SB_VERT) ? 0 : button));
    m_pGrid->ResetScrollBars();
}

BOOL CNavPaletteGroup::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    const bool field = id == kIcomFieldId || id == kTypeFieldId;
    if (field && (code == cool_edit::kSelChange || code == cool_edit::kTextChange)) {
        if (m_bFilling) return TRUE;
        // Only the user's choice is stored: a fill may show another while the stored one is
        // not in the list yet (names come 128 a reply). Picking the row that stands in for it
        // changes no selection, only the text, and is a choice all the same.
        const bool icom = id == kIcomFieldId;
        const int current = static_cast<int>((icom ? m_pIcom : m_pType)->GetCurSelData());
        int& stored = icom ? m_nStoredIcom : m_nStoredType;
        if (code == cool_edit::kTextChange && (current == stored || current == -1))
            return CNavGroup::OnCommand(wParam, lParam);
        StoreChoice(stored, current, icom ? kIntercomEntry : kTypeEntry);
        Refill();
        return TRUE;
    }
    return CNavGroup::OnCommand(wParam, lParam);
}

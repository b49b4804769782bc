#include "grid/grid_cell.h"

#include <QGuiApplication>

#include "grid/grid_ctrl.h"
#include "grid/grid_notify.h"
#include "grid/in_place_editor.h"
#include "platform/ui/qt_dc.h"
#include "platform/ui/sys_info.h"

namespace {

constexpr DWORD kDefaultCellFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

// Fonts can only be had and measured once the application's windowing has started.
bool CanMeasureFonts() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

}  // namespace

CInPlaceEditor::~CInPlaceEditor() {
    DetachCell();
}

void CInPlaceEditor::DetachCell() {
    if (CGridCell* cell = m_cell) {
        m_cell = nullptr;
        cell->EditorGone(this);
    }
}

void CInPlaceEditor::NotifyEnd(CWnd* grid, UINT id, int row, int column, const CString& text,
                               UINT lastChar) {
    if (!grid || !grid->IsWindow()) return;
    NMLVDISPINFO info;
    info.hdr.idFrom = id;
    info.hdr.code = LVN_ENDLABELEDIT;
    info.mask = LVIF_TEXT | LVIF_PARAM;
    info.iItem = row;
    info.iSubItem = column;
    info.text = text;
    info.lParam = lastChar;
    LRESULT result = 0;
    grid->OnNotify(id, &info.hdr, &result);
}

void CInPlaceEditor::ControlGone(CWnd* grid) {
    auto* holder = dynamic_cast<CGridCtrl*>(grid);
    if (holder && holder->ReleaseInPlaceEditor(this)) return;
    // No grid holds it: the editor lives exactly as long as its control.
    delete this;
}

CGridCell::~CGridCell() {
    if (m_pEditWnd) m_pEditWnd->CellGone(this);
}

void CGridCell::SetFont(const LogFont* font) {
    if (!font) {
        m_plfFont.reset();
    } else if (m_plfFont) {
        *m_plfFont = *font;
    } else {
        m_plfFont = std::make_unique<LogFont>(*font);
    }
}

DWORD CGridCell::GetFormat() const {
    if (m_nFormat != FORMAT_DEFAULT) return m_nFormat;
    const CGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFormat() : 0;
}

COLORREF CGridCell::GetSelectedTextClr() const {
    return GetSysColor(COLOR_HIGHLIGHTTEXT);
}

COLORREF CGridCell::GetSelectedBackClr() const {
    return GetSysColor(COLOR_HIGHLIGHT);
}

const LogFont* CGridCell::GetFont() const {
    if (m_plfFont) return m_plfFont.get();
    const CGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFont() : nullptr;
}

const LogFont* CGridCell::GetFontObject() const {
    if (m_plfFont) return m_plfFont.get();
    const CGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetFontObject() : nullptr;
}

UINT CGridCell::GetMargin() const {
    if (m_nMargin != MARGIN_DEFAULT) return m_nMargin;
    const CGridDefaultCell* def = GetDefaultCell();
    return def ? def->GetMargin() : 0;
}

void CGridCell::Reset() {
    CGridCellBase::Reset();
    if (m_pEditWnd) m_pEditWnd->CellGone(this);
    m_strText.Empty();
    m_lParam = 0;
    m_nImage = -1;
    m_nFormat = FORMAT_DEFAULT;
    m_crFgClr = CLR_DEFAULT;
    m_crBkClr = CLR_DEFAULT;
    m_plfFont.reset();
    m_nMargin = MARGIN_DEFAULT;
    m_bEditing = FALSE;
    m_pGrid = nullptr;
    m_pEditWnd = nullptr;
}

void CGridCell::AttachEditor(CInPlaceEditor* editor) {
    m_bEditing = TRUE;
    m_pEditWnd = editor;
    if (editor) editor->AttachCell(this);
}

void CGridCell::EditorGone(const CInPlaceEditor* editor) {
    if (m_pEditWnd != editor) return;
    m_pEditWnd = nullptr;
    m_bEditing = FALSE;
}

void CGridCell::EndEdit() {
    if (m_pEditWnd) m_pEditWnd->EndEdit();
}

void CGridCell::OnEndEdit() {
    if (m_pEditWnd) m_pEditWnd->CellGone(this);
    m_pEditWnd = nullptr;
    m_bEditing = FALSE;
}

CGridDefaultCell::CGridDefaultCell() {
    CGridCell::SetFormat(kDefaultCellFormat);
    const LogFont font = CanMeasureFonts() ? GetMessageFont() : LogFont();
    SetFont(&font);
}

void CGridDefaultCell::SetFont(const LogFont* font) {
    if (!font) return;
    CGridCell::SetFont(font);
    if (!CanMeasureFonts()) {
        SetMargin(3);
        m_nWidth = 40;
        m_nHeight = 16;
        return;
    }
    CMeasureDC dc(CRect(), nullptr);
    dc.SelectFont(*font);
    SetMargin(static_cast<UINT>(dc.GetTextExtent(u" ").cx));
    const CSize size = dc.GetTextExtent(u" XXXXXXXXXXXX ");
    m_nWidth = size.cx;
    m_nHeight = size.cy * 3 / 2;
}

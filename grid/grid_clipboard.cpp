// Copy, cut and paste of cell ranges as tab and line-feed separated Unicode text.
#include <utility>

#include "grid/grid_ctrl.h"
#include "grid/grid_text.h"
#include "grid/in_place_editor.h"
#include "res/command_ids.h"

std::unique_ptr<COleDataSource> CGridCtrl::CopyTextFromGrid() {
    const CCellRange selection = GetSelectedCellRange();
    if (!IsValid(selection)) return nullptr;
    if (m_bVirtualMode) SendCacheHintToParent(selection);

    CopyBlock block;
    for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); ++row) {
        if (GetRowHeight(row) == 0) continue;
        auto& fields = block.emplace_back();
        for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) == 0) continue;
            fields.push_back(IsCellSelected(row, col) ? std::optional(GetItemText(row, col))
                                                      : std::nullopt);
        }
    }
    auto source = std::make_unique<COleDataSource>();
    source->SetText(BuildCopyText(block));
    if (m_bVirtualMode) SendCacheHintToParent(CCellRange());
    return source;
}

void CGridCtrl::CutSelectedText() {
    if (!m_bEditable) return;
    const CCellRange selection = GetSelectedCellRange();
    if (IsValid(selection)) ClearCells(selection);
}

void CGridCtrl::OnEditCut() {
    if (!m_bEditable) return;
    const std::unique_ptr<COleDataSource> source = CopyTextFromGrid();
    if (!source) return;
    source->SetClipboard();
    CutSelectedText();
}

void CGridCtrl::OnEditCopy() {
    if (const std::unique_ptr<COleDataSource> source = CopyTextFromGrid()) source->SetClipboard();
}

void CGridCtrl::OnEditPaste() {
    if (!m_bEditable) return;
    const CCellRange selection = GetSelectedCellRange();
    CCellID target = IsValid(selection)         ? selection.GetTopLeft()
                     : IsValid(m_idCurrentCell) ? m_idCurrentCell
                                                : GetTopleftNonFixedCell();
    if (!IsValid(target)) return;
    // An open editor takes the text itself.
    if (CGridCellBase* cell = GetCell(target.row, target.col); cell && cell->IsEditing()) {
        if (CInPlaceEditor* editor = cell->GetEditWnd(); editor && editor->PasteClipboard()) return;
    }
    COleDataObject data = COleDataObject::FromClipboard();
    PasteTextToGrid(target, &data, TRUE);
}

BOOL CGridCtrl::PasteTextToGrid(CCellID target, COleDataObject* data, BOOL selectPasted) {
    if (!IsValid(target) || !m_bEditable ||
        (GetItemState(target.row, target.col) & CELL_READONLY) || !data || !data->IsTextAvailable())
        return FALSE;

    // A move of this grid's own cells is carried out whole or not at all: its cells belong
    // together, as an end's intercom and port do.
    const bool ownMove = IsOwnDragMove(data);
    std::vector<MovedText> refused;
    CCellRange pasted(target.row, target.col, -1, -1);
    PastedText landed;
    const std::vector<std::vector<CString>> lines = SplitPasteText(data->GetText());
    int skippedRows = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        // Hidden rows and columns take no text: it goes to the next one that shows.
        int row = target.row + static_cast<int>(i) + skippedRows;
        while (row < m_nRows && GetRowHeight(row) == 0) {
            ++row;
            ++skippedRows;
        }
        int skippedCols = 0;
        for (size_t j = 0; j < lines[i].size(); ++j) {
            int col = target.col + static_cast<int>(j) + skippedCols;
            while (col < m_nCols && GetColumnWidth(col) == 0) {
                ++col;
                ++skippedCols;
            }
            if (!IsValid(row, col)) continue;
            MovedText text{CCellID(row, col), static_cast<int>(i), static_cast<int>(j), lines[i][j],
                           landed.fields.size()};
            if (ownMove && IsCellEditable(row, col)) {
                const MoveTry tried = TryMovedText(text, landed);
                if (tried == MoveTry::kGivenUp) return RefuseMove();
                if (tried == MoveTry::kRefused) refused.push_back(std::move(text));
            } else if (SetTextAsIfEdited(row, col, text.text)) {
                landed.fields.insert(CellKey(text.line, text.field));
                landed.cells.insert(CellKey(row, col));
            }
            SetItemState(row, col, GetItemState(row, col) & ~CELL_SELECTED);
            pasted.SetMaxRow(std::max(pasted.GetMaxRow(), row));
            pasted.SetMaxCol(std::max(pasted.GetMaxCol(), col));
        }
    }
    if (!LandRefusedTexts(refused, landed)) return RefuseMove();
    const bool wrote = !landed.fields.empty();
    // Another window's move of which part was refused keeps all of its text: this grid cannot
    // tell the source which part to clear.
    if (wrote && data->GetSourceWindow() != this && landed.fields.size() < FieldCount(lines))
        data->KeepAtSource();
    FinishDropMove(data, std::move(landed));
    if (selectPasted) {
        SetSelectedRange(pasted, TRUE, TRUE);
    } else {
        ResetSelectedRange();
        Refresh();
    }
    // Nothing written is nothing pasted: a drop that lands nowhere moves nothing.
    return wrote ? TRUE : FALSE;
}

CGridCtrl::MoveTry CGridCtrl::TryMovedText(const MovedText& text, PastedText& landed) {
    BeginMovedCell();
    const CCellID cell = text.cell;
    const bool stored = SetTextAsIfEdited(cell.row, cell.col, text.text) != FALSE;
    // Texts are moved without their trailing blanks, which a label may show.
    CString shown = stored ? CString() : GetItemText(cell.row, cell.col);
    shown.TrimRight();
    const MoveTry tried =
        EndMovedCell(CellKey(text.line, text.field), stored, !stored && shown == text.text);
    if (tried != MoveTry::kLanded) return tried;
    landed.fields.insert(CellKey(text.line, text.field));
    landed.cells.insert(CellKey(cell.row, cell.col));
    return tried;
}

// A refused cell is tried again once texts have landed after its last try, which may have made
// it good (a fixed assignment does its Fixed flag); one whose try nothing followed is not asked
// again. False when a cell stays refused or the move is given up.
bool CGridCtrl::LandRefusedTexts(std::vector<MovedText>& refused, PastedText& landed) {
    while (!refused.empty()) {
        const size_t before = landed.fields.size();
        std::vector<MovedText> still;
        for (MovedText& text : refused) {
            const size_t now = landed.fields.size();
            if (text.landedAtTry != now) {
                text.landedAtTry = now;
                const MoveTry tried = TryMovedText(text, landed);
                if (tried == MoveTry::kGivenUp) return false;
                if (tried == MoveTry::kLanded) continue;
            }
            still.push_back(std::move(text));
        }
        if (landed.fields.size() == before) return false;
        refused = std::move(still);
    }
    return true;
}

// The cells the move came from keep their text, and what landed goes back.
BOOL CGridCtrl::RefuseMove() {
    m_bMoveDone = true;
    OnMoveRefused();
    ResetSelectedRange();
    Refresh();
    return FALSE;
}

BOOL CGridCtrl::CanCopy() const {
    return GetSelectedCount() > 0;
}

BOOL CGridCtrl::CanCut() const {
    return m_bEditable && GetSelectedCount() > 0;
}

BOOL CGridCtrl::CanPaste() const {
    return IsValid(m_idCurrentCell) && IsCellEditable(m_idCurrentCell) &&
           IsClipboardTextAvailable();
}

BOOL CGridCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (wParam & 0xFFFF) {
        case ID_EDIT_CUT: OnEditCut(); return TRUE;
        case ID_EDIT_COPY: OnEditCopy(); return TRUE;
        case ID_EDIT_PASTE: OnEditPaste(); return TRUE;
        case ID_EDIT_SELECT_ALL: OnEditSelectAll(); return TRUE;
        default: return CWnd::OnCommand(wParam, lParam);
    }
}

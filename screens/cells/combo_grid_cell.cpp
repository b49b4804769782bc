#include "screens/cells/combo_grid_cell.h"

#include <vector>

#include "grid/grid_ctrl.h"
#include "grid/in_place_list.h"
#include "model/kelvardin_doc.h"
#include "model/list_control.h"

namespace {

// The document's choices, collected as the list editor takes them.
class CChoiceList : public IListControl {
public:
    int GetColumnCount() const override { return 0; }
    void AddColumn(const CString&) override {}
    void DeleteAll() override { m_items.clear(); }
    int AddItem(const CString& text, LPARAM) override { return InsertItem(-1, text, 0); }
    int InsertItem(int row, const CString& text, LPARAM) override {
        if (row < 0 || row >= static_cast<int>(m_items.size())) {
            m_items.push_back(text);
            return static_cast<int>(m_items.size()) - 1;
        }
        m_items.insert(m_items.begin() + row, text);
        return row;
    }
    void SetItemText(int, int, const CString&) override {}
    void SetRedraw(BOOL) override {}

    std::vector<CString> m_items;
};

}  // namespace

BOOL CComboGridCell::Edit(int row, int col, CRect rect, CPoint /*point*/, UINT id, UINT ch) {
    if (IsEditing()) {
        if (CInPlaceEditor* editor = GetEditWnd()) editor->SendChar(ch);
        return TRUE;
    }
    CGridCtrl* grid = GetGrid();
    if (!grid || !grid->IsWindow()) return FALSE;
    CChoiceList choices;
    if (const CKelvardinDoc* doc = GetDocument()) doc->FillChoiceCombo(MappedSpec(), choices);
    auto list =
        std::make_unique<CInPlaceList>(grid, rect, id, row, col, choices.m_items, GetText(), ch);
    list->SetExtendedUI(TRUE);
    // The grid holds the editor until the edit ends and its widget goes.
    AttachEditor(grid->SetInPlaceEditor(std::move(list)));
    return TRUE;
}

BOOL CComboGridCell::ValidateEdit(const CString& text) {
    // The grid asks while the list editor is still open only for the list's own choice.
    return IsEditing() ? SetValueText(text) : FALSE;
}

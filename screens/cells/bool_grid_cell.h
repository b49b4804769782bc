#pragma once

#include "screens/cells/kelvardin_grid_cell.h"

// A yes/no field: shown as "Y" or "-", set by a key ("+1yY" yes, "-0nN" no, space or Enter
// toggles) or a double click, never through an editor.
class CBoolGridCell : public CKelvardinGridCell {
public:
    static constexpr char16_t kTrueText[] = u"Y";
    static constexpr char16_t kFalseText[] = u"-";

    CBoolGridCell();

    // Hands "1" or "0" to the document; its answer.
    BOOL SetValue(int value);
    int GetValue() const { return m_bValue; }

    BOOL UpdateText() override;
    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;
    // A pasted or dropped text: empty sets no, one character of either set sets that value.
    BOOL ValidateEdit(const CString& text) override;
    void OnDblClick(CPoint point) override;
    void Reset() override;

private:
    int m_bValue = 0;
};

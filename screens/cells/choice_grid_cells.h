#pragma once

#include "screens/cells/kelvardin_grid_cell.h"

// An intercom's connection type: "Serial" or "Network". Space, '+' and '-' switch to the other;
// 'S' chooses serial, 'N' or 'E' network; a double click switches. No editor opens.
class CConnTypeCell : public CKelvardinGridCell {
public:
    CConnTypeCell();

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;
    // Only the exact text of a choice is taken.
    BOOL ValidateEdit(const CString& text) override;
    void OnDblClick(CPoint point) override;

private:
    BOOL KeyCommand(UINT ch);
};

// An intercom's serial baud rate: "38.4K" or "9600". Space, '+' and '-' switch to the other;
// '3' chooses 38.4K, '9' 9600; a double click switches. No editor opens.
class CBaudRateGridCell : public CKelvardinGridCell {
public:
    CBaudRateGridCell();

    BOOL Edit(int row, int col, CRect rect, CPoint point, UINT id, UINT ch) override;
    BOOL ValidateEdit(const CString& text) override;
    void OnDblClick(CPoint point) override;

private:
    BOOL KeyCommand(UINT ch);
};

#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CGridCell;
class CWnd;

// What a cell and its grid ask of the in-place editor open over the cell, whichever control
// it is. The editor reports the end of the edit to the grid once and closes its control; the
// grid holds the editor and deletes it when that control goes. An editor no grid holds is
// handed over with its control (release it from its unique_ptr) and goes with that control.
// The cell that opened it and the editor forget each other when either goes first.
class CInPlaceEditor {
public:
    virtual ~CInPlaceEditor();

    // A character typed while the editor is open, taken as if typed into it.
    virtual void SendChar(UINT ch) = 0;
    // Pastes the clipboard's text into the editor; FALSE for an editor that takes no text.
    virtual BOOL PasteClipboard() { return FALSE; }
    // Ends the edit as the loss of the focus does.
    virtual void EndEdit() = 0;
    virtual CString GetWindowText() const = 0;

    void AttachCell(CGridCell* cell) { m_cell = cell; }
    void CellGone(const CGridCell* cell) {
        if (m_cell == cell) m_cell = nullptr;
    }

protected:
    // Tells the cell, when it is still there, that its editor is going.
    void DetachCell();
    // Tells the grid that the edit of its cell ended, with the text and the key that ended it.
    static void NotifyEnd(CWnd* grid, UINT id, int row, int column, const CString& text,
                          UINT lastChar);
    // The editor's control is gone: the grid that holds the editor deletes it, else it goes.
    void ControlGone(CWnd* grid);

private:
    CGridCell* m_cell = nullptr;
};

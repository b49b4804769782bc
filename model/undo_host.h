#pragma once

#include <memory>
#include <optional>

#include "model/view_context.h"
#include "platform/base/win_types.h"

class CKelvardinDoc;
class CObjSpec;
class CUndoObject;
class CUndoObList;

// What the edit rules and undo records ask of the main window: its undo history, its
// navigation history, the current grid screen and its message queue.
// The shell's main window implements it; the application state holds it while a main
// window exists.
class IUndoHost {
public:
    virtual ~IUndoHost() = default;

    virtual CKelvardinDoc* GetActiveDocument() = 0;

    // Adds the record, or the list as one step, to the open undo group; without an open
    // group it becomes one step of the undo stack and the redo stack is emptied.
    virtual void AddUndo(std::unique_ptr<CUndoObject> record) = 0;
    virtual void AddUndoList(std::unique_ptr<CUndoObList> list) = 0;
    // true opens a group, closing an open one first; false closes it: a group with records
    // becomes one undo step (emptying the redo stack), an empty one is dropped.
    virtual void BeginUndoGroup(bool open) = 0;
    // The edits of the open group are put back as they were and leave no step; the group
    // stays open, empty.
    virtual void TakeBackUndoGroup() = 0;

    // The live context of the current screen; none while no screen is current.
    virtual std::optional<CContext> GetCurrentContext() const = 0;
    // Makes the context's screen current with its parameters; the context that was current
    // goes onto the Back history.
    virtual void GoToContext(const CContext& context) = 0;
    virtual void EmptyForward() = 0;

    // The row and column of the current grid screen's cell bound to objSpec and fieldSpec;
    // false when no grid screen is current or no cell shows the field.
    virtual bool FindGridCell(const CObjSpec& objSpec, const CObjSpec& fieldSpec, int& row,
                              int& col) = 0;
    // Marks the cell selected; with select it also becomes the only selection (when the
    // grid allows selection) and the focus cell, scrolled into view.
    virtual void SelectGridCell(int row, int col, bool select) = 0;
    virtual void RepaintCurrentGrid() = 0;

    virtual void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void MessageBeep(UINT type) = 0;
};

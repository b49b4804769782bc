#pragma once

#include "model/bounded_stack.h"
#include "model/undo_object.h"

// The main window's undo and redo stacks, for a screen whose edits stop being undoable once
// they have gone to the controller. The main window implements it beside the undo host.
class IUndoStacks {
public:
    virtual CStack<CUndoStep>& GetUndoStack() = 0;
    virtual CStack<CUndoStep>& GetRedoStack() = 0;

protected:
    ~IUndoStacks() = default;
};

// Takes every edit of a controller memory byte out of the stack, out of its lists too; a list
// left empty goes with them.
void RemoveMemoryEdits(CStack<CUndoStep>& stack);

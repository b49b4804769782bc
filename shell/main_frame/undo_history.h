#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "model/bounded_stack.h"
#include "model/undo_object.h"
#include "model/view_context.h"

class CKelvardinDoc;
class CNavHistory;

// The undo and redo stacks of the setup's edits, the group that gathers one edit's records
// into a single step, and the way an undone record's screen is brought back: through the
// navigation history, onto the screen its context names.
class CUndoHistory {
public:
    // The current screen, whether its view shows, and the switch to another: showing screens
    // is left to the history's owner.
    struct CScreens {
        std::function<int()> current;
        std::function<bool()> showing;
        std::function<void(int screen)> show;
    };

    CUndoHistory(CKelvardinDoc& doc, CNavHistory& navigation, CScreens screens);

    // A record, or a list as one step: into the open group, else onto the undo stack, which
    // empties the redo stack.
    void Add(std::unique_ptr<CUndoObject> record);
    void AddList(std::unique_ptr<CUndoObList> list);
    // Opening closes the open group first; a closed group with records becomes one step.
    void BeginGroup(bool open);
    // The open group's edits are put back as they were; it stays open, empty.
    void TakeBackGroup();
    void Clear();

    // Both stacks, held aside while a command that empties them when it succeeds runs, and
    // given back should it fail.
    struct CHeldSteps {
        CStack<CUndoStep> undo;
        CStack<CUndoStep> redo;
    };
    CHeldSteps TakeSteps();
    void PutBack(CHeldSteps&& steps);
    // How often the history was emptied: the setup it belongs to was let go or replaced.
    unsigned GetClearCount() const { return m_clears; }

    // Moves the newest step to the other stack as its inverse and applies it; a step refused
    // for what it would leave (ReplayNewestStep) changes nothing and stays.
    void Undo() { Step(m_undo, m_redo); }
    void Redo() { Step(m_redo, m_undo); }

    CStack<CUndoStep>& UndoStack() { return m_undo; }
    CStack<CUndoStep>& RedoStack() { return m_redo; }
    const CStack<CUndoStep>& UndoStack() const { return m_undo; }
    const CStack<CUndoStep>& RedoStack() const { return m_redo; }

    // The current screen's live context; none while no screen shows.
    std::optional<CContext> GetCurrentContext() const;
    // The context's screen with its parameters; the current context goes onto Back.
    void GoToContext(const CContext& context);

private:
    void Push(std::unique_ptr<CUndoStep> step);
    void Step(CStack<CUndoStep>& from, CStack<CUndoStep>& to);

    CKelvardinDoc& m_doc;
    CNavHistory& m_navigation;
    CScreens m_screens;
    CStack<CUndoStep> m_undo;
    CStack<CUndoStep> m_redo;
    std::unique_ptr<CUndoObList> m_group;
    unsigned m_clears = 0;
};

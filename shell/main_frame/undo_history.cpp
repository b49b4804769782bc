#include "shell/main_frame/undo_history.h"

#include <utility>

#include "model/kelvardin_doc.h"
#include "model/update_hint.h"
#include "shell/nav/nav_history.h"

CUndoHistory::CUndoHistory(CKelvardinDoc& doc, CNavHistory& navigation, CScreens screens)
    : m_doc(doc), m_navigation(navigation), m_screens(std::move(screens)) {}

void CUndoHistory::Push(std::unique_ptr<CUndoStep> step) {
    m_undo.Push(std::move(step));
    m_redo.RemoveAll();
}

void CUndoHistory::Add(std::unique_ptr<CUndoObject> record) {
    if (m_group) {
        m_group->Add(std::move(record));
    } else {
        Push(std::move(record));
    }
}

void CUndoHistory::AddList(std::unique_ptr<CUndoObList> list) {
    if (m_group) {
        m_group->Append(std::move(*list));
    } else {
        Push(std::move(list));
    }
}

void CUndoHistory::BeginGroup(bool open) {
    if (std::unique_ptr<CUndoObList> group = std::move(m_group); group && !group->IsEmpty())
        Push(std::move(group));
    if (open) m_group = std::make_unique<CUndoObList>();
}

void CUndoHistory::TakeBackGroup() {
    if (!m_group) return;
    m_group->Restore(m_doc);
    m_group = std::make_unique<CUndoObList>();
}

void CUndoHistory::Clear() {
    m_undo.RemoveAll();
    m_redo.RemoveAll();
    ++m_clears;
}

CUndoHistory::CHeldSteps CUndoHistory::TakeSteps() {
    return {std::exchange(m_undo, {}), std::exchange(m_redo, {})};
}

void CUndoHistory::PutBack(CHeldSteps&& steps) {
    m_undo = std::move(steps.undo);
    m_redo = std::move(steps.redo);
}

void CUndoHistory::Step(CStack<CUndoStep>& from, CStack<CUndoStep>& to) {
    if (from.IsEmpty()) return;
    ReplayNewestStep(m_doc, from, to);
    m_doc.UpdateAllFrameViews(nullptr, CUpdateHint::kRefresh);
}

std::optional<CContext> CUndoHistory::GetCurrentContext() const {
    if (!m_screens.showing()) return std::nullopt;
    return m_navigation.GetViewContext(m_screens.current());
}

void CUndoHistory::GoToContext(const CContext& context) {
    const int target = m_navigation.GoTo(context, m_navigation.Back(), m_screens.current());
    if (target >= 0) m_screens.show(target);
}

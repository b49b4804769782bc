#pragma once

#include <array>

#include "model/bounded_stack.h"
#include "model/view_context.h"

// Where the user has been: the live navigation context of each of the twelve screens, and the
// Back and Forward history of contexts between them.
class CNavHistory {
public:
    static constexpr int kScreens = 12;

    // Every screen's context starts with its own id and all words 0.
    CNavHistory();

    // The live context of a screen (0-11).
    CContext& GetViewContext(int screen) { return m_live[static_cast<size_t>(screen)]; }
    const CContext& GetViewContext(int screen) const { return m_live[static_cast<size_t>(screen)]; }

    // A copy goes onto Back, unless it equals Back's newest entry; an entry pushed empties
    // Forward.
    void Push(const CContext& context);
    // The context becomes its screen's live context; what was current (the current screen's
    // live context) goes onto the other stack unless it equals the new live context or that
    // stack's newest entry. Answers the screen to show, -1 for a context of no screen.
    int GoTo(const CContext& context, CStack<CContext>& other, int currentScreen);
    // Back and Forward: the newest entry of one stack, with the other as the other stack;
    // -1 when the stack is empty.
    int GoBack(int currentScreen) { return GoFrom(m_back, m_forward, currentScreen); }
    int GoForward(int currentScreen) { return GoFrom(m_forward, m_back, currentScreen); }

    CStack<CContext>& Back() { return m_back; }
    CStack<CContext>& Forward() { return m_forward; }
    const CStack<CContext>& Back() const { return m_back; }
    const CStack<CContext>& Forward() const { return m_forward; }
    void Clear() {
        m_back.RemoveAll();
        m_forward.RemoveAll();
    }

private:
    int GoFrom(CStack<CContext>& from, CStack<CContext>& other, int currentScreen);

    std::array<CContext, kScreens> m_live;
    CStack<CContext> m_back;
    CStack<CContext> m_forward;
};

#include "shell/nav/nav_history.h"

#include <memory>

CNavHistory::CNavHistory() {
    for (int screen = 0; screen < kScreens; ++screen)
        m_live[static_cast<size_t>(screen)].m_nScreen = screen;
}

void CNavHistory::Push(const CContext& context) {
    const CContext* newest = m_back.Peek();
    if (newest && *newest == context) return;
    m_back.Push(std::make_unique<CContext>(context));
    m_forward.RemoveAll();
}

int CNavHistory::GoTo(const CContext& context, CStack<CContext>& other, int currentScreen) {
    const int target = context.m_nScreen;
    if (target < 0 || target >= kScreens) return -1;
    const bool hasCurrent = currentScreen >= 0 && currentScreen < kScreens;
    const CContext previous = hasCurrent ? GetViewContext(currentScreen) : CContext();
    GetViewContext(target) = context;
    const CContext* newest = other.Peek();
    if (hasCurrent && !(previous == GetViewContext(target)) && !(newest && *newest == previous))
        other.Push(std::make_unique<CContext>(previous));
    return target;
}

int CNavHistory::GoFrom(CStack<CContext>& from, CStack<CContext>& other, int currentScreen) {
    const std::unique_ptr<CContext> context = from.Pop();
    return context ? GoTo(*context, other, currentScreen) : -1;
}

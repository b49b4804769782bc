#include "model/app_state.h"

#include <cassert>
#include <cstdlib>

namespace {

std::atomic<CAppState*> g_app{nullptr};

}  // namespace

CAppState::CAppState(IProfile& profile) : m_profile(profile) {
    CAppState* expected = nullptr;
    const bool registered = g_app.compare_exchange_strong(expected, this);
    assert(registered && "only one application state at a time");
    (void)registered;
}

CAppState::~CAppState() {
    CAppState* expected = this;
    g_app.compare_exchange_strong(expected, nullptr);
}

CAppState& GetApp() {
    CAppState* app = g_app.load();
    if (!app) std::abort();  // a program error: nothing can run without the application
    return *app;
}

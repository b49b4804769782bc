#include "platform/ui/ui_environment.h"

#include <algorithm>
#include <cmath>

namespace {

CUiEnvironment*& Registered() {
    static CUiEnvironment* current = nullptr;
    return current;
}

}  // namespace

CUiEnvironment::CUiEnvironment() : m_outer(Registered()) {
    Registered() = this;
}

CUiEnvironment::~CUiEnvironment() {
    Registered() = m_outer;
}

CUiEnvironment* CUiEnvironment::Current() {
    return Registered();
}

UINT ScaledInterval(UINT milliseconds) {
    const CUiEnvironment* env = CUiEnvironment::Current();
    if (!env || env->GetTimeScale() == 1.0) return std::max<UINT>(milliseconds, 1);
    const double scaled = std::round(milliseconds * env->GetTimeScale());
    return static_cast<UINT>(std::clamp(scaled, 1.0, 4.0e9));
}

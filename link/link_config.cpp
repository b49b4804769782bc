#include "link/link_config.h"

#include "model/app_state.h"

CLinkConfig CLinkConfig::From(const CAppState& app) {
    const CCVConfig& c = app.GetConfig();
    CLinkConfig config;
    config.flags = c.m_wFlags;
    config.capabilities = c.m_dwCapabilities;
    config.trunks = c.m_wNumTrunks;
    config.intercoms = c.m_wNumIntercoms;
    config.groups = c.m_wNumGroups;
    config.alphaSize = c.m_nAlphaSize;
    config.secondsMode = app.IsSecondsMode();
    return config;
}

int LabelFormat(int length, const CLinkConfig& config) {
    if (!config.IsExtended()) return 0;
    switch (length) {
        case 4: return 1;
        case 6: return 2;
        case 8: return 3;
        case 16: return config.HasFlag(CCVConfig::kUnicodeSupport) ? 4 : -1;
        default: return 0;
    }
}

#pragma once

#include "shell/app/kelvardin_app.h"

// After a page of the configuration sheet has changed the settings: they are stored, and the
// link's copy of them follows, so that what it asks for and what it sends agree with them.
inline void StoreAppliedSettings(CKelvardinApp& app) {
    app.SaveSettings();
    app.GetDataMgr().OnSettingsChanged();
}

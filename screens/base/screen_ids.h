#pragma once

// The main window's screens, by id.
enum ScreenId : int {
    kScreenTrunkDefs = 0,
    kScreenTrunkSummary = 1,
    kScreenTrunkOptions = 2,
    kScreenTrunkInspect = 3,
    kScreenIcomSetup = 4,
    kScreenIcomStatus = 5,
    kScreenIcomAlphas = 6,
    kScreenIcomGroups = 7,
    kScreenMemory = 8,
    kScreenCommandLine = 9,
    kScreenCVStatus = 10,
    kScreenLog = 11,
    kScreenCount = 12,
};

#pragma once

#include <optional>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// What the console and the request log viewer ask of the application beyond the main window:
// the folders of setup and log files, the day file the request log last went to, and the
// program's save picker. The shell implements it over the application object.
class IScreenServices {
public:
    // The file the user chose, and the folder to keep as the default one when the picker's
    // "Save Directory" box was ticked.
    struct SaveChoice {
        CString path;
        std::optional<CString> newDirectory;
    };

    virtual ~IScreenServices() = default;

    virtual CString GetSetupDirectory() const = 0;
    // Stores the folder as the setup file directory and writes the setting at once.
    virtual void SetSetupDirectory(const CString& folder) = 0;
    // The request log's folder, ending in a separator.
    virtual CString GetLogDirectory() const = 0;
    // The day file the request log last went to in this run; empty before the first line.
    virtual CString GetLastLogFile() const = 0;
    // Runs the program's save picker: its title and filter from the string table, the default
    // extension and the folder it opens in. Nothing when the user cancels.
    virtual std::optional<SaveChoice> PickSaveFile(UINT titleId, UINT filterId,
                                                   const CString& defExt,
                                                   const CString& folder) = 0;
};

#pragma once

#include <optional>

#include "platform/base/cstring.h"

class QWidget;

// What a dialog asks of the file pickers: a title, a filter in the "Text|*.a;*.b|...||" form,
// a default extension and the folder to start in; for opening, the file must exist.
struct CFilePickerRequest {
    bool open = true;
    CString title;
    CString filter;
    CString defaultExt;
    CString folder;
};

// The user's choice: the file, and whether its folder is to become the default one.
struct CFilePickerChoice {
    CString path;
    CString folder;
    bool saveDirectory = false;
};

// Runs the program's open or save picker (with its "Save Directory" box) through the modal
// seam; nothing when the user cancels.
std::optional<CFilePickerChoice> PickFile(QWidget* parent, const CFilePickerRequest& request);

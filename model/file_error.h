#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"
#include "platform/io/file.h"

// The text of a file error's cause.
CString GetFileErrorText(const CFileException& error);
// Shows the message of a string id with %1 the file name, then on a new line the cause, with
// the stop icon.
void ReportFileError(UINT id, const CString& fileName, const CFileException& error);
// Shows "Not enough memory to complete operation!" with the stop icon.
void ReportOutOfMemory();

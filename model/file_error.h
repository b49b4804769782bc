#pragma once

#include <new>

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

// Results of the setup file reader and writer and of the file commands around them.
enum FileResult : int {
    kFileDone = 1,      // read or written
    kFileFailed = 2,    // a file error, reported to the user
    kFileNoMemory = 3,  // out of memory, reported to the user
    // read, but the file ends inside a section or lacks a section that it lists: the records
    // after the cut were not read
    kFileIncomplete = 4,
    kFileNotSetup = 5,  // the file is not a setup file
};

// Runs an operation on a file and returns its result. A file error is reported with the
// message of the id and gives kFileFailed; a lack of memory is reported and gives
// kFileNoMemory. Other exceptions pass.
template <class Operation>
int RunFileOperation(UINT id, const CString& fileName, Operation operation) {
    try {
        return operation();
    } catch (const CFileException& error) {
        ReportFileError(id, fileName, error);
        return kFileFailed;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return kFileNoMemory;
    }
}

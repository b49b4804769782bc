#pragma once

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CKelvardinDoc;
class CPartialSaveSelection;

// The file handling around the document's setup-file reader and writer: opening, the backup
// before a save and every file error message. Results are FileResult values
// (model/file_error.h) where they are not a plain yes or no.

// The path with everything from the last dot of its file name replaced by ".BAK"; a name
// without a dot, or whose only dot is its first character, gets ".BAK" appended.
CString BackupPathOf(const CString& path);

// Writes the document to the path, or to the file that a symbolic link there names: with
// CreateBAKFiles that file becomes its backup first. The new content goes into a file beside the
// target that takes its place only when it is complete. A failed save puts the file and the backup
// of the save before back and leaves the document's changes and partial flag as they were. True
// when the file was written; the two options go to the writer.
BOOL SaveSetupFile(CKelvardinDoc& doc, const CString& path, BOOL clearAfter, BOOL partial);

// Reads a setup file into the document: kind 0 replaces the setup, any other kind reads the
// file over it and marks what it read as changed. The description is the file's pre-read.
// Every result but kFileDone has been told to the user; kFileIncomplete (the file ends inside
// a section) has read what was whole.
int LoadSetupFile(CKelvardinDoc& doc, const CString& path, int kind,
                  const CPartialSaveSelection& description);

// Describes what a setup file holds: kFileDone, kFileNotSetup when it is none, kFileFailed
// when it cannot be read and kFileNoMemory, each but the first told to the user.
int ReadSetupFileContents(const CString& path, CPartialSaveSelection& selection);

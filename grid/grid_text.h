#pragma once

#include <optional>
#include <vector>

#include "platform/base/cstring.h"

// The text of copied cells: one line per row, fields separated by tabs. Each row holds its
// shown columns in order; a selected cell gives its text (a space for an empty one), an
// unselected cell an empty field. Rows end in a line feed, all but the last.
using CopyBlock = std::vector<std::vector<std::optional<CString>>>;
CString BuildCopyText(const CopyBlock& block);

// Pasted text cut into lines at line feeds and each line into fields at tabs, up to its first
// NUL; each field loses its trailing white space (a carriage return with it). An empty line has
// no fields.
std::vector<std::vector<CString>> SplitPasteText(const CString& text);
// How many fields the lines of a split text hold.
size_t FieldCount(const std::vector<std::vector<CString>>& lines);

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/cstring.h"

class CFile;

// The rules of the command line console that need no window: the command Auto NXT sends, the
// pages a printed history takes and the bytes of a saved history.
namespace cmd_line_rules {

// A command shorter than this is not sent.
constexpr int kMinCommandLength = 2;

// Whether a reply line asks for the next block: it ends in "&".
bool WantsNext(const CString& reply);
// The command that fetches the next block after the last command sent: "NXT", after the
// last command's text up to and including its first ":" when that lies at positions 1 to the
// alpha size (counted from 0).
CString NextBlockCommand(const std::string& lastCommand, int alphaSize);

// The first line of each printed page. Lines go on a page while they fit in its height; a
// line taller than a page has a page of its own and is cut to it.
std::vector<int> PageStarts(const std::vector<int>& lineHeights, int pageHeight);

// Writes every line as UTF-8 followed by CR LF, through a buffer of kWriteBuffer bytes.
constexpr std::size_t kWriteBuffer = 4096;
void WriteLines(CFile& file, int count, const std::function<CString(int)>& line);

}  // namespace cmd_line_rules

#pragma once

#include <string>
#include <vector>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class IListControl;

// The command line protocol's history: the commands sent and the controller's answers, each
// line with its colour, and the last command sent as the 8-bit text that went out.
class CClpHistory {
public:
    void Append(const CString& line, COLORREF colour);
    int GetCount() const { return static_cast<int>(m_lines.size()); }
    // A copy of line n; empty for a line that does not exist.
    CString GetLine(int n) const;
    COLORREF GetColour(int n) const;

    const std::string& GetLastCommand() const { return m_lastCommand; }
    void SetLastCommand(std::string command) { m_lastCommand = std::move(command); }

    // Empties the list and shows the history in it, before one empty line in the command
    // colour that stays last. Nothing without a list.
    void Fill(IListControl* list, COLORREF commandColour) const;
    // Empties the history; a given list is left with the one empty line.
    void Clear(IListControl* list, COLORREF commandColour);

private:
    std::vector<CString> m_lines;
    std::vector<COLORREF> m_colours;
    std::string m_lastCommand;
};

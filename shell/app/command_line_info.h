#pragma once

#include <map>
#include <vector>

#include "platform/base/cstring.h"

// The command line: its switches (a word after "-", or after "/" when the word holds no
// further "/", so that an absolute path stays a file name), each with the value "TRUE" or the
// plain parameter that follows it, and the file to open.
class CCommandLineInfoEx {
public:
    // The program's arguments without the program itself.
    void ParseCommandLine(const std::vector<CString>& arguments);
    void ParseParam(const CString& param, bool isSwitch, bool isLast);

    // Whether the switch was given (exact, case-sensitive), and its value.
    bool HasOption(const CString& name) const { return m_options.count(name) != 0; }
    CString GetOption(const CString& name) const;

    // The framework's own meaning of the command line.
    bool m_bShowSplash = true;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    CString m_strFileName;

private:
    std::map<CString, CString> m_options;
    CString m_lastSwitch;
};

#include "shell/app/command_line_info.h"

namespace {

bool IsSwitch(const CString& argument) {
    if (argument.GetLength() < 2) return false;
    if (argument[0] == u'-') return true;
    return argument[0] == u'/' && argument.Find(u'/', 1) < 0;
}

}  // namespace

void CCommandLineInfoEx::ParseCommandLine(const std::vector<CString>& arguments) {
    *this = CCommandLineInfoEx();
    for (size_t i = 0; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        const bool isSwitch = IsSwitch(argument);
        ParseParam(isSwitch ? argument.Mid(1) : argument, isSwitch, i + 1 == arguments.size());
    }
}

void CCommandLineInfoEx::ParseParam(const CString& param, bool isSwitch, bool /*isLast*/) {
    if (isSwitch) {
        m_options[param] = u"TRUE";
        m_lastSwitch = param;
    } else if (!m_lastSwitch.IsEmpty()) {
        m_options[m_lastSwitch] = param;
        m_lastSwitch.Empty();
    }
    // What the framework makes of the same parameter.
    if (!isSwitch) {
        if (m_strFileName.IsEmpty()) m_strFileName = param;
    } else if (param.CompareNoCase(u"Embedding") == 0) {
        m_bRunEmbedded = true;
        m_bShowSplash = false;
    } else if (param.CompareNoCase(u"Automation") == 0) {
        m_bRunAutomated = true;
        m_bShowSplash = false;
    }
}

CString CCommandLineInfoEx::GetOption(const CString& name) const {
    const auto it = m_options.find(name);
    return it != m_options.end() ? it->second : CString();
}

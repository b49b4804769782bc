#pragma once

#include <map>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

// The version information of the running program (product name, version and company), set
// once in the build.
class CModuleVersionInfo {
public:
    // Takes the program's version block and its translation; 0 when there is none.
    BOOL Load();
    // A value of the block ("ProductName", "ProductVersion", "CompanyName", "LegalCopyright");
    // empty without a block or for a name it does not hold.
    CString GetValue(const CString& name) const;
    CString GetProductName() const { return GetValue(u"ProductName"); }
    CString GetProductVersion() const { return GetValue(u"ProductVersion"); }
    // The language in the high 16 bits and the code page in the low 16 bits; 0 without a block.
    DWORD GetTranslation() const { return m_dwTranslation; }

private:
    static CString ValuePath(DWORD translation, const CString& name);

    std::map<CString, CString> m_block;  // by value path
    DWORD m_dwTranslation = 0;
};

#include "model/module_version_info.h"

#include "res/version_info.h"

namespace {

// US English, Unicode.
constexpr DWORD kTranslation = 0x040904B0;

}  // namespace

BOOL CModuleVersionInfo::Load() {
    m_dwTranslation = kTranslation;
    m_block = {
        {ValuePath(kTranslation, u"CompanyName"), KELVARDIN_COMPANY_NAME},
        {ValuePath(kTranslation, u"LegalCopyright"), KELVARDIN_LEGAL_COPYRIGHT},
        {ValuePath(kTranslation, u"ProductName"), KELVARDIN_PRODUCT_NAME},
        {ValuePath(kTranslation, u"ProductVersion"), KELVARDIN_PRODUCT_VERSION},
    };
    return TRUE;
}

CString CModuleVersionInfo::GetValue(const CString& name) const {
    const auto it = m_block.find(ValuePath(m_dwTranslation, name));
    return it != m_block.end() ? it->second : CString();
}

CString CModuleVersionInfo::ValuePath(DWORD translation, const CString& name) {
    return CString::Formatted(u"\\StringFileInfo\\%08lx\\%s", translation, name);
}

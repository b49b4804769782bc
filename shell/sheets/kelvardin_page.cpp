#include "shell/sheets/kelvardin_page.h"

CKelvardinPage::CKelvardinPage(UINT templateId) : m_templateId(templateId) {
    setObjectName(QStringLiteral("dlg%1").arg(templateId));
}

void CKelvardinPage::Create() {
    if (m_created) return;
    m_created = true;
    OnInitDialog();
}

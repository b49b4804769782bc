#include "shell/kelvardin_page.h"

#include "shell/kelvardin_sheet.h"

CKelvardinPage::CKelvardinPage(UINT templateId) : m_templateId(templateId) {
    setObjectName(QStringLiteral("dlg%1").arg(templateId));
}

// A page that goes while its sheet lives (the pages are members of the sheet deriving from
// it, so they go first) must not make another page current on the way out.
CKelvardinPage::~CKelvardinPage() {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* sheet = dynamic_cast<CKelvardinSheet*>(w)) {
            sheet->StopFollowingTabs();
            break;
        }
    }
}

void CKelvardinPage::Create() {
    if (m_created) return;
    m_created = true;
    OnInitDialog();
}

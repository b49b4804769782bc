#include "shell/partial_save_sheet.h"

#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "shell/kelvardin_app.h"

namespace {

int g_lastPage = 0;

}  // namespace

CPartialSaveSheet::CPartialSaveSheet(CKelvardinDoc* doc, QWidget* parent)
    : CKelvardinSheet(kCaptionId, parent, g_lastPage),
      m_doc(doc),
      m_trunks(doc),
      m_intercoms(doc),
      m_groups(doc),
      m_options(doc),
      m_alphas(doc) {
    AddPage(&m_trunks);
    AddPage(&m_intercoms);
    AddPage(&m_groups);
    AddPage(&m_options);
    if (GetKelvardinApp().m_bAllowAlphasInPartialSave) AddPage(&m_alphas);
}

CPartialSaveSheet::~CPartialSaveSheet() = default;

int CPartialSaveSheet::GetLastPage() {
    return g_lastPage;
}

void CPartialSaveSheet::SetLastPage(int page) {
    g_lastPage = page;
}

void CPartialSaveSheet::OnInitDialog() {
    if (!m_doc) return;
    m_doc->SetFlagOnAll(CCVObject::kPartialChoice, FALSE);
    m_doc->SetFlagOnFlagged(CCVObject::kInFile | CCVObject::kChanged, CCVObject::kPartialChoice);
    if (!GetApp().m_bIncludeAlphasInSetupFiles)
        m_doc->SetFlagOnType(CObjSpec::kAlpha, CCVObject::kPartialChoice, FALSE);
}

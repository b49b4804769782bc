#include "shell/sheets/partial_save_sheet.h"

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "res/string_ids.h"
#include "shell/app/kelvardin_app.h"
#include "shell/controls/doc_hint_tap.h"

namespace {

int g_lastPage = 0;

}  // namespace

CPartialSaveSheet::CPartialSaveSheet(CKelvardinDoc* doc, QWidget* parent)
    : CKelvardinSheet(kIdsPartialSaveCaption, parent, g_lastPage),
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

CPartialSaveSheet::~CPartialSaveSheet() {
    m_tap.reset();
}

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

    CKelvardinApp& app = GetKelvardinApp();
    if (app.GetMode() != CAppState::kModeOnline) return;
    // Groups are read only by their screen: the names may never have been asked for.
    m_tap =
        std::make_unique<CDocHintTap>(*m_doc, [this](CUpdateHint hint) { OnDocumentHint(hint); });
    app.GetDataMgr().RefreshIcomGroups();
    app.GetDataMgr().RefreshIcomNames();
}

void CPartialSaveSheet::OnDocumentHint(CUpdateHint hint) {
    if (hint.IsReply(kCmdGroups) || hint.IsReply(kCmdGroupsEx)) m_groups.RefreshTexts();
    if (hint.IsReply(kCmdNames)) {
        // Every page that names intercoms shows the names that came.
        m_trunks.RefreshTexts();
        m_intercoms.RefreshTexts();
        m_alphas.RefreshTexts();
    }
}

void CPartialSaveSheet::done(int result) {
    m_tap.reset();
    CKelvardinSheet::done(result);
}

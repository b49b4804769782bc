#include "shell/sheets/partial_save_sheet.h"

#include <initializer_list>
#include <utility>

#include "link/command_codes.h"
#include "link/cv_data_mgr.h"
#include "model/kelvardin_doc.h"
#include "model/records.h"
#include "platform/ui/ui_environment.h"
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
    m_refreshTimer.setSingleShot(true);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CPartialSaveSheet::RefreshPages);
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
    // Alphas that no page shows cannot have been chosen.
    m_doc->ClearHiddenAlphaFlags(CCVObject::kPartialChoice);

    // Opened while connecting, the sheet sees the setup arrive.
    m_tap =
        std::make_unique<CDocHintTap>(*m_doc, [this](CUpdateHint hint) { OnDocumentHint(hint); });
    AskForNames();
}

void CPartialSaveSheet::AskForNames() {
    CKelvardinApp& app = GetKelvardinApp();
    if (m_namesAsked || app.GetMode() != CAppState::kModeOnline || !app.GetDataMgr().IsOnline())
        return;
    m_namesAsked = true;
    // Groups are read only by their screen: the names may never have been asked for.
    app.GetDataMgr().RefreshIcomGroups();
    app.GetDataMgr().RefreshIcomNames();
}

void CPartialSaveSheet::OnDocumentHint(CUpdateHint hint) {
    // A new setup has default groups until they are asked for again.
    if (hint == CUpdateHint::kRebuild) m_namesAsked = false;
    AskForNames();
    if (hint == CUpdateHint::kRebuild)
        m_pending.setup = true;
    else if (hint.IsReply(kCmdNames))
        m_pending.names = true;
    else if (hint.IsReply(kCmdGroups) || hint.IsReply(kCmdGroupsEx))
        m_pending.groups = true;
    else if (hint == CUpdateHint::kTrunkDefs)
        m_pending.trunkEnds = true;
    else
        return;
    if (m_pending.setup) {
        m_refreshTimer.start(0);
    } else if (!m_refreshTimer.isActive()) {
        m_refreshTimer.start(static_cast<int>(ScaledInterval(kRefreshMs)));
    }
}

void CPartialSaveSheet::RefreshPages() {
    const CPendingRefresh pending = std::exchange(m_pending, {});
    if (pending.setup) {
        for (CPSListDragPage* page : std::initializer_list<CPSListDragPage*>{
                 &m_trunks, &m_intercoms, &m_groups, &m_options})
            page->Refill();
        m_alphas.Refill();
        return;
    }
    if (pending.names || pending.trunkEnds) m_trunks.RefreshTexts();
    if (pending.names) m_intercoms.RefreshTexts();
    if (pending.groups) m_groups.RefreshTexts();
    if (pending.names) m_alphas.RefreshTexts();
}

void CPartialSaveSheet::done(int result) {
    m_tap.reset();
    m_refreshTimer.stop();
    CKelvardinSheet::done(result);
}

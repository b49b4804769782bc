#pragma once

#include <QTimer>

#include <memory>

#include "model/update_hint.h"
#include "shell/sheets/kelvardin_sheet.h"
#include "shell/sheets/ps_page_alphas.h"
#include "shell/sheets/ps_page_trunks.h"
#include "shell/sheets/ps_pages.h"

class CDocHintTap;
class CKelvardinDoc;

// "Partial Save": the choice of the objects a partial save writes, one page per kind. The
// sheet writes nothing: each page marks its objects chosen (0x8000) as the user moves them,
// and the save that follows OK writes the chosen ones. It opens on the page shown last.
class CPartialSaveSheet : public CKelvardinSheet {
public:
    // The pages follow names and trunk ends that come from the controller at most this often,
    // however many replies bring them; a new setup they follow at once.
    static constexpr UINT kRefreshMs = 100;

    // The alphas page is there only when the settings allow alphas in a partial save.
    explicit CPartialSaveSheet(CKelvardinDoc* doc, QWidget* parent = nullptr);
    ~CPartialSaveSheet() override;

    // The page shown last, for as long as the program runs.
    static int GetLastPage();
    static void SetLastPage(int page);

    void done(int result) override;

protected:
    // Starts every object chosen that is in the file last read or written, or has changes;
    // alphas only when setup files include them. ONLINE it asks the controller for the group
    // and intercom names it lists; in any mode the pages follow what the controller brings.
    void OnInitDialog() override;

private:
    // What the hints heard since the pages last followed the document ask of them.
    struct CPendingRefresh {
        bool setup = false;  // the setup was reset: every page lists its objects again
        bool names = false;
        bool groups = false;
        bool trunkEnds = false;
    };

    // Once ONLINE, and again for a new setup: the sheet may have been opened while connecting.
    void AskForNames();
    void OnDocumentHint(CUpdateHint hint);
    // An upload brings its replies in many hints: the pages follow what they changed together.
    void RefreshPages();

    CPendingRefresh m_pending;
    QTimer m_refreshTimer;
    bool m_namesAsked = false;

    CKelvardinDoc* const m_doc;
    std::unique_ptr<CDocHintTap> m_tap;
    CPSPageTrunks m_trunks;
    CPSPageIntercoms m_intercoms;
    CPSPageGroups m_groups;
    CPSPageOptions m_options;
    CPSPageAlphas m_alphas;
};

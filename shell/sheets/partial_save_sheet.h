#pragma once

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
    // and intercom names it lists, and shows them as they come.
    void OnInitDialog() override;

private:
    void OnDocumentHint(CUpdateHint hint);

    CKelvardinDoc* const m_doc;
    std::unique_ptr<CDocHintTap> m_tap;
    CPSPageTrunks m_trunks;
    CPSPageIntercoms m_intercoms;
    CPSPageGroups m_groups;
    CPSPageOptions m_options;
    CPSPageAlphas m_alphas;
};

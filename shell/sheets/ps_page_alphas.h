#pragma once

#include "shell/sheets/ps_tree_drag_page.h"

class CKelvardinDoc;

// The alphas of the partial save, as a tree: "Alphas", under it each intercom with alphas,
// under each intercom its resource types with alphas. Alphas are chosen by intercom and type,
// in the alpha flag words of the intercoms.
class CPSPageAlphas : public CPSTreeDragPage {
public:
    static constexpr UINT kTemplateId = 150;
    // Item data: the intercom in bits 24-31, the alpha list index in bits 16-23 and, for a
    // type item, its number of alphas in bits 0-15; 0xFF stands for "every".
    static constexpr DWORD kAllIntercoms = 0xFF;
    static constexpr DWORD kAllTypes = 0xFF;
    static constexpr DWORD ItemData(DWORD icom, DWORD index, DWORD count = 0) {
        return (icom << 24) | (index << 16) | count;
    }

    // Without a document the trees stay empty and moves mark nothing.
    explicit CPSPageAlphas(CKelvardinDoc* doc);

    void SetChosen(DWORD data, bool chosen) override;
    // The intercoms of both trees show their names as they are now, in their order; a tree is
    // sorted again only when a name in it changed.
    void RefreshTexts();
    // Builds both trees again after the setup's size or alphas changed: intercoms and types
    // still there stay where they were.
    void Refill();

protected:
    void FillTrees() override;

private:
    CString IcomText(int icom) const;

    CKelvardinDoc* const m_doc;
};

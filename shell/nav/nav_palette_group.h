#pragma once

#include <vector>

#include "model/update_hint.h"
#include "shell/nav/nav_group.h"

class CCoolEdit;
class CKelvardinDoc;
class CNavPaletteGrid;

// The alpha palette: an "Icom:" and a "Type:" field over a grid of the alphas of that intercom
// and resource type, whose rows can be dragged into the screens' grids. The choices are kept
// in the group's section and follow the document's hints.
class CNavPaletteGroup : public CNavGroup {
public:
    static constexpr UINT kIcomFieldId = 1004;
    static constexpr UINT kTypeFieldId = 1005;
    static constexpr UINT kGridId = 32819;

    // Reads the stored choices; the document (or none) outlives the group.
    explicit CNavPaletteGroup(const CKelvardinDoc* doc);
    ~CNavPaletteGroup() override;

    // The group, and under its header the two fields and the grid, filled from the document.
    BOOL Create(const CString& title, const CRect& rect, CWnd* parent, UINT id,
                const CString& section) override;

    // Refill a field from the document and select the stored choice again (the first item
    // when it is gone); the current choice is then the selected item's data, -1 for none.
    void FillIntercoms();
    void FillTypes();
    // Shows the alphas of the intercom and type the fields show. The choices are stored only
    // when the user changes a field.
    void Refill();
    // An alpha of the shown intercom and type was added (0x40000) or removed (0x50000).
    void OnDocumentHint(CUpdateHint hint, DWORD key);

    void RecalcLayout() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSetFont(const LogFont& font, BOOL redraw) override;

    CCoolEdit* GetIcomField() const { return m_pIcom; }
    CCoolEdit* GetTypeField() const { return m_pType; }
    CNavPaletteGrid* GetGrid() const { return m_pGrid; }
    int GetCurrentIntercom() const { return m_nIcom; }
    int GetCurrentType() const { return m_nType; }
    // The keys of the alphas shown, in the order their rows were added.
    const std::vector<DWORD>& GetShownAlphas() const { return m_shown; }

private:
    BOOL CreateField(CCoolEdit*& field, const CString& label, UINT id);
    void FillField(CCoolEdit& field, int stored, int& current, bool intercoms);
    void AddRow(DWORD key);
    void StoreChoice(int& stored, int current, const char16_t* entry);

    const CKelvardinDoc* const m_pDoc;
    CCoolEdit* m_pIcom = nullptr;  // children of the group
    CCoolEdit* m_pType = nullptr;
    CNavPaletteGrid* m_pGrid = nullptr;
    int m_nStoredIcom = -1;
    int m_nStoredType = -1;
    int m_nIcom = -1;
    int m_nType = -1;
    std::vector<DWORD> m_shown;
    BOOL m_bFilling = FALSE;
};

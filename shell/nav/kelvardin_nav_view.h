#pragma once

#include <memory>
#include <vector>

#include "platform/ui/image_list.h"
#include "platform/ui/view.h"

class CKelvardinDoc;
class CNavGroup;
class CNavList;
class CNavPaletteGroup;
class IPaneFrame;
class QWidget;

// The navigation bar at the left of the main window: the groups "Trunk", "Intercom",
// "Diagnostics" and, when the setting allows it, the alpha palette, stacked one under the
// other. The groups' heights, the lists' icon sizes and the bar's width are kept in the
// profile.
class CKelvardinNavView : public CView {
public:
    static constexpr UINT kTrunkGroupId = 32812;
    static constexpr UINT kIntercomGroupId = 32813;
    static constexpr UINT kDiagnosticsGroupId = 32814;
    static constexpr UINT kPaletteGroupId = 32815;
    static constexpr UINT kTrunkListId = 32816;
    static constexpr UINT kIntercomListId = 32817;
    static constexpr UINT kDiagnosticsListId = 32818;
    static constexpr int kMinStoredWidth = 160;

    CKelvardinNavView();
    ~CKelvardinNavView() override;

    // Creates the bar with its groups; the groups' commands go to the frame. The palette shows
    // the document's alphas from the start, before the frame is the application's.
    BOOL Create(IPaneFrame* frame, const CKelvardinDoc* doc, const CRect& rect, QWidget* parent,
                UINT id);

    // Appends a group, linking it after the last one.
    void AddGroup(std::unique_ptr<CNavGroup> group);
    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    CNavGroup* GetGroup(int index) const;
    CNavPaletteGroup* GetPalette() const { return m_pPalette; }
    CNavList* GetDiagnosticsList() const { return m_pDiagnostics; }

    // Set by the application once the main window is up; before that resizing lays nothing out.
    void SetLayoutReady(BOOL ready) { m_bLayoutReady = ready; }
    // Fits the groups into the bar's height.
    void RecalcLayout();
    // Fills the Diagnostics list again by the restriction settings.
    void RebuildDiagnostics();

    // 0x20000 and the control id of the group under the client point; 0 over none.
    DWORD OnHelpHitTest(CPoint point) const;

    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnDestroy() override;

private:
    void SaveWidth();

    IPaneFrame* m_pFrame = nullptr;
    LogFont m_font;
    CImageList m_small;
    CImageList m_large;
    std::vector<std::unique_ptr<CNavGroup>> m_groups;
    CNavPaletteGroup* m_pPalette = nullptr;
    CNavList* m_pDiagnostics = nullptr;
    BOOL m_bLayoutReady = FALSE;
    int m_nWidth = 0;
    bool m_widthSaved = false;
};

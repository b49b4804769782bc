#pragma once

#include <functional>
#include <memory>

#include "platform/base/cstring.h"
#include "platform/ui/view.h"
#include "screens/base/screen_ids.h"
#include "screens/popups/cool_edit.h"

class CKelvardinDoc;
class IListControl;
class IPaneFrame;
class QWidget;

// The selector pane above the screens: one drop-down input control that fills the pane and
// shows the screen's caption. Screens with nothing to choose show it as it is; the selector
// panes derived from it fill the control with their choices and follow it.
class CKelvardinFilterView : public CView {
public:
    static constexpr UINT kEditId = 1004;

    CKelvardinFilterView();
    ~CKelvardinFilterView() override;

    // Creates the pane and its input control over the whole pane, in the frame's bold font.
    virtual BOOL Create(IPaneFrame* frame, const CRect& rect, QWidget* parent, UINT id);

    CCoolEdit& GetEdit() { return m_edit; }
    const CCoolEdit& GetEdit() const { return m_edit; }

    // The pane's text for printed page headers: the collapsed label, or the expanded label
    // and the value, with a space between when both are there.
    virtual CString& GetFilterText(CString& text) const;

    // Refills the control's list and selects the item with the data again (the first when
    // none has it), under the updating guard so that the change of selection this makes is
    // not taken for the user's.
    void RefillList(const std::function<void(IListControl&)>& fill, LPARAM data);
    // Refills the control with the all-intercoms entry and the named intercoms and selects the
    // intercom (negative: all). The intercom chosen gets an entry named by its number when it
    // has no name, so that the pane names what its screen shows.
    void RefillIcomList(const CKelvardinDoc& doc, int icom);
    BOOL IsUpdating() const { return m_bUpdating; }

    // The help id of the screen under the pane, with bit 29 set.
    DWORD GetActiveHelpID() const;
    // The help id of the pane's child under the client point: the active help id times
    // 0x10000 plus the child's control id, in 32 bits; 0 over no child.
    DWORD OnHelpHitTest(CPoint point) const;
    // Context help for the screen under the pane; answers 1.
    LRESULT OnCommandHelp();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnDraw(CDC& dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(CWnd* oldWnd) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

    // The screen the pane serves, set by the main window with the caption; kScreenCount
    // while it serves none.
    int m_nViewID = kScreenCount;

protected:
    IPaneFrame* GetFrame() const { return m_pFrame; }

    // Set by derived panes while they bring the control up to date.
    BOOL m_bUpdating = FALSE;
    CCoolEdit m_edit;
    LogFont m_font;

private:
    IPaneFrame* m_pFrame = nullptr;
};

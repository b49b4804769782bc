#pragma once

#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_ids.h"

// The trunk inspection: one trunk as the controller sees it, in a fixed form: its state, the
// intercom, alpha and port at each end, the trunk it is cascaded with and that trunk's ends,
// and the requests waiting at either side with their talk and listen marks. The trunk is word
// 0 of the screen's context. While ONLINE and current it asks for the trunk's inspection and
// state every second; the cascade rows show only for a cascaded trunk and the request rows
// follow the longer of the two request tables.
class CTrunkInspectView : public CKelvardinGridView {
public:
    static constexpr int kScreen = kScreenTrunkInspect;

    explicit CTrunkInspectView(IScreenHost& host);
    ~CTrunkInspectView() override;

    // The trunk shown; -1 for none.
    int GetInspectedTrunk() const;
    BOOL IsCascadeShown() const { return m_bCascadeShown; }

    // The form's cells stand for the inspected trunk with a negative index.
    int MapRowIndex(int index) const override;
    void SetupGrid() override;
    DWORD GetHelpID() override;
    void UpdateGrid() override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;
    // By region of the form: the help id times 0x10000 plus the region's id.
    DWORD OnHelpHitTest(CPoint point) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    void OnTimer(UINT_PTR id) override;

private:
    void LayOutForm();
    // Widths from the configured alpha size; heights from the height of a row of text.
    void SizeColumns();
    void SizeRows();
    void ShowCascadeRows(BOOL show);
    // The cascade rows and the request rows as the inspection now has them.
    void FollowInspection();
    void RunIcomMenu(int icom, CPoint point);
    void RunTrunkMenu(int trunk, CPoint point);
    // Shows another trunk, remembering the one shown on the Back history.
    void Inspect(int trunk);

    CWndTimer m_timer;
    BOOL m_bCascadeShown = FALSE;
};

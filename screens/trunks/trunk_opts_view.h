#pragma once

#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_ids.h"

// The trunk allocation options: one row per option with its value, bound to the one options
// record. A controller without trunk supervision has the allocation time-out alone. While the
// controller allocates trunks dynamically, the time-out and auto clear values cannot be
// changed. While ONLINE and current it asks the controller for the options every 5 s.
class CTrunkOptsView : public CKelvardinGridView {
public:
    static constexpr int kScreen = kScreenTrunkOptions;

    explicit CTrunkOptsView(IScreenHost& host);
    ~CTrunkOptsView() override;

    BOOL IsReadOnlyView() override { return FALSE; }
    void SetupGrid() override;
    DWORD GetHelpID() override;
    void UpdateGrid() override;
    void ClearAllChanges() override;
    // By row: the help id times 0x10000 plus the row plus 1.
    DWORD OnHelpHitTest(CPoint point) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

private:
    // The time-out and auto clear values are read-only exactly while Dynamic Allocation Mode
    // is on.
    void FollowDynamicAllocation();

    CWndTimer m_timer;
};

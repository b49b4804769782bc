#pragma once

#include <vector>

#include "model/update_hint.h"
#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"

// The status of the installation's two controllers, the active one and the standby, one row
// each: their state and the error counters of their links. While it is the current screen and
// ONLINE it asks for the standby's status every second and for both controllers' counters
// every two seconds; the counters of either controller can be cleared from here.
class CCVStatusView : public CKelvardinGridView {
public:
    explicit CCVStatusView(IScreenHost& host);
    ~CCVStatusView() override;

    void SetupGrid() override;
    DWORD GetHelpID() override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;
    void UpdateGrid() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    void OnTimer(UINT_PTR id) override;

private:
    // Both controllers' error counters; the standby's status. Each only while the link is
    // open and no upload runs.
    void RequestErrors();
    void RequestStatus();
    bool CanAsk() const;
    void SizeStatusColumn();

    CWndTimer m_statusTimer;
    CWndTimer m_errorsTimer;
};

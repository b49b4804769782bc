#pragma once

#include "screens/intercoms/icom_grid_view.h"

// The intercom status screen: one row per visible intercom with the communication errors
// counted between the controller and the intercom and the intercom's link status, for reading
// only; "Clear intercom errors" zeroes the counters. While it is current and ONLINE it asks
// the controller for the setup every 5 s, the status every second, the errors every 2 s and
// the remote trunking every 2.5 s.
class CIcomStatusView : public CIcomGridView {
public:
    static constexpr int kScreen = 5;

    explicit CIcomStatusView(IScreenHost& host);

    DWORD GetHelpID() override;
    void UpdateGrid() override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;

protected:
    std::span<const CIcomColumn> ColumnTable() const override;
    int DefaultSortColumn() const override;
    CPopupMenu ContextMenu(const CKelvardinDoc& doc, const CIcomSelection& selection) override;
    void OnMenuCommand(UINT command, const CIcomSelection& selection) override;
    void OnReplyHint(CUpdateHint hint) override;

private:
    // Every intercom's counters to zero, while the link to the controller is open.
    void ClearErrors();
};

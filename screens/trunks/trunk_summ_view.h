#pragma once

#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"

class CBitArray;

// The trunk summary: for the intercom chosen in the selector (or for all of them), one row per
// intercom with the trunks towards it, allocated, in use, in maintenance and out of service.
// While ONLINE and current it asks the controller for the counts every second.
class CTrunkSummView : public CKelvardinGridView {
public:
    static constexpr int kScreen = 1;

    explicit CTrunkSummView(IScreenHost& host);
    ~CTrunkSummView() override;

    // The summary selection: the chosen intercom + 1, 0 for the controller's totals.
    int GetSelection() const;

    // The count cells stand for the selection with the placeholder index -2: they show the
    // chosen intercom's counts, or the controller's (-1).
    int MapRowIndex(int index) const override;
    void SetupGrid() override;
    DWORD GetHelpID() override;
    void OnColumnClick(int column, int ascending) override;
    void UpdateGrid() override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    void OnTimer(UINT_PTR id) override;

    // The intercom a cell of the screen stands for: its row's for the number and the name, the
    // one the count is towards for the counts; -1 for any other cell.
    static int IntercomOfCell(const CGridCellBase* cell);

private:
    void OnGridDblClick(const NM_GRIDVIEW& record);
    // Shows the intercom's summary (the totals for -1), remembering where the user was.
    void Select(int icom);
    // The intercoms of the selection for the context menu: -1 all, -2 several, else one;
    // false when the selection holds a cell that stands for none.
    bool SelectedIntercoms(const NM_GRIDVIEW& record, int& icom, CBitArray& set) const;
    void RunMenuCommand(UINT command, int icom);

    CWndTimer m_timer;
    // The user's last sort, replayed after every rebuild.
    int m_nSortColumn = -1;
    BOOL m_bSortAscending = TRUE;
};

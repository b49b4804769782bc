#pragma once

#include <optional>
#include <vector>

#include "model/update_hint.h"
#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/trunks/trunk_defs_cells.h"
#include "screens/trunks/trunk_defs_menu.h"

class ITrunkDefsHost;

// The trunk table: one row per trunk with its state, the intercom, port and alpha at each end,
// its flags and its fixed assignments. The grid runs in virtual mode over a few reusable
// cells; the rows can be narrowed to the trunks of one intercom. Ends and fixed assignments
// are typed in or picked in the selection dialogs, and a context menu sets flags and
// maintenance mode, clears allocations and opens the other screens. While it is the current
// screen and ONLINE it polls trunk status, trunk definitions and remote trunking.
class CTrunkDefsView : public CKelvardinGridView {
public:
    static constexpr int kScreen = 0;

    explicit CTrunkDefsView(IScreenHost& host);
    ~CTrunkDefsView() override;

    // The intercom whose trunks are shown, -1 for all.
    int GetFilterIntercom() const;

    BOOL IsReadOnlyView() override { return FALSE; }
    void SetupGrid() override;
    DWORD GetHelpID() override { return 0x28015; }
    void OnColumnClick(int column, int ascending) override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;
    int GetSelectedTrunk() override;
    void UpdateGrid() override;
    void ClearAllChanges() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

    // Enter on a cell of an end or fixed assignment: the selection dialog of its entry kind.
    void OnEditSelectedCell();

private:
    static CGridCellBase* GetCellData(int row, int col, UINT state, LPARAM param, CGridCtrl* grid);
    ITrunkDefsHost* GetTrunkHost();
    bool MayPoll() const;
    void RefreshTrunkStatus();
    void RefreshTrunkDefs();
    void RefreshRemTrunking();
    // Row heights: the default for the trunks of the filter's intercom (every trunk without
    // one), 0 for the others.
    void ApplyFilter();
    void ApplyRowFilter() override { ApplyFilter(); }
    void OnMenuCommand(UINT command);

    // What the right-clicked selection stands for; none when it has no menu.
    std::optional<CTrunkMenuState> ReadSelection(const NM_GRIDVIEW& record);
    // The trunks of the rows from first to last that show and have their cell in the column
    // selected.
    std::vector<int> SelectedTrunks(int col, int firstRow, int lastRow) const;
    void EditSelectedFlags(DWORD field, bool set);
    void RedrawTrunkRow(int trunk);
    void ShowTrunksOf(int icom);

    CWndTimer m_statusTimer;
    CWndTimer m_defsTimer;
    CWndTimer m_remTrunkingTimer;
    CTrunkDefsCells m_cells;
    // The user's last sort, replayed after every rebuild.
    int m_nSortColumn = -1;
    BOOL m_bSortAscending = TRUE;
    // The context menu shown last: what it stood for, and the trunks its flag commands set.
    CTrunkMenuState m_menu;
    std::vector<int> m_menuTrunks;
};

#pragma once

#include <optional>
#include <vector>

#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_ids.h"
#include "screens/cells/kelvardin_grid_cell.h"
#include "screens/intercoms/alpha_row_keys.h"

// The intercom alphas screen: one row per alpha of the setup, narrowed to an intercom and an
// alpha type by its selector pane. The grid is virtual: the screen keeps only the alpha keys in
// the order their rows came and lends one of two cells for every cell drawn, printed or
// compared; rows outside the choice keep their place with height 0. The rows follow the
// document's alpha hints whether or not the screen is shown, so that it never misses an alpha;
// rows for alphas added in a burst go into the grid together, after the burst. While it is
// current and ONLINE it asks the controller for the chosen alphas every ten seconds, unless the
// controller reports changes of alphas itself.
class CIcomAlphasView : public CKelvardinGridView {
public:
    static constexpr int kScreen = kScreenIcomAlphas;
    static constexpr int kColumnCount = 5;
    // Posted to itself after alphas were added: their rows go into the grid.
    static constexpr UINT WM_ADD_ALPHA_ROWS = WM_APP + 0x520;

    // The user's last sort, kept for the whole run and replayed after every rebuild.
    struct CSortMemory {
        int column = -1;
        BOOL ascending = TRUE;
    };
    static CSortMemory& RememberedSort();

    explicit CIcomAlphasView(IScreenHost& host);
    ~CIcomAlphasView() override;

    // The choice in the screen's navigation context: an intercom and an alpha type, -1 (or any
    // negative value) for all.
    int GetChosenIntercom() const;
    int GetChosenType() const;
    // The alpha keys of the rows, in the order the rows were added.
    const CAlphaRowKeys& GetKeys() const { return m_keys; }
    // The key a display row shows; none for a row outside the data rows.
    std::optional<DWORD> GetRowKey(int row) const;
    // Puts the rows of the alphas added since the last time into the grid, then repaints.
    void AddPendingRows();

    void SetupGrid() override;
    DWORD GetHelpID() override;
    void OnColumnClick(int column, int ascending) override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;
    void UpdateGrid() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* update) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

    const CWndTimer& GetTimer() const { return m_timer; }

private:
    // The grid's cell supplier; param is the view.
    static CGridCellBase* GetCellData(int row, int col, UINT state, LPARAM param, CGridCtrl* grid);
    CGridCellBase* LendCell(int row, int col, UINT state, CGridCtrl* grid);

    void OnAlphaStored(DWORD key);
    void OnAlphaRemoved(DWORD key);
    void RemoveRow(DWORD key);
    // Row heights by the choice: a row outside it gets height 0.
    void ApplyChoice();
    // The rows of alphas removed while the rows were held go, then the choice applies.
    void ApplyRowFilter() override;
    void RunMenuCommand(UINT command, int icom);
    int DefaultRowHeight() const;

    CAlphaRowKeys m_keys;
    // Removed while the rows were held: their rows would have moved those below them.
    std::vector<DWORD> m_removedWhileHeld;
    // The keys before this position have their rows in the grid.
    size_t m_nRowsInGrid = 0;
    bool m_bAddPosted = false;
    bool m_bRepaintDue = false;
    CWndTimer m_timer;
    // Two cells serve every lend, one after the other, so that the two a comparison asks for
    // are distinct.
    CKelvardinGridCell m_cells[2];
    int m_nNextCell = 0;
};

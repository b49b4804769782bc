#pragma once

#include <optional>

#include "platform/ui/popup_menu.h"
#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_ids.h"

// The intercom groups screen: a row per visible intercom, a column per group and a yes/no cell
// at each crossing. Its menu makes intercoms members of groups, removes them or flips their
// membership, for one pair or many at once, as one undo step. While it is current and ONLINE
// it asks the controller for the groups every five seconds.
class CIcomGroupView : public CKelvardinGridView {
public:
    static constexpr int kScreen = kScreenIcomGroups;
    // The number and name columns come before the first group's.
    static constexpr int kFirstGroupColumn = 2;

    // The membership menu's own commands.
    enum MembershipCommand : UINT { kMakeMember = 1, kRemoveMember = 2, kToggleMember = 3 };
    // What the menu acts on: an intercom and a group, each an index, all of them or the
    // selected ones.
    static constexpr int kAll = -1;
    static constexpr int kSelected = -2;
    struct CTargets {
        int icom = kAll;
        int group = kAll;
        bool operator==(const CTargets&) const = default;
    };

    // The user's last sort, kept for the whole run and replayed after every rebuild.
    struct CSortMemory {
        int column = -1;
        BOOL ascending = TRUE;
    };
    static CSortMemory& RememberedSort();

    explicit CIcomGroupView(IScreenHost& host);
    ~CIcomGroupView() override;

    BOOL IsReadOnlyView() override { return FALSE; }
    void SetupGrid() override;
    DWORD GetHelpID() override;
    void OnColumnClick(int column, int ascending) override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;
    void UpdateGrid() override;
    void ClearAllChanges() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;

    // What the menu acts on, from the selection and the cell clicked; none when the cells
    // chosen offer no menu.
    std::optional<CTargets> MenuTargets(const CCellID& clicked) const;
    // The menu the targets offer, with "Clear changes" when asked for.
    CPopupMenu BuildMenu(const CTargets& targets, bool clearChanges) const;
    // Carries a membership command out on every pair of the targets, as one undo step: a pair
    // the document refuses stays as it was and the others still change. TRUE when any changed.
    BOOL ApplyCommand(UINT command, const CTargets& targets);

    const CWndTimer& GetTimer() const { return m_timer; }

private:
    // %1 and %2 of the menu's texts.
    CString IcomText(int icom) const;
    CString GroupText(int group) const;
    BOOL ApplyToPair(UINT command, int group, int icom);

    CWndTimer m_timer;
};

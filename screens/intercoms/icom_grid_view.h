#pragma once

#include <memory>
#include <span>
#include <vector>

#include "grid/cell_class.h"
#include "grid/grid_ctrl.h"
#include "model/update_hint.h"
#include "platform/ui/wnd_timer.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/intercoms/icom_menu.h"

class CCVConfig;

// What a column of an intercom screen needs of the controller to be shown at all.
enum class IcomColumnNeed {
    kAlways,
    kSingleName,   // an older controller: one name, of the configured length
    kNameLengths,  // a newer controller: the 4-, 6- and 8-character names
    kWideName,     // Unicode names
    kEthernet,     // Ethernet to the intercoms
    kCascadeCosts,
    kEnhancedStatus,  // the status in parts
    kPlainStatus,     // no enhanced status: the status in one column
    kTwoCVs,          // two controllers: remote trunking
};

bool IsColumnShown(IcomColumnNeed need, const CCVConfig& config);

// One column of an intercom screen: its header, a line on its left, the intercom field its
// cells show, their class (null for the screen cell), the comparison it sorts by and what it
// needs of the controller.
struct CIcomColumn {
    UINT headerId;
    bool leftBorder;
    DWORD fieldId;
    const CCellClass* (*cellClass)();
    PFNGRIDCOMPARE compare;
    IcomColumnNeed need;
};

// The data the intercom screens ask the controller for while they are shown.
enum class IcomPoll { kSetup, kStatus, kErrors, kRemTrunking };

// The base of the intercom setup and status screens: one row per visible intercom, the
// columns the controller has, the user's sort kept through rebuilds, the polls with their timers
// and the intercom context menu.
class CIcomGridView : public CKelvardinGridView {
public:
    // Each poll at its interval in the host's screen timing.
    CIcomGridView(IScreenHost& host, std::vector<IcomPoll> polls);
    ~CIcomGridView() override;

    void SetupGrid() override;
    void OnColumnClick(int column, int ascending) override;
    LRESULT OnGridRClick(NM_GRIDVIEW* record) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, void* hintObject) override;
    void OnTimer(UINT_PTR id) override;

    // The intercoms a right click on the cell acts on: false when it acts on none.
    bool SelectedIntercoms(const NM_GRIDVIEW& record, CIcomSelection& selection) const;
    // The timer of a poll; null when the screen has none.
    const CWndTimer* GetPollTimer(IcomPoll poll) const;

protected:
    virtual std::span<const CIcomColumn> ColumnTable() const = 0;
    // The column sorted by when the user has chosen none, as a position after the columns
    // the controller lacks were dropped.
    virtual int DefaultSortColumn() const = 0;
    // The context menu for the selection, and what its command does.
    virtual CPopupMenu ContextMenu(const CKelvardinDoc& doc, const CIcomSelection& selection) = 0;
    virtual void OnMenuCommand(UINT command, const CIcomSelection& selection) = 0;
    // A reply the screen answers beyond painting what it changed.
    virtual void OnReplyHint(CUpdateHint /*hint*/) {}

    // Asks for the poll's data when ONLINE, no upload runs and none is on its way.
    void Poll(IcomPoll poll);
    // The views of the menu: sets the context of the screen shown and asks for it. Several
    // intercoms read as all of them. false for any other command.
    bool RunViewCommand(UINT command, const CIcomSelection& selection);
    bool IsOnline() const;

private:
    struct CRunningTimer {
        IcomPoll poll;
        std::unique_ptr<CWndTimer> timer;
    };

    std::vector<CRunningTimer> m_timers;
    // The user's last sort for the rest of the run: the column, -1 until one is chosen.
    int m_nSortColumn = -1;
    BOOL m_bSortAscending = TRUE;
};

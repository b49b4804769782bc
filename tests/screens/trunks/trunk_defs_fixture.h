#pragma once

#include <functional>
#include <set>

#include "screens/trunks/trunk_defs_host.h"
#include "screens/trunks/trunk_defs_view.h"
#include "tests/screens/screen_fixture.h"

// The main window as the trunk definitions see it: the screens' host with the selection
// dialogs answered by the test, the maintenance operations recorded and a set of commands it
// would carry out.
class CFakeTrunkDefsHost : public CFakeScreenHost, public ITrunkDefsHost {
public:
    using CFakeScreenHost::CFakeScreenHost;

    struct AssignDialog {
        CAssign start;
        int fixedIcom, typeFilter, excluded;
        bool operator==(const AssignDialog&) const = default;
    };

    int SelectIntercom(int preselect, int excluded) override {
        icomDialogs.emplace_back(preselect, excluded);
        RunDialogLoop();
        return pickedIcom;
    }
    bool SelectAssign(CAssign& assign, int fixedIcom, int typeFilter, int excluded) override {
        assignDialogs.push_back({assign, fixedIcom, typeFilter, excluded});
        RunDialogLoop();
        if (!pickedAssign) return false;
        assign = *pickedAssign;
        return true;
    }
    void SetMaintenanceMode(int trunk) override { maintenance.push_back(trunk); }
    void ClearMaintenanceMode(int trunk) override { normal.push_back(trunk); }
    bool IsCommandAvailable(UINT id) override { return available.count(id) != 0; }

    // What happens while a dialog is open, as its loop goes on.
    std::function<void()> meanwhile;
    std::vector<std::pair<int, int>> icomDialogs;
    int pickedIcom = -1;
    std::vector<AssignDialog> assignDialogs;
    std::optional<CAssign> pickedAssign;
    std::vector<int> maintenance;
    std::vector<int> normal;
    std::set<UINT> available;

private:
    void RunDialogLoop() {
        const CNestedLoopScope loop;
        if (meanwhile) meanwhile();
    }
};

using CDragTrunkDefsView = CDragView<CTrunkDefsView>;

// Six trunks between intercoms ALFA, BRAV, CHAR and DELT (0-3), two of them without ends, and
// the trunk definitions over them as the current screen.
class TrunkDefsTest : public TrunkEditTest {
protected:
    // The grid's columns without the out-of-service column.
    enum Col {
        kNumber,
        kState,
        kIcom1,
        kPort1,
        kAlpha1,
        kIcom2,
        kPort2,
        kAlpha2,
        kCascade,
        kFixed,
        kAsgn1,
        kAsgnAlpha1
    };

    void SetUp() override {
        TrunkEditTest::SetUp();
        Config().m_wNumTrunks = 6;
        Reset();
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR", u"DELT"})
            NameIcom(i++, name);
        const CAssign ends[6][2] = {{{2, 0, 3}, {0, 0, 1}}, {{1, 0, 0}, {3, 0, 5}},
                                    {{0, 0, 4}, {2, 0, 6}}, {},
                                    {{3, 0, 7}, {1, 0, 8}}, {}};
        for (int t = 0; t < 6; ++t) {
            Put(t, CTrunk::kFieldEnd1, ends[t][0]);
            Put(t, CTrunk::kFieldEnd2, ends[t][1]);
        }
        m_doc.StoreAlpha(CAssign(1, 0, 0), u"BP1");
        m_doc.StoreAlpha(CAssign(1, 0, 2), u"BP3");
        window.resize(900, 400);
        window.show();
    }
    void Show() {
        screen = std::make_unique<CDragTrunkDefsView>(host);
        screen->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 880, 380), &window, 20100);
        host.current = screen.get();
        screen->OnInitialUpdate();
    }
    CKelvardinGridCtrl& Grid() { return *screen->GetGrid(); }
    CDragGrid& DragGrid() { return static_cast<CDragGrid&>(Grid()); }
    // The row that shows the trunk.
    int RowOf(int trunk) {
        for (int row = 1; row < Grid().GetRowCount(); ++row) {
            if (Grid().GetModelRow(row) - 1 == trunk) return row;
        }
        return -1;
    }
    std::vector<CString> Column(int col) {
        std::vector<CString> texts;
        for (int row = 1; row < Grid().GetRowCount(); ++row)
            texts.push_back(Grid().GetItemText(row, col));
        return texts;
    }
    // The trunks of the rows that show, top down.
    std::vector<int> ShownTrunks() {
        std::vector<int> trunks;
        for (int row = 1; row < Grid().GetRowCount(); ++row) {
            if (Grid().GetRowHeight(row) > 0) trunks.push_back(Grid().GetModelRow(row) - 1);
        }
        return trunks;
    }
    void Select(int minRow, int col, int maxRow) {
        Grid().SetFocusCell(minRow, col);
        Grid().SetSelectedRange(minRow, col, maxRow, col);
    }
    CTrunk& Trunk(int t) { return dynamic_cast<CTrunk&>(*m_doc.FindObject(CTrunkSpec(t, 1))); }
    // Trunks 0-2 fixed, each to port 1 of its first end's intercom, as received.
    void FixFirstThreeTrunks() {
        for (int t : {0, 1, 2}) {
            Put(t, CTrunk::kFieldFixed1, CAssign(End(t).m_icom, 1, static_cast<WORD>(t)));
            Trunk(t).SetFixed(TRUE, FALSE);
        }
    }

    QWidget window;
    CFakeTrunkDefsHost host{m_host};
    std::unique_ptr<CTrunkDefsView> screen;
};

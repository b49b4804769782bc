#include <QAction>
#include <QApplication>
#include <QMenu>

#include "link/command_codes.h"
#include "link/wire_labels.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/ui_environment.h"
#include "screens/intercoms/icom_group_view.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/modal_script.h"

namespace {

using Entries = std::vector<CString>;

// Intercoms 0-2 are ALFA, BRAV and CHAR; group 0 is the default group (intercoms 0-30), group 2
// is DESKS with no members.
class IcomGroupViewTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        CIcomGroupView::RememberedSort() = {};
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR"})
            NameIcom(i++, name);
        m_doc.SetGroupNameFromController(TRUE, 2, u"DESKS");
        view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20107);
        host.current = &view;
        view.OnInitialUpdate();
    }

    CKelvardinGridCtrl& Grid() { return *view.GetGrid(); }
    // A right click on the cell; the menu it shows is answered with the command, its entries
    // ("-" a separator) kept.
    Entries RightClick(int row, int col, UINT choose) {
        Entries shown;
        script.ExpectMenu([&shown, choose](QMenu& menu) {
            for (QAction* action : menu.actions())
                shown.push_back(action->isSeparator() ? CString(u"-")
                                                      : FromQString(action->text()));
            return static_cast<int>(choose);
        });
        CRect rect;
        EXPECT_TRUE(Grid().GetCellRect(row, col, &rect));
        Grid().OnRButtonDown(0, rect.CenterPoint());
        Grid().OnRButtonUp(0, rect.CenterPoint());
        EXPECT_TRUE(script.AllAnswered());
        return shown;
    }
    int Members(int group) {
        int n = 0;
        for (int icom = 0; icom < 31; ++icom)
            n += m_doc.IsGroupMember(group, icom) ? 1 : 0;
        return n;
    }

    CUiEnvironment env;
    CModalScript script{env};
    CIcomGroupView view{host};
};

TEST_F(IcomGroupViewTest, GridShowsEveryIntercomAgainstEveryGroup) {
    EXPECT_EQ(Grid().GetRowCount(), 32);
    EXPECT_EQ(Grid().GetColumnCount(), 22);
    EXPECT_EQ(Grid().GetItemText(0, 3), u"2");  // group 1's number
    EXPECT_EQ(Grid().GetItemText(4, 1), u"MX04");
    EXPECT_EQ(Grid().GetItemText(1, 2) + Grid().GetItemText(1, 4), u"Y-");

    // A typed key edits one membership; the screen then has changes to cancel.
    EXPECT_EQ(view.SendMessage(WM_SCREEN_HAS_CHANGES), 0);
    Grid().GetCell(2, 4)->Edit(2, 4, CRect(), CPoint(), 0, 'y');
    EXPECT_TRUE(m_doc.IsGroupMember(2, 1));
    EXPECT_EQ(view.SendMessage(WM_SCREEN_HAS_CHANGES), 1);
    view.ClearAllChanges();
    EXPECT_EQ(view.SendMessage(WM_SCREEN_HAS_CHANGES), 0);
    EXPECT_TRUE(m_doc.IsGroupMember(2, 1));
}

TEST_F(IcomGroupViewTest, RowsFollowTheSortMarkWhenNamesOrMembersArrive) {
    const auto column = [&](int col) {
        std::vector<CString> texts;
        for (int row = 1; row <= 3; ++row)
            texts.push_back(Grid().GetItemText(row, col).Left(4));
        return texts;
    };
    const auto reply = [&](DWORD command, LPARAM object) {
        view.OnUpdate(nullptr, CUpdateHint::Reply(command).ToParam(),
                      reinterpret_cast<void*>(object));
        WaitForPaintTick(view);
    };
    CCellID byName(0, 1);
    Grid().OnFixedRowClick(byName);
    ASSERT_EQ(column(1), (Entries{u"ALFA", u"BRAV", u"CHAR"}));
    NameIcom(0, u"ZULU");
    reply(kCmdNames, CWireLabelRange::kNameKind);
    EXPECT_EQ(column(1), (Entries{u"BRAV", u"CHAR", u"MX04"}));  // the default names after them
    EXPECT_EQ(Grid().GetItemText(31, 1), u"ZULU");

    // By membership of DESKS: the members the controller sends sort together.
    CCellID byDesks(0, CIcomGroupView::kFirstGroupColumn + 2);
    Grid().OnFixedRowClick(byDesks);
    const BYTE members[4] = {0x04, 0, 0, 0};  // CHAR only
    m_doc.SetGroupMembersFromController(2, 31, members);
    reply(kCmdGroups, 0);
    EXPECT_EQ(Grid().GetSortColumn(), CIcomGroupView::kFirstGroupColumn + 2);
    EXPECT_EQ(column(1)[0], u"CHAR");
}

TEST_F(IcomGroupViewTest, MenuForOneOrAllIntercomsAndGroupsChangesThePairsAsOneStep) {
    // The header of a group: every intercom, every entry.
    EXPECT_EQ(RightClick(0, 4, CIcomGroupView::kMakeMember),
              (Entries{u"&Make ALL intercoms members of DESKS", u"&Remove ALL intercoms from DESKS",
                       u"&Toggle the membership state of ALL intercoms for DESKS"}));
    EXPECT_EQ(Members(2), 31);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Members(2), 0);
    EXPECT_TRUE(m_host.m_undo.IsEmpty());

    // One member: only its removal; one intercom without a name against a group without one.
    EXPECT_EQ(RightClick(1, 2, CIcomGroupView::kRemoveMember),
              (Entries{u"&Remove ALFA from DefaultGroup"}));
    EXPECT_FALSE(m_doc.IsGroupMember(0, 0));
    m_doc.SetGroupNameFromController(TRUE, 1, u"");
    EXPECT_EQ(RightClick(4, 3, 0), (Entries{u"&Make intercom #4 a member of group #2"}));

    // An intercom's name: that intercom in every group.
    RightClick(3, 1, CIcomGroupView::kToggleMember);
    EXPECT_FALSE(m_doc.IsGroupMember(0, 2));
    EXPECT_TRUE(m_doc.IsGroupMember(2, 2) && m_doc.IsGroupMember(19, 2));
    EXPECT_EQ(m_host.m_undo.GetCount(), 2u);
}

TEST_F(IcomGroupViewTest, ToggleOverASelectionFlipsEachPairAndUndoesAsOne) {
    // Intercoms 0-2 against groups 0 and 1: the first column is all members.
    Grid().SetSelectedRange(1, 2, 3, 3);
    EXPECT_EQ(RightClick(2, 3, CIcomGroupView::kToggleMember),
              (Entries{u"&Make the selected intercoms members of the selected groups",
                       u"&Remove the selected intercoms from the selected groups",
                       u"&Toggle the membership state of the selected intercoms for the selected "
                       u"groups"}));
    for (int icom = 0; icom < 3; ++icom) {
        EXPECT_FALSE(m_doc.IsGroupMember(0, icom));
        EXPECT_TRUE(m_doc.IsGroupMember(1, icom));
    }
    EXPECT_TRUE(m_doc.IsGroupMember(0, 3));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Members(0), 31);
    EXPECT_EQ(Members(1), 0);

    // The selection holds changes: only ONLINE offers to clear them, which the main window does.
    m_doc.SetObjectField(CGroupSpec(1, 1364), u"1", TRUE);
    Grid().SetSelectedRange(1, 2, 3, 3);
    EXPECT_EQ(RightClick(1, 3, 0).size(), 3u);
    m_app.SetMode(CAppState::kModeOnline);
    Grid().SetSelectedRange(1, 2, 3, 3);
    const Entries online = RightClick(1, 3, ID_CANCEL_CHANGES);
    EXPECT_EQ(online.back(), u"&Clear changes");
    EXPECT_EQ(online[online.size() - 2], u"-");
    EXPECT_EQ(host.commands, std::vector<UINT>{ID_CANCEL_CHANGES});
}

TEST_F(IcomGroupViewTest, ARefusedPairLeavesTheOthersToChange) {
    // The controller now has 2 intercoms while the grid still shows 31: the document refuses
    // memberships of intercom 2 and beyond.
    Grid().SetSelectedRange(1, 4, 4, 5);
    Config().m_wNumIntercoms = 2;
    RightClick(3, 4, CIcomGroupView::kMakeMember);
    EXPECT_TRUE(m_doc.IsGroupMember(2, 0) && m_doc.IsGroupMember(3, 1));
    Config().m_wNumIntercoms = 31;
    EXPECT_FALSE(m_doc.IsGroupMember(2, 2) || m_doc.IsGroupMember(3, 3));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Members(2) + Members(3), 0);
}

TEST_F(IcomGroupViewTest, AMembershipFromTheMenuMovesItsRowOnceTheMenuHasClosed) {
    const auto names = [&] {
        Entries texts;
        for (int row = 1; row <= 3; ++row)
            texts.push_back(Grid().GetItemText(row, 1).Left(4));
        return texts;
    };
    const int desks = CIcomGroupView::kFirstGroupColumn + 2;
    CCellID byDesks(0, desks);
    Grid().OnFixedRowClick(byDesks);
    RightClick(3, desks, CIcomGroupView::kMakeMember);
    QApplication::processEvents();
    EXPECT_EQ(names(), (Entries{u"CHAR", u"ALFA", u"BRAV"}));

    // While ALFA's menu is open the controller makes BRAV a member and comes with fewer groups:
    // the grid and its rows wait for the command.
    script.ExpectMenu([&](QMenu&) {
        const BYTE members[4] = {0x06, 0, 0, 0};
        m_doc.SetGroupMembersFromController(2, 31, members);
        view.OnUpdate(nullptr, CUpdateHint::Reply(kCmdGroups).ToParam(), nullptr);
        Config().m_wNumGroups = 10;
        view.OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
        QApplication::processEvents();
        EXPECT_EQ(names(), (Entries{u"CHAR", u"ALFA", u"BRAV"}));
        EXPECT_EQ(Grid().GetColumnCount(), 22);
        return static_cast<int>(CIcomGroupView::kMakeMember);
    });
    CRect alfa;
    ASSERT_TRUE(Grid().GetCellRect(2, desks, &alfa));
    Grid().OnRButtonUp(0, alfa.CenterPoint());
    QApplication::processEvents();
    EXPECT_TRUE(m_doc.IsGroupMember(2, 0));
    EXPECT_EQ(Grid().GetColumnCount(), 12);
}

TEST_F(IcomGroupViewTest, PollsOnlyWhileCurrentAndOnline) {
    CCVDataMgr& link = host.dataMgr;
    link.GoOnline();
    const auto tick = [&] { view.SendMessage(WM_TIMER, view.GetTimer().m_nCurrentId); };
    ASSERT_TRUE(view.GetTimer().IsRunning());
    EXPECT_EQ(view.GetTimer().GetInterval(), 5000u);
    tick();
    EXPECT_EQ(link.GetPendingTotal(), 0);  // FILE mode
    m_app.SetMode(CAppState::kModeOnline);
    host.current = nullptr;
    tick();
    EXPECT_EQ(link.GetPendingTotal(), 0);
    host.current = &view;
    tick();
    EXPECT_EQ(link.GetPendingTotal(), 20);  // every group
}

}  // namespace

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <algorithm>

#include "link/command_codes.h"
#include "platform/ui/sys_info.h"
#include "tests/screens/trunks/trunk_defs_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/painted_area.h"

namespace {

using namespace trunk_menu;

// The hint of a reply, and the event loop turned until its paint tick.
void ReplyArrives(CKelvardinGridView& view, DWORD command) {
    view.OnUpdate(nullptr, CUpdateHint::Reply(command).ToParam(), nullptr);
    WaitForPaintTick(view);
}

std::vector<int> Sorted(std::vector<int> trunks) {
    std::ranges::sort(trunks);
    return trunks;
}

TEST_F(TrunkDefsTest, RowsFollowTheTrunkCountAndTheIntercomFilter) {
    Show();
    EXPECT_EQ(Grid().GetColumnCount(), 14);
    EXPECT_EQ(Grid().GetItemText(0, kIcom1), u"Icom 1");
    EXPECT_EQ(Column(kIcom1), (std::vector<CString>{u"CHAR", u"BRAV", u"ALFA", u"", u"DELT", u""}));
    EXPECT_EQ(Column(kPort1)[1], FormatAssignText(CAssign(1, 0, 0)));
    EXPECT_EQ(Column(kAlpha1)[1], m_doc.FindAlpha(CAssign(1, 0, 0).GetKey())->GetLabel());
    EXPECT_EQ(Column(kFixed)[0], u"-");

    // The selector's choice: CHAR's trunks only; then every trunk for all and for "several".
    host.contexts[0].m_params[0] = 3;
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(ShownTrunks(), (std::vector<int>{0, 2}));
    for (DWORD all : {0u, 0xFFFFFFFFu}) {
        host.contexts[0].m_params[0] = all;
        screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
        EXPECT_EQ(ShownTrunks(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    }

    // A controller with out-of-service trunks adds its column; the visible trunks cap the rows.
    SetCapabilities(CCVConfig::kOOSTrunks);
    m_app.m_nVisibleTrunks = 4;
    screen->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(Grid().GetColumnCount(), 15);
    EXPECT_EQ(Grid().GetItemText(0, 2), u"OOS");
    EXPECT_EQ(Grid().GetRowCount(), 5);
}

TEST_F(TrunkDefsTest, HeaderSortsToggleKeepEmptyEndsLastAndSurviveARebuild) {
    Show();
    CCellID header(0, kIcom1);
    Grid().OnFixedRowClick(header);
    EXPECT_EQ(Column(kIcom1), (std::vector<CString>{u"ALFA", u"BRAV", u"CHAR", u"DELT", u"", u""}));
    // Every sort reads the names afresh, even with no paint between two sorts.
    Grid().OnFixedRowClick(header);
    NameIcom(3, u"AAAA");
    Grid().OnFixedRowClick(header);
    EXPECT_EQ(Column(kIcom1)[0], u"AAAA");
    NameIcom(3, u"DELT");
    Grid().OnFixedRowClick(header);
    const std::vector<CString> descending{u"DELT", u"CHAR", u"BRAV", u"ALFA", u"", u""};
    EXPECT_EQ(Column(kIcom1), descending);
    // The rows carry their trunks: the numbers moved with the names.
    EXPECT_EQ(Column(kNumber), (std::vector<CString>{u"5", u"1", u"2", u"3", u"4", u"6"}));

    // A new configuration rebuilds the grid; the filter and the last sort apply again.
    host.contexts[0].m_params[0] = 2;
    screen->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(Grid().GetSortColumn(), kIcom1);
    EXPECT_FALSE(Grid().GetSortAscending());
    EXPECT_EQ(Column(kIcom1), descending);
    EXPECT_EQ(ShownTrunks(), (std::vector<int>{4, 1}));
}

TEST_F(TrunkDefsTest, RowsSortedByStateAndFilteredFollowTheReplies) {
    Show();
    CCellID header(0, kState);
    Grid().OnFixedRowClick(header);
    const auto inOrder = [&] {
        const std::vector<CString> states = Column(kState);
        return std::ranges::is_sorted(states) && Grid().GetSortColumn() == kState;
    };
    // In use, idle, allocated, maintenance: the states arrive after the sort.
    const DWORD states[6] = {0x01, 0x00, 0x02, 0x01, 0x04, 0x00};
    for (int t = 0; t < 6; ++t)
        m_doc.SetTrunkState(t, states[t]);
    ReplyArrives(*screen, kCmdTrunkStates);
    EXPECT_TRUE(inOrder());
    const std::vector<CString> shown = Column(kState);
    EXPECT_EQ(std::set<CString>(shown.begin(), shown.end()).size(), 4u);

    // Filtered on CHAR: a definitions reply moves trunk 3 onto CHAR and trunk 0 off it.
    host.contexts[0].m_params[0] = 3;
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(Sorted(ShownTrunks()), (std::vector<int>{0, 2}));
    Put(3, CTrunk::kFieldEnd1, CAssign(2, 0, 9));
    Put(0, CTrunk::kFieldEnd1, CAssign(1, 0, 3));
    ReplyArrives(*screen, kCmdTrunkDefs);
    EXPECT_EQ(Sorted(ShownTrunks()), (std::vector<int>{2, 3}));

    // New states move the rows; the filter goes with the trunks, not the positions.
    for (int t = 0; t < 6; ++t)
        m_doc.SetTrunkState(t, states[5 - t]);
    ReplyArrives(*screen, kCmdTrunkStates);
    EXPECT_TRUE(inOrder());
    EXPECT_EQ(Sorted(ShownTrunks()), (std::vector<int>{2, 3}));
}

TEST_F(TrunkDefsTest, TheFocusTheSelectionAndItsAnchorGoWithTheirTrunkAsTheStatesMoveIt) {
    Show();
    CCellID byState(0, kState);
    Grid().OnFixedRowClick(byState);
    // Trunk 2's State and Icom 1 cells, by a click and a Shift+click.
    for (const auto& [col, keys] : {std::pair{kState, 0u}, std::pair{kIcom1, UINT{MK_SHIFT}}}) {
        CRect rect;
        Grid().GetCellRect(3, col, &rect);
        const CInputState input(keys);
        Grid().OnLButtonDown(MK_LBUTTON | keys, rect.CenterPoint());
        Grid().OnLButtonUp(keys, rect.CenterPoint());
    }
    m_doc.SetTrunkState(2, 0x04);
    ReplyArrives(*screen, kCmdTrunkStates);
    EXPECT_EQ(Grid().GetFocusCell(), CCellID(6, kIcom1));
    EXPECT_TRUE(Grid().IsCellSelected(6, kState) && Grid().IsCellSelected(6, kIcom1));
    // Shift+Up goes on from trunk 2's State cell.
    {
        const CInputState shift(MK_SHIFT);
        Grid().OnKeyDown(VK_UP, 1, 0);
    }
    EXPECT_EQ(Grid().GetSelectedCount(), 4);
    EXPECT_TRUE(Grid().IsCellSelected(5, kState) && Grid().IsCellSelected(6, kIcom1));
}

TEST_F(TrunkDefsTest, TheFocusLeavesATrunkTheFilterHidesAndTypingEditsOnlyWhatShows) {
    Show();
    host.contexts[0].m_params[0] = 3;
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Select(1, kIcom1, 1);

    // A definitions reply moves trunk 0 off CHAR: the focus and selection go to trunk 2, the
    // next row that shows, and typing opens its editor there.
    Put(0, CTrunk::kFieldEnd1, CAssign(1, 0, 3));
    ReplyArrives(*screen, kCmdTrunkDefs);
    EXPECT_EQ(Grid().GetFocusCell(), CCellID(3, kIcom1));
    EXPECT_TRUE(Grid().IsCellSelected(3, kIcom1));
    Grid().OnChar('D', 1, 0);
    ASSERT_TRUE(Grid().IsItemEditing(3, kIcom1));
    Grid().GetInPlaceEditor()->SendChar(VK_ESCAPE);
    QApplication::processEvents();

    // With no trunk of CHAR left there is no focus for typing to edit.
    Put(2, CTrunk::kFieldEnd2, CAssign(1, 0, 6));
    ReplyArrives(*screen, kCmdTrunkDefs);
    EXPECT_EQ(Grid().GetFocusCell(), CCellID());
    Grid().OnChar('D', 1, 0);
    EXPECT_EQ(Grid().GetInPlaceEditor(), nullptr);
}

TEST_F(TrunkDefsTest, AnEditThroughACellOrADialogIsOneUndoStep) {
    Show();
    Grid().OnEndEditCell(4, kIcom1, u"BRAV");
    EXPECT_EQ(End(3).m_icom, 1);
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_HAS_CHANGES), 1);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(3), CAssign());

    // Enter on the alpha of an end without intercom: the intercom is written, then the alpha.
    Select(6, kAlpha1, 6);
    host.pickedAssign = CAssign(1, 0, 2);
    Put(5, CTrunk::kFieldEnd2, CAssign(3, 0, 9));
    Grid().OnEditCell(6, kAlpha1, CPoint(-1, -1), VK_RETURN);
    QApplication::processEvents();
    ASSERT_EQ(host.assignDialogs.size(), 1u);
    EXPECT_EQ(host.assignDialogs[0],
              (CFakeTrunkDefsHost::AssignDialog{CAssign(255, 0, 0x0FFF), -1, 0, 3}));
    EXPECT_EQ(End(5), CAssign(1, 0, 2));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(5), CAssign());

    // The intercom dialog on an Icom cell; a cancelled one, and two cells selected, change nothing.
    Select(6, kIcom2, 6);
    host.pickedIcom = 2;
    screen->OnEditSelectedCell();
    EXPECT_EQ(host.icomDialogs.back(), (std::pair{3, -1}));
    EXPECT_EQ(End(5, FALSE).m_icom, 2);
    host.pickedIcom = -1;
    screen->OnEditSelectedCell();
    Select(5, kIcom2, 6);
    screen->OnEditSelectedCell();
    EXPECT_EQ(host.icomDialogs.size(), 2u);
    EXPECT_EQ(End(5, FALSE).m_icom, 2);
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
}

// The commands of a menu with whether each is enabled.
std::vector<std::pair<UINT, bool>> Entries(const CPopupMenu& menu) {
    std::vector<std::pair<UINT, bool>> entries;
    for (const CPopupMenu::Item& item : menu.GetItems()) {
        if (!item.IsSeparator()) entries.emplace_back(item.id, item.enabled);
    }
    return entries;
}

bool IsEnabled(const CPopupMenu& menu, UINT id) {
    const CPopupMenu::Item* item = menu.Find(id);
    return item && item->enabled;
}

TEST(TrunkDefsMenuTest, TheMenuLeavesOutAndGreysByTheSelection) {
    const auto all = [](UINT) { return true; };
    CTrunkMenuState state;  // a State cell of trunk 3, FILE mode, maintenance allowed
    state.trunk = 2;
    state.field = 2;
    state.maintenanceAllowed = true;
    CPopupMenu menu = BuildTrunkDefsMenu(state, all);
    EXPECT_EQ(
        Entries(menu),
        (std::vector<std::pair<UINT, bool>>{
            {kTrunkCaption, false}, {kMaintenance, false}, {kNormal, false}, {kInspect, false}}));
    EXPECT_EQ(menu.Find(kTrunkCaption)->text, u"Selected Trunk: #3");

    // An end on BRAV, ONLINE with changes, without maintenance: the intercom's section and
    // the assignment dialog; the commands of screens not there yet are greyed.
    state.field = 3;
    state.icom = 1;
    state.icomName = u"BRAV";
    state.hasAssign = state.online = state.selectionHasChanges = true;
    state.maintenanceAllowed = false;
    menu = BuildTrunkDefsMenu(state, [](UINT id) { return id != ID_VIEW_ICOM_SETUP; });
    EXPECT_EQ(Entries(menu), (std::vector<std::pair<UINT, bool>>{{kTrunkCaption, false},
                                                                 {kInspect, true},
                                                                 {kIcomCaption, false},
                                                                 {kClearAllocations, true},
                                                                 {kViewSummary, true},
                                                                 {kViewDefinitions, true},
                                                                 {kViewSetup, false},
                                                                 {kViewStatus, true},
                                                                 {kViewAlphas, true},
                                                                 {kClearChanges, true},
                                                                 {kChooseAssignment, true}}));
    EXPECT_EQ(menu.Find(kIcomCaption)->text, u"Selected intercom: BRAV");
    const std::vector<CPopupMenu::Item>& items = menu.GetItems();
    for (size_t i = 0; i < items.size(); ++i) {
        const bool edge = i == 0 || i + 1 == items.size();
        EXPECT_FALSE(items[i].IsSeparator() && (edge || items[i - 1].IsSeparator())) << i;
    }

    // Several rows of the Fixed column: only the flag items, setting greyed.
    CTrunkMenuState rows;
    rows.field = 8;
    rows.single = false;
    EXPECT_EQ(Entries(BuildTrunkDefsMenu(rows, all)),
              (std::vector<std::pair<UINT, bool>>{{kSetFixed, false}, {kClearFixed, true}}));
    // One cell of a cascadable trunk's Cascadable column.
    rows = {};
    rows.trunk = 0;
    rows.field = 7;
    rows.cascadable = true;
    menu = BuildTrunkDefsMenu(rows, all);
    EXPECT_FALSE(IsEnabled(menu, kSetCascade));
    EXPECT_TRUE(IsEnabled(menu, kClearCascade));
    EXPECT_EQ(menu.Find(kSetFixed), nullptr);
}

TEST_F(TrunkDefsTest, TheMenuClearsTheFixedFlagOfTheSelectedRowsAsOneStepAndNavigates) {
    CUiEnvironment env;
    CModalScript script(env);
    FixFirstThreeTrunks();
    Show();
    Select(1, kFixed, 3);
    NM_GRIDVIEW click;
    click.iRow = 2;
    click.iColumn = kFixed;
    script.ExpectMenu([](QMenu& menu) {
        QStringList texts;
        for (const QAction* action : menu.actions())
            texts << action->text() + (action->isEnabled() ? "" : " (greyed)");
        EXPECT_EQ(texts, QStringList({"Set &fixed flag (greyed)", "&Clear fixed flag"}));
        return static_cast<int>(kClearFixed);
    });
    screen->OnGridRClick(&click);
    for (int t : {0, 1, 2})
        EXPECT_FALSE(m_doc.GetTrunkFixed(t)) << t;
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_TRUE(m_doc.GetTrunkFixed(2));

    // "View trunk definitions" on DELT's end: Back keeps where the user was, the rows narrow.
    Select(5, kIcom1, 5);
    click.iRow = 5;
    click.iColumn = kIcom1;
    script.ExpectMenu([](QMenu&) { return static_cast<int>(kViewDefinitions); });
    screen->OnGridRClick(&click);
    EXPECT_EQ(host.pushed.size(), 1u);
    EXPECT_EQ(host.contexts[0].m_params[0], 4u);
    EXPECT_EQ(ShownTrunks(), (std::vector<int>{1, 4}));
    EXPECT_EQ(TakeUpdates().back(), (CRecordingViews::Update{false, CUpdateHint::kSelection, 0}));
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(TrunkDefsTest, MenuFlagsGoToTheTrunksSelectedAsItOpenedAndMenuAndDialogEditsMoveTheirRows) {
    CUiEnvironment env;
    CModalScript script(env);
    FixFirstThreeTrunks();
    Show();
    CCellID byState(0, kState);
    Grid().OnFixedRowClick(byState);
    Select(1, kFixed, 3);
    // While the keyboard's menu is open a status reply puts trunks 0-2 in maintenance, last in
    // the order: the rows wait for the menu and its command.
    script.ExpectMenu([&](QMenu&) {
        for (int t : {0, 1, 2})
            m_doc.SetTrunkState(t, 0x04);
        ReplyArrives(*screen, kCmdTrunkStates);
        EXPECT_EQ(Column(kNumber)[0], u"1");
        return static_cast<int>(kClearFixed);
    });
    screen->OnCmdMsg(ID_CELL_CONTEXT_MENU, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(Column(kNumber), (std::vector<CString>{u"4", u"5", u"6", u"1", u"2", u"3"}));
    for (int t : {0, 1, 2})
        EXPECT_FALSE(m_doc.GetTrunkFixed(t)) << t;

    // Sorted by the Fixed column, a flag set from the menu moves its row, and so does one typed.
    CCellID byFixed(0, kFixed);
    Grid().OnFixedRowClick(byFixed);
    NM_GRIDVIEW click;
    click.iColumn = kFixed;
    click.iRow = 4;
    Select(4, kFixed, 4);
    script.ExpectMenu([](QMenu&) { return static_cast<int>(kSetFixed); });
    screen->OnGridRClick(&click);
    QApplication::processEvents();
    EXPECT_EQ(Column(kNumber), (std::vector<CString>{u"1", u"4", u"5", u"6", u"2", u"3"}));
    Select(5, kFixed, 5);
    Grid().OnChar('y', 1, 0);
    QApplication::processEvents();
    EXPECT_EQ(Column(kNumber), (std::vector<CString>{u"1", u"2", u"4", u"5", u"6", u"3"}));
    EXPECT_TRUE(script.AllAnswered());

    // Sorted by the second end, an intercom picked in the dialog moves its row too.
    CCellID byIcom2(0, kIcom2);
    Grid().OnFixedRowClick(byIcom2);
    Select(1, kIcom2, 1);
    host.pickedIcom = 3;
    screen->OnEditSelectedCell();
    QApplication::processEvents();
    EXPECT_EQ(Column(kIcom2), (std::vector<CString>{u"BRAV", u"CHAR", u"DELT", u"DELT", u"", u""}));

    // Enter's edit command opens the picker for trunk 1's second end. Meanwhile a new
    // configuration comes, and a reply that moves trunk 4: both wait for the dialog, then the
    // screen is made again.
    const int row = RowOf(1);
    Select(row, kIcom2, row);
    host.pickedIcom = 0;
    // A rebuild is told by the old grid's window going, never by the grid's address, which
    // the new grid may take over.
    const QPointer<QWidget> before = Grid().GetWidget();
    host.meanwhile = [&] {
        SetCapabilities(CCVConfig::kOOSTrunks);
        screen->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
        Put(4, CTrunk::kFieldEnd2, CAssign(0, 0, 9));
        ReplyArrives(*screen, kCmdTrunkDefs);
        EXPECT_FALSE(before.isNull());
        EXPECT_EQ(RowOf(1), row);
    };
    screen->PostMessage(WM_COMMAND, ID_EDIT_CELL);
    QApplication::processEvents();
    ASSERT_EQ(host.icomDialogs.size(), 2u);
    EXPECT_EQ(End(1, FALSE).m_icom, 0);
    QApplication::processEvents();
    EXPECT_EQ(Grid().GetColumnCount(), 15);
    EXPECT_TRUE(before.isNull());
}

// A drop lands on the trunk it was let go over, and a move that lands nowhere clears nothing.
TEST_F(TrunkDefsTest, ADropLandsOnItsTrunkAndAMoveThatLandsNowhereClearsNothing) {
    m_app.m_bAllowDragDrop = TRUE;
    Show();
    CCellID byState(0, kState);
    Grid().OnFixedRowClick(byState);
    const auto settle = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    };
    // A drag from another program hovers over trunk 1's end-1 alpha while a reply puts trunk 0
    // in maintenance, last in the order: the rows wait for the drop, which lands on trunk 1.
    CRect rect;
    Grid().GetCellRect(RowOf(1), kAlpha1, &rect);
    COleDataObject bp3(CString(u"BP3"));
    // The cell under it shows as the drop target while the drag is over it.
    const CCellID target(RowOf(1), kAlpha1);
    const auto highlighted = [&] {
        return Grid().GetCell(target.row, kAlpha1)->IsDropHighlighted();
    };
    ASSERT_EQ(Grid().OnDragEnter(&bp3, 0, rect.CenterPoint()), DROPEFFECT_MOVE);
    m_doc.SetTrunkState(0, 0x04);
    ReplyArrives(*screen, kCmdTrunkStates);
    EXPECT_EQ(RowOf(0), 1);
    EXPECT_TRUE(highlighted());
    EXPECT_TRUE(Grid().OnDrop(&bp3, DROPEFFECT_MOVE, rect.CenterPoint()));
    EXPECT_EQ(End(1), CAssign(1, 0, 2));
    EXPECT_FALSE(highlighted());
    settle();
    EXPECT_EQ(RowOf(0), 6);

    // A drag that leaves again holds them as long, the selector's filter too, and so does an
    // open edit.
    Grid().OnDragEnter(&bp3, 0, rect.CenterPoint());
    m_doc.SetTrunkState(0, 0x02);
    ReplyArrives(*screen, kCmdTrunkStates);
    host.contexts[0].m_params[0] = 3;
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(RowOf(0), 6);
    EXPECT_EQ(ShownTrunks().size(), 6u);
    Grid().OnDragLeave();
    EXPECT_FALSE(highlighted());
    settle();
    EXPECT_EQ(RowOf(0), 1);
    EXPECT_EQ(Sorted(ShownTrunks()), (std::vector<int>{0, 2}));
    host.contexts[0].m_params[0] = 0;
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Select(3, kIcom1, 3);
    Grid().OnChar('D', 1, 0);
    ASSERT_NE(Grid().GetInPlaceEditor(), nullptr);
    m_doc.SetTrunkState(0, 0x04);
    ReplyArrives(*screen, kCmdTrunkStates);
    EXPECT_EQ(RowOf(0), 1);
    Grid().GetInPlaceEditor()->SendChar(VK_ESCAPE);
    settle();
    EXPECT_EQ(RowOf(0), 6);
    // A drag whose leave never came is over once the grid hears the mouse as usual again.
    Grid().OnDragEnter(&bp3, 0, rect.CenterPoint());
    m_doc.SetTrunkState(0, 0x02);
    ReplyArrives(*screen, kCmdTrunkStates);
    EXPECT_EQ(RowOf(0), 6);
    Grid().OnMouseMove(0, rect.CenterPoint());
    EXPECT_FALSE(highlighted());
    settle();
    EXPECT_EQ(RowOf(0), 1);

    // Trunk 4's end-1 alpha VT moved onto trunk 1's, where VT names two of BRAV's ports: the
    // choice between them is cancelled, and trunk 4 keeps its end.
    m_doc.StoreAlpha(CAssign(3, 0, 7), u"VT");
    m_doc.StoreAlpha(CAssign(1, 0, 4), u"VT");
    m_doc.StoreAlpha(CAssign(1, 0, 5), u"VT");
    Select(RowOf(4), kAlpha1, RowOf(4));
    DragGrid().target = CCellID(RowOf(1), kAlpha1);
    DragGrid().OnBeginDrag();
    EXPECT_EQ(m_dialog.m_shown.size(), 1u);
    EXPECT_EQ(End(1), CAssign(1, 0, 2));
    EXPECT_EQ(End(4), CAssign(3, 0, 7));
    // Dragged from another program, it is answered as not taken, so that its source keeps it.
    COleDataObject vt(CString(u"VT"));
    Grid().GetCellRect(RowOf(1), kAlpha1, &rect);
    Grid().OnDragEnter(&vt, 0, rect.CenterPoint());
    EXPECT_FALSE(Grid().OnDrop(&vt, DROPEFFECT_MOVE, rect.CenterPoint()));
    EXPECT_EQ(m_dialog.m_shown.size(), 2u);
    // Taken in part, it is answered as copied, so that its source clears none of it; taken
    // whole, as moved.
    COleDataObject part(CString(u"ALFA\tZZZZ"));
    Grid().GetCellRect(RowOf(4), kIcom2, &rect);
    Grid().OnDragEnter(&part, 0, rect.CenterPoint());
    EXPECT_TRUE(Grid().OnDrop(&part, DROPEFFECT_MOVE, rect.CenterPoint()));
    EXPECT_TRUE(part.IsKeptAtSource());
    EXPECT_EQ(End(4, FALSE).m_icom, 0);
    EXPECT_FALSE(bp3.IsKeptAtSource());

    // Trunk 3's CHAR port 7 dropped from another program on trunk 1's end on CHAR: its source
    // keeps it, so it is refused as typed, moved or copied. Moved within the grid, it leaves
    // trunk 3 for trunk 1; a rebuild waits for the drag's end, as for one hovering from
    // elsewhere.
    m_doc.StoreAlpha(CAssign(2, 0, 6), u"CP7");
    TakeReports();
    COleDataObject port(Grid().GetItemText(RowOf(2), kPort2));
    Grid().GetCellRect(RowOf(0), kPort1, &rect);
    for (const DWORD keys : std::initializer_list<DWORD>{0, MK_CONTROL}) {
        Grid().OnDragEnter(&port, keys, rect.CenterPoint());
        EXPECT_FALSE(Grid().OnDrop(&port, DROPEFFECT_MOVE, rect.CenterPoint())) << keys;
    }
    EXPECT_EQ(TakeReports(), (std::vector<int>{18, 18}));
    EXPECT_EQ(ErrorText(18),
              u"The assignment entered is already being used as part of the definition for "
              u"Trunk #3.");
    EXPECT_EQ(End(0), CAssign(2, 0, 3));
    QPointer<QWidget> before = Grid().GetWidget();
    Select(RowOf(2), kPort2, RowOf(2));
    DragGrid().target = CCellID(RowOf(0), kPort1);
    const auto rebuild = [&] {
        screen->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
        EXPECT_FALSE(before.isNull());
    };
    DragGrid().meanwhile = [&] {
        ASSERT_TRUE(IsNestedLoopRunning());
        rebuild();
    };
    DragGrid().OnBeginDrag();
    EXPECT_EQ(End(0), CAssign(2, 0, 6));
    EXPECT_EQ(End(2, FALSE).m_icom, 2);
    EXPECT_FALSE(End(2, FALSE).IsValid());
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_FALSE(before.isNull());
    settle();
    EXPECT_TRUE(before.isNull());
    before = Grid().GetWidget();
    Grid().OnDragEnter(&port, 0, rect.CenterPoint());
    rebuild();
    Grid().OnDragLeave();
    settle();
    EXPECT_TRUE(before.isNull());

    // Undone and done again, the move goes back and comes again whole.
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(End(0), CAssign(2, 0, 3));
    EXPECT_EQ(End(2, FALSE), CAssign(2, 0, 6));
    ASSERT_TRUE(m_host.Redo());
    EXPECT_EQ(End(0), CAssign(2, 0, 6));
    EXPECT_FALSE(End(2, FALSE).IsValid());
    EXPECT_TRUE(TakeReports().empty());

    // Trunk 2's DELT port 6 moved onto its end on BRAV names BRAV's port 6, which trunk 6 holds
    // and the move does not free: refused as typed, and nothing moves.
    Put(5, CTrunk::kFieldEnd1, CAssign(1, 0, 5));
    Select(RowOf(1), kPort2, RowOf(1));
    DragGrid().meanwhile = nullptr;
    DragGrid().target = CCellID(RowOf(1), kPort1);
    DragGrid().OnBeginDrag();
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_NE(ErrorText(18).Find(u"Trunk #6."), -1);
    EXPECT_EQ(End(1), CAssign(1, 0, 2));
    EXPECT_EQ(End(1, FALSE), CAssign(3, 0, 5));

    // Trunk 1's Fixed flag and fixed assignment moved onto trunk 3: the flag, refused while
    // trunk 3 has no fixed assignment, is good once the assignment has landed, and the move
    // goes through whole and untold.
    m_doc.StoreAlpha(CAssign(0, 1, 0), u"PA1");
    Put(0, CTrunk::kFieldFixed1, CAssign(2, 1, 0));
    m_doc.SetTrunkFixed(TRUE, FALSE, 0);
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Grid().SetFocusCell(RowOf(0), kFixed);
    Grid().SetSelectedRange(RowOf(0), kFixed, RowOf(0), kAsgn1);
    DragGrid().target = CCellID(RowOf(2), kFixed);
    DragGrid().OnBeginDrag();
    EXPECT_TRUE(TakeReports().empty());
    EXPECT_EQ(Fixed(2), CAssign(0, 1, 0));
    EXPECT_TRUE(m_doc.GetTrunkFixed(2));
    EXPECT_FALSE(Fixed(0).IsValid());
    EXPECT_FALSE(m_doc.GetTrunkFixed(0));
}

// Every block of a row's editable cells moved onto a trunk on the same intercoms lands whole, a
// port and the alpha the picker is asked for again included, and goes back and comes again
// whole; a Fixed flag moved without its assignment is refused whole, for its own reason.
TEST_F(TrunkDefsTest, EveryColumnBlockOfARowMovedLandsOrIsRefusedWhole) {
    m_app.m_bAllowDragDrop = TRUE;
    m_app.m_bAllowEntryOfResourcesWithoutAlphas = FALSE;
    // Trunk 3: ALFA port 5, whose alpha DUP also names ALFA port 10, to CHAR port 7, fixed to
    // ALFA's PL 1. Trunk 4 has the same intercoms and nothing else.
    for (const auto& [assign, label] :
         {std::pair{CAssign(0, 0, 4), u"DUP"}, std::pair{CAssign(0, 0, 9), u"DUP"},
          std::pair{CAssign(2, 0, 6), u"C7"}, std::pair{CAssign(0, 1, 0), u"PL1"}})
        m_doc.StoreAlpha(assign, label);
    Put(2, CTrunk::kFieldFixed1, CAssign(0, 1, 0));
    Trunk(2).SetFixed(TRUE, FALSE);
    Put(3, CTrunk::kFieldEnd1, CAssign(0, CAssign::kNoType, CAssign::kNoNumber));
    Put(3, CTrunk::kFieldEnd2, CAssign(2, CAssign::kNoType, CAssign::kNoNumber));
    Put(5, CTrunk::kFieldEnd1, CAssign(0, 0, 9));
    Show();
    m_dialog.m_answer = 0;
    const auto values = [&] {
        std::vector<DWORD> held;
        for (int trunk : {2, 3}) {
            for (DWORD field = CTrunk::kFieldEnd1; field <= CTrunk::kFieldFixed; ++field)
                held.push_back(m_doc.GetTrunkValue(CTrunkSpec(trunk, field)));
        }
        return held;
    };
    const auto texts = [&](int trunk, int first, int last) {
        screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
        std::vector<CString> shown;
        for (int col = first; col <= last; ++col)
            shown.push_back(Grid().GetItemText(RowOf(trunk), col));
        return shown;
    };
    const auto move = [&](int first, int last, int to) {
        Grid().SetFocusCell(RowOf(2), first);
        Grid().SetSelectedRange(RowOf(2), first, RowOf(2), last);
        DragGrid().target = CCellID(RowOf(to), first);
        DragGrid().OnBeginDrag();
    };
    for (int first = kIcom1; first <= kAsgnAlpha1; ++first) {
        for (int last = first; last <= kAsgnAlpha1; ++last) {
            SCOPED_TRACE(testing::Message() << "columns " << first << "-" << last);
            const std::vector<DWORD> before = values();
            const std::vector<CString> moved = texts(2, first, last);
            const size_t steps = m_host.m_undo.GetCount();
            move(first, last, 3);
            if (first <= kFixed && last == kFixed) {
                EXPECT_EQ(TakeReports(), std::vector<int>{22});
                EXPECT_EQ(values(), before);
                EXPECT_EQ(m_host.m_undo.GetCount(), steps);
                continue;
            }
            EXPECT_TRUE(TakeReports().empty());
            EXPECT_EQ(texts(3, first, last), moved);
            const std::vector<DWORD> after = values();
            if (after == before) {
                EXPECT_EQ(m_host.m_undo.GetCount(), steps);
                continue;
            }
            ASSERT_EQ(m_host.m_undo.GetCount(), steps + 1);
            ASSERT_TRUE(m_host.Undo());
            EXPECT_EQ(values(), before);
            ASSERT_TRUE(m_host.Redo());
            EXPECT_EQ(values(), after);
            ASSERT_TRUE(m_host.Undo());
            EXPECT_TRUE(TakeReports().empty());
        }
    }
    EXPECT_FALSE(m_dialog.m_shown.empty());

    // Cancel in the picker gives the whole move up, untold.
    const std::vector<DWORD> before = values();
    m_dialog.m_answer = -1;
    move(kPort1, kAlpha1, 3);
    EXPECT_EQ(values(), before);
    EXPECT_TRUE(TakeReports().empty());
    // DUP's other port, which trunk 6 holds, is refused as typed; the picker is not asked
    // again for a cell that nothing landed after.
    m_dialog.m_answer = 1;
    const size_t asked = m_dialog.m_shown.size();
    move(kPort1, kAlpha1, 3);
    EXPECT_EQ(m_dialog.m_shown.size(), asked + 1);
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_EQ(values(), before);
    // Nor when cells after it land: the answer stands, and refuses the move at once.
    move(kPort1, kPort2, 3);
    EXPECT_EQ(m_dialog.m_shown.size(), asked + 2);
    EXPECT_EQ(TakeReports(), std::vector<int>{18});
    EXPECT_EQ(values(), before);

    // The Fixed flag and its assignment onto trunk 5, on DELT, which has no PL 1: the move is
    // refused for the assignment's reason, not for the flag's, which waited on it.
    move(kFixed, kAsgn1, 4);
    EXPECT_EQ(TakeReports(), std::vector<int>{12});
    EXPECT_EQ(values(), before);
    EXPECT_FALSE(Fixed(4).IsValid());
    EXPECT_FALSE(m_doc.GetTrunkFixed(4));
}

// The items that pass a command on to the main window are offered only while it takes them.
TEST_F(TrunkDefsTest, TheMenuOffersOnlyTheCommandsAvailableNow) {
    CUiEnvironment env;
    CModalScript script(env);
    m_app.SetMode(CAppState::kModeOnline);
    Show();
    Select(5, kIcom1, 5);
    NM_GRIDVIEW click;
    click.iRow = 5;
    click.iColumn = kIcom1;
    const auto enabled = [&] {
        QStringList texts;
        script.ExpectMenu([&texts](QMenu& menu) {
            for (const QAction* action : menu.actions())
                if (action->isEnabled() && action->text().startsWith("View"))
                    texts << action->text();
            return 0;
        });
        screen->OnGridRClick(&click);
        return texts;
    };
    host.available = {ID_VIEW_ICOM_SETUP};
    EXPECT_EQ(enabled(), QStringList({"View trunk &definitions", "View intercom s&etup"}));
    host.available = {ID_VIEW_TRUNK_SUMMARY, ID_VIEW_ICOM_STATUS, ID_VIEW_ICOM_ALPHAS};
    EXPECT_EQ(enabled(), QStringList({"View trunk &summary", "View trunk &definitions",
                                      "View intercom s&tatus", "View &alphas"}));
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(TrunkDefsTest, PollsAndCommandsWaitForOnlineAndTheCommandRule) {
    Show();
    CCVDataMgr& data = host.dataMgr;
    screen->UpdateGrid();
    EXPECT_FALSE(data.IsTrunkStatusPending());
    m_app.SetMode(CAppState::kModeOnline);
    data.GoOnline();
    screen->UpdateGrid();
    EXPECT_TRUE(data.IsTrunkStatusPending() && data.IsTrunkDefsPending() &&
                data.IsRemTrunkingPending());

    screen->OnCommand(ID_MAINT_MODE, 0);
    m_app.m_enabledCommands = {ID_MAINT_MODE, ID_NORMAL_MODE, ID_CLEAR_ALLOCATIONS};
    host.available = {ID_MAINT_MODE};
    screen->OnCommand(ID_MAINT_MODE, 0);
    screen->OnCommand(ID_NORMAL_MODE, 0);
    screen->OnCommand(ID_CLEAR_ALLOCATIONS, 0);
    EXPECT_EQ(host.maintenance, std::vector<int>{-1});
    EXPECT_TRUE(host.normal.empty());
    EXPECT_EQ(host.clearedAllocations, std::vector<int>{-1});

    Select(3, kPort2, 3);
    EXPECT_EQ(screen->GetSelectedTrunk(), 2);
    Grid().SetSelectedRange(3, kPort2, 4, kPort2);
    EXPECT_EQ(screen->GetSelectedTrunk(), -1);
}

TEST_F(TrunkDefsTest, RepliesPaintTheCellsTheyChangedOnceAndRefreshesPaintEveryCell) {
    host.timing.columnFitMs = 60000;
    host.timing.replyPaintMs = 1;
    Show();
    QApplication::processEvents();
    CPaintedArea painted(Grid().GetClientWidget());
    painted.Take();
    const auto area = [&](int row, int col) {
        CRect rect;
        Grid().GetCellRect(row, col, &rect);
        return QRegion(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
    };
    const auto paintChanges = [&] {
        for (int i = 0; i < 10000 && screen->IsPaintPending(); ++i)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        QApplication::processEvents();
    };

    // A burst of replies, one of which moved the first end of trunk 2 (row 3): its intercom,
    // port and alpha are painted, and no other cell. The rows, still in order, are checked
    // against the sort column once for the burst: one pass over them.
    Put(2, CTrunk::kFieldEnd1, CAssign(1, 0, 2));
    unsigned sortPasses = Grid().GetSortPass();
    for (int i = 0; i < 20; ++i)
        screen->OnUpdate(nullptr, CUpdateHint::Reply(kCmdTrunkDefs).ToParam(), nullptr);
    paintChanges();
    EXPECT_EQ(painted.Take(), area(3, kIcom1) + area(3, kPort1) + area(3, kAlpha1));
    EXPECT_EQ(Grid().GetItemText(3, kIcom1), u"BRAV");
    EXPECT_EQ(Grid().GetSortPass(), sortPasses + 1);

    // A reply that changes only how cells of other columns look: remote trunking that takes
    // the port of trunk 2's fixed PP assignment gives the assignment and its alpha the problem
    // colour.
    Put(2, CTrunk::kFieldFixed1, CAssign(1, 0, 9));
    ReplyArrives(*screen, kCmdTrunkDefs);
    paintChanges();
    painted.Take();
    CBitArray remotePorts(64);
    remotePorts.SetBit(9, TRUE);
    m_doc.SetIcomRemoteTrunkSet(1, remotePorts);
    ReplyArrives(*screen, kCmdRemoteTrunking);
    paintChanges();
    EXPECT_EQ(painted.Take(), area(3, kAsgn1) + area(3, kAsgnAlpha1));
    EXPECT_EQ(Grid().GetCell(3, kAsgn1)->GetBackClr(), m_app.m_clrProblematicBackground);

    // Replies paint nothing before the interval, however often the event loop turns, nor are
    // the rows checked against the sort column; a refresh or a rebuild paints every cell.
    host.timing.replyPaintMs = 60000;
    Put(2, CTrunk::kFieldEnd1, CAssign(1, 0, 0));
    sortPasses = Grid().GetSortPass();
    for (int i = 0; i < 5; ++i) {
        screen->OnUpdate(nullptr, CUpdateHint::Reply(kCmdTrunkDefs).ToParam(), nullptr);
        QApplication::processEvents();
        EXPECT_TRUE(painted.Take().isEmpty());
    }
    EXPECT_TRUE(screen->IsPaintPending());
    EXPECT_EQ(Grid().GetSortPass(), sortPasses);
    const QRegion everything(Grid().GetClientWidget()->rect());
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(painted.Take(), everything);
    screen->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(CPaintedArea(Grid().GetClientWidget()).Take(), everything);
}

TEST_F(TrunkDefsTest, ClearedAllocationsAndTrunkModesAskForTheTrunkStatesAtOnce) {
    Show();
    CCVDataMgr& data = host.dataMgr;
    m_app.SetMode(CAppState::kModeOnline);
    data.GoOnline();
    for (DWORD code : {kCmdClearAllocations, kCmdClearAllocationsEx, kCmdTrunkMode, kCmdNames}) {
        data.ClearPendingRequests();
        screen->OnUpdate(nullptr, CUpdateHint::Reply(code).ToParam(), nullptr);
        EXPECT_EQ(data.IsTrunkStatusPending() != 0, code != kCmdNames) << code;
    }
}

}  // namespace

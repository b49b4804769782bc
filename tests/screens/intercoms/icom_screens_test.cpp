#include <QApplication>
#include <QMenu>

#include <algorithm>

#include "link/command_codes.h"
#include "link/wire_labels.h"
#include "model/partial_save_selection.h"
#include "platform/ui/sys_info.h"

#include "screens/base/screen_ids.h"
#include "screens/intercoms/icom_setup_view.h"
#include "screens/intercoms/icom_status_view.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/memory_file.h"
#include "tests/support/modal_script.h"
#include "tests/support/painted_area.h"

namespace {

using Texts = std::vector<CString>;
constexpr WORD kNewCorvane = CCVConfig::kNewCorvane;
constexpr WORD kEnhanced = CCVConfig::kEnhancedStatus;
constexpr DWORD kEthernet = CCVConfig::kEthernetToMC;

// A menu as the user reads it: "-" a separator, "~" greyed, "*" checked; a submenu's entries
// follow its title, indented.
Texts Describe(const std::vector<CPopupMenu::Item>& items, const CString& indent = u"") {
    Texts out;
    for (const CPopupMenu::Item& item : items) {
        out.push_back(indent + (item.IsSeparator() ? u"-" : u"") + (item.enabled ? u"" : u"~") +
                      (item.checked ? u"*" : u"") + item.text);
        for (const CString& entry : Describe(item.popup, indent + u"  "))
            out.push_back(entry);
    }
    return out;
}

Texts TopLevel(const CPopupMenu& menu) {
    Texts top = Describe(menu.GetItems());
    std::erase_if(top, [](const CString& entry) { return entry.Left(2) == u"  "; });
    return top;
}

bool Has(const Texts& menu, const CString& entry) {
    return std::find(menu.begin(), menu.end(), entry) != menu.end();
}

int CommandOf(QMenu& menu, UINT command) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) {
            if (int found = CommandOf(*action->menu(), command)) return found;
        } else if (action->data().toUInt() == command && action->isEnabled()) {
            return static_cast<int>(command);
        }
    }
    return 0;
}

class IcomScreenTest : public ScreenTest {
protected:
    template <class View>
    std::unique_ptr<View> Open() {
        auto view = std::make_unique<View>(host);
        view->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20100);
        host.current = view.get();
        view->OnInitialUpdate();
        return view;
    }
    static Texts Row(const CKelvardinGridView& view, int row) {
        Texts texts;
        for (int col = 0; col < view.GetGrid()->GetColumnCount(); ++col)
            texts.push_back(view.GetGrid()->GetItemText(row, col));
        return texts;
    }
    static Texts Column(const CKelvardinGridView& view, int col) {
        Texts texts;
        for (int row = 1; row < view.GetGrid()->GetRowCount(); ++row)
            texts.push_back(view.GetGrid()->GetItemText(row, col));
        return texts;
    }
    static CKelvardinGridCell& Cell(const CKelvardinGridView& view, int row, int col) {
        return dynamic_cast<CKelvardinGridCell&>(*view.GetGrid()->GetCell(row, col));
    }
    // A right click on the cell with the selection as it stands; the command must be offered
    // in menu 133, and is chosen.
    void RightClick(CIcomGridView& view, int row, int col, UINT command) {
        m_script.ExpectMenu([command](QMenu& menu) {
            EXPECT_EQ(menu.objectName(), "menu133");
            EXPECT_EQ(CommandOf(menu, command), static_cast<int>(command)) << command;
            return CommandOf(menu, command);
        });
        NM_GRIDVIEW record;
        record.iRow = row;
        record.iColumn = col;
        view.OnGridRClick(&record);
    }

    // The controller's names reply, and the event loop turned until its paint tick, the
    // editors that ended gone.
    static void NamesArrive(CKelvardinGridView& view) {
        const auto names = reinterpret_cast<void*>(static_cast<LPARAM>(CWireLabelRange::kNameKind));
        view.OnUpdate(nullptr, CUpdateHint::Reply(kCmdNames).ToParam(), names);
        WaitForPaintTick(view);
        Settle();
    }
    static void Settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
    static std::vector<CCellID> Selected(const CGridCtrl& grid) {
        std::vector<CCellID> cells;
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            for (int col = 0; col < grid.GetColumnCount(); ++col)
                if (grid.IsCellSelected(row, col)) cells.emplace_back(row, col);
        }
        return cells;
    }

    CUiEnvironment m_env;
    CModalScript m_script{m_env};
};

TEST_F(IcomScreenTest, ColumnsFollowTheControllersAbilitiesAndRepliesPaintWhatTheyChanged) {
    const Texts counters = {u"Icom #", u"Name",        u"Errors To",
                            u"BER To", u"Errors From", u"BER From"};
    Configure(0, 0, 6);
    auto setup = Open<CIcomSetupView>();
    EXPECT_EQ(Row(*setup, 0), (Texts{u"Icom #", u"Name", u"Baud Rate", u"COM Port", u"Status"}));
    EXPECT_EQ(Cell(*setup, 1, 4).GetObjSpec().m_nFieldId, 1356u);
    EXPECT_EQ(setup->GetGrid()->GetRowCount(), 7);
    Texts status = counters;
    status.push_back(u"Status");
    EXPECT_EQ(Row(*Open<CIcomStatusView>(), 0), status);

    Configure(kNewCorvane | kEnhanced | CCVConfig::kUnicodeSupport,
              kEthernet | CCVConfig::kCascadeCosts | CCVConfig::kTwoCVsSupport, 6);
    setup = Open<CIcomSetupView>();
    EXPECT_EQ(Row(*setup, 0),
              (Texts{u"Icom #", u"Name 4", u"Name 6", u"Name 8", u"Name 8W", u"Connection",
                     u"Baud Rate", u"COM Port", u"Primary IP Address", u"Backup IP Address",
                     u"Cascade Cost", u"OK?", u"Cur", u"Type", u"Size", u"# Rem", u"Status"}));
    EXPECT_EQ(Cell(*setup, 1, 16).GetObjSpec().m_nFieldId, 1362u);
    EXPECT_TRUE(Cell(*setup, 2, 16).IsReadOnly());
    EXPECT_FALSE(Cell(*setup, 2, 1).IsReadOnly());

    auto view = Open<CIcomStatusView>();
    status.insert(status.end() - 1, {u"OK?", u"Cur", u"Type", u"Size", u"# Rem"});
    EXPECT_EQ(Row(*view, 0), status);
    EXPECT_TRUE(Cell(*view, 3, 1).IsReadOnly());

    // A reply paints every cell it changed, of its own data or not: on a two-controller system
    // a names reply that names a sixth intercom runs intercom 1's remote range from 251 past
    // 255, and its "# Rem" takes the problem colour on both screens.
    host.timing.replyPaintMs = 1;
    host.timing.columnFitMs = 60000;
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    for (const bool statusScreen : {false, true}) {
        Configure(kNewCorvane | kEnhanced, CCVConfig::kTwoCVsSupport, 6);
        m_doc.SetIcomRemoteTrunkBase(0, 251);
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR", u"DELT", u"ECHO"})
            NameIcom(i++, name);
        view.reset();
        setup.reset();
        std::unique_ptr<CIcomGridView> shown;
        if (statusScreen) {
            shown = Open<CIcomStatusView>();
        } else {
            shown = Open<CIcomSetupView>();
        }
        const Texts headers = Row(*shown, 0);
        const int rem = static_cast<int>(std::ranges::find(headers, u"# Rem") - headers.begin());
        ASSERT_LT(rem, static_cast<int>(headers.size()));
        shown->GetGrid()->EnsureVisible(1, rem);
        Settle();
        CPaintedArea painted(shown->GetGrid()->GetClientWidget());
        painted.Take();
        const auto area = [&](int row, int col) {
            CRect rect;
            shown->GetGrid()->GetCellRect(row, col, &rect);
            return QRegion(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
        };
        EXPECT_NE(Cell(*shown, 1, rem).GetBackClr(), m_app.m_clrProblematicBackground);

        NameIcom(5, u"FOXT");
        NamesArrive(*shown);
        EXPECT_EQ(Cell(*shown, 1, rem).GetBackClr(), m_app.m_clrProblematicBackground);
        const QRegion region = painted.Take();
        EXPECT_EQ(region.intersected(area(1, rem)), area(1, rem)) << statusScreen;
        // The other intercoms' cells look as they did.
        EXPECT_FALSE(region.intersects(area(2, rem))) << statusScreen;
        EXPECT_FALSE(region.intersects(area(4, 1))) << statusScreen;
    }
}

TEST_F(IcomScreenTest, TheNameOfTheConfiguredLengthSortsUntilTheUserSortsAgain) {
    Configure(kNewCorvane, 0, 4);
    Config().m_nAlphaSize = 8;
    for (int i = 0; const char16_t* name : {u"DELTA", u"ALPHA", u"CHARLIE", u"BRAVO"})
        NameIcom(i++, name, 8);
    auto setup = Open<CIcomSetupView>();
    EXPECT_EQ(Column(*setup, 3), (Texts{u"ALPHA", u"BRAVO", u"CHARLIE", u"DELTA"}));
    // Descending by number, then a new configuration: the same sort after the rebuild.
    CCellID header(0, 0);
    setup->GetGrid()->OnFixedRowClick(header);
    setup->GetGrid()->OnFixedRowClick(header);
    setup->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(Column(*setup, 0), (Texts{u"4", u"3", u"2", u"1"}));

    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    EXPECT_EQ(Open<CIcomSetupView>()->GetGrid()->GetSortColumn(), 0);
    m_app.m_bSortIntercomsByIntercomNumber = FALSE;
    EXPECT_EQ(Column(*Open<CIcomStatusView>(), 1),
              (Texts{u"ALPHA", u"BRAVO", u"CHARLIE", u"DELTA"}));
}

TEST_F(IcomScreenTest, CellsEditEverySettingAndRefuseWhatTheRulesRefuse) {
    Configure(kNewCorvane, kEthernet | CCVConfig::kCascadeCosts, 4);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    m_app.m_bAllowDragDrop = TRUE;
    auto setup = Open<CIcomSetupView>();
    // Icom #, Name 4, 6, 8, Connection, Baud Rate, COM Port, Primary, Backup, Cascade Cost.
    for (const auto& [col, text] : std::vector<std::pair<int, CString>>{
             {1, u"ALFA"}, {4, u"Network"}, {5, u"9600"}, {6, u"3"}, {7, u"10.0.0.7"}, {9, u"250"}})
        EXPECT_TRUE(Cell(*setup, 2, col).ValidateEdit(text)) << col;
    EXPECT_EQ(Row(*setup, 2), (Texts{u"2", u"ALFA", u"ALFA", u"ALFA", u"Network", u"9600", u"3",
                                     u"10.0.0.7", u"-", u"250", u"-"}));
    EXPECT_EQ(m_doc.GetIcomComPort(1), 2);
    EXPECT_EQ(setup->WindowProc(WM_SCREEN_HAS_CHANGES, 0, 0), 1);
    // The port another intercom holds, and one the controller lacks, are refused.
    EXPECT_FALSE(Cell(*setup, 3, 6).ValidateEdit(u"3"));
    EXPECT_FALSE(Cell(*setup, 3, 6).ValidateEdit(u"22"));
    EXPECT_EQ(TakeReports(), (std::vector<int>{2, 1}));
    // Dropped from another program, whose source keeps them, the port and the address in use
    // are refused as typed too.
    CKelvardinGridCtrl& grid = *setup->GetGrid();
    for (const auto& [col, text] : {std::pair(6, u"3"), std::pair(7, u"10.0.0.7")}) {
        COleDataObject dropped{CString(text)};
        CRect rect;
        grid.GetCellRect(3, col, &rect);
        grid.OnDragEnter(&dropped, 0, rect.CenterPoint());
        EXPECT_FALSE(grid.OnDrop(&dropped, DROPEFFECT_MOVE, rect.CenterPoint())) << col;
    }
    EXPECT_EQ(TakeReports(), (std::vector<int>{2, 29}));
    EXPECT_EQ(Row(*setup, 3)[7], u"-");
    EXPECT_EQ(m_doc.GetIcomComPort(2), -1);
    setup->ClearAllChanges();
    EXPECT_EQ(setup->WindowProc(WM_SCREEN_HAS_CHANGES, 0, 0), 0);
}

// Every block of a row's cells moved onto an intercom without settings lands whole, and goes
// back and comes again whole.
TEST_F(IcomScreenTest, EveryColumnBlockOfARowMovedLandsWholeAndGoesBackWhole) {
    Configure(kNewCorvane, kEthernet | CCVConfig::kCascadeCosts, 4);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    auto setup = Open<CDragView<CIcomSetupView>>();
    auto& grid = static_cast<CDragGrid&>(*setup->GetGrid());
    for (const auto& [col, text] : std::vector<std::pair<int, CString>>{{1, u"ALFA"},
                                                                        {2, u"ALFA6"},
                                                                        {4, u"Network"},
                                                                        {5, u"9600"},
                                                                        {6, u"3"},
                                                                        {7, u"10.0.0.7"},
                                                                        {9, u"250"}})
        ASSERT_TRUE(Cell(*setup, 2, col).ValidateEdit(text)) << col;
    m_doc.ClearAllChanges();
    m_host.m_undo.RemoveAll();
    const auto rows = [&] { return std::pair{Row(*setup, 2), Row(*setup, 4)}; };
    const int last = grid.GetColumnCount() - 1;
    for (int first = 1; first <= last; ++first) {
        for (int end = first; end <= last; ++end) {
            SCOPED_TRACE(testing::Message() << "columns " << first << "-" << end);
            const auto before = rows();
            grid.SetFocusCell(2, first);
            grid.SetSelectedRange(2, first, 2, end);
            grid.target = CCellID(4, first);
            grid.OnBeginDrag();
            EXPECT_TRUE(TakeReports().empty());
            const auto after = rows();
            for (int col = first; col <= end; ++col)
                EXPECT_EQ(after.second[static_cast<size_t>(col)],
                          before.first[static_cast<size_t>(col)])
                    << col;
            if (after == before) continue;
            ASSERT_TRUE(m_host.Undo());
            EXPECT_EQ(rows(), before);
            ASSERT_TRUE(m_host.Redo());
            EXPECT_EQ(rows(), after);
            ASSERT_TRUE(m_host.Undo());
            EXPECT_FALSE(m_doc.HasModifications());
            EXPECT_TRUE(TakeReports().empty());
        }
    }
}

TEST_F(IcomScreenTest, TheMenuSetsEverySelectedIntercomInOneUndoStep) {
    Configure(kNewCorvane, kEthernet, 5);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    auto setup = Open<CIcomSetupView>();
    setup->GetGrid()->SetSelectedRange(1, 5, 3, 6);
    RightClick(*setup, 2, 5, ID_ICOM_BAUD_9600);
    RightClick(*setup, 2, 5, ID_ICOM_NETWORK);
    EXPECT_EQ(Column(*setup, 5), (Texts{u"9600", u"9600", u"9600", u"38.4K", u"38.4K"}));
    EXPECT_EQ(Column(*setup, 4)[2], u"Network");
    EXPECT_EQ(m_host.m_undo.GetCount(), 2);
    ASSERT_TRUE(m_host.Undo());
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Column(*setup, 5), (Texts(5, u"38.4K")));

    // One intercom takes a port; "<none>" takes it back.
    setup->GetGrid()->SetSelectedRange(4, 6, 4, 6);
    RightClick(*setup, 4, 6, ID_ICOM_COM_FIRST + 4);
    EXPECT_EQ(m_doc.GetIcomComPort(3), 4);
    RightClick(*setup, 4, 6, ID_ICOM_COM_NONE);
    EXPECT_EQ(m_doc.GetIcomComPort(3), -1);
}

TEST_F(IcomScreenTest, TheComPortsOfEveryIntercomCountBeyondTheFirst31) {
    Configure(kNewCorvane, 0, 40);
    Config().m_nFirstComPort = 1;
    Config().m_nLastComPort = 20;
    m_doc.SetIcomComPort(2, FALSE, 33);  // COM3, the intercom chosen
    m_doc.SetIcomComPort(4, FALSE, 35);  // COM5
    m_doc.SetIcomComPort(6, FALSE, 1);   // COM7
    m_doc.SetIcomBaudRate(2, FALSE, 33);
    const Texts one =
        Describe(icom_menu::ForSetup(m_doc, CIcomSelection::Of({33}, 40), true, false).GetItems());
    for (const char16_t* entry : {u"  *COM3", u"  <none>", u"  *9600", u"  COM2", u"  COM21"})
        EXPECT_TRUE(Has(one, entry)) << ToUtf8(entry);
    for (const char16_t* gone : {u"  COM1", u"  COM5", u"  COM7", u"  COM22"})
        EXPECT_FALSE(Has(one, gone)) << ToUtf8(gone);

    // Several intercoms: no port but "<none>", nothing checked.
    const Texts several = Describe(
        icom_menu::ForSetup(m_doc, CIcomSelection::Of({33, 35}, 40), true, false).GetItems());
    const auto title = std::find(several.begin(), several.end(), u"C&OM Port");
    ASSERT_NE(title, several.end());
    EXPECT_EQ(Texts(title + 1, std::find(title, several.end(), u"-")), (Texts{u"  <none>"}));
    EXPECT_TRUE(Has(several, u"  9600"));
}

TEST_F(IcomScreenTest, MenusFollowTheModeTheChangesAndTheScreen) {
    Configure(kNewCorvane, 0, 6);
    NameIcom(0, u"ALFA");
    const CIcomSelection one = CIcomSelection::Of({0}, 6);
    EXPECT_EQ(TopLevel(icom_menu::ForSetup(m_doc, one, false, true)),
              (Texts{u"~Selected intercom: ALFA", u"-", u"&Baud Rate", u"C&OM Port", u"-",
                     u"~View trunk &summary", u"View trunk &definitions", u"~View intercom s&tatus",
                     u"View &alphas"}));
    // "Clear changes" only ONLINE with changes; the connection and search with Ethernet.
    Configure(kNewCorvane, kEthernet, 6);
    EXPECT_EQ(TopLevel(icom_menu::ForSetup(m_doc, one, true, true)),
              (Texts{u"~Selected intercom: #1", u"-", u"&Connection", u"&Baud Rate", u"C&OM Port",
                     u"Browse for intercom &IP address...", u"-", u"&Clear changes", u"-",
                     u"View trunk &summary", u"View trunk &definitions", u"View intercom s&tatus",
                     u"View &alphas"}));
    EXPECT_FALSE(Has(TopLevel(icom_menu::ForSetup(m_doc, one, true, false)), u"&Clear changes"));
    EXPECT_TRUE(
        Has(TopLevel(icom_menu::ForSetup(m_doc, CIcomSelection::Of({1, 4}, 6), true, false)),
            u"~Browse for intercom &IP address..."));
    EXPECT_EQ(TopLevel(icom_menu::ForStatus(m_doc, CIcomSelection::Of({1, 2, 3, 5}, 6), false)),
              (Texts{u"~Selected intercoms: 2-4, 6", u"-", u"~&Clear communication errors", u"-",
                     u"~View trunk &summary", u"View trunk &definitions", u"View intercom s&etup",
                     u"View &alphas"}));
    EXPECT_EQ(icom_menu::Caption(m_doc, CIcomSelection::Of({0, 1, 2, 3, 4, 5}, 6)),
              u"Selected intercoms: ALL");
}

TEST_F(IcomScreenTest, ViewCommandsShowOneIntercomOrAllOfThem) {
    Configure(kNewCorvane, 0, 6);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    auto status = Open<CIcomStatusView>();
    m_app.SetMode(CAppState::kModeOnline);
    status->GetGrid()->SetSelectedRange(2, 1, 4, 1);
    RightClick(*status, 3, 1, ID_ICOM_VIEW_SUMMARY);
    EXPECT_EQ(host.contexts[kScreenTrunkSummary].m_params[0], 0u);  // several read as all
    status->GetGrid()->SetSelectedRange(3, 2, 3, 2);
    RightClick(*status, 3, 2, ID_ICOM_VIEW_ALPHAS);
    RightClick(*status, 3, 2, ID_ICOM_VIEW_DEFS);
    EXPECT_EQ(host.contexts[kScreenIcomAlphas].m_params[0], 2u);
    EXPECT_EQ(host.contexts[kScreenIcomAlphas].m_params[1], 0xFFFFFFFFu);
    EXPECT_EQ(host.contexts[kScreenTrunkDefs].m_params[0], 3u);
    EXPECT_EQ(host.commands,
              (std::vector<UINT>{ID_VIEW_TRUNK_SUMMARY, ID_VIEW_ICOM_ALPHAS, ID_VIEW_TRUNK_DEFS}));

    // A header stands for every intercom.
    CIcomSelection selection;
    NM_GRIDVIEW record;
    record.iRow = 0;
    record.iColumn = 2;
    ASSERT_TRUE(status->SelectedIntercoms(record, selection));
    EXPECT_EQ(selection.index, CIcomSelection::kAll);
}

TEST_F(IcomScreenTest, TheBrowseStoresBothAddressesOfTheDeviceAsOneStep) {
    Configure(kNewCorvane, kEthernet, 4);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    NameIcom(2, u"ALFA");
    auto setup = Open<CIcomSetupView>();
    host.found = {{u"10.1.0.3", u"10.1.0.4"}};
    setup->GetGrid()->SetSelectedRange(3, 1, 3, 1);
    RightClick(*setup, 3, 1, ID_ICOM_BROWSE_ADDRESS);
    EXPECT_EQ(host.searches, (std::vector<std::pair<int, CString>>{{2, u"ALFA"}}));
    EXPECT_EQ(Row(*setup, 3)[7], u"10.1.0.3");
    EXPECT_EQ(Row(*setup, 3)[8], u"10.1.0.4");
    EXPECT_EQ(m_host.m_undo.GetCount(), 1);
}

TEST_F(IcomScreenTest, PollsComeOnlyFromTheCurrentScreenOnline) {
    auto status = Open<CIcomStatusView>();
    host.dataMgr.GoOnline();
    const auto tick = [&] {
        const CWndTimer* timer = status->GetPollTimer(IcomPoll::kErrors);
        status->SendMessage(WM_TIMER, timer->m_nCurrentId, 0);
        return host.dataMgr.IsIcomErrorsPending();
    };
    EXPECT_FALSE(tick());  // FILE mode
    m_app.SetMode(CAppState::kModeOnline);
    host.current = nullptr;
    EXPECT_FALSE(tick());
    host.current = status.get();
    EXPECT_TRUE(tick());
    EXPECT_FALSE(host.dataMgr.IsIcomStatusPending());
}

TEST_F(IcomScreenTest, RowsFollowTheSortMarkWhenTheControllersNamesArriveOrChange) {
    const auto first = [](Texts texts, size_t n) {
        texts.resize(n);
        return texts;
    };
    Configure(0, 0, 255);
    for (int i = 0; const char16_t* name : {u"DELT", u"ALFA", u"CHAR", u"BRAV"})
        NameIcom(i++, name);
    auto status = Open<CIcomStatusView>();
    EXPECT_EQ(first(Column(*status, 1), 4), (Texts{u"ALFA", u"BRAV", u"CHAR", u"DELT"}));

    // A controller of 24: the grid is rebuilt before its names arrive, and sorts them then.
    Configure(0, 0, 24);
    status->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    for (int i = 0; i < 24; ++i) {
        CString name;
        name.Format(u"N%d", 50 - i);
        NameIcom(i, name);
    }
    for (int i = 0; const char16_t* name : {u"ECHO", u"DELT", u"ALFA", u"CHAR", u"BRAV"})
        NameIcom(i++, name);
    NamesArrive(*status);
    EXPECT_EQ(status->GetGrid()->GetRowCount(), 25);
    EXPECT_EQ(first(Column(*status, 1), 6),
              (Texts{u"ALFA", u"BRAV", u"CHAR", u"DELT", u"ECHO", u"N27"}));
    EXPECT_EQ(first(Column(*status, 0), 6), (Texts{u"3", u"5", u"4", u"2", u"1", u"24"}));
    EXPECT_EQ(status->GetGrid()->GetSortColumn(), 1);
    EXPECT_TRUE(status->GetGrid()->GetSortAscending());

    // Five intercoms from here on.
    Configure(0, 0, 5);
    for (int i = 0; const char16_t* name : {u"ECHO", u"DELT", u"ALFA", u"CHAR", u"BRAV"})
        NameIcom(i++, name);
    status->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    CKelvardinGridCtrl& grid = *status->GetGrid();

    // Descending, then the controller renames one: its row moves, the mark stays.
    CCellID header(0, 1);
    grid.OnFixedRowClick(header);
    NameIcom(2, u"ZULU");
    NamesArrive(*status);
    EXPECT_EQ(Column(*status, 1), (Texts{u"ZULU", u"ECHO", u"DELT", u"CHAR", u"BRAV"}));
    EXPECT_EQ(grid.GetSortColumn(), 1);
    EXPECT_FALSE(grid.GetSortAscending());

    // Hidden, the screen hears no replies; shown again, its rows take their order.
    status->SendMessage(WM_SCREEN_LEAVING, 0, 0);
    host.current = nullptr;
    NameIcom(0, u"AAAA");
    NamesArrive(*status);
    EXPECT_EQ(Column(*status, 1), (Texts{u"ZULU", u"AAAA", u"DELT", u"CHAR", u"BRAV"}));
    host.current = status.get();
    status->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Settle();
    EXPECT_EQ(Column(*status, 1), (Texts{u"ZULU", u"DELT", u"CHAR", u"BRAV", u"AAAA"}));
}

TEST_F(IcomScreenTest, FocusAndSelectionStayOnTheirIntercomsWhileTheRowsMove) {
    Configure(0, 0, 4);
    for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR", u"DELT"})
        NameIcom(i++, name);
    auto setup = Open<CIcomSetupView>();
    const auto grid = [&]() -> CKelvardinGridCtrl& { return *setup->GetGrid(); };
    const auto nameOf = [&](int icom) {
        return m_doc.GetObjectText(CIcomSpec(icom, CIntercom::kFieldName));
    };
    grid().SetSelectedRange(1, 1, 1, 2);
    grid().SetFocusCell(1, 1);

    // ALFA renamed ZED, and the grid rebuilt: the focus and selection go with the intercom.
    NameIcom(0, u"ZED");
    setup->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(Column(*setup, 1), (Texts{u"BRAV", u"CHAR", u"DELT", u"ZED"}));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(4, 1));
    EXPECT_EQ(Selected(grid()), (std::vector<CCellID>{{4, 1}, {4, 2}}));

    // Typing edits ZED, whose row then takes its place under the mark, the focus with it.
    grid().OnEditCell(4, 1, CPoint(-1, -1), 'A');
    ASSERT_NE(grid().GetInPlaceEditor(), nullptr);
    grid().EndEditing();
    Settle();
    EXPECT_EQ(nameOf(0), u"A");
    EXPECT_EQ(Column(*setup, 1), (Texts{u"A", u"BRAV", u"CHAR", u"DELT"}));
    EXPECT_EQ(grid().GetSortColumn(), 1);
    EXPECT_EQ(grid().GetFocusCell(), CCellID(1, 1));

    // While an edit is open, a rename from the controller moves no row; after the edit, both
    // changes take their places.
    grid().SetFocusCell(3, 1);
    grid().OnEditCell(3, 1, CPoint(-1, -1), 'C');
    NameIcom(1, u"ZULU");
    NamesArrive(*setup);
    ASSERT_NE(grid().GetInPlaceEditor(), nullptr);
    EXPECT_EQ(Column(*setup, 0), (Texts{u"1", u"2", u"3", u"4"}));
    grid().EndEditing();
    Settle();
    EXPECT_EQ(nameOf(2), u"C");
    EXPECT_EQ(Column(*setup, 1), (Texts{u"A", u"C", u"DELT", u"ZULU"}));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(2, 1));
    EXPECT_EQ(grid().GetSortColumn(), 1);
}

TEST_F(IcomScreenTest, SortedScreensTakeTheOrderOfASetupReadFromAFile) {
    const auto save = [&] {
        m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
        CMemFile file;
        EXPECT_EQ(m_doc.WriteSetupFile(file, u"A.kvd", FALSE, TRUE), 1);
        return file.m_bytes;
    };
    const auto read = [&](const std::vector<BYTE>& bytes, BOOL reset) {
        CMemFile file(bytes);
        CPartialSaveSelection selection;
        CKelvardinDoc::ReadFileContents(file, selection);
        EXPECT_EQ(m_doc.ReadSetupFile(selection, file, u"A.kvd", reset, FALSE), 1);
        Settle();
    };
    Configure(0, 0, 5);
    for (int i = 0; const char16_t* name : {u"STDA", u"STDB", u"STDC", u"MCR", u"ALFA"})
        NameIcom(i++, name);
    const std::vector<BYTE> opened = save();
    NameIcom(4, u"ZULU");
    const std::vector<BYTE> merged = save();

    // The screens stand in number order under their name marks before the file is read.
    Configure(0, 0, 5);
    for (int i = 0; const char16_t* name : {u"N1", u"N2", u"N3", u"N4", u"N5"})
        NameIcom(i++, name);
    auto status = Open<CIcomStatusView>();
    auto setup = Open<CIcomSetupView>();
    CFrameViews views;
    views.all = {status.get(), setup.get()};
    views.shown = {setup.get()};
    m_doc.SetViews(&views);
    const auto grid = [&]() -> CKelvardinGridCtrl& { return *setup->GetGrid(); };
    grid().SetFocusCell(2, 1);
    grid().SetSelectedRange(2, 1, 2, 2);

    // Open: the rows take the file's names' order, the focus and selection with intercom 2.
    read(opened, TRUE);
    EXPECT_EQ(Column(*setup, 1), (Texts{u"ALFA", u"MCR", u"STDA", u"STDB", u"STDC"}));
    EXPECT_EQ(Column(*setup, 0), (Texts{u"5", u"4", u"1", u"2", u"3"}));
    EXPECT_EQ(grid().GetSortColumn(), 1);
    EXPECT_TRUE(grid().GetSortAscending());
    EXPECT_EQ(grid().GetFocusCell(), CCellID(4, 1));
    EXPECT_EQ(Selected(grid()), (std::vector<CCellID>{{4, 1}, {4, 2}}));

    // The hidden screen heard only the rebuild; shown, it takes the order too.
    EXPECT_EQ(Column(*status, 1), (Texts{u"STDA", u"STDB", u"STDC", u"MCR", u"ALFA"}));
    host.current = status.get();
    status->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Settle();
    EXPECT_EQ(Column(*status, 1), (Texts{u"ALFA", u"MCR", u"STDA", u"STDB", u"STDC"}));

    // A merge renames ALFA ZULU: its row goes last.
    host.current = setup.get();
    views.shown = {setup.get()};
    read(merged, FALSE);
    EXPECT_EQ(Column(*setup, 1), (Texts{u"MCR", u"STDA", u"STDB", u"STDC", u"ZULU"}));
    EXPECT_EQ(grid().GetFocusCell(), CCellID(3, 1));
    m_doc.SetViews(nullptr);
}

// While the mouse button is down a rename moves no row; the rows follow once it is up.
TEST_F(IcomScreenTest, APressHoldsTheRowsAndAMenusRateMovesItsRow) {
    Configure(0, 0, 5);
    for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR", u"DELT", u"ECHO"})
        NameIcom(i++, name);
    auto setup = Open<CIcomSetupView>();
    CKelvardinGridCtrl& grid = *setup->GetGrid();
    grid.SetFocusCell(-1, -1);
    CRect alfa;
    ASSERT_TRUE(grid.GetCellRect(1, 1, &alfa));
    {
        const CInputState pressed(MK_LBUTTON);
        grid.OnLButtonDown(MK_LBUTTON, alfa.CenterPoint());
        NameIcom(0, u"ZULU");
        NamesArrive(*setup);
        EXPECT_EQ(Column(*setup, 1)[0], u"ZULU");
        grid.OnLButtonUp(0, alfa.CenterPoint());
    }
    Settle();
    EXPECT_EQ(Column(*setup, 1), (Texts{u"BRAV", u"CHAR", u"DELT", u"ECHO", u"ZULU"}));

    // Sorted by baud rate, a menu's rate moves its row as a typed one would.
    CCellID byBaud(0, 2);
    grid.OnFixedRowClick(byBaud);
    grid.SetSelectedRange(1, 2, 1, 2);
    RightClick(*setup, 1, 2, ID_ICOM_BAUD_9600);
    Settle();
    EXPECT_TRUE(m_script.AllAnswered());
    EXPECT_EQ(Column(*setup, 1), (Texts{u"CHAR", u"DELT", u"ECHO", u"ZULU", u"BRAV"}));
}

}  // namespace

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include "link/command_codes.h"
#include "link/data_replies.h"
#include "model/partial_save_selection.h"
#include "screens/intercoms/icom_alpha_filter_view.h"
#include "screens/intercoms/icom_alphas_view.h"
#include "screens/popups/popup_list.h"
#include "tests/screens/diag_fixture.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/memory_file.h"
#include "tests/support/painted_area.h"

namespace {

using Labels = std::vector<CString>;

// Intercoms 1-3 are named; intercom 1 has PP alphas 0-2 and an IFB alpha, intercom 3 a PP and
// an IFB alpha.
class IcomAlphasViewTest : public DiagScreenTest {
protected:
    void SetUp() override {
        DiagScreenTest::SetUp();
        CIcomAlphasView::RememberedSort() = {};
        for (int i = 1; const char16_t* name : {u"BRAV", u"CHAR", u"DELT"})
            NameIcom(i++, name);
        for (auto [icom, type, number, label] : {std::tuple{1, 0, 0, u"P10"},
                                                 {1, 0, 1, u"P11"},
                                                 {1, 0, 2, u"P12"},
                                                 {1, 2, 0, u"F10"},
                                                 {3, 0, 0, u"P30"},
                                                 {3, 2, 4, u"F34"}})
            Store(icom, type, number, label);
        Choose(-1, -1);
        pane.Create(nullptr, CRect(0, 0, 680, 24), &window, 20006);
        view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 24, 680, 380), &window, 20106);
        host.current = &view;
        host.pane = &pane;
        view.OnInitialUpdate();
        pane.OnInitialUpdate();
        Show(pane);
        Show(view);
    }

    void Store(int icom, int type, int number, const CString& label) {
        m_doc.StoreAlpha(CAssign(BYTE(icom), BYTE(type), WORD(number)), label);
    }
    void Choose(int icom, int type) {
        host.contexts[6].m_params[0] = static_cast<DWORD>(icom);
        host.contexts[6].m_params[1] = static_cast<DWORD>(type);
    }
    // The labels of the rows top down, of those shown only or of every row.
    Labels Rows(bool shownOnly = true) {
        QApplication::processEvents();
        Labels labels;
        CKelvardinGridCtrl& grid = *view.GetGrid();
        for (int row = 1; row < grid.GetRowCount(); ++row) {
            if (shownOnly && grid.GetRowHeight(row) == 0) continue;
            labels.push_back(grid.GetItemText(row, 4).TrimRight());
        }
        return labels;
    }
    void Hide(bool hidden) {
        host.current = hidden ? nullptr : &view;
        views.shown = hidden ? std::vector<CView*>{} : std::vector<CView*>{&pane, &view};
        view.ShowWindow(hidden ? SW_HIDE : SW_SHOW);
        // Shown again, the main window refreshes the screen.
        if (!hidden) view.OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    }

    CIcomAlphaFilterView pane{host};
    CIcomAlphasView view{host};
};

TEST_F(IcomAlphasViewTest, RowsFollowAFileLoadAnUploadAndRemovalsWhileHidden) {
    EXPECT_EQ(Rows(), (Labels{u"P10", u"P11", u"P12", u"F10", u"P30", u"F34"}));
    EXPECT_EQ(view.GetGrid()->GetItemText(4, 2) + view.GetGrid()->GetItemText(4, 3), u"IFB1");
    EXPECT_TRUE(view.GetGrid()->GetCell(1, 4)->IsReadOnly());

    // A file read while another screen shows: the reset empties the rows, the file fills them.
    Hide(true);
    m_doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    CMemFile saved;
    ASSERT_EQ(m_doc.WriteSetupFile(saved, u"A.kvd", FALSE, TRUE), 1);
    m_doc.ResetToDefaultSetup();
    EXPECT_TRUE(Rows(false).empty());
    CMemFile file(saved.m_bytes);
    CPartialSaveSelection description;
    ASSERT_TRUE(CKelvardinDoc::ReadFileContents(file, description));
    ASSERT_EQ(m_doc.ReadSetupFile(description, file, u"A.kvd", TRUE, FALSE), 1);
    EXPECT_EQ(Rows(false), (Labels{u"P10", u"P11", u"P12", u"F10", u"P30", u"F34"}));

    // An upload of intercom 1's PP list: two alphas, one new label, the third gone; an alpha
    // of intercom 3 removed by a store.
    CDualMessage pair;
    pair.request.command = pair.reply.command = kCmdNames;
    pair.request.SetPayload(std::vector<BYTE>{1, 0x00, 0x00, 0x00, 0x80});
    pair.reply.SetPayload(std::vector<BYTE>{0, 2, 'P', '1', '0', 0, 'N', 'E', 'W', 0});
    FindDataReplyHandler(kCmdNames)(host.dataMgr, pair, m_doc);
    Store(3, 0, 0, u"");
    Hide(false);
    EXPECT_EQ(Rows(), (Labels{u"P10", u"NEW", u"F10", u"F34"}));
    EXPECT_EQ(view.GetKeys().size(), 4u);

    // After a removal the keys behind it are found where they now stand.
    Store(1, 0, 0, u"");
    Store(3, 2, 4, u"");
    EXPECT_EQ(Rows(), (Labels{u"NEW", u"F10"}));

    // Sorted by label and narrowed to intercom 1, a removed alpha takes its own row along, not
    // the row that stands at its place in the list.
    CKelvardinGridCtrl& grid = *view.GetGrid();
    Store(3, 0, 5, u"A35");
    EXPECT_EQ(Rows(), (Labels{u"NEW", u"F10", u"A35"}));
    CCellID byLabel(0, 4);
    grid.OnFixedRowClick(byLabel);
    Choose(1, -1);
    view.OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(Rows(false), (Labels{u"A35", u"F10", u"NEW"}));
    Store(1, 0, 1, u"");
    EXPECT_EQ(Rows(), (Labels{u"F10"}));
    Choose(-1, -1);
    view.OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(Rows(), (Labels{u"A35", u"F10"}));

    // One removed while a drag hovers over the rows keeps its place until the drag has gone,
    // so that no row moves under it.
    grid.EnableDragAndDrop(TRUE);
    CRect rect;
    grid.GetCellRect(2, 4, &rect);
    COleDataObject text(CString(u"F11"));
    grid.OnDragEnter(&text, 0, rect.CenterPoint());
    Store(1, 2, 0, u"");
    EXPECT_EQ(Rows(), (Labels{u"A35", u""}));
    grid.OnDragLeave();
    EXPECT_EQ(Rows(), (Labels{u"A35"}));
    m_doc.ResetToDefaultSetup();
    EXPECT_TRUE(Rows(false).empty());
    EXPECT_TRUE(view.GetKeys().empty());
}

TEST_F(IcomAlphasViewTest, ChoiceOfIntercomAndTypeOnlyChangesRowHeights) {
    // The pane's choices go into the context, and the rows follow; the type shows its choice.
    EXPECT_TRUE(pane.GetTypeEdit().IsExpanded());
    view.GetGrid()->SetFocusCell(1, 4);
    pane.GetEdit().SelectByData(3);
    EXPECT_EQ(Rows(), (Labels{u"P30", u"F34"}));
    // The focus left P10's row, hidden now, for the next that shows.
    EXPECT_EQ(view.GetGrid()->GetFocusCell(), CCellID(5, 4));
    pane.GetTypeEdit().SelectByData(2);
    EXPECT_EQ(host.contexts[6].m_params[1], 2u);
    EXPECT_EQ(Rows(), (Labels{u"F34"}));
    EXPECT_EQ(Rows(false).size(), 6u);
    // An alpha outside the choice gets a hidden row; it shows once the choice takes it.
    Store(2, 2, 0, u"F20");
    EXPECT_EQ(Rows(), (Labels{u"F34"}));
    pane.GetEdit().SelectByData(DWORD(-1));
    EXPECT_EQ(Rows(), (Labels{u"F10", u"F34", u"F20"}));

    // A sort by the label keeps the rows that show right.
    CCellID header(0, 4);
    view.GetGrid()->OnFixedRowClick(header);
    EXPECT_EQ(Rows(), (Labels{u"F10", u"F20", u"F34"}));
    EXPECT_EQ(CIcomAlphasView::RememberedSort().column, 4);

    // "View alphas" on intercom 3's row: that intercom, every type; Back has the old choice.
    int row = 1;
    while (view.GetGrid()->GetItemText(row, 4).TrimRight() != u"F34")
        ++row;
    Labels entries;
    script.ExpectMenu([&entries](QMenu& menu) {
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator())
                entries.push_back((action->isEnabled() ? u"" : u"~") + FromQString(action->text()));
        }
        return static_cast<int>(ID_ICOM_VIEW_ALPHAS);
    });
    NM_GRIDVIEW record;
    record.iRow = row;
    record.iColumn = 4;
    view.OnGridRClick(&record);
    EXPECT_EQ(entries, (Labels{u"~Selected intercom: DELT", u"~View trunk &summary",
                               u"View trunk &definitions", u"View intercom s&etup",
                               u"~View intercom s&tatus", u"View &alphas"}));
    EXPECT_EQ(Rows(), (Labels{u"F34", u"P30"}));
    EXPECT_EQ(pane.GetEdit().GetCurSelData(), 3);
    EXPECT_EQ(pane.GetTypeEdit().GetCurSelData(), -1);
    ASSERT_EQ(host.pushed.size(), 1u);
    EXPECT_EQ(host.pushed[0].m_params[0], DWORD(-1));
    EXPECT_EQ(host.pushed[0].m_params[1], 2u);
}

TEST_F(IcomAlphasViewTest, ConfigurationChangeKeepsTheRowsOfTheAlphasTheDocumentHolds) {
    // The configuration sheet's OK reaches every view, shown or not; the alphas stay.
    Choose(3, -1);
    m_doc.UpdateAllViews(nullptr, CUpdateHint::kRebuild);
    EXPECT_EQ(Rows(), (Labels{u"P30", u"F34"}));
    EXPECT_EQ(Rows(false).size(), 6u);
    Choose(-1, -1);
    Hide(true);
    m_app.m_nVisibleIntercoms = 2;
    m_doc.UpdateAllViews(nullptr, CUpdateHint::kRebuild);
    Hide(false);
    EXPECT_EQ(Rows(), (Labels{u"P10", u"P11", u"P12", u"F10"}));
    // Alphas that come after still get their rows.
    Store(1, 0, 3, u"P13");
    EXPECT_EQ(Rows(), (Labels{u"P10", u"P11", u"P12", u"F10", u"P13"}));
    // One for the first intercom past the visible count gets none.
    Store(2, 0, 0, u"P20");
    EXPECT_EQ(Rows(false), (Labels{u"P10", u"P11", u"P12", u"F10", u"P13"}));
}

TEST_F(IcomAlphasViewTest, AlphasThatArrivePaintTheirOwnCellsOnly) {
    Rows();
    CKelvardinGridCtrl& grid = *view.GetGrid();
    CPaintedArea painted(grid.GetClientWidget());
    painted.Take();
    Store(1, 0, 3, u"P13");
    Store(1, 0, 1, u"Q11");
    ASSERT_TRUE(Pump([&] { return grid.GetRowCount() == 8 && !view.IsPaintPending(); }));
    const QRegion region = painted.Take();
    const auto labelOf = [&](const CString& label) {
        CRect rect;
        for (int row = 1; row < grid.GetRowCount(); ++row) {
            if (grid.GetItemText(row, 4).TrimRight() == label) grid.GetCellRect(row, 4, &rect);
        }
        return QRect(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
    };
    for (const char16_t* label : {u"P13", u"Q11"})
        EXPECT_EQ(region.intersected(labelOf(label)), QRegion(labelOf(label)));
    EXPECT_FALSE(region.intersects(labelOf(u"P12")));
}

TEST_F(IcomAlphasViewTest, CellsAreLentOnlyInsideTheColumnsAndRows) {
    CKelvardinGridCtrl* grid = view.GetGrid();
    const GRIDCALLBACK lend = grid->GetCallbackFunc();
    ASSERT_NE(lend, nullptr);
    const auto param = reinterpret_cast<LPARAM>(&view);
    const int rows = grid->GetRowCount();
    ASSERT_EQ(rows, 7);
    EXPECT_NE(lend(0, 0, 0, param, grid), nullptr);
    EXPECT_NE(lend(rows - 1, CIcomAlphasView::kColumnCount - 1, 0, param, grid), nullptr);
    for (auto [row, col] :
         {std::pair{-1, 0}, {rows, 0}, {1, -1}, {1, CIcomAlphasView::kColumnCount}})
        EXPECT_EQ(lend(row, col, 0, param, grid), nullptr) << row << ',' << col;
}

TEST_F(IcomAlphasViewTest, EnterOnARowOpensTheTypeList) {
    CCoolEdit& types = pane.GetTypeEdit();
    QTest::keyClick(view.GetGrid()->GetWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(types.IsPopupOpen());
    EXPECT_TRUE(types.GetPopupList()->IsOpen());
    EXPECT_FALSE(pane.GetEdit().IsPopupOpen());
    // Under the type's value, where the user reads the choice.
    const CRect value = types.GetAreaRect(cool_edit::kValue);
    EXPECT_EQ(types.GetPopupList()->GetWidget()->window()->geometry().left(),
              types.GetWidget()->mapToGlobal(QPoint(value.left, 0)).x());
    types.ClosePopup();
}

TEST_F(IcomAlphasViewTest, ThePaneNamesTheIntercomShownThoughItHasNoName) {
    Store(5, 0, 0, u"P50");
    pane.GetEdit().SetText(u"Intercom Alphas for:");
    pane.GetEdit().Expand();
    ASSERT_EQ(Rows().back(), u"P50");
    const int row = view.GetGrid()->GetRowCount() - 1;
    script.ExpectMenu([](QMenu&) { return static_cast<int>(ID_ICOM_VIEW_ALPHAS); });
    NM_GRIDVIEW record;
    record.iRow = row;
    record.iColumn = 4;
    view.OnGridRClick(&record);
    EXPECT_EQ(Rows(), (Labels{u"P50"}));
    EXPECT_EQ(pane.GetEdit().GetCurSelData(), 5);
    CString text;
    EXPECT_EQ(pane.GetFilterText(text), CString(u"Intercom Alphas for: #6"));
}

TEST_F(IcomAlphasViewTest, PollsForTheChosenAlphasUnlessTheControllerCountsThem) {
    CCVDataMgr& link = host.dataMgr;
    m_app.SetMode(CAppState::kModeOnline);
    link.GoOnline();
    Choose(3, 2);
    const auto tick = [&] { view.SendMessage(WM_TIMER, view.GetTimer().m_nCurrentId); };
    EXPECT_EQ(view.GetTimer().GetInterval(), 10000u);
    tick();
    EXPECT_EQ(link.GetPendingTotal(), 1);  // intercom 3's IFB list
    SetCapabilities(CCVConfig::kAlphaCounters);
    link.GoOnline();
    tick();
    EXPECT_EQ(link.GetPendingTotal(), 0);
}

TEST_F(IcomAlphasViewTest, AControllerSwapUnderASortedScreenAsksForItsDataOnce) {
    // Real intervals: no poll of the screen's comes due while the test runs.
    env.SetTimeScale(1.0);
    view.OnInitialUpdate();
    const auto controller = [](int intercoms, const std::string& prefix) {
        SimSetup setup;
        setup.intercoms = intercoms;
        for (int i = 0; i < intercoms; ++i) {
            const std::string name = prefix + std::to_string(100 - i);
            setup.names[i] = {name, name, name, name};
        }
        for (int i = 0; i < intercoms; i += 3)
            setup.alphas[{i, 0}] = {prefix + "P" + std::to_string(i), prefix + "Q"};
        return setup;
    };
    // Every third intercom has two alphas.
    const auto settled = [&](size_t intercoms) {
        return [&, intercoms] {
            return host.dataMgr.GetPendingTotal() == 0 &&
                   Rows(false).size() == (intercoms + 2) / 3 * 2;
        };
    };
    sim.ChangeState([&](CorvaneState& s) { s.UseSetup(controller(40, "B")); });
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    view.OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    ASSERT_TRUE(Pump(settled(40)));
    CCellID byName(0, 1);
    view.GetGrid()->OnFixedRowClick(byName);

    // Another controller, smaller, with other names: the screen asks for its alphas, and
    // then no more.
    sim.ChangeState([&](CorvaneState& s) { s.UseSetup(controller(24, "A")); });
    host.dataMgr.Disconnect();
    const int before = CountRequests(kCmdNames);
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    view.OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    ASSERT_TRUE(Pump(settled(24)));
    EXPECT_EQ(Rows().front().Left(1), u"A");
    const auto idleAfter = [&](int from) {
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_EQ(host.dataMgr.GetPendingTotal(), 0);
        return CountRequests(kCmdNames) - from;
    };
    const int swapRequests = CountRequests(kCmdNames) - before;
    EXPECT_EQ(idleAfter(before), swapRequests);
    EXPECT_EQ(view.GetGrid()->GetSortColumn(), -1);  // rows came in the controller's order

    // Sorted by name (the click asks for the alphas again), the controller renames its
    // intercoms: the rows take the new order once, and the screen asks for nothing more.
    view.GetGrid()->OnFixedRowClick(byName);
    ASSERT_TRUE(Pump(settled(24)));
    sim.ChangeState([&](CorvaneState& s) {
        for (auto& [icom, names] : s.setup.names)
            names.fill("C" + std::to_string(icom + 10));
    });
    const int renamed = CountRequests(kCmdNames);
    const size_t framesBefore = sim.Requests().size();
    host.dataMgr.RefreshIcomNames();
    const auto names = [&] {
        std::vector<CString> texts;
        for (int row = 1; row < view.GetGrid()->GetRowCount(); ++row)
            texts.push_back(view.GetGrid()->GetItemText(row, 1));
        return texts;
    };
    // Every name of every length renamed, nothing more on its way.
    const auto allRenamed = [&] {
        for (int icom = 0; icom < 24; ++icom) {
            for (DWORD field = CIntercom::kFieldName4; field <= CIntercom::kFieldName8W; ++field)
                if (m_doc.GetObjectText(CIcomSpec(icom, field)).Left(1) != u"C") return false;
        }
        return true;
    };
    ASSERT_TRUE(Pump([&] { return settled(24)() && allRenamed(); }));
    WaitForPaintTick(view);
    const std::vector<CString> sorted = names();
    EXPECT_TRUE(std::ranges::is_sorted(sorted));
    EXPECT_EQ(view.GetGrid()->GetSortColumn(), 1);
    const int renameRequests = CountRequests(kCmdNames) - renamed;
    EXPECT_EQ(idleAfter(renamed), renameRequests);
    // Names only (kinds 7 and 8): the new order asked the controller for no alphas.
    const std::vector<SimFrame> frames = sim.Requests();
    EXPECT_TRUE(std::none_of(
        frames.begin() + static_cast<std::ptrdiff_t>(framesBefore), frames.end(),
        [](const SimFrame& f) { return f.command == kCmdNames && SimU16(f, 1) >> 12 < 7; }));
    RecordProperty("requestsAfterTheSwap", swapRequests);
    RecordProperty("requestsAfterTheRename", renameRequests);
}

}  // namespace

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "link/command_codes.h"
#include "platform/ui/message_loop.h"
#include "screens/popups/popup_list.h"
#include "screens/trunks/trunk_summ_filter_view.h"
#include "screens/trunks/trunk_summ_view.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/modal_script.h"

namespace {

// The document's hints go to the screen and its pane, as the main window passes them on.
class CViewsRouter : public CRecordingViews {
public:
    void UpdateAllFrameViews(CView* sender, CUpdateHint hint, LPARAM object) override {
        CRecordingViews::UpdateAllFrameViews(sender, hint, object);
        for (CView* view : views)
            if (view && view != sender)
                view->OnUpdate(sender, hint.ToParam(), reinterpret_cast<void*>(object));
    }
    std::vector<CView*> views;
};

class TrunkSummTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        m_doc.SetViews(&router);
        for (int i = 0; const char16_t* name : {u"DELT", u"ALFA", u"CHAR", u"BRAV"})
            NameIcom(i++, name);
    }
    void TearDown() override { m_doc.SetViews(&m_views); }

    void Make() {
        screen = std::make_unique<CTrunkSummView>(host);
        screen->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 350), &window, 0);
        pane = std::make_unique<CTrunkSummFilterView>(host);
        pane->Create(nullptr, CRect(0, 0, 680, 24), &window, 0);
        pane->m_nViewID = CTrunkSummView::kScreen;
        router.views = {pane.get(), screen.get()};
        host.current = screen.get();
        screen->OnInitialUpdate();
        pane->OnInitialUpdate();
    }
    CKelvardinGridCtrl& Grid() { return *screen->GetGrid(); }
    DWORD& Selection() { return host.GetViewContext(CTrunkSummView::kScreen).m_params[0]; }
    // The cell of the intercom's row in a column, found by its binding.
    CCellID CellOf(int icom, DWORD field) {
        CCellID cell;
        const bool count = field > 66;
        Grid().FindCellForObject(
            cell, CIcomSpec(count ? -2 : icom, count ? field + static_cast<DWORD>(icom) : field),
            CObjSpec());
        return cell;
    }
    CString Text(int icom, DWORD field) {
        const CCellID cell = CellOf(icom, field);
        return Grid().GetItemText(cell.row, cell.col);
    }
    void DoubleClick(CCellID cell) {
        CRect rect;
        ASSERT_TRUE(Grid().GetCellRect(cell, &rect));
        Grid().OnLButtonDblClk(0, rect.CenterPoint());
    }
    // The context menu at the cell: its caption and which items were enabled, choosing the
    // command given.
    QString Menu(CCellID cell, UINT choose, std::vector<bool>* enabled = nullptr) {
        QString caption;
        script.ExpectMenu([&](QMenu& menu) {
            caption = menu.actions().value(0)->text();
            for (QAction* action : menu.actions()) {
                const UINT id = action->data().toUInt();
                if (enabled && (id == 32783 || id == 32786 || id == 32823))
                    enabled->push_back(action->isEnabled());
            }
            return static_cast<int>(choose);
        });
        CRect rect;
        Grid().GetCellRect(cell, &rect);
        Grid().OnRButtonUp(0, rect.CenterPoint());
        return caption;
    }

    CViewsRouter router;
    CUiEnvironment env;
    CModalScript script{env};
    std::unique_ptr<CTrunkSummView> screen;
    std::unique_ptr<CTrunkSummFilterView> pane;
};

TEST_F(TrunkSummTest, ShowsTheChosenIntercomsCountsSortedByNameOrNumber) {
    CSummary towards2;
    towards2.m_counts[CSummary::kTrunks] = 5;
    m_doc.SetTrunkSummary(2, -1, towards2);
    towards2.m_counts[CSummary::kTrunks] = 7;
    m_doc.SetTrunkSummary(2, 1, towards2);
    Make();
    EXPECT_EQ(Grid().GetColumnCount(), 6);  // no out-of-service counts on this controller
    EXPECT_EQ(Grid().GetRowCount(), 1 + 31);
    EXPECT_EQ(Grid().GetItemText(0, 2), u"# Trunks");
    EXPECT_EQ(Grid().GetItemText(1, 1), u"ALFA");
    EXPECT_EQ(Grid().GetItemText(4, 1), u"DELT");
    EXPECT_EQ(Text(2, 81), u"5");  // the controller's own count towards intercom 2
    Selection() = 2;               // intercom 1's table
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(Text(2, 81), u"7");
    EXPECT_EQ(Text(3, 81), u"-");

    SetCapabilities(CCVConfig::kOOSTrunks);
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    Make();
    EXPECT_EQ(Grid().GetColumnCount(), 7);
    EXPECT_EQ(Grid().GetItemText(1, 0), u"1");
    EXPECT_EQ(Grid().GetItemText(1, 1), u"DELT");
}

TEST_F(TrunkSummTest, RowsFollowTheSortMarkWhenNamesOrCountsArrive) {
    Config().m_wNumIntercoms = 4;
    Make();
    const auto column = [&](int col) {
        std::vector<CString> texts;
        for (int row = 1; row < Grid().GetRowCount(); ++row)
            texts.push_back(Grid().GetItemText(row, col));
        return texts;
    };
    const auto reply = [&](DWORD command, LPARAM object) {
        screen->OnUpdate(nullptr, CUpdateHint::Reply(command).ToParam(),
                         reinterpret_cast<void*>(object));
        WaitForPaintTick(*screen);
    };
    EXPECT_EQ(column(1), (std::vector<CString>{u"ALFA", u"BRAV", u"CHAR", u"DELT"}));
    NameIcom(1, u"ZULU");
    reply(kCmdNames, 7);
    EXPECT_EQ(column(1), (std::vector<CString>{u"BRAV", u"CHAR", u"DELT", u"ZULU"}));

    // By the trunk counts, descending: the counts arrive after the sort.
    CCellID header(0, 2);
    Grid().OnFixedRowClick(header);
    Grid().OnFixedRowClick(header);
    for (int icom = 0; icom < 4; ++icom) {
        CSummary summary;
        summary.m_counts[CSummary::kTrunks] = 10 + icom;
        m_doc.SetTrunkSummary(icom, -1, summary);
    }
    reply(kCmdTrunkSummary, 0);
    EXPECT_EQ(column(2), (std::vector<CString>{u"13", u"12", u"11", u"10"}));
    EXPECT_EQ(Grid().GetSortColumn(), 2);
    EXPECT_FALSE(Grid().GetSortAscending());
}

TEST_F(TrunkSummTest, ADoubleClickChoosesTheIntercomOnceWithABackStep) {
    Make();
    EXPECT_EQ(pane->GetEdit().GetValueText(), u"All Intercoms");
    DoubleClick(CellOf(2, 81));
    EXPECT_EQ(Selection(), 3u);
    ASSERT_EQ(host.pushed.size(), 1u);
    EXPECT_EQ(host.pushed[0].m_params[0], 0u);
    EXPECT_EQ(pane->GetEdit().GetValueText(), u"CHAR");  // the pane follows the hint
    DoubleClick(CellOf(2, 66));
    EXPECT_EQ(host.pushed.size(), 1u);

    // The pane's list refilled in another order still shows the context's intercom.
    NameIcom(3, u"AAAA");
    pane->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    EXPECT_EQ(pane->GetEdit().GetValueText(), u"CHAR");
}

TEST_F(TrunkSummTest, ThePaneNamesAnIntercomWithoutANameAndOpensItsListUnderTheValue) {
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    Make();
    CCoolEdit& edit = pane->GetEdit();
    edit.SetText(u"Trunk Summary for:");
    edit.Expand();
    DoubleClick(CellOf(5, 81));
    EXPECT_EQ(Selection(), 6u);
    CString text;
    EXPECT_EQ(pane->GetFilterText(text), CString(u"Trunk Summary for: #6"));
    const CPopupList& list = *edit.GetPopupList();
    std::vector<CString> entries;
    for (int i = 0; i < list.GetItemCount(); ++i)
        entries.push_back(list.GetItemText(i));
    EXPECT_EQ(entries,
              (std::vector<CString>{u"All Intercoms", u"DELT", u"ALFA", u"CHAR", u"BRAV", u"#6"}));

    // The list drops from the value's left-bottom corner, not from the pane's far end.
    ASSERT_TRUE(edit.OpenDropDown());
    const CRect value = edit.GetAreaRect(cool_edit::kValue);
    const QPoint corner = edit.GetWidget()->mapToGlobal(QPoint(value.left, value.bottom));
    EXPECT_EQ(list.GetWidget()->window()->geometry().left(), corner.x());
    edit.ClosePopup();
}

TEST_F(TrunkSummTest, TheContextMenuNamesTheSelectionAndSeveralIntercomsCountAsAll) {
    m_app.m_bSortIntercomsByIntercomNumber = TRUE;
    Make();
    std::vector<bool> enabled;
    EXPECT_EQ(Menu(CCellID(0, 2), 32783, &enabled), QStringLiteral("Selected intercoms: ALL"));
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false}));  // FILE mode
    EXPECT_EQ(Selection(), 0u);

    EXPECT_EQ(Menu(CCellID(2, 3), 32787), QStringLiteral("Selected intercom: ALFA"));
    EXPECT_EQ(host.GetViewContext(6).m_params[0], 1u);
    EXPECT_EQ(host.commands, (std::vector<UINT>{32797}));

    Grid().SetSelectedRange(1, 2, 3, 2);
    EXPECT_EQ(Menu(CCellID(2, 2), 32784), QStringLiteral("Selected intercoms: 1-3"));
    EXPECT_EQ(host.GetViewContext(0).m_params[0], 0u);  // all, never -1
    Grid().SetSelectedRange(1, 2, 3, 2);
    Menu(CCellID(2, 2), 32783);
    EXPECT_EQ(Selection(), 0u);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(TrunkSummTest, ItAsksForTheSummaryEverySecondOnlyWhileCurrentAndOnline) {
    env.SetTimeScale(0.01);
    Make();
    CCVDataMgr& data = host.dataMgr;
    data.GoOnline();
    const auto pendingAfter = [&](DWORD ms) {
        PumpWaitingMessages([] { return false; }, ms);
        return data.GetPendingTotal();
    };
    EXPECT_EQ(pendingAfter(60), 0);  // FILE mode
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_EQ(pendingAfter(60), 1);
    data.ClearPendingRequests();
    host.current = nullptr;
    EXPECT_EQ(pendingAfter(60), 0);
}

TEST_F(TrunkSummTest, ClearedAllocationsAskForTheSummaryAtOnce) {
    Make();
    CCVDataMgr& data = host.dataMgr;
    m_app.SetMode(CAppState::kModeOnline);
    data.GoOnline();
    for (DWORD code : {kCmdClearAllocations, kCmdClearAllocationsEx, kCmdTrunkMode}) {
        data.ClearPendingRequests();
        screen->OnUpdate(nullptr, CUpdateHint::Reply(code).ToParam(), nullptr);
        EXPECT_EQ(data.GetPendingTotal(), code == kCmdTrunkMode ? 0 : 1) << code;
    }
}

}  // namespace

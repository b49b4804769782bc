#include <QAction>
#include <QMenu>

#include "link/command_codes.h"
#include "screens/cells/bool_grid_cell.h"
#include "screens/trunks/trunk_inspect_form.h"
#include "screens/trunks/trunk_inspect_view.h"
#include "screens/trunks/trunk_numb_filter_view.h"
#include "screens/trunks/trunk_opts_view.h"
#include "tests/screens/diag_fixture.h"

namespace {

class TrunkOptsTest : public ScreenTest {
protected:
    std::unique_ptr<CTrunkOptsView> ShowOptions(WORD flags, DWORD capabilities, BOOL seconds) {
        Configure(flags, capabilities);
        m_app.m_bAllocInSeconds = seconds;
        auto screen = std::make_unique<CTrunkOptsView>(host);
        screen->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20102);
        host.current = screen.get();
        screen->OnInitialUpdate();
        return screen;
    }
};

TEST_F(TrunkOptsTest, RowsFollowTheControllersAbilitiesAndHelpGoesByRow) {
    constexpr WORD kSupervision = CCVConfig::kTksupvSupport;
    constexpr DWORD kMinSec = CCVConfig::kMinSecTimeout;
    const std::vector<CString> flags = {u"Auto Clear Allocations", u"Wait for Talk Key Mode"};
    struct Case {
        WORD flags;
        DWORD capabilities;
        BOOL seconds;
        CString timeout;
        size_t rows;
    } cases[] = {
        {kSupervision, kMinSec, FALSE, u"Allocation Timeout (min)", 3},
        {0, kMinSec, FALSE, u"Allocation Timeout (sec)", 1},
        {kSupervision, kMinSec, TRUE, u"Allocation Timeout (sec)", 3},
        {kSupervision, 0, TRUE, u"Allocation Timeout (min)", 3},
    };
    for (const Case& c : cases) {
        auto screen = ShowOptions(c.flags, c.capabilities, c.seconds);
        CKelvardinGridCtrl& grid = *screen->GetGrid();
        std::vector<CString> labels = {u"Option", c.timeout};
        if (c.rows == 3) labels.insert(labels.end(), flags.begin(), flags.end());
        ASSERT_EQ(static_cast<size_t>(grid.GetRowCount()), labels.size()) << ToUtf8(c.timeout);
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            EXPECT_EQ(grid.GetItemText(row, 0), labels[static_cast<size_t>(row)]);
            // The first showing fits the labels whole; later ones keep the widths it left.
            if (&c == cases) {
                EXPECT_GE(grid.GetColumnWidth(0), grid.GetItemTextExtent(row, 0, labels[row]).cx);
            }
            EXPECT_EQ(dynamic_cast<CBoolGridCell*>(grid.GetCell(row, 1)) != nullptr, row >= 2);
        }
        EXPECT_FALSE(grid.GetHeaderSort());
        CRect cell;
        ASSERT_TRUE(grid.GetCellRect(grid.GetRowCount() - 1, 1, &cell));
        EXPECT_EQ(screen->OnHelpHitTest(cell.CenterPoint()),
                  0x80170000u + static_cast<DWORD>(grid.GetRowCount()));
    }
}

TEST_F(TrunkOptsTest, DynamicAllocationLocksTheTimeoutAndAutoClearAndChangesAreOffered) {
    auto screen = ShowOptions(CCVConfig::kTksupvSupport, 0, FALSE);
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    auto readOnly = [&] {
        return std::vector<bool>{grid.GetCell(1, 1)->IsReadOnly() != 0,
                                 grid.GetCell(2, 1)->IsReadOnly() != 0,
                                 grid.GetCell(3, 1)->IsReadOnly() != 0};
    };
    EXPECT_EQ(readOnly(), (std::vector<bool>{false, false, false}));
    m_doc.SetDynamicAllocModeFromController(TRUE);
    screen->OnUpdate(nullptr, kCmdDynamicAlloc, nullptr);
    EXPECT_EQ(readOnly(), (std::vector<bool>{true, true, false}));
    m_doc.SetDynamicAllocModeFromController(FALSE);
    screen->OnUpdate(nullptr, kCmdDynamicAlloc, nullptr);
    EXPECT_EQ(readOnly(), (std::vector<bool>{false, false, false}));

    EXPECT_EQ(screen->SendMessage(WM_SCREEN_HAS_CHANGES, 0, 0), 0);
    ASSERT_TRUE(grid.GetCell(3, 1)->ValidateEdit(u"Y"));
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_HAS_CHANGES, 0, 0), 1);
}

TEST_F(TrunkOptsTest, TimeoutOutsideItsRangeIsRefusedWithItsMessage) {
    struct Case {
        BOOL seconds;
        CString refused;
        CString largest;
    } cases[] = {{FALSE, u"100", u"99"}, {TRUE, u"1000", u"999"}};
    for (const Case& c : cases) {
        auto screen = ShowOptions(CCVConfig::kTksupvSupport, CCVConfig::kMinSecTimeout, c.seconds);
        CKelvardinGridCtrl& grid = *screen->GetGrid();
        CGridCellBase& timeout = *grid.GetCell(1, 1);
        const CString before = grid.GetItemText(1, 1);
        for (const CString& text : {c.refused, CString(u"0")}) {
            EXPECT_FALSE(timeout.ValidateEdit(text)) << ToUtf8(text);
            EXPECT_EQ(grid.GetItemText(1, 1), before);
            EXPECT_EQ(TakeReports(), std::vector<int>{6});
            EXPECT_TRUE(ErrorText(6).str().ends_with(u"\nOnly values between 1 and " +
                                                     c.largest.str() + u" are allowed."));
        }
        EXPECT_TRUE(timeout.ValidateEdit(c.largest));
        EXPECT_EQ(grid.GetItemText(1, 1), c.largest);
        EXPECT_TRUE(m_doc.IsAllocTimeoutModified());
    }
}

// An inspection reply: ends A and B at intercoms 1 and 2 (ports 5 and 8), the cascade trunk
// (-1 none) with its ends at intercoms 2 and 3, then each side's requests from intercom 1
// with its talk mark (row A 0x02) and listen mark (row B 0x01) on.
std::vector<std::uint8_t> Inspection(int cascade, int countA, int countB) {
    std::vector<std::uint8_t> out{
        1, 0, 4, 2, 0, 7, std::uint8_t(cascade >> 8), std::uint8_t(cascade)};
    if (cascade >= 0) out.insert(out.end(), {2, 0, 8, 3, 0, 9});
    for (int count : {countA, countB}) {
        out.push_back(std::uint8_t(count));
        for (int e = 0; e < count; ++e)
            out.insert(out.end(), {1, 0, std::uint8_t(e), 0x02, 0x01});
    }
    return out;
}

// The inspection and its selector, ONLINE with a simulated controller of 8 trunks whose
// trunk 4 has 3 requests on side A, trunk 5 a cascade with trunk 7 and 12 and 2 requests,
// and every other trunk nothing.
class TrunkInspectTest : public DiagScreenTest {
protected:
    void SetUp() override {
        DiagScreenTest::SetUp();
        SimSetup setup;
        setup.flags = CCVConfig::kTksupvSupport;
        setup.trunks = 8;
        setup.names = {{1, {"ALFA", "ALFA", "ALFA", "ALFA"}},
                       {2, {"BRAV", "BRAV", "BRAV", "BRAV"}},
                       {3, {"CHAR", "CHAR", "CHAR", "CHAR"}}};
        sim.ChangeState([&](CorvaneState& s) { s.UseSetup(setup); });
        sim.SetHandler(kCmdTrunkInspect, [](CorvaneState&, const SimFrame& request) {
            const int trunk = request.payload.at(1);
            return std::optional(SimReplyTo(request, trunk == 4   ? Inspection(-1, 3, 0)
                                                     : trunk == 5 ? Inspection(7, 12, 2)
                                                                  : Inspection(-1, 0, 0)));
        });
        Config().SetFromControllerReply(CCVStatusRec(setup.Status().data()));
        Reset();
        m_doc.SetViews(&views);
        ASSERT_NO_FATAL_FAILURE(GoOnline());
        ASSERT_TRUE(Pump([&] { return m_doc.GetIcomText(3, 4, TRUE, FALSE) == u"CHAR"; }));

        host.contexts[kScreenTrunkInspect].m_params[0] = 4;
        window.resize(700, 640);
        ASSERT_TRUE(pane.Create(nullptr, CRect(0, 0, 400, 28), &window, 0xE900));
        pane.m_nViewID = kScreenTrunkInspect;
        screen.Create(WS_CHILD | WS_VISIBLE, CRect(0, 30, 680, 630), &window, 20103);
        Show(pane);
        Show(screen);
        host.current = &screen;
        pane.OnInitialUpdate();
        screen.OnInitialUpdate();
    }
    // Waits for the inspection of the trunk now shown.
    bool Inspected(int trunk) {
        return Pump([&] { return m_doc.HasTrunkInspect(trunk); });
    }
    std::vector<int> ShownRows() const {
        std::vector<int> rows;
        for (int row = 0; row < screen.GetGrid()->GetRowCount(); ++row) {
            if (screen.GetGrid()->GetRowHeight(row) > 0) rows.push_back(row);
        }
        return rows;
    }
    CString Text(int row, int col) const { return screen.GetGrid()->GetItemText(row, col); }
    int Inspecting() const {
        return static_cast<int>(host.contexts[kScreenTrunkInspect].m_params[0]);
    }
    void RightClick(int row, int col) {
        NM_GRIDVIEW record;
        record.iRow = row;
        record.iColumn = col;
        screen.OnGridRClick(&record);
    }

    CTrunkNumbFilterView pane{host};
    CTrunkInspectView screen{host};
};

TEST_F(TrunkInspectTest, FormFollowsTheInspectionAndTheKeysStepThroughTheTrunks) {
    ASSERT_TRUE(Inspected(4));
    EXPECT_EQ(ShownRows(), (std::vector<int>{0, 1, 3, 4, 5, 11, 13, 14, 15, 16}));
    EXPECT_EQ(Text(1, 2), u"5");
    EXPECT_EQ(Text(3, 2), u"ALFA");
    EXPECT_EQ(Text(3, 4), u"N005");
    EXPECT_EQ(pane.GetEdit().GetValueText(), u"Trunk #5");
    // Every label fits its text, the request tables' headings at the default alpha size too.
    for (const inspect_form::CFormCell& form : inspect_form::Cells()) {
        if (!form.label) continue;
        EXPECT_GE(screen.GetGrid()->GetColumnWidth(form.col),
                  screen.GetGrid()->GetItemTextExtent(form.row, form.col, form.label).cx)
            << ToUtf8(CString(form.label));
    }

    // Ctrl+PgDn: a cascaded trunk, whose 12 requests fill the form's 8 rows. The main window
    // offers the keys only when a pane enables them.
    CCmdUI keys(ID_NEXT_ENTRY);
    keys.Enable(FALSE);
    EXPECT_TRUE(pane.OnCmdMsg(ID_NEXT_ENTRY, &keys) && keys.IsEnabled());
    pane.OnCmdMsg(ID_NEXT_ENTRY, nullptr);
    ASSERT_TRUE(Inspected(5));
    EXPECT_EQ(ShownRows(), (std::vector<int>{0, 1, 3, 4, 5, 6, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18,
                                             19, 20, 21}));
    EXPECT_EQ(Text(6, 2), u"8");
    EXPECT_EQ(Text(21, 2), u"N008");
    EXPECT_EQ(Text(14, 3), u"Y");
    EXPECT_EQ(screen.GetGrid()->GetCell(14, 3)->GetBackClr(), m_app.m_clrInspectOn);
    EXPECT_EQ(pane.GetEdit().GetValueText(), u"Trunk #6");

    // No requests at all: the request tables' headings go too.
    pane.OnCmdMsg(ID_NEXT_ENTRY, nullptr);
    ASSERT_TRUE(Inspected(6));
    EXPECT_EQ(ShownRows(), (std::vector<int>{0, 1, 3, 4, 5}));

    pane.OnCmdMsg(ID_PREV_ENTRY, nullptr);
    EXPECT_EQ(Inspecting(), 5);
    EXPECT_TRUE(screen.IsCascadeShown());
    ASSERT_EQ(host.pushed.size(), 3u);
    EXPECT_EQ(host.pushed[2].m_params[0], 6u);

    // Nothing before the first trunk or past the last visible one.
    for (auto [start, command] : {std::pair{0, ID_PREV_ENTRY}, std::pair{7, ID_NEXT_ENTRY}}) {
        host.contexts[kScreenTrunkInspect].m_params[0] = static_cast<DWORD>(start);
        pane.OnCmdMsg(command, nullptr);
        EXPECT_EQ(Inspecting(), start);
    }
    EXPECT_EQ(host.pushed.size(), 3u);
}

// The form sizes its columns by the alpha size: only a width the user dragged is stored, and it
// stays through a new alpha size.
TEST_F(TrunkInspectTest, OnlyTheUsersWidthsAreStoredWhateverTheAlphaSize) {
    ASSERT_EQ(Config().m_nAlphaSize, 4);
    CKelvardinGridCtrl& grid = *screen.GetGrid();
    const int alphaWidth = grid.GetColumnWidth(3);
    const int dragged = grid.GetColumnWidth(7) + 50;
    grid.SetColumnWidth(7, dragged);
    Config().m_nAlphaSize = 8;
    screen.OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_GT(grid.GetColumnWidth(3), alphaWidth);
    EXPECT_EQ(grid.GetColumnWidth(7), dragged);

    const int columns = grid.GetColumnCount();
    screen.DestroyWindow();
    Hide(screen);
    std::erase(views.all, &screen);
    CString keys;
    for (int col = 0; col < columns; ++col)
        keys += (col == 7 ? CString(u"(8)") : CString()) + u"\n";
    EXPECT_EQ(m_profile.GetProfileString(u"Windows\\Views", u"TrunkInspectColumnWidthsKeys", {}),
              keys);
}

TEST_F(TrunkInspectTest, MenusNameTheCellsIntercomOrTrunkAndHelpGoesByRegion) {
    pane.OnCmdMsg(ID_NEXT_ENTRY, nullptr);
    ASSERT_TRUE(Inspected(5));
    ASSERT_TRUE(Pump([&] { return m_doc.IsTrunkInMaintenance(5) != 0; }));
    auto texts = [](QMenu& menu) {
        std::vector<QString> out;
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator())
                out.push_back(action->text() + (action->isEnabled() ? "" : " (off)"));
        }
        return out;
    };

    // The inspected trunk offers nothing but its caption: no menu.
    RightClick(1, 2);
    m_app.m_bAllowMaintenanceMode = TRUE;
    script.ExpectMenu([&](QMenu& menu) {
        EXPECT_EQ(texts(menu),
                  (std::vector<QString>{"Selected Trunk: #6 (off)", "Set &maintenance mode (off)",
                                        "&Clear maintenance mode"}));
        return ID_NORMAL_MODE;
    });
    RightClick(1, 2);
    EXPECT_EQ(host.maintenance, (std::vector<std::pair<int, bool>>{{5, false}}));

    // Side B's requests wait at the far end of the cascade.
    script.ExpectMenu([&](QMenu& menu) {
        EXPECT_EQ(texts(menu),
                  (std::vector<QString>{"Selected intercom: CHAR (off)", "&Clear trunk allocations",
                                        "View trunk &summary", "View trunk &definitions",
                                        "View intercom s&etup", "View intercom s&tatus",
                                        "View &alphas"}));
        return ID_ICOM_VIEW_SUMMARY;
    });
    RightClick(15, 7);
    EXPECT_EQ(host.contexts[kScreenTrunkSummary].m_params[0], 4u);
    EXPECT_EQ(host.commands, std::vector<UINT>{ID_VIEW_TRUNK_SUMMARY});

    CRect cell;
    ASSERT_TRUE(screen.GetGrid()->GetCellRect(15, 3, &cell));
    EXPECT_EQ(screen.OnHelpHitTest(cell.CenterPoint()), 0x80180021u);
    ASSERT_TRUE(screen.GetGrid()->GetCellRect(0, 0, &cell));
    EXPECT_EQ(screen.OnHelpHitTest(cell.CenterPoint()), 0x28018u);

    // The cascade trunk can be inspected, with a Back step.
    script.ExpectMenu([&](QMenu& menu) {
        EXPECT_EQ(texts(menu).back(), "&Inspect trunk");
        return ID_VIEW_TRUNK_INSPECT;
    });
    RightClick(6, 2);
    EXPECT_EQ(Inspecting(), 7);
    EXPECT_EQ(host.pushed.back().m_params[0], 5u);
    EXPECT_EQ(pane.GetEdit().GetValueText(), u"Trunk #8");
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace

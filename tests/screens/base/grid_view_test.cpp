#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include "model/ip_text.h"
#include "platform/ui/qt_convert.h"
#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "screens/cells/cell_compare.h"
#include "screens/cells/choice_grid_cells.h"
#include "screens/cells/ip_addr_grid_cell.h"
#include "tests/screens/screen_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/recording_dc.h"

namespace {

// Intercom columns: number (fixed), 4-character name, connection, primary address, cost and
// the remote-trunking start (read-only).
std::vector<ColumnDesc> IcomColumns() {
    return {
        {2289, false, CObjSpec::kIntercom, 1, nullptr, CompareCellNumbers},
        {2290, false, CObjSpec::kIntercom, 67, nullptr, CompareCellText},
        {0, false, CObjSpec::kIntercom, 71, CellClassOf<CConnTypeCell>(), CompareCellText},
        {0, false, CObjSpec::kIntercom, 72, CellClassOf<CIPAddrGridCell>(), CompareCellIPAddr},
        {0, false, CObjSpec::kIntercom, 76, nullptr, CompareCellNumbers},
        {0, false, CObjSpec::kIntercom, 1361, nullptr, CompareCellNumbers},
    };
}

class GridViewTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (int i = 0; const char16_t* name : {u"DELT", u"", u"ALFA", u"-", u"CHAR"})
            NameIcom(i++, name);
        for (int icom = 0; icom < 5; ++icom)
            m_doc.SetIcomPrimaryIP(0, FALSE, icom);
        m_doc.SetIcomPrimaryIP(0x0A000002, FALSE, 0);
        m_doc.SetIcomPrimaryIP(0x0A00000A, FALSE, 2);
        m_doc.SetIcomPrimaryIP(0x09000001, FALSE, 4);
    }
    // Lets the screen's pending column fit run.
    static void SettleColumns(const CKelvardinGridView& screen) {
        for (int i = 0; i < 2000 && screen.IsColumnFitPending(); ++i)
            QTest::qWait(5);
        EXPECT_FALSE(screen.IsColumnFitPending());
    }
    void ClickHeader(CTestScreen& screen, int col) {
        CCellID header(0, col);
        screen.GetGrid()->OnFixedRowClick(header);
    }
};

TEST_F(GridViewTest, HeaderClicksToggleTheDirectionAndKeepEmptyValuesLast) {
    auto screen = Show(IcomColumns(), 5);
    ClickHeader(*screen, 1);
    const std::vector<CString> ascending{u"ALFA", u"CHAR", u"DELT", u"", u"-"};
    EXPECT_EQ(screen->Column(1), ascending);
    ClickHeader(*screen, 1);
    EXPECT_EQ(screen->Column(1), (std::vector<CString>{u"DELT", u"CHAR", u"ALFA", u"", u"-"}));
    ClickHeader(*screen, 1);
    EXPECT_EQ(screen->Column(1), ascending);
    // Every click refreshes the visible panes.
    EXPECT_EQ(std::count(m_views.m_updates.begin(), m_views.m_updates.end(),
                         CRecordingViews::Update{false, CUpdateHint::kRefresh, 0}),
              3);

    // Addresses compare as numbers, none at the end both ways.
    ClickHeader(*screen, 3);
    EXPECT_EQ(screen->Column(3)[0], u"9.0.0.1");
    EXPECT_EQ(screen->Column(3)[2], u"10.0.0.10");
    ClickHeader(*screen, 3);
    EXPECT_EQ(screen->Column(3)[0], u"10.0.0.10");
    EXPECT_EQ(screen->Column(3)[4], u"-");

    // A rebuild sorts again as the user last did: by address, descending.
    screen->CreateGrid();
    EXPECT_EQ(screen->GetGrid()->GetSortColumn(), 3);
    EXPECT_FALSE(screen->GetGrid()->GetSortAscending());
    EXPECT_EQ(screen->Column(3)[0], u"10.0.0.10");
}

TEST_F(GridViewTest, ColumnWidthsAreKeptBigEndianAndShortValuesAutoSizeTheRest) {
    {
        auto screen = Show(IcomColumns(), 5);
        screen->GetGrid()->SetColumnWidth(0, 0x1234);
        screen->GetGrid()->SetColumnWidth(5, 0x0041);
        screen->GetGrid()->SetColumnWidth(1, 0);
    }  // the screen's window goes, and its widths are saved
    const auto stored = m_profile.GetProfileBinary(u"Windows\\Views", u"TestColumnWidths");
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), 12u);
    EXPECT_EQ((*stored)[0], 0x12);
    EXPECT_EQ((*stored)[1], 0x34);
    EXPECT_EQ((*stored)[11], 0x41);
    auto again = Show(IcomColumns(), 5);
    // Wider than all screens together, the first width is one no screen can use: that column
    // fits its heading and rows instead.
    ASSERT_GT(0x1234, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_NE(again->GetGrid()->GetColumnWidth(0), 0x1234);
    EXPECT_GE(again->GetGrid()->GetColumnWidth(0),
              again->GetGrid()->GetItemTextExtent(0, 0, u"Icom #").cx);
    EXPECT_EQ(again->GetGrid()->GetColumnWidth(5), 0x41);
    // A column stored as hidden would stay out of sight for good: it fits its contents too.
    EXPECT_EQ((*stored)[2] | (*stored)[3], 0);
    EXPECT_GE(again->GetGrid()->GetColumnWidth(1),
              again->GetGrid()->GetItemTextExtent(0, 1, u"Name").cx);

    // Two widths stored by position, as older versions kept them, for six columns: they
    // cannot be tied to their columns, so every column fits its heading and rows instead.
    m_profile.WriteProfileBinary(u"Windows\\Views", u"Short", {0, 50, 0, 60});
    auto shortScreen = Show(IcomColumns(), 5, u"Short");
    CKelvardinGridCtrl& shortGrid = *shortScreen->GetGrid();
    EXPECT_NE(shortGrid.GetColumnWidth(0), 50);
    EXPECT_NE(shortGrid.GetColumnWidth(1), 60);
    EXPECT_GE(shortGrid.GetColumnWidth(0), shortGrid.GetItemTextExtent(0, 0, u"Icom #").cx);
    // Even one width per column by position may be an earlier layout's: none is taken.
    m_profile.WriteProfileBinary(u"Windows\\Views", u"Older", {0, 7, 0, 7, 0, 7, 0, 7, 0, 7, 0, 7});
    auto older = Show(IcomColumns(), 5, u"Older");
    for (int col = 0; col < 6; ++col)
        EXPECT_GT(older->GetGrid()->GetColumnWidth(col), 7) << col;
    // A grid without columns writes nothing.
    { auto empty = Show({}, 0, u"Empty"); }
    EXPECT_FALSE(m_profile.Has(u"Windows\\Views", u"Empty"));
}

// Columns of two controllers' configurations: the second drops the cascade column and adds
// the connection before the two names, which share a heading.
std::vector<ColumnDesc> FirstConfiguration() {
    return {
        {2289, false, CObjSpec::kIntercom, 1, nullptr, CompareCellNumbers},
        {2290, false, CObjSpec::kIntercom, 67, nullptr, CompareCellText},
        {2290, false, CObjSpec::kIntercom, 68, nullptr, CompareCellText},
        {2280, false, CObjSpec::kIntercom, 76, nullptr, CompareCellNumbers},
        {2330, false, CObjSpec::kIntercom, 72, CellClassOf<CIPAddrGridCell>(), CompareCellIPAddr},
    };
}

std::vector<ColumnDesc> SecondConfiguration() {
    return {
        {2289, false, CObjSpec::kIntercom, 1, nullptr, CompareCellNumbers},
        {2281, false, CObjSpec::kIntercom, 71, CellClassOf<CConnTypeCell>(), CompareCellText},
        {2290, false, CObjSpec::kIntercom, 67, nullptr, CompareCellText},
        {2290, false, CObjSpec::kIntercom, 68, nullptr, CompareCellText},
        {2330, false, CObjSpec::kIntercom, 72, CellClassOf<CIPAddrGridCell>(), CompareCellIPAddr},
    };
}

// Every heading and every row's text has room in its column.
void ExpectNothingCut(CKelvardinGridCtrl& grid, int except = -1) {
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        if (col == except) continue;
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            const CString text = grid.GetItemText(row, col);
            EXPECT_GE(grid.GetColumnWidth(col), grid.GetItemTextExtent(row, col, text).cx)
                << "column " << col << ": " << ToUtf8(text);
        }
    }
}

TEST_F(GridViewTest, WidthsStayWithTheirColumnsAcrossConfigurations) {
    host.timing.columnFitMs = 1;
    auto screen = Show(FirstConfiguration(), 5, u"Switching");
    // The six-letter names are still to come: that column fits its heading for now.
    EXPECT_EQ(screen->Column(2), std::vector<CString>(5));
    screen->GetGrid()->SetColumnWidth(1, 150);  // the user's drag
    const int addressWidth = screen->GetGrid()->GetColumnWidth(4);

    // The next controller's configuration rebuilds the screen.
    screen->refreshWhileSetUp = true;
    screen->SetColumns(SecondConfiguration());
    screen->CreateGrid();
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    EXPECT_EQ(grid.GetColumnWidth(2), 150);
    EXPECT_EQ(grid.GetColumnWidth(4), addressWidth);
    EXPECT_LT(grid.GetColumnWidth(3), 150);
    ExpectNothingCut(grid);

    // The names arrive a few at a time: their column fits each, and keeps a later drag.
    NameIcom(3, u"II", 6);
    screen->OnUpdate(nullptr, CUpdateHint::Reply(1).ToParam(), nullptr);
    SettleColumns(*screen);
    ExpectNothingCut(grid);
    NameIcom(0, u"WWWWWW", 6);
    screen->OnUpdate(nullptr, CUpdateHint::Reply(1).ToParam(), nullptr);
    SettleColumns(*screen);
    EXPECT_GE(grid.GetColumnWidth(3), grid.GetItemTextExtent(1, 3, u"WWWWWW").cx);
    ExpectNothingCut(grid);
    grid.SetColumnWidth(3, 140);
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    SettleColumns(*screen);
    screen->CreateGrid();
    EXPECT_EQ(screen->GetGrid()->GetColumnWidth(3), 140);
    EXPECT_EQ(screen->GetGrid()->GetColumnWidth(2), 150);
    screen.reset();

    // The next run, under the first configuration on a controller with a longer address:
    // each width the user set back on its own column, the fitted ones fitted again.
    m_doc.SetIcomPrimaryIP(0xC0A8C8C8, FALSE, 4);
    auto again = Show(FirstConfiguration(), 5, u"Switching");
    CKelvardinGridCtrl& first = *again->GetGrid();
    EXPECT_EQ(first.GetColumnWidth(1), 150);
    EXPECT_EQ(first.GetColumnWidth(2), 140);
    EXPECT_GT(first.GetColumnWidth(4), addressWidth);
    ExpectNothingCut(first);
}

TEST_F(GridViewTest, TwoCopiesKeepEachOthersDraggedWidths) {
    host.timing.columnFitMs = 1;
    // Two copies of the program show the same screen over one settings store.
    auto first = Show(IcomColumns(), 5, u"Shared");
    auto second = Show(IcomColumns(), 5, u"Shared");
    const int fittedName = first->GetGrid()->GetColumnWidth(1);
    second->GetGrid()->SetColumnWidth(1, fittedName + 50);  // the second copy's drag
    second.reset();
    first->GetGrid()->SetColumnWidth(4, 33);  // the first copy's own
    first.reset();

    // The next run has both drags; the address column, fitted in both, widens to new data.
    m_doc.SetIcomPrimaryIP(0xC0A8C8C8, FALSE, 1);
    auto next = Show(IcomColumns(), 5, u"Shared");
    CKelvardinGridCtrl& grid = *next->GetGrid();
    EXPECT_EQ(grid.GetColumnWidth(1), fittedName + 50);
    EXPECT_EQ(grid.GetColumnWidth(4), 33);
    EXPECT_GE(grid.GetColumnWidth(3), grid.GetItemTextExtent(2, 3, u"192.168.200.200").cx);
    const CString keys = m_profile.GetProfileString(u"Windows\\Views", u"SharedKeys", {});
    EXPECT_EQ(keys, CString(u"\nName\n\n\n(3)\n\n"));
}

TEST_F(GridViewTest, AStoredWidthWaitsForItsHeading) {
    host.timing.columnFitMs = 1;
    // A column whose heading comes later (a group's name): the user sizes it once named.
    {
        auto named = Show(IcomColumns(), 5, u"Heads");
        named->GetGrid()->SetItemText(0, 3, u"Studio");
        named->GetGrid()->SetColumnWidth(3, 131);
    }
    // The next run builds the grid before the name comes: the column fits for now.
    auto screen = Show(IcomColumns(), 5, u"Heads");
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    EXPECT_NE(grid.GetColumnWidth(3), 131);
    grid.SetItemText(0, 3, u"Studio");
    screen->OnUpdate(nullptr, CUpdateHint::Reply(1).ToParam(), nullptr);
    SettleColumns(*screen);
    EXPECT_EQ(grid.GetColumnWidth(3), 131);
    screen.reset();

    // Named only as the copy exits, the fitted width is not stored as the user's.
    auto late = Show(IcomColumns(), 5, u"Heads");
    late->GetGrid()->SetItemText(0, 3, u"Studio");
    late.reset();
    auto last = Show(IcomColumns(), 5, u"Heads");
    last->GetGrid()->SetItemText(0, 3, u"Studio");
    last->OnUpdate(nullptr, CUpdateHint::Reply(1).ToParam(), nullptr);
    SettleColumns(*last);
    EXPECT_EQ(last->GetGrid()->GetColumnWidth(3), 131);
}

TEST_F(GridViewTest, ColumnsWithoutStoredWidthsFitTheirHeadersAndRows) {
    host.timing.columnFitMs = 1;
    NameIcom(1, u"WWWW");
    auto screen = Show(IcomColumns(), 5, u"Unsized");
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    // The addresses' column has no heading; its rows set its width.
    for (int col : {1, 3}) {
        for (int row = 0; row < grid.GetRowCount(); ++row) {
            const CString text = grid.GetItemText(row, col);
            EXPECT_GE(grid.GetColumnWidth(col), grid.GetItemTextExtent(row, col, text).cx)
                << ToUtf8(text);
        }
    }
    EXPECT_GE(grid.GetColumnWidth(3), grid.GetItemTextExtent(3, 3, u"10.0.0.10").cx);
    // A longer text later widens the fitted column, but never a width the user set.
    m_doc.SetIcomPrimaryIP(0xC0A8C8C8, FALSE, 1);
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    SettleColumns(*screen);
    EXPECT_GE(grid.GetColumnWidth(3), grid.GetItemTextExtent(2, 3, u"192.168.200.200").cx);
    grid.SetColumnWidth(3, 70);
    m_doc.SetIcomPrimaryIP(0xC0A8C8C9, FALSE, 2);
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    SettleColumns(*screen);
    EXPECT_EQ(grid.GetColumnWidth(3), 70);
    // The fitted widths are kept at once; a rebuild keeps the fitted and the set ones.
    const auto stored = m_profile.GetProfileBinary(u"Windows\\Views", u"Unsized");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 12u);
    const int nameWidth = grid.GetColumnWidth(1);
    screen->CreateGrid();
    EXPECT_EQ(screen->GetGrid()->GetColumnWidth(3), 70);
    EXPECT_EQ(screen->GetGrid()->GetColumnWidth(1), nameWidth);
}

TEST_F(GridViewTest, OnlyTheCurrentScreenHearsHintsAndRebuildsKeepTheSelection) {
    auto screen = Show(IcomColumns(), 5);
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    grid.SetSelectedRange(2, 1, 3, 2);
    grid.SetFocusCell(3, 2);
    host.current = nullptr;
    for (CUpdateHint hint : {CUpdateHint::Reply(1), CUpdateHint::kRefresh, CUpdateHint::kRebuild})
        screen->OnUpdate(nullptr, hint.ToParam(), nullptr);
    EXPECT_EQ(screen->updates, 1);
    host.current = screen.get();
    for (CUpdateHint hint : {CUpdateHint::Reply(1), CUpdateHint::kRefresh, CUpdateHint::Reply(14),
                             CUpdateHint::kSelection})
        screen->OnUpdate(nullptr, hint.ToParam(), nullptr);
    EXPECT_EQ(screen->updates, 3);

    screen->CreateGrid();
    CKelvardinGridCtrl& rebuilt = *screen->GetGrid();
    EXPECT_TRUE(rebuilt.IsCellSelected(2, 1));
    EXPECT_TRUE(rebuilt.IsCellSelected(3, 2));
    EXPECT_EQ(rebuilt.GetFocusCell(), CCellID(3, 2));
}

TEST_F(GridViewTest, KeysEnterAndRightClicksGoToTheScreenFirst) {
    auto screen = Show(IcomColumns(), 5);
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    // Without a focus cell the keys are the grid's alone.
    grid.SetFocusCell(-1, -1);
    grid.OnKeyDown(VK_DOWN, 1, 0);
    EXPECT_TRUE(screen->keys.empty());
    grid.SetFocusCell(2, 1);
    screen->consumedKey = VK_DOWN;
    grid.OnKeyDown(VK_DOWN, 1, 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));  // consumed
    grid.OnKeyDown(VK_UP, 1, 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(screen->keys, (std::vector<UINT>{VK_DOWN, VK_UP}));

    grid.OnEditCell(1, 1, CPoint(-1, -1), VK_RETURN);
    QApplication::processEvents();
    EXPECT_EQ(screen->cellCommands, 1);
    grid.EndEditing();

    // A right click inside a selection keeps it; outside, the clicked cell alone is selected.
    grid.SetSelectedRange(1, 1, 3, 2);
    CRect rect;
    ASSERT_TRUE(grid.GetCellRect(2, 2, &rect));
    grid.OnRButtonUp(0, rect.CenterPoint());
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    ASSERT_TRUE(grid.GetCellRect(5, 4, &rect));
    grid.OnRButtonUp(0, rect.CenterPoint());
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_EQ(screen->menus.back(), std::make_pair(5, 4));

    // Shift+Enter: the focus cell's menu, none without a focus cell; the key is available
    // exactly then.
    CCmdUI state(ID_CELL_CONTEXT_MENU);
    screen->OnCmdMsg(ID_CELL_CONTEXT_MENU, nullptr);
    EXPECT_EQ(screen->menus.back(), std::make_pair(5, 4));
    EXPECT_EQ(screen->menus.size(), 3u);
    grid.SetFocusCell(-1, -1);
    screen->OnCmdMsg(ID_CELL_CONTEXT_MENU, &state);
    EXPECT_FALSE(state.IsEnabled());
    screen->OnCmdMsg(ID_CELL_CONTEXT_MENU, nullptr);
    EXPECT_EQ(screen->menus.size(), 3u);
}

TEST_F(GridViewTest, SelectAllIsOfferedOnlyWhileTheGridSelects) {
    auto screen = Show(IcomColumns(), 5);
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    const auto offered = [&] {
        CCmdUI state(ID_EDIT_SELECT_ALL);
        state.Enable(FALSE);
        return screen->OnCmdMsg(ID_EDIT_SELECT_ALL, &state) && state.IsEnabled();
    };
    EXPECT_TRUE(offered());
    screen->OnCmdMsg(ID_EDIT_SELECT_ALL, nullptr);
    EXPECT_EQ(grid.GetSelectedCount(), 5 * 5);

    grid.SetSelectedRange(-1, -1, -1, -1);
    grid.EnableSelection(FALSE);
    EXPECT_FALSE(offered());
    screen->OnCmdMsg(ID_EDIT_SELECT_ALL, nullptr);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST_F(GridViewTest, HelpIdsWrapAtThirtyTwoBitsAndRowHeightsNeverGoNegative) {
    auto screen = Show(IcomColumns(), 5);
    CRect rect;
    ASSERT_TRUE(screen->GetGrid()->GetCellRect(1, 2, &rect));
    EXPECT_EQ(screen->OnHelpHitTest(rect.CenterPoint()), 0x801D0003u);
    screen->m_nHelpOffset = 0xFFFFFFFF;
    EXPECT_EQ(screen->OnHelpHitTest(rect.CenterPoint()), 0x801D0002u);
    EXPECT_EQ(screen->OnHelpHitTest(CPoint(679, 379)), 0x2801Du);
    screen->OnCommandHelp();
    EXPECT_EQ(host.help, (std::vector<std::pair<DWORD, UINT>>{{0x2801D, 1}}));

    CKelvardinGridCtrl& grid = *screen->GetGrid();
    grid.SetRowHeight(0, 18);
    EXPECT_EQ(grid.SendMessage(WM_ROWS_HEIGHT, 0, 5), 90);
    EXPECT_EQ(grid.SendMessage(WM_ROWS_HEIGHT, 0, -1), 108);
    grid.SetRowCount(0);
    EXPECT_EQ(grid.SendMessage(WM_ROWS_HEIGHT, 0, 5), 0);
}

TEST_F(GridViewTest, ThePrintedHeaderNamesTheWindowAndTheSelection) {
    auto screen = Show(IcomColumns(), 5);
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    host.frameText = u"Kelvardin - [Untitled]";
    host.filterText = u"Trunk Summary for: ALFA";
    CRecordingDC dc(CRect(0, 0, 2000, 2000), true);
    CPrintInfo info;
    grid.OnBeginPrinting(&dc, &info);
    info.m_rectDraw = CRect(0, 0, 500, 30);
    const LogFont font = dc.GetCurrentFont();
    grid.PrintHeader(&dc, &info);

    const auto texts = dc.Of(CRecordingDC::Op::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"Kelvardin - [Untitled] - Trunk Summary for: ALFA");
    EXPECT_EQ(texts[0].font.lfWeight, FW_BOLD);
    EXPECT_EQ(texts[0].format & (DT_CENTER | DT_RIGHT | DT_SINGLELINE), DT_SINGLELINE);
    const auto lines = dc.Of(CRecordingDC::Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rect, CRect(0, 30, 500, 30));
    EXPECT_EQ(lines[0].color, RGB(0, 0, 0));
    EXPECT_EQ(dc.GetCurrentFont(), font);

    host.frameText = u"";
    dc.Clear();
    grid.PrintHeader(&dc, &info);
    EXPECT_EQ(dc.Of(CRecordingDC::Op::Text)[0].text, u"Trunk Summary for: ALFA");

    // The screen prints through its grid: the five rows fit one page.
    QTemporaryDir dir;
    EXPECT_EQ(PrintViewToPdf(*screen, FromQString(dir.filePath("screen.pdf"))), 1);
}

TEST_F(GridViewTest, APrintWithNoRoomForARowSaysItFailed) {
    CUiEnvironment env;
    CModalScript script(env);
    QTemporaryDir dir;
    // The print dialog, answered with a PDF file as the printer.
    auto toPdf = [&](QDialog& dialog) {
        QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir.filePath("narrow.pdf"));
        return static_cast<int>(QDialog::Accepted);
    };
    auto screen = Show(IcomColumns(), 5);
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    script.ExpectDialog("printDialog", toPdf);
    screen->OnCmdMsg(ID_FILE_PRINT, nullptr);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_TRUE(script.MessageBoxes().empty());

    // So narrow that the page it scales to holds the header and footer but no row.
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        grid.SetColumnWidth(col, 1);
    QFile::remove(dir.filePath("narrow.pdf"));
    script.ExpectDialog("printDialog", toPdf);
    script.ExpectMessageBox(u"Printing failed", IDOK);
    screen->OnCmdMsg(ID_FILE_PRINT, nullptr);
    EXPECT_TRUE(script.AllAnswered());
    // Not even an empty file is left behind.
    EXPECT_FALSE(QFile::exists(dir.filePath("narrow.pdf")));
}

TEST_F(GridViewTest, TheRowsWaitForAPrintJobToEnd) {
    CUiEnvironment env;
    CModalScript script(env);
    auto screen = Show(IcomColumns(), 5);
    ClickHeader(*screen, 1);
    script.ExpectDialog("printDialog", [&](QDialog&) {
        NameIcom(0, u"AAAA");
        screen->SortDataChanged();
        QApplication::processEvents();
        EXPECT_EQ(screen->Column(1)[0], u"ALFA");
        return static_cast<int>(QDialog::Rejected);
    });
    screen->OnCmdMsg(ID_FILE_PRINT, nullptr);
    EXPECT_TRUE(script.AllAnswered());
    QApplication::processEvents();
    EXPECT_EQ(screen->Column(1)[0], u"AAAA");

    // Printed, the job turns the event loop between its pages: a rename that comes meanwhile
    // moves its row once the last page is out.
    QTemporaryDir dir;
    script.ExpectDialog("printDialog", [&](QDialog& dialog) {
        QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir.filePath("rows.pdf"));
        QMetaObject::invokeMethod(
            screen->GetWidget(),
            [&] {
                NameIcom(4, u"AAAB");
                screen->SortDataChanged();
                QApplication::processEvents();
            },
            Qt::QueuedConnection);
        return static_cast<int>(QDialog::Accepted);
    });
    screen->OnCmdMsg(ID_FILE_PRINT, nullptr);
    EXPECT_TRUE(QFile::exists(dir.filePath("rows.pdf")));
    EXPECT_EQ(screen->Column(1)[1], u"ALFA");
    QApplication::processEvents();
    EXPECT_EQ(screen->Column(1)[1], u"AAAB");
}

}  // namespace

#include "screens/cells/cell_compare.h"
#include "tests/screens/screen_fixture.h"

namespace {

using CDragScreen = CDragView<CTestScreen>;

// Intercom names in column 1, read-only remote-trunking starts in column 2, COM ports in 3.
class GridEditTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (int i = 0; const char16_t* name : {u"ALFA", u"BRAV", u"CHAR"})
            NameIcom(i++, name);
        screen = std::make_unique<CDragScreen>(
            host,
            std::vector<ColumnDesc>{{0, false, CObjSpec::kIntercom, 1, nullptr, nullptr},
                                    {0, false, CObjSpec::kIntercom, 67, nullptr, CompareCellText},
                                    {0, false, CObjSpec::kIntercom, 1361, nullptr, nullptr},
                                    {0, false, CObjSpec::kIntercom, 74, nullptr, nullptr}},
            6);
        screen->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 300), &window, 20100);
        host.current = screen.get();
        screen->OnInitialUpdate();
        QApplication::processEvents();
    }
    CDragGrid& Grid() { return static_cast<CDragGrid&>(*screen->GetGrid()); }
    std::vector<CString> Names() { return screen->Column(1); }

    std::unique_ptr<CDragScreen> screen;
};

TEST_F(GridEditTest, APasteIsOneUndoStepAndAPasteThatChangesNothingIsNone) {
    COleDataObject block(CString(u"DELT\r\nECHO\r\nFOXT"));
    ASSERT_TRUE(Grid().PasteWithUndo(4, 1, &block));
    EXPECT_EQ(Names(),
              (std::vector<CString>{u"ALFA", u"BRAV", u"CHAR", u"DELT", u"ECHO", u"FOXT"}));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    EXPECT_EQ(m_host.m_group, nullptr);  // the group is closed again

    COleDataObject same(CString(u"DELT"));
    Grid().PasteWithUndo(4, 1, &same);
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);

    // Delete clears the selected cells, as one step too.
    Grid().SetSelectedRange(4, 1, 5, 1);
    Grid().SetFocusCell(4, 1);
    Grid().OnKeyDown(VK_DELETE, 1, 0);
    EXPECT_EQ(Names()[3], u"");
    EXPECT_EQ(Names()[4], u"");
    EXPECT_EQ(m_host.m_undo.GetCount(), 2u);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Names()[4], u"ECHO");

    // Cut leaves a row the filter hides as it is, and copies nothing of it.
    Grid().SetRowHeight(5, 0);
    Grid().SetSelectedRange(4, 1, 6, 1);
    screen->OnCmdMsg(ID_EDIT_CUT, nullptr);
    EXPECT_EQ(Names(), (std::vector<CString>{u"ALFA", u"BRAV", u"CHAR", u"", u"ECHO", u""}));
    EXPECT_EQ(COleDataObject::FromClipboard().GetText(), u"DELT\nFOXT");
}

TEST_F(GridEditTest, AMoveWithinTheGridClearsOnlyTheSourceCellsNotOverwrittenInOneStep) {
    // ALFA and BRAV are dragged one row down: BRAV's cell takes ALFA, the cell below BRAV.
    Grid().SetSelectedRange(1, 1, 2, 1);
    Grid().SetFocusCell(1, 1);
    Grid().target = CCellID(2, 1);
    Grid().OnBeginDrag();
    EXPECT_EQ(Names(), (std::vector<CString>{u"", u"ALFA", u"BRAV", u"", u"", u""}));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(Names(), (std::vector<CString>{u"ALFA", u"BRAV", u"CHAR", u"", u"", u""}));
    // A replay puts back what the names were and tells of no name in use.
    EXPECT_TRUE(TakeReports().empty());

    // Ctrl copies: the sources stay and the document hears of no move.
    Grid().SetSelectedRange(1, 1, 1, 1);
    Grid().target = CCellID(5, 1);
    Grid().keyState = MK_CONTROL;
    Grid().OnBeginDrag();
    EXPECT_EQ(Names()[0], u"ALFA");
    EXPECT_EQ(Names()[4], u"ALFA");

    // A read-only target takes nothing.
    COleDataObject text(CString(u"99"));
    CRect rect;
    Grid().GetCellRect(3, 2, &rect);
    Grid().OnDragEnter(&text, 0, rect.CenterPoint());
    EXPECT_FALSE(Grid().OnDrop(&text, DROPEFFECT_MOVE, rect.CenterPoint()));
    EXPECT_EQ(screen->Column(2)[2], u"-");
    // A move from another program keeps its source: the name in use is reported as typed.
    COleDataObject outside(CString(u"CHAR"));
    Grid().GetCellRect(6, 1, &rect);
    Grid().OnDragEnter(&outside, 0, rect.CenterPoint());
    EXPECT_TRUE(Grid().OnDrop(&outside, DROPEFFECT_MOVE, rect.CenterPoint()));
    EXPECT_EQ(Names()[5], u"CHAR");
    EXPECT_EQ(TakeReports(), (std::vector<int>{5, 5}));  // for each of its names

    // A row the filter hides inside the dragged range is neither carried nor cleared.
    Grid().keyState = 0;
    Grid().SetRowHeight(2, 0);
    Grid().SetSelectedRange(1, 1, 3, 1);
    Grid().target = CCellID(4, 1);
    Grid().OnBeginDrag();
    EXPECT_EQ(Names(), (std::vector<CString>{u"", u"BRAV", u"", u"ALFA", u"CHAR", u"CHAR"}));
    // The move's own sources are passed, the last row's CHAR, which stays, is told of as typed.
    EXPECT_EQ(TakeReports(), (std::vector<int>{5, 5}));

    // Only the cells whose text landed go: CHAR finds no row below the last and stays.
    Grid().SetSelectedRange(4, 1, 5, 1);
    Grid().target = CCellID(6, 1);
    Grid().OnBeginDrag();
    EXPECT_EQ(Names(), (std::vector<CString>{u"", u"BRAV", u"", u"", u"CHAR", u"ALFA"}));
    EXPECT_TRUE(TakeReports().empty());

    // A move is carried out whole or not at all: COM ports 3 and 9 one row down, where 9 is
    // also intercom 6's, which does not move. Port 3 landed, then 9 was refused: all goes back.
    Grid().SetRowHeight(2, Grid().GetRowHeight(1));
    for (const auto& [icom, port] : {std::pair{0, 2}, std::pair{1, 8}, std::pair{5, 8}})
        m_doc.SetIcomComPort(port, FALSE, icom);
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    const size_t steps = m_host.m_undo.GetCount();
    Grid().SetSelectedRange(1, 3, 2, 3);
    Grid().target = CCellID(2, 3);
    Grid().OnBeginDrag();
    EXPECT_EQ(TakeReports(), std::vector<int>{2});
    EXPECT_EQ(screen->Column(3), (std::vector<CString>{u"3", u"9", u"", u"", u"", u"9"}));
    EXPECT_EQ(m_host.m_undo.GetCount(), steps);
    EXPECT_EQ(m_doc.IsModified(CIcomSpec(1, CIntercom::kFieldComPort)), 0u);

    // What landed goes back though typing could not give it: COM 1 and 10 are outside the
    // ports typing takes, and 10 moved onto intercom 2 is refused as invalid.
    Config().m_nFirstComPort = 1;
    Config().m_nLastComPort = 8;
    for (const auto& [icom, port] :
         {std::pair{0, 0}, std::pair{1, 2}, std::pair{4, 8}, std::pair{5, 9}})
        m_doc.SetIcomComPort(port, FALSE, icom);
    screen->OnUpdate(nullptr, CUpdateHint::kRefresh.ToParam(), nullptr);
    Grid().SetSelectedRange(5, 3, 6, 3);
    Grid().target = CCellID(1, 3);
    Grid().OnBeginDrag();
    EXPECT_EQ(TakeReports(), std::vector<int>{1});
    EXPECT_EQ(screen->Column(3), (std::vector<CString>{u"1", u"3", u"", u"", u"9", u"10"}));
    EXPECT_EQ(m_host.m_undo.GetCount(), steps);
    EXPECT_EQ(m_doc.IsModified(CIcomSpec(0, CIntercom::kFieldComPort)), 0u);

    // So does a typed edit undone: 7 typed over COM 1.
    ASSERT_TRUE(m_doc.SetObjectField(CIcomSpec(0, CIntercom::kFieldComPort), u"7", TRUE));
    ASSERT_TRUE(m_host.Undo());
    EXPECT_EQ(m_doc.GetIcomComPort(0), 0);
    EXPECT_TRUE(TakeReports().empty());
}

TEST_F(GridEditTest, ADragHoldsTheSortedRowsAndDropsPastesAndDeletesMoveTheirRows) {
    const auto nameOf = [&](int icom) {
        return m_doc.GetObjectText(CIcomSpec(icom, CIntercom::kFieldName));
    };
    const auto settle = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    };
    CCellID byName(0, 1);
    Grid().OnFixedRowClick(byName);
    // ALFA moved onto intercom 5's empty name while the controller renames CHAR AAAA: the rows
    // wait for the drop, the move clears ALFA's own cell, then every row takes its place.
    Grid().SetSelectedRange(1, 1, 1, 1);
    Grid().SetFocusCell(1, 1);
    Grid().target = CCellID(5, 1);
    Grid().meanwhile = [&] {
        NameIcom(2, u"AAAA");
        screen->SortDataChanged();
        settle();
        EXPECT_EQ(screen->Column(0), (std::vector<CString>{u"1", u"2", u"3", u"4", u"5", u"6"}));
    };
    Grid().OnBeginDrag();
    Grid().meanwhile = nullptr;
    settle();
    EXPECT_EQ((std::vector<CString>{nameOf(0), nameOf(2), nameOf(4)}),
              (std::vector<CString>{u"", u"AAAA", u"ALFA"}));
    EXPECT_EQ(Names(), (std::vector<CString>{u"AAAA", u"ALFA", u"BRAV", u"", u"", u""}));

    // A paste and a Delete keep the mark too, and their rows follow it.
    COleDataObject zulu(CString(u"ZULU"));
    Grid().PasteWithUndo(1, 1, &zulu);
    settle();
    EXPECT_EQ(Names(), (std::vector<CString>{u"ALFA", u"BRAV", u"ZULU", u"", u"", u""}));
    Grid().SetSelectedRange(1, 1, 1, 1);
    Grid().SetFocusCell(1, 1);
    Grid().OnKeyDown(VK_DELETE, 1, 0);
    settle();
    EXPECT_EQ(Names(), (std::vector<CString>{u"BRAV", u"ZULU", u"", u"", u"", u""}));
}

TEST_F(GridEditTest, ARefusedEditIsReportedAndTheCellKeepsItsText) {
    Grid().OnEndEditCell(2, 1, u"TOOLONG");
    EXPECT_EQ(Names()[1], u"BRAV");
    EXPECT_EQ(TakeReports(), (std::vector<int>{m_app.m_nLastError}));
    EXPECT_GE(m_app.m_nLastError, 0);
    EXPECT_TRUE(m_host.m_undo.IsEmpty());

    Grid().OnEndEditCell(2, 1, u"BETA");
    EXPECT_EQ(Names()[1], u"BETA");
    EXPECT_TRUE(m_doc.IsModified(CIcomSpec(1, 67)));
    EXPECT_EQ(m_host.m_undo.GetCount(), 1u);
}

TEST_F(GridEditTest, CancelChangesClearsAllOrTheSelectedChangesAsChosen) {
    Grid().OnEndEditCell(1, 1, u"ECHO");
    Grid().OnEndEditCell(3, 1, u"GOLF");
    Grid().SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_CLEAR_CHANGES), 0);  // cancelled
    EXPECT_TRUE(m_doc.IsModified(CIcomSpec(0, 67)));

    Grid().SetSelectedRange(3, 1, 3, 2);
    host.clearAnswer = 1;
    const int updates = screen->updates;
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_CLEAR_CHANGES), 1);
    EXPECT_EQ(host.presets, (std::vector<int>{0, 1}));
    EXPECT_FALSE(m_doc.IsModified(CIcomSpec(2, 67)));
    EXPECT_TRUE(m_doc.IsModified(CIcomSpec(0, 67)));
    EXPECT_EQ(screen->updates, updates + 1);
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_HAS_CHANGES), 0);
}

}  // namespace

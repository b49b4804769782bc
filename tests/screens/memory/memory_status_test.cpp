#include <QMenu>
#include <QTest>

#include "platform/ui/sys_info.h"
#include "res/command_ids.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "screens/controller_status/cv_status_view.h"
#include "screens/memory/memory_dump_view.h"
#include "screens/memory/memory_filter_view.h"
#include "screens/memory/memory_rules.h"
#include "screens/popups/popup_list.h"
#include "tests/screens/diag_fixture.h"
#include "tests/sim/sim_handlers.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kStandbyLoopback = 0x7F000002;

template <class View>
std::unique_ptr<View> Make(CFakeScreenHost& host, QWidget& window) {
    auto view = std::make_unique<View>(host);
    view->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20200);
    return view;
}

std::vector<CString> Row(const CGridCtrl& grid, int row) {
    std::vector<CString> texts;
    for (int col = 0; col < grid.GetColumnCount(); ++col)
        texts.push_back(grid.GetItemText(row, col));
    return texts;
}

// A menu entry's command, found by its text.
int Choose(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) return action->data().toInt();
        if (action->menu()) {
            if (const int id = Choose(*action->menu(), text)) return id;
        }
    }
    return 0;
}

class MemoryStatusTest : public DiagScreenTest {
protected:
    // The memory screen shown and current, its window read from the controller.
    std::unique_ptr<CMemoryDumpView> ShowMemory() {
        auto screen = Make<CMemoryDumpView>(host, window);
        host.current = screen.get();
        Show(*screen);
        screen->OnInitialUpdate();
        EXPECT_TRUE(Pump([&] { return screen->GetGrid()->GetItemText(0, 2) == u"01"; }));
        return screen;
    }
    // ONLINE with writes allowed, the memory screen shown, and its first byte edited.
    std::unique_ptr<CMemoryDumpView> ShowMemoryWithPendingByte(const char16_t* value) {
        m_app.m_bAllowMemoryPoke = TRUE;
        m_app.m_enabledCommands.insert(ID_WRITE_MEMORY);
        GoOnline();
        auto screen = ShowMemory();
        CKelvardinGridCtrl& grid = *screen->GetGrid();
        grid.SetFocusCell(5, 3);
        EXPECT_TRUE(dynamic_cast<CKelvardinGridCell&>(*grid.GetCell(0, 2)).SetValueText(value));
        return screen;
    }
    // ONLINE, with the standby controller known to the link.
    void GoOnlineWithStandby() {
        sim.ChangeState([](CorvaneState& s) { s.standbyAddress = kStandbyLoopback; });
        ASSERT_NO_FATAL_FAILURE(GoOnline());
        ASSERT_TRUE(Pump([&] { return host.dataMgr.GetStandbyAddress() == kStandbyLoopback; }));
    }
    static bool IsWrite(const SimFrame& f) { return f.command == 31; }
};

TEST_F(MemoryStatusTest, StatusScreenPollsOnlyOnlineAndClearsTheStandbyCounters) {
    sim.SetHandler(19, [](CorvaneState&, const SimFrame& request) -> std::optional<SimFrame> {
        const bool standby = request.payload.at(0) == 2;
        return SimReplyTo(request, standby ? Bytes{1, 2, 3, 4} : Bytes{5, 6, 7, 8});
    });
    auto screen = Make<CCVStatusView>(host, window);
    host.current = screen.get();
    Show(*screen);
    screen->OnInitialUpdate();
    const CGridCtrl& grid = *screen->GetGrid();
    EXPECT_EQ(Row(grid, 0), (std::vector<CString>{u"Corvane", u"Status", u"Errors To", u"BER To",
                                                  u"Errors From", u"BER From"}));
    EXPECT_EQ(Row(grid, 2), (std::vector<CString>{u"Standby", u"-", u"-", u"-", u"-", u"-"}));
    EXPECT_TRUE(grid.GetCell(1, 2)->IsReadOnly());
    // In FILE mode with no link the screen asks for nothing.
    QTest::qWait(60);
    EXPECT_TRUE(sim.Requests().empty());

    ASSERT_NO_FATAL_FAILURE(GoOnline());
    auto standbyErrors = [](const SimFrame& f) { return f.command == 19 && f.payload[0] == 2; };
    ASSERT_TRUE(SawRequest([](const SimFrame& f) { return f.command == 18 && f.payload[0] == 2; }));
    ASSERT_TRUE(SawRequest([](const SimFrame& f) { return f.command == 19 && f.payload[0] == 0; }));
    ASSERT_TRUE(SawRequest(standbyErrors));
    ASSERT_TRUE(Pump([&] { return grid.GetItemText(2, 5) == u"4"; }));
    // The active controller counts no errors towards and from itself.
    EXPECT_EQ(Row(grid, 1),
              (std::vector<CString>{u"Active", grid.GetItemText(1, 1), u"-", u"6", u"-", u"8"}));
    EXPECT_EQ(Row(grid, 2)[2], u"1");

    // A clear command that is not available sends nothing.
    host.current = nullptr;
    screen->OnCmdMsg(ID_CLEAR_STANDBY_ERRORS, nullptr);
    ASSERT_TRUE(Pump([&] { return host.dataMgr.GetPendingTotal() == 0; }));
    QTest::qWait(100);
    EXPECT_EQ(CountRequests(20), 0);
    // Clearing the standby's counters reads both controllers' counters again at once.
    const int before = CountRequests(19);
    m_app.m_enabledCommands.insert(ID_CLEAR_STANDBY_ERRORS);
    screen->OnCmdMsg(ID_CLEAR_STANDBY_ERRORS, nullptr);
    ASSERT_TRUE(SawRequest([](const SimFrame& f) { return f.command == 20 && f.payload[0] == 2; }));
    ASSERT_TRUE(Pump([&] { return CountRequests(19) >= before + 2; }));
}

TEST_F(MemoryStatusTest, WritesGoOnConfirmationAndLeaveTheUndoHistory) {
    m_app.m_bAllowMemoryPoke = TRUE;
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    auto screen = ShowMemory();
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    EXPECT_EQ(Row(grid, 0)[0], u"0000 0000");
    EXPECT_EQ(grid.GetItemText(2, 17), u" !\"#$%&' ()*+,-./");
    EXPECT_FALSE(grid.GetCell(14, 16)->IsReadOnly());
    EXPECT_TRUE(grid.GetCell(15, 16)->IsReadOnly());
    EXPECT_TRUE(grid.GetCell(0, 17)->IsReadOnly());

    // A name edit, then two bytes: the bytes go once written, the name stays undoable.
    NameIcom(0, u"ALFA");
    EXPECT_TRUE(Edit(CIcomSpec(0, 67), u"BRAV"));
    auto& cell = dynamic_cast<CKelvardinGridCell&>(*grid.GetCell(0, 2));
    EXPECT_TRUE(cell.SetValueText(u"aa"));
    stacks.BeginUndoGroup(true);
    EXPECT_TRUE(dynamic_cast<CKelvardinGridCell&>(*grid.GetCell(1, 1)).SetValueText(u"5"));
    EXPECT_TRUE(Edit(CIcomSpec(0, 67), u"CHAR"));
    stacks.BeginUndoGroup(false);
    EXPECT_EQ(grid.GetItemText(1, 1), u"05");
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_HAS_CHANGES), 1);
    EXPECT_EQ(stacks.m_undo.GetCount(), 3u);
    const size_t grouped = dynamic_cast<const CUndoObList&>(*stacks.m_undo.Peek()).GetCount();

    m_app.m_answer = IDOK;
    EXPECT_EQ(screen->SendMessage(WM_SCREEN_LEAVING), 0);
    ASSERT_TRUE(SawRequest(IsWrite));
    // The address, the count, 32 bytes of which offsets are written, then the bytes.
    Bytes expected(7 + 32 + 2);
    expected[6] = 255;
    expected[7] = 0x02;  // offset 1
    expected[9] = 0x01;  // offset 16
    expected[39] = 0xaa;
    expected[40] = 0x05;
    const std::vector<SimFrame> frames = sim.Requests();
    EXPECT_EQ(std::find_if(frames.begin(), frames.end(), IsWrite)->payload, expected);
    EXPECT_EQ(m_app.m_boxes.back().type, MB_OKCANCEL | MB_ICONEXCLAMATION);
    // The name edit alone stays, and the group keeps its name records.
    ASSERT_EQ(stacks.m_undo.GetCount(), 2u);
    EXPECT_EQ(dynamic_cast<const CUndoObList&>(*stacks.m_undo.Peek()).GetCount(), grouped - 1);
    // Written, the bytes are pending no more: leaving again neither asks nor writes.
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
    const size_t boxes = m_app.m_boxes.size();
    screen->SendMessage(WM_SCREEN_LEAVING);
    EXPECT_EQ(m_app.m_boxes.size(), boxes);

    // Write Memory sends what is pending, when the command rule allows it.
    EXPECT_TRUE(cell.SetValueText(u"cc"));
    screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());
    m_app.m_enabledCommands.insert(ID_WRITE_MEMORY);
    screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
    ASSERT_TRUE(Pump([&] { return CountRequests(31) == 2; }));

    // A write the user cancels is dropped: the cell shows the controller's byte again, the
    // edit stays in the history and nothing goes out.
    EXPECT_TRUE(cell.SetValueText(u"bb"));
    m_app.m_answer = IDCANCEL;
    screen->SendMessage(WM_SCREEN_LEAVING);
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
    EXPECT_EQ(grid.GetItemText(0, 2), u"01");
    EXPECT_EQ(stacks.m_undo.GetCount(), 3u);
    QTest::qWait(100);
    EXPECT_EQ(CountRequests(31), 2);
}

TEST_F(MemoryStatusTest, BytesThatCannotBeWrittenStayPendingAndTheUserIsTold) {
    auto screen = ShowMemoryWithPendingByte(u"aa");
    ASSERT_FALSE(HasFatalFailure());
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    EXPECT_EQ(grid.GetCell(0, 2)->GetBackClr(), m_app.m_clrChangedBackground);

    // The link goes down: moving the window offers no write that cannot go; it stays, and
    // the user is told why.
    host.dataMgr.GoOffline();
    m_app.m_answer = IDOK;
    const size_t before = m_app.m_boxes.size();
    screen->SendMessage(WM_GRID_KEYDOWN, VK_NEXT);
    ASSERT_EQ(m_app.m_boxes.size(), before + 1);
    EXPECT_EQ(m_app.m_boxes.back().text, LoadResString(kIdsMemoryNotWritten));
    EXPECT_EQ(m_app.m_boxes.back().type, MB_OK | MB_ICONEXCLAMATION);
    // The window whose byte is pending stays, with the byte marked.
    EXPECT_EQ(screen->GetStartAddress(), 0u);
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());
    EXPECT_EQ(grid.GetItemText(0, 2), u"aa");
    // Write Memory says the same; leaving the screen asks nothing, and both keep the byte.
    screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    screen->SendMessage(WM_SCREEN_LEAVING);
    EXPECT_EQ(m_app.m_boxes.size(), before + 2);
    EXPECT_EQ(m_app.m_boxes.back().text, LoadResString(kIdsMemoryNotWritten));
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());

    // Out of ONLINE the cells take no typing; back ONLINE they do again, the byte pending and
    // marked. A rebuild meanwhile asks nothing about what cannot be written.
    const auto readOnly = [&](int row, int col) {
        return screen->GetGrid()->GetCell(row, col)->IsReadOnly() != FALSE;
    };
    for (const int mode : {CAppState::kModeFile, CAppState::kModeOnline}) {
        m_app.SetMode(mode);
        screen->FollowMode();
        EXPECT_EQ(readOnly(1, 1), mode == CAppState::kModeFile) << mode;
        screen->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
        EXPECT_EQ(readOnly(1, 1), mode == CAppState::kModeFile) << mode;
        EXPECT_EQ(m_app.m_boxes.size(), before + 2) << mode;
    }
    EXPECT_TRUE(readOnly(15, 16));
    EXPECT_EQ(screen->GetGrid()->GetItemText(0, 2), u"aa");
    EXPECT_EQ(screen->GetGrid()->GetCell(0, 2)->GetBackClr(), m_app.m_clrChangedBackground);
    EXPECT_EQ(CountRequests(31), 0);

    // Back online, the byte is still there to be written, and goes.
    host.dataMgr.GoOnline();
    screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
    ASSERT_TRUE(SawRequest(IsWrite));
    const std::vector<SimFrame> frames = sim.Requests();
    EXPECT_EQ(std::find_if(frames.begin(), frames.end(), IsWrite)->payload.back(), 0xaa);
}

TEST_F(MemoryStatusTest, AWriteTheControllerNeverAnswersComesBackPendingAndTheUserIsTold) {
    host.timing.memoryReadMs = 100;
    m_app.m_bAllowDragDrop = TRUE;
    auto screen = ShowMemoryWithPendingByte(u"bb");
    ASSERT_FALSE(HasFatalFailure());
    CKelvardinGridCtrl& grid = *screen->GetGrid();

    // The controller goes quiet to writes; the user agrees to write and moves on before the
    // link has noticed anything.
    sim.InjectFault(SimFault::DropReply, 1000, 31u);
    m_app.m_answer = IDOK;
    screen->SendMessage(WM_GRID_KEYDOWN, VK_NEXT);
    EXPECT_EQ(screen->GetStartAddress(), 0x100u);
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());

    const CString told =
        SubstituteArgs(LoadResString(kIdsMemoryWriteUnanswered).str(), {u"00000000"});
    // A drag held over the grid keeps the window until it leaves: reads asked after the write
    // was given up go out, and nothing moves.
    COleDataObject dragged(CString(u"cc"));
    CRect cell;
    grid.GetCellRect(0, 2, &cell);
    grid.OnDragEnter(&dragged, 0, cell.CenterPoint());
    ASSERT_TRUE(Pump([&] { return CountRequests(31) == 5; }));
    const int reads = CountRequests(22);
    ASSERT_TRUE(Pump([&] { return CountRequests(22) >= reads + 2; }));
    EXPECT_EQ(screen->GetStartAddress(), 0x100u);
    grid.OnDragLeave();
    ASSERT_TRUE(Pump([&] { return !m_app.m_boxes.empty() && m_app.m_boxes.back().text == told; }));
    EXPECT_EQ(m_app.m_boxes.back().type, MB_OK | MB_ICONEXCLAMATION);
    // Back at the window of the write, the byte pending and marked again, once only.
    EXPECT_EQ(screen->GetStartAddress(), 0u);
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());
    EXPECT_EQ(grid.GetItemText(0, 2), u"bb");
    EXPECT_TRUE(m_doc.IsModified(CObjSpec(CObjSpec::kController, 1, 1629)));
    EXPECT_FALSE(m_doc.IsModified(CObjSpec(CObjSpec::kController, 2, 1629)));
    const size_t boxes = m_app.m_boxes.size();
    QTest::qWait(50);
    EXPECT_EQ(m_app.m_boxes.size(), boxes);

    // Written again by the user, the same byte goes out once more.
    ASSERT_TRUE(Pump([&] { return host.dataMgr.IsOnline(); }));
    const int writes = CountRequests(31);
    screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
    ASSERT_TRUE(Pump([&] { return CountRequests(31) > writes; }));
    const std::vector<SimFrame> frames = sim.Requests();
    const auto last = std::find_if(frames.rbegin(), frames.rend(), IsWrite);
    EXPECT_EQ(last->payload.back(), 0xbb);
}

// A write the controller refuses comes back pending, and the user is told it was refused.
TEST_F(MemoryStatusTest, AWriteTheControllerRefusesComesBackPendingAndTheUserIsTold) {
    host.timing.memoryReadMs = 100;
    auto screen = ShowMemoryWithPendingByte(u"cc");
    ASSERT_FALSE(HasFatalFailure());
    sim.InjectFault(SimFault::Nak, 1000, 31u);
    screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
    const CString told = SubstituteArgs(LoadResString(kIdsMemoryWriteRefused).str(), {u"00000000"});
    ASSERT_TRUE(Pump([&] { return !m_app.m_boxes.empty() && m_app.m_boxes.back().text == told; }));
    EXPECT_EQ(m_app.m_boxes.back().type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());
    EXPECT_EQ(screen->GetGrid()->GetItemText(0, 2), u"cc");
}

// On the network the standby processor is the standby controller, asked once and directly.
TEST_F(MemoryStatusTest, AStandbyWriteTheStandbyNeverAnswersComesBackToTheStandby) {
    CSimController standby{true};
    CSimUdpLink standbyPeer{standby, kStandbyLoopback, peer.Port()};
    sim.ChangeState([](CorvaneState& s) { s.standbyAddress = kStandbyLoopback; });
    standby.InjectFault(SimFault::DropReply, 1000, 31u);
    m_app.m_bAllowMemoryPoke = TRUE;
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    ASSERT_TRUE(Pump([&] { return host.dataMgr.GetStandbyAddress() == kStandbyLoopback; }));
    host.dataMgr.SetMemoryCpu(1);
    Bytes image(255);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i);
    host.dataMgr.StoreMemoryImage(1, 0, image);
    auto screen = Make<CMemoryDumpView>(host, window);
    host.current = screen.get();
    Show(*screen);
    screen->OnInitialUpdate();
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    grid.SetFocusCell(5, 3);
    EXPECT_TRUE(dynamic_cast<CKelvardinGridCell&>(*grid.GetCell(0, 2)).SetValueText(u"bb"));
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());
    m_app.m_answer = IDOK;
    screen->SendMessage(WM_GRID_KEYDOWN, VK_NEXT);

    const CString told =
        SubstituteArgs(LoadResString(kIdsMemoryWriteUnanswered).str(), {u"00000000"});
    ASSERT_TRUE(Pump([&] { return !m_app.m_boxes.empty() && m_app.m_boxes.back().text == told; }));
    const std::vector<SimFrame> asked = standby.Requests();
    EXPECT_EQ(std::count_if(asked.begin(), asked.end(), IsWrite), 1);
    EXPECT_EQ(CountRequests(31), 0);
    EXPECT_EQ(screen->GetStartAddress(), 0u);
    EXPECT_EQ(grid.GetItemText(0, 2), u"bb");
    host.dataMgr.SetMemoryCpu(0);
    EXPECT_EQ(host.dataMgr.GetMemoryWriteBits().GetCount(), 0u);
    host.dataMgr.SetMemoryCpu(1);
    EXPECT_EQ(host.dataMgr.GetMemoryWriteBits().GetCount(), 1u);
}

// Each processor's bytes land in its own window, and a window across the top of memory runs on
// from address 0.
TEST_F(MemoryStatusTest, EachProcessorsBytesLandInItsOwnWindowAcrossTheTopOfMemory) {
    CSimController standby{true};
    CSimUdpLink standbyPeer{standby, kStandbyLoopback, peer.Port()};
    m_app.m_bAllowMemoryPoke = TRUE;
    ASSERT_NO_FATAL_FAILURE(GoOnlineWithStandby());
    auto screen = ShowMemory();
    CKelvardinGridCtrl& grid = *screen->GetGrid();

    host.dataMgr.SetMemoryCpu(1);
    screen->OnUpdate(nullptr, CUpdateHint::kMemoryPage.ToParam(),
                     reinterpret_cast<void*>(std::uintptr_t{0xFFFFFF80}));
    ASSERT_TRUE(Pump([&] { return grid.GetItemText(0, 1) == u"80"; }));
    EXPECT_EQ(grid.GetItemText(8, 1), u"00");
    EXPECT_EQ(grid.GetItemText(15, 15), u"7e");
    EXPECT_EQ(grid.GetItemText(15, 16), u"-");
    // A byte past the top is edited as any other.
    EXPECT_TRUE(dynamic_cast<CKelvardinGridCell&>(*grid.GetCell(8, 1)).SetValueText(u"aa"));
    EXPECT_TRUE(m_doc.IsModified(CObjSpec(CObjSpec::kController, 0, 1629)));
}

// The standby's write, lost while the same write of the active processor waits to go, comes
// back to the standby; the active's goes and is answered.
TEST_F(MemoryStatusTest, AStandbyWriteLostBesideTheSameActiveWriteComesBackToTheStandby) {
    CSimController standby{true};
    CSimUdpLink standbyPeer{standby, kStandbyLoopback, peer.Port()};
    standby.InjectFault(SimFault::DropReply, 1000, 31u);
    m_app.m_bAllowMemoryPoke = TRUE;
    m_app.m_enabledCommands.insert(ID_WRITE_MEMORY);
    ASSERT_NO_FATAL_FAILURE(GoOnlineWithStandby());
    auto screen = ShowMemory();
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    auto writeByte1 = [&] {
        EXPECT_TRUE(dynamic_cast<CKelvardinGridCell&>(*grid.GetCell(0, 2)).SetValueText(u"bb"));
        screen->OnCmdMsg(ID_WRITE_MEMORY, nullptr);
    };

    host.dataMgr.SetMemoryCpu(1);
    writeByte1();
    // The window goes on taking replies: a window that takes none holds the link.
    ASSERT_TRUE(Pump([&] {
        const std::vector<SimFrame> frames = standby.Requests();
        return std::any_of(frames.begin(), frames.end(), IsWrite);
    }));
    host.dataMgr.SetMemoryCpu(0);
    writeByte1();
    host.dataMgr.SetMemoryCpu(1);

    const CString told =
        SubstituteArgs(LoadResString(kIdsMemoryWriteUnanswered).str(), {u"00000000"});
    ASSERT_TRUE(Pump([&] { return !m_app.m_boxes.empty() && m_app.m_boxes.back().text == told; }));
    EXPECT_TRUE(host.dataMgr.HasUnwrittenMemory());
    ASSERT_TRUE(Pump([&] { return CountRequests(31) == 1; }));
    // With the active processor shown, the standby's byte is asked about as any: leaving the
    // screen asks, and Cancel drops it.
    host.dataMgr.SetMemoryCpu(0);
    EXPECT_EQ(host.dataMgr.GetMemoryWriteBits().GetCount(), 0u);
    m_app.m_answer = IDCANCEL;
    screen->SendMessage(WM_SCREEN_LEAVING);
    EXPECT_EQ(m_app.m_boxes.back().text, LoadResString(kIdsUnwrittenMemory));
    EXPECT_FALSE(host.dataMgr.HasUnwrittenMemory());
}

TEST_F(MemoryStatusTest, KeysAndTheMenuMoveTheWindowWithWrapAndHistory) {
    ASSERT_NO_FATAL_FAILURE(GoOnline());
    auto screen = ShowMemory();
    CKelvardinGridCtrl& grid = *screen->GetGrid();
    grid.SetFocusCell(5, 3);
    auto key = [&](UINT vk, bool alt = false) {
        return screen->SendMessage(alt ? WM_GRID_SYSKEYDOWN : WM_GRID_KEYDOWN, vk);
    };
    EXPECT_EQ(key(VK_UP), 0);  // inside the window: the grid's
    EXPECT_EQ(key(VK_PRIOR), 1);
    EXPECT_EQ(screen->GetStartAddress(), 0xFFFFFF00u);
    EXPECT_EQ(grid.GetItemText(15, 0), u"ffff fff0");
    ASSERT_TRUE(SawRequest([](const SimFrame& f) {
        return f.command == 22 &&
               Bytes(f.payload.begin() + 2, f.payload.end() - 1) == Bytes{0xff, 0xff, 0xff, 0x00};
    }));
    EXPECT_EQ(key(VK_LEFT, true), 1);
    EXPECT_EQ(key(VK_NEXT), 1);
    EXPECT_EQ(screen->GetStartAddress(), 0xFFFFFFFFu);
    EXPECT_EQ(grid.GetItemText(0, 0), u"ffff ffff");
    EXPECT_EQ(key(VK_DOWN, true), 1);
    EXPECT_EQ(screen->GetStartAddress(), 0xFu);
    {
        CInputState shift(MK_SHIFT);
        EXPECT_EQ(key(VK_NEXT), 0);
    }

    // The history, newest first, the current address checked; an entry goes back to it.
    const CContext& context = host.GetViewContext(kScreenMemory);
    ASSERT_EQ(memory_rules::Entries(context).size(), 4u);
    script.ExpectMenu([&](QMenu& menu) {
        EXPECT_EQ(menu.objectName(), "menu135");
        EXPECT_EQ(Choose(menu, "&Goto address: 00000000"), 0);
        return Choose(menu, "&3: ffffff00");
    });
    NM_GRIDVIEW record;
    screen->OnGridRClick(&record);
    EXPECT_EQ(screen->GetStartAddress(), 0xFFFFFF00u);
    EXPECT_EQ(context.m_params[0], 4u);

    // Four bytes of one row spell an address to go to; three or five do not.
    ASSERT_TRUE(Pump([&] { return grid.GetItemText(0, 1) == u"00"; }));
    grid.SetSelectedRange(3, 1, 3, 3);
    EXPECT_FALSE(screen->GetSelectionAddress());
    grid.SetSelectedRange(3, 1, 3, 5);
    EXPECT_FALSE(screen->GetSelectionAddress());
    grid.SetSelectedRange(3, 5, 3, 8);
    const bool reversed = m_app.GetConfig().HasFlag(CCVConfig::kNewCorvane);
    EXPECT_EQ(screen->GetSelectionAddress(), reversed ? 0x37363534u : 0x34353637u);
    screen->OnCmdMsg(ID_EDIT_CELL, nullptr);
    EXPECT_EQ(screen->GetStartAddress(), reversed ? 0x37363534u : 0x34353637u);
    // Going there after going back dropped the entries newer than the current one.
    EXPECT_EQ(memory_rules::Entries(context).size(), 3u);
}

TEST(MemoryRulesTest, HistoryKeepsElevenAddressesNewestFirst) {
    // A context never used holds address 0 alone, not eleven entries of it.
    CContext context;
    memory_rules::Normalise(context);
    ASSERT_EQ(memory_rules::Entries(context).size(), 1u);
    for (DWORD address = 1; address <= 12; ++address)
        memory_rules::Record(context, address * 0x100);
    auto addresses = [&] {
        std::vector<DWORD> out;
        for (const auto& entry : memory_rules::Entries(context))
            out.push_back(entry.address);
        return out;
    };
    EXPECT_EQ(addresses().front(), 0xC00u);
    EXPECT_EQ(addresses().back(), 0x200u);
    EXPECT_EQ(addresses().size(), 11u);
    // An address in the history only moves the mark.
    memory_rules::Record(context, 0x900);
    EXPECT_EQ(context.m_params[0], 4u);
    EXPECT_EQ(memory_rules::CurrentAddress(context), 0x900u);
    EXPECT_EQ(addresses().size(), 11u);
    // A new one from there drops the three newer entries.
    memory_rules::Record(context, 0x42);
    EXPECT_EQ(addresses(),
              (std::vector<DWORD>{0x42, 0x900, 0x800, 0x700, 0x600, 0x500, 0x400, 0x300, 0x200}));
    EXPECT_EQ(memory_rules::AddressFromBytes({u"12", u"34", u"56", u"78"}, false), 0x12345678u);
    EXPECT_EQ(memory_rules::AddressFromBytes({u"12", u"34", u"56", u"78"}, true), 0x78563412u);
    EXPECT_FALSE(memory_rules::AddressFromBytes({u"12", u"", u"56", u"78"}, false));
}

TEST_F(MemoryStatusTest, ProcessorChoiceOutsideTheTwoIsIgnored) {
    CMemoryFilterView pane(host.dataMgr);
    ASSERT_TRUE(pane.Create(&paneFrame, CRect(0, 0, 400, 28), &window, 0xE900));
    // Without a standby controller only the active one is offered, and it shows.
    EXPECT_EQ(pane.GetCpuEdit().GetPopupList()->GetItemCount(), 1);
    EXPECT_TRUE(pane.GetCpuEdit().IsExpanded());
    host.dataMgr.SetMemoryCpu(1);
    pane.GetCpuEdit().GetPopupList()->DeleteAll();
    pane.SendMessage(WM_COMMAND, MAKEWPARAM(CMemoryFilterView::kCpuId, cool_edit::kSelChange));
    EXPECT_EQ(host.dataMgr.GetMemoryCpu(), 1);
    EXPECT_EQ(views.hints,
              (std::vector<CUpdateHint>{CUpdateHint::kMemoryContent, CUpdateHint::kMemoryPage}));
}

}  // namespace

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <numeric>

#include "grid/grid_ctrl.h"
#include "screens/base/pane_frame.h"
#include "screens/popups/cool_edit.h"
#include "screens/popups/popup_list.h"
#include "shell/nav/kelvardin_nav_view.h"
#include "shell/nav/nav_button.h"
#include "shell/nav/nav_group.h"
#include "shell/nav/nav_layout.h"
#include "shell/nav/nav_list.h"
#include "shell/nav/nav_palette_grid.h"
#include "shell/nav/nav_palette_group.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/painted_area.h"
#include "tests/support/recording_dc.h"

namespace {

using Spans = std::vector<CNavSpan>;

TEST(NavLayout, FitsDragsAndClicksMoveRoomBetweenGroups) {
    const Spans start = {{0, 20, 20}, {20, 100, 20}, {120, 80, 20}};
    struct Case {
        const char* what;
        std::function<void(Spans&)> act;
        Spans expected;
    } cases[] = {
        {"fit, room to spare",
         [](Spans& s) { FitNavSpans(s, 0, 300); },
         {{0, 20, 20}, {20, 100, 20}, {120, 180, 20}}},
        {"fit, room runs out",
         [](Spans& s) { FitNavSpans(s, 0, 100); },
         {{0, 20, 20}, {20, 60, 20}, {80, 20, 20}}},
        {"drag up, the group above gives",
         [](Spans& s) { DragNavSpan(s, 2, -50); },
         {{0, 20, 20}, {20, 50, 20}, {70, 130, 20}}},
        {"drag up past all room",
         [](Spans& s) { DragNavSpan(s, 2, -150); },
         {{0, 20, 20}, {20, 20, 20}, {40, 160, 20}}},
        {"drag down, then the group below gives",
         [](Spans& s) { DragNavSpan(s, 1, 90); },
         {{0, 110, 20}, {110, 20, 20}, {130, 70, 20}}},
        {"the first group does not move", [](Spans& s) { DragNavSpan(s, 0, 40); }, start},
        {"click below the height it needs: all the room",
         [](Spans& s) { ClickNavSpan(s, 1, 150); },
         {{0, 20, 20}, {20, 160, 20}, {180, 20, 20}}},
        {"click on a full group: to the group above",
         [](Spans& s) { ClickNavSpan(s, 1, 60); },
         {{0, 100, 20}, {100, 20, 20}, {120, 80, 20}}},
        {"click on a full first group: to the group below",
         [](Spans& s) { DragNavSpan(s, 1, 50), ClickNavSpan(s, 0, 30); },
         {{0, 20, 20}, {20, 100, 20}, {120, 80, 20}}},
    };
    for (const Case& c : cases) {
        Spans spans = start;
        c.act(spans);
        EXPECT_EQ(spans, c.expected) << c.what;
    }
}

// Where the bar's commands go.
class CFakePaneFrame : public IPaneFrame {
public:
    CView* GetCurrentMainView() override { return nullptr; }
    int GetCurrentViewID() const override { return 0; }
    std::optional<DWORD> GetCurrentGridHelpID() const override { return std::nullopt; }
    void SendCommand(UINT id) override { commands.push_back(id); }
    void WinHelp(DWORD, UINT) override {}
    LogFont GetPaneFont() const override { return {}; }
    CContext& GetViewContext(int) override { return context; }
    void PushHistory(const CContext&) override {}
    std::vector<UINT> commands;
    CContext context;
};

class NavViewTest : public ShellTest {
protected:
    static constexpr int kBarHeight = 500;

    void SetUp() override {
        frame = app.AttachFrame();
        frame->doc = &doc;
        ASSERT_TRUE(doc.ResetToDefaultSetup());
    }

    CKelvardinNavView& MakeBar(int width = 180) {
        bar = std::make_unique<CKelvardinNavView>();
        top.resize(width, kBarHeight);
        EXPECT_TRUE(bar->Create(&panes, &doc, CRect(0, 0, width, kBarHeight), &top, 0xE900));
        top.show();
        bar->SetLayoutReady(TRUE);
        bar->RecalcLayout();
        return *bar;
    }
    std::vector<int> Heights() const {
        std::vector<int> heights;
        for (int i = 0; i < bar->GetGroupCount(); ++i)
            heights.push_back(bar->GetGroup(i)->GetHeight());
        return heights;
    }
    int Stored(const char16_t* section, const char16_t* entry) {
        return static_cast<int>(profile.GetProfileInt(section, entry, 0xFFFFFFFF));
    }
    CNavList& List(int group) {
        return *dynamic_cast<CNavList*>(bar->GetGroup(group)->GetChild(1));
    }
    CPoint ItemCentre(CNavList& list, int item) { return list.GetItem(item).bounds.CenterPoint(); }

    const int h = NavHeaderHeight();
    CFakeMainFrame* frame = nullptr;
    CKelvardinDoc doc;
    CFakePaneFrame panes;
    QWidget top;
    std::unique_ptr<CKelvardinNavView> bar;
};

TEST_F(NavViewTest, GroupsAndItemsFollowTheSettings) {
    // Heights from a damaged settings file still fit the bar.
    profile.WriteProfileInt(u"Windows\\NavBars\\Trunk", u"Height", 0x7FFFFFFF);
    profile.WriteProfileInt(u"Windows\\NavBars\\Intercom", u"Height", 0x90000000);
    MakeBar();
    const std::vector<int> heights = Heights();
    EXPECT_EQ(std::accumulate(heights.begin(), heights.end(), 0), kBarHeight);
    EXPECT_EQ(heights[1], h);
    ASSERT_EQ(bar->GetGroupCount(), 3);
    EXPECT_EQ(bar->GetPalette(), nullptr);
    const char16_t* groups[] = {u"Trunk", u"Intercom", u"Diagnostics"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bar->GetGroup(i)->GetHeader()->GetWindowText(), CString(groups[i]));
    auto commands = [](const CNavList& list) {
        std::vector<UINT> ids;
        for (int i = 0; i < list.GetItemCount(); ++i)
            ids.push_back(list.GetItem(i).command);
        return ids;
    };
    EXPECT_EQ(commands(List(0)), (std::vector<UINT>{32789, 32790, 32792, 32791}));
    EXPECT_EQ(List(1).GetItem(2).text, CString(u"Alphas"));
    EXPECT_EQ(commands(List(2)), (std::vector<UINT>{32799, 32809}));
    // The restrictions show after a reconfiguration.
    app.m_bAllowMemoryPeek = TRUE;
    bar->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(commands(List(2)), (std::vector<UINT>{32799, 32802, 32809}));
    app.m_bAllowCommandLineProtocol = TRUE;
    app.m_bAllowMemoryPeek = FALSE;
    bar->OnUpdate(nullptr, CUpdateHint::kRebuild.ToParam(), nullptr);
    EXPECT_EQ(commands(List(2)), (std::vector<UINT>{32799, 32801, 32809}));
}

TEST_F(NavViewTest, HeightsComeBackAndHeaderDragsAndClicksShareTheRoom) {
    profile.WriteProfileInt(u"Windows\\NavBars\\Trunk", u"Height", h + 100);
    profile.WriteProfileInt(u"Windows\\NavBars\\Intercom", u"Height", h + 50);
    MakeBar();
    const int rest = kBarHeight - (h + 100) - (h + 50);
    EXPECT_EQ(Heights(), (std::vector<int>{h + 100, h + 50, rest}));
    EXPECT_EQ(bar->GetGroup(2)->GetTop(), 2 * h + 150);

    // A move of five pixels is no drag; past that the Intercom header pulls 40 pixels up.
    CNavButton& header = *bar->GetGroup(1)->GetHeader();
    header.OnLButtonDown(MK_LBUTTON, CPoint(10, 8));
    header.OnMouseMove(MK_LBUTTON, CPoint(10, 3));
    EXPECT_EQ(Heights(), (std::vector<int>{h + 100, h + 50, rest}));
    header.OnMouseMove(MK_LBUTTON, CPoint(10, -37));
    header.OnLButtonUp(0, CPoint(10, -37));
    EXPECT_EQ(Heights(), (std::vector<int>{h + 60, h + 90, rest}));
    EXPECT_EQ(Stored(u"Windows\\NavBars\\Trunk", u"Height"), h + 60);
    EXPECT_EQ(Stored(u"Windows\\NavBars\\Intercom", u"Height"), h + 90);

    // Clicking the fully shown Diagnostics header collapses it into the group above; clicking
    // it again takes the room of all others.
    CNavButton& last = *bar->GetGroup(2)->GetHeader();
    last.OnLButtonDown(MK_LBUTTON, CPoint(10, 8));
    last.OnMouseMove(MK_LBUTTON, CPoint(10, 12));
    last.OnLButtonUp(0, CPoint(10, 12));
    EXPECT_EQ(Heights(), (std::vector<int>{h + 60, kBarHeight - 2 * h - 60, h}));
    last.OnLButtonDown(MK_LBUTTON, CPoint(10, 8));
    last.OnLButtonUp(0, CPoint(10, 8));
    EXPECT_EQ(Heights(), (std::vector<int>{h, h, kBarHeight - 2 * h}));
    EXPECT_EQ(Stored(u"Windows\\NavBars\\Diagnostic", u"Height"), kBarHeight - 2 * h);
}

TEST_F(NavViewTest, IconSizeSwitchesFromTheMenuOnEmptySpace) {
    profile.WriteProfileInt(u"Windows\\NavBars\\Trunk", u"Height", 360);
    MakeBar();
    CNavList& list = List(0);
    ASSERT_TRUE(list.IsLargeIcons());
    EXPECT_EQ(list.SendMessage(WM_NAV_NEEDED_HEIGHT, 0, -1), 72 * 4 + 32);

    CModalScript script(env);
    CPoint onItem = ItemCentre(list, 0);
    list.ClientToScreen(&onItem);
    list.OnContextMenu(&list, onItem);  // over an item: no menu
    script.ExpectMenu([](QMenu& menu) {
        EXPECT_EQ(menu.actions().size(), 1);
        EXPECT_EQ(menu.actions().at(0)->text(), QStringLiteral("&Small icons"));
        return menu.actions().at(0)->data().toInt();
    });
    CPoint empty(5, list.GetClientRect().bottom - 2);
    list.ClientToScreen(&empty);
    list.OnContextMenu(&list, empty);
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_FALSE(list.IsLargeIcons());
    EXPECT_EQ(list.SendMessage(WM_NAV_NEEDED_HEIGHT, 0, -1), 32 * 4 + 24);
    EXPECT_EQ(Stored(u"Windows\\NavBars\\Trunk", u"LargeIcons"), 0);
    EXPECT_TRUE(List(1).IsLargeIcons());

    MakeBar();
    EXPECT_FALSE(List(0).IsLargeIcons());
}

TEST_F(NavViewTest, ItemsGiveTheirCommandsAndShowTheirState) {
    profile.WriteProfileInt(u"Windows\\NavBars\\Trunk", u"Height", 360);
    MakeBar();
    CNavList& list = List(0);
    // Summary cannot run in FILE mode: the cursor says so, the click still goes to the window.
    const std::pair<int, Qt::CursorShape> cursors[] = {{0, Qt::PointingHandCursor},
                                                       {1, Qt::ArrowCursor}};
    for (const auto& [item, shape] : cursors) {
        list.OnMouseMove(0, ItemCentre(list, item));
        EXPECT_EQ(list.GetClientWidget()->cursor().shape(), shape) << item;
        list.OnLButtonDown(MK_LBUTTON, ItemCentre(list, item));
        list.OnLButtonUp(0, ItemCentre(list, item));
    }
    list.OnLButtonUp(0, CPoint(2, list.GetItem(1).bounds.top - 3));
    EXPECT_EQ(panes.commands, (std::vector<UINT>{32789, 32790}));

    // The item held down shows pressed; the texts are white.
    list.OnMouseMove(0, ItemCentre(list, 2));
    list.OnLButtonDown(MK_LBUTTON, ItemCentre(list, 2));
    CRecordingDC dc;
    list.OnPaint(dc);
    std::vector<int> images;
    for (const auto& record : dc.Of(CRecordingDC::Op::Image))
        images.push_back(record.image);
    EXPECT_EQ(images, (std::vector<int>{2, 3, 4, 1, 5}));
    const auto texts = dc.Of(CRecordingDC::Op::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, u"Definitions");
    EXPECT_EQ(texts[0].color, RGB(255, 255, 255));
}

TEST_F(NavViewTest, AnItemPressedOrLeftIsPaintedAgainTheFirstIncluded) {
    profile.WriteProfileInt(u"Windows\\NavBars\\Trunk", u"Height", 360);
    MakeBar();
    CNavList& list = List(0);
    CPaintedArea painted(list.GetClientWidget());
    painted.Take();
    for (int item : {0, 2}) {
        const CPoint centre = ItemCentre(list, item);
        list.OnLButtonDown(MK_LBUTTON, centre);
        EXPECT_TRUE(painted.Take().contains(QPoint(centre.x, centre.y))) << item;
        list.OnLButtonUp(0, CPoint(-5, -5));
    }
    list.OnMouseMove(0, ItemCentre(list, 0));
    painted.Take();
    list.OnMouseLeave();
    EXPECT_TRUE(painted.Take().contains(QPoint(ItemCentre(list, 0).x, ItemCentre(list, 0).y)));
}

// Each row of the palette's grid as "#" and the alpha, without the label's padding.
std::vector<std::pair<CString, CString>> Rows(const CGridCtrl& grid) {
    std::vector<std::pair<CString, CString>> rows;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        CString alpha = grid.GetItemText(row, 1);
        rows.emplace_back(grid.GetItemText(row, 0), alpha.TrimRight());
    }
    return rows;
}

TEST_F(NavViewTest, PaletteShowsTheChosenAlphasAndFollowsTheHints) {
    app.m_bEnableAlphaPalette = TRUE;
    app.m_bAllowDragDrop = TRUE;
    const char16_t* section = u"Windows\\NavBars\\AlphaPalette";
    profile.WriteProfileInt(section, u"Intercom", 1);
    profile.WriteProfileInt(section, u"FunctionType", 2);
    for (auto [icom, type, number, label] :
         {std::tuple{1, 2, 4, u"DESK"}, {1, 2, 0, u"BOOTH"}, {1, 0, 1, u"PP1"}, {2, 2, 1, u"FAR"}})
        doc.StoreAlpha(CAssign(BYTE(icom), BYTE(type), WORD(number)), label);
    const auto name = [&](int icom) {
        doc.SetIcomNameFromController(icom, 4, CString::Formatted(u"IC%02d", icom), FALSE);
    };
    name(0), name(1);
    // At the program's start the bar is made before its window is the application's.
    frame->doc = nullptr;
    MakeBar();
    frame->doc = &doc;
    ASSERT_EQ(bar->GetGroupCount(), 4);
    CNavPaletteGroup& palette = *bar->GetPalette();
    EXPECT_EQ(bar->GetGroup(3), &palette);
    CNavPaletteGrid& grid = *palette.GetGrid();
    EXPECT_EQ(grid.GetDlgCtrlID(), 32819u);
    // The stored choices show from the start.
    EXPECT_EQ(palette.GetIcomField()->GetValueText(), CString(u"IC01"));
    EXPECT_EQ(palette.GetTypeField()->GetValueText(), doc.GetResourceTypeText(2));
    using R = std::vector<std::pair<CString, CString>>;
    EXPECT_EQ(Rows(grid), (R{{u"1", u"BOOTH"}, {u"5", u"DESK"}}));

    // Intercom names refill the intercoms only.
    name(2);
    bar->OnUpdate(nullptr, 5, reinterpret_cast<void*>(LPARAM{7}));
    EXPECT_EQ(palette.GetIcomField()->GetPopupList()->GetItemCount(), 3);
    EXPECT_EQ(Rows(grid), (R{{u"1", u"BOOTH"}, {u"5", u"DESK"}}));

    const auto hint = [&](CUpdateHint which, int icom, int type, int number,
                          const char16_t* label) {
        const CAssign assign{BYTE(icom), BYTE(type), WORD(number)};
        doc.StoreAlpha(assign, label);
        bar->OnUpdate(nullptr, which.ToParam(), reinterpret_cast<void*>(LPARAM(assign.GetKey())));
    };
    hint(CUpdateHint::kAlphaStored, 1, 2, 7, u"NEW");
    hint(CUpdateHint::kAlphaStored, 2, 2, 9, u"ELSE");  // another intercom
    hint(CUpdateHint::kAlphaRemoved, 1, 2, 4, u"");
    EXPECT_EQ(Rows(grid), (R{{u"1", u"BOOTH"}, {u"8", u"NEW"}}));
    app.m_nVisibleIntercoms = 1;  // intercom 1 is no longer shown
    hint(CUpdateHint::kAlphaStored, 1, 2, 3, u"HIDDEN");
    EXPECT_EQ(grid.GetRowCount(), 3);
    app.m_nVisibleIntercoms = 255;

    // The user's choice of type refills the rows and is kept.
    palette.GetTypeField()->SelectByData(0);
    EXPECT_EQ(Rows(grid), (R{{u"2", u"PP1"}}));
    EXPECT_EQ(Stored(section, u"FunctionType"), 0);
    EXPECT_EQ(Stored(section, u"Intercom"), 1);
    // Alt+Down opens a field's list while the field has the focus.
    CCoolEdit& type = *palette.GetTypeField();
    type.SetFocus();
    QTest::keyClick(type.GetWidget(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(type.IsPopupOpen());
    QTest::keyClick(type.GetPopupList()->GetWidget(), Qt::Key_Escape);
    EXPECT_FALSE(type.IsPopupOpen());

    // Rows are dragged out as copies; nothing is dropped onto the palette.
    grid.SetSelectedRange(1, 1, 1, 1);
    EXPECT_EQ(grid.CopyTextFromGrid()->GetText().Left(3), CString(u"PP1"));
    COleDataObject text(CString(u"DESK"));
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(1, 1, &cell));
    EXPECT_EQ(grid.OnDragEnter(&text, 0, cell.CenterPoint()), DROPEFFECT_NONE);
    EXPECT_FALSE(grid.OnDrop(&text, DROPEFFECT_MOVE, cell.CenterPoint()));
    EXPECT_EQ(Rows(grid), (R{{u"2", u"PP1"}}));
    EXPECT_EQ(grid.SendMessage(WM_NAV_NEEDED_HEIGHT, 0, -1), 2 * grid.GetRowHeight(0));

    // A file read brings the stored choices back.
    palette.GetIcomField()->SelectByData(2);
    EXPECT_EQ(Rows(grid), R{});
    profile.WriteProfileInt(section, u"Intercom", 1);
    bar.reset();
    MakeBar();
    bar->OnUpdate(nullptr, CUpdateHint::kFileRead.ToParam(), nullptr);
    EXPECT_EQ(bar->GetPalette()->GetCurrentIntercom(), 1);
    EXPECT_EQ(Rows(*bar->GetPalette()->GetGrid()), (R{{u"2", u"PP1"}}));

    // A stored intercom the list lacks stays stored while the first row stands in for it,
    // until the user picks a row, the standing-in one too.
    profile.WriteProfileInt(section, u"Intercom", 200);
    bar.reset();
    MakeBar();
    bar->OnUpdate(nullptr, CUpdateHint::kFileRead.ToParam(), nullptr);
    CCoolEdit& icoms = *bar->GetPalette()->GetIcomField();
    const int first = static_cast<int>(icoms.GetCurSelData());
    EXPECT_EQ(Stored(section, u"Intercom"), 200);
    icoms.SetCurSel(icoms.GetCurSel());
    EXPECT_EQ(Stored(section, u"Intercom"), first);
}

TEST_F(NavViewTest, BarWidthIsStoredWhenItGoes) {
    for (auto [width, stored] : {std::pair{100, 160}, {0, -1}, {230, 230}}) {
        profile.WriteProfileInt(u"Windows\\NavBars", u"Width", 0xFFFFFFFF);
        MakeBar(width);
        bar.reset();
        EXPECT_EQ(Stored(u"Windows\\NavBars", u"Width"), stored) << width;
    }
}

}  // namespace

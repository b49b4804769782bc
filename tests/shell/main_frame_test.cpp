#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QToolBar>

#include <string>
#include <vector>

#include "model/kelvardin_doc.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "screens/base/screen_messages.h"
#include "screens/intercoms/icom_group_view.h"
#include "screens/popups/cool_edit.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/main_frame/zub_status_bar.h"
#include "shell/nav/kelvardin_nav_view.h"
#include "shell/nav/nav_palette_group.h"
#include "tests/shell/shell_fixture.h"

namespace {

// What the recording screens and panes heard, in order: "view2 init", "pane1 10000"...
std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

template <const char* kName>
class CRecordingView : public CView {
public:
    void OnInitialUpdate() override { Note("init"); }
    void OnUpdate(CView*, LPARAM hint, void*) override { Note(std::to_string(hint)); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SCREEN_LEAVING) Note("leaving");
        return CView::WindowProc(message, wParam, lParam);
    }

private:
    void Note(const std::string& what) { Log().push_back(std::string(kName) + " " + what); }
};

constexpr char kView1[] = "view1";
constexpr char kView2[] = "view2";
constexpr char kPane1[] = "pane1";
constexpr char kPane2[] = "pane2";

template <class View>
std::unique_ptr<CView> Make(CMainFrame&, QWidget* parent) {
    auto view = std::make_unique<View>();
    view->Create(WS_CHILD, CRect(0, 0, 100, 100), parent, 0);
    return view;
}

// Screens 1 and 2 of the program, each with a pane of its own; the others are still to come.
CScreenTable TestScreens() {
    CScreenTable table = ScreenTable();
    for (CScreenDesc& screen : table)
        screen.createView = screen.createPane = nullptr;
    table[1].createView = Make<CRecordingView<kView1>>;
    table[1].createPane = Make<CRecordingView<kPane1>>;
    table[2].createView = Make<CRecordingView<kView2>>;
    table[2].createPane = Make<CRecordingView<kPane2>>;
    return table;
}

class MainFrameTest : public ShellTest {
protected:
    MainFrameTest() {
        Log().clear();
        auto owned = std::make_unique<CMainFrame>(app, screens);
        frame = owned.get();
        app.SetMainFrame(std::move(owned));
    }
    std::vector<std::string> TakeLog() { return std::exchange(Log(), {}); }
    CKelvardinDoc& Doc() { return *frame->GetActiveDocument(); }

    const CScreenTable screens = TestScreens();
    CMainFrame* frame = nullptr;
};

TEST_F(MainFrameTest, ScreensAreMadeOnFirstUseAndCachedOnesHearTheirHintsInOrder) {
    EXPECT_EQ(frame->GetCurrentScreen(), 1);  // screen 0 is not part of the program yet
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"pane1 init", "view1 init"}));

    frame->OnCommand(ID_VIEW_TRUNK_OPTIONS);
    EXPECT_EQ(frame->GetCurrentScreen(), 2);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"pane2 init", "view1 leaving", "view2 init"}));
    EXPECT_EQ(frame->GetHistory().Back().Peek()->m_nScreen, 1);

    // The summary needs ONLINE mode; its cached pane re-reads the context, then refreshes.
    frame->OnCommand(ID_VIEW_TRUNK_SUMMARY);
    EXPECT_EQ(frame->GetCurrentScreen(), 2);
    app.SetMode(CAppState::kModeOnline);
    frame->OnCommand(ID_VIEW_TRUNK_SUMMARY);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"pane1 131072", "pane1 65536", "view2 leaving",
                                                   "view1 65536"}));

    // The current screen's command again refreshes it and adds nothing to the history.
    const size_t back = frame->GetHistory().Back().GetCount();
    frame->OnCommand(ID_VIEW_TRUNK_SUMMARY);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"pane1 65536", "view1 65536", "pane1 131072",
                                                   "view1 131072"}));
    EXPECT_EQ(frame->GetHistory().Back().GetCount(), back);

    // Back to the other screen: shown again from the cache, it is refreshed too.
    frame->OnCommand(ID_VIEW_BACK);
    EXPECT_EQ(frame->GetCurrentScreen(), 2);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"pane2 131072", "pane2 65536", "view1 leaving",
                                                   "view2 65536"}));
    EXPECT_FALSE(frame->IsStackEmpty(IMainFrame::Stack::kForward));
    // Screens still to come keep their commands disabled.
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->GetAction(ID_VIEW_TRUNK_DEFS)->isEnabled());
    EXPECT_TRUE(frame->GetAction(ID_VIEW_TRUNK_OPTIONS)->isEnabled());
    frame->OnCommand(ID_VIEW_TRUNK_DEFS);
    EXPECT_EQ(frame->GetCurrentScreen(), 2);
}

TEST_F(MainFrameTest, ClosingAsksAboutChangesOrTheExitAndSavesThePlacement) {
    CModalScript script(env);
    frame->show();
    script.ExpectMessageBox(u"You are about to exit the Kelvardin application.", IDCANCEL);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());

    Doc().SetObjectField(CIcomSpec(0, 67), u"ALFA", FALSE);
    script.ExpectMessageBox(u"not yet been saved to file", IDCANCEL);
    EXPECT_FALSE(frame->close());
    app.SetMode(CAppState::kModeOnline);
    script.ExpectMessageBox(u"not been sent to the Corvane", IDNO);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(script.AllAnswered());
    EXPECT_TRUE(profile.GetProfileBinary(u"Windows\\ToolBars", u"State").has_value());
    EXPECT_NE(profile.GetProfileInt(u"Windows\\Application", u"showCmd", 99), 99u);

    // Without changes and without ConfirmExit nothing is asked.
    Doc().ClearAllChanges();
    app.m_bConfirmExit = FALSE;
    frame->show();
    EXPECT_TRUE(frame->close());
}

TEST_F(MainFrameTest, TheNavigationPaneKeepsItsWidthAtLeast160) {
    profile.WriteProfileInt(u"Windows\\NavBars", u"Width", 100);
    EXPECT_EQ(frame->GetNavWidth(), 160);
    frame->resize(800, 600);
    frame->show();
    auto* outer = frame->findChild<QSplitter*>("OuterSplitter");
    ASSERT_NE(outer, nullptr);
    outer->setSizes({120, 600});
    frame->OnCommand(ID_VIEW_NAVBAR);
    EXPECT_FALSE(frame->IsNavBarVisible());
    EXPECT_EQ(profile.GetProfileInt(u"Windows\\NavBars", u"Width", 0), 160u);
    EXPECT_EQ(profile.GetProfileInt(u"Windows\\NavBars", u"Visible", 1), 0u);
    EXPECT_EQ(outer->sizes().value(0), 0);
    frame->OnCommand(ID_VIEW_NAVBAR);
    EXPECT_EQ(outer->sizes().value(0), 160);
}

TEST_F(MainFrameTest, ThePaletteShowsItsStoredTypeFromTheStart) {
    app.m_bEnableAlphaPalette = TRUE;
    profile.WriteProfileInt(u"Windows\\NavBars\\AlphaPalette", u"FunctionType", 3);
    // As the program starts: the window is made before it is the application's.
    app.SetMainFrame(nullptr);
    auto owned = std::make_unique<CMainFrame>(app, screens);
    const auto* nav = dynamic_cast<const CKelvardinNavView*>(owned->GetNavView());
    ASSERT_TRUE(nav && nav->GetPalette());
    CCoolEdit& type = *nav->GetPalette()->GetTypeField();
    EXPECT_EQ(type.GetValueText(), owned->GetActiveDocument()->GetResourceTypeText(3));
    type.OpenDropDown();
    EXPECT_TRUE(type.IsPopupOpen());
    type.ClosePopup();
}

TEST_F(MainFrameTest, AStoredWidthTooSmallToUseBringsTheHiddenPaneBackAtItsDefault) {
    frame->resize(800, 600);
    frame->show();
    auto* outer = frame->findChild<QSplitter*>("OuterSplitter");
    ASSERT_NE(outer, nullptr);
    for (const std::uint32_t stored : {static_cast<std::uint32_t>(-300), 0u}) {
        frame->OnCommand(ID_VIEW_NAVBAR);
        ASSERT_FALSE(frame->IsNavBarVisible());
        // Typed into the settings file while the pane is hidden.
        profile.WriteProfileInt(u"Windows\\NavBars", u"Width", stored);
        EXPECT_EQ(frame->GetNavWidth(), 160);
        frame->OnCommand(ID_VIEW_NAVBAR);
        EXPECT_EQ(outer->sizes().value(0), 160) << static_cast<std::int32_t>(stored);
    }
}

TEST_F(MainFrameTest, WindowCommandsGiveTheirMarksAndRunOnlyWhenTheRuleAllows) {
    frame->show();
    const auto state = [this](UINT id) {
        CCmdUI ui(id);
        EXPECT_TRUE(frame->OnCmdMsg(id, &ui)) << id;
        return ui;
    };
    // The bars' commands are always there, checked while their bar shows.
    auto* toolBar = frame->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(state(ID_VIEW_TOOLBAR).GetCheck(), 1);
    frame->OnCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(toolBar->isVisible());
    EXPECT_EQ(state(ID_VIEW_TOOLBAR).GetCheck(), 0);
    EXPECT_TRUE(state(ID_VIEW_TOOLBAR).IsEnabled());
    frame->OnCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->GetStatusBar().isVisible());
    EXPECT_EQ(state(ID_VIEW_STATUS_BAR).GetCheck(), 0);
    EXPECT_TRUE(state(ID_APP_EXIT).IsEnabled());

    // Logging waits for a controller that logs: a key before does nothing.
    app.m_nLogging = -1;
    EXPECT_FALSE(state(ID_LOGGING_TOGGLE).IsEnabled());
    EXPECT_EQ(state(ID_LOGGING_DISABLE).GetCheck(), 1);
    frame->OnCommand(ID_LOGGING_TOGGLE);
    EXPECT_EQ(app.m_nLogging, -1);
    app.m_nControllerPresent = 1;
    app.m_nControllerLogging = 1;
    app.m_nRequestLogging = 1;
    frame->OnCommand(ID_LOGGING_TOGGLE);
    // No session carries it here: not done, logging shows as the controller last said.
    EXPECT_EQ(app.m_nLogging, -1);
    app.m_nLogging = 1;
    EXPECT_EQ(state(ID_LOGGING_TOGGLE).GetCheck(), 1);
    EXPECT_EQ(state(ID_LOGGING_ENABLE).GetCheck(), 1);
    EXPECT_EQ(state(ID_LOGGING_DISABLE).GetCheck(), 0);
    EXPECT_FALSE(state(ID_LOGGING_ENABLE).IsEnabled());

    // An id that is no command of the window's is left to others.
    CCmdUI none(ID_FILE_CLOSE);
    EXPECT_FALSE(frame->OnCmdMsg(ID_FILE_CLOSE, &none));
}

TEST_F(MainFrameTest, MenusFollowTheRestrictionsAndStatusPanesTheMode) {
    // Maintenance mode needs the setting and the controller's ability.
    app.m_bAllowMaintenanceMode = TRUE;
    frame->SetUpMenus();
    EXPECT_EQ(frame->GetAction(ID_MAINT_MODE), nullptr);
    app.GetConfig().m_wFlags |= CCVConfig::kTksupvSupport;
    frame->SetUpMenus();
    EXPECT_NE(frame->GetAction(ID_MAINT_MODE), nullptr);

    CZubStatusBar& bar = frame->GetStatusBar();
    frame->UpdateCommandUI();
    EXPECT_EQ(bar.GetPaneText(4), u"FILE");
    EXPECT_EQ(bar.GetPaneText(2), u"");
    EXPECT_EQ(bar.GetPaneText(5), u"");
    app.SetMode(CAppState::kModeConnecting);
    app.m_nLogging = 1;
    app.m_nControllerPresent = 1;
    frame->UpdateCommandUI();
    EXPECT_EQ(bar.GetPaneText(4), u"Connecting...");
    EXPECT_EQ(bar.GetPaneText(2), u"LOG");
    EXPECT_EQ(bar.GetPaneText(5), u"CV");

    frame->SetFrameTitle();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Kelvardin - [ONLINE]"));

    // Release notes that are not beside the program are said to be missing.
    CModalScript script(env);
    script.ExpectMessageBox(u"The release notes could not be opened.", IDOK);
    frame->OnCommand(ID_RELEASE_NOTES);
    EXPECT_TRUE(script.AllAnswered());
}

TEST_F(MainFrameTest, MenuItemsAndToolButtonsShowTheirPromptWhileUnderTheMouse) {
    int items = 0;
    for (QAction* menu : frame->menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator()) continue;
            ++items;
            EXPECT_FALSE(item->statusTip().isEmpty()) << item->text().toStdString();
            EXPECT_EQ(item->statusTip(), ToQString(LoadResString(item->data().toUInt())));
        }
    }
    EXPECT_GT(items, 40);

    // As a menu shows the prompt of the item under the mouse, and takes it away.
    CZubStatusBar& bar = frame->GetStatusBar();
    frame->GetAction(ID_FILE_OPEN)->showStatusText(frame->menuBar());
    EXPECT_EQ(bar.GetPaneText(0), u"Open a setup file");
    QStatusTipEvent gone{QString()};
    QCoreApplication::sendEvent(frame->menuBar(), &gone);
    EXPECT_EQ(bar.GetPaneText(0), u"");

    // A tool button, as the mouse enters and leaves it.
    auto* toolBar = frame->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    QWidget* save = nullptr;
    for (QAction* action : toolBar->actions()) {
        if (action->data().toUInt() == ID_FILE_SAVE) save = toolBar->widgetForAction(action);
    }
    ASSERT_NE(save, nullptr);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(save, &enter);
    EXPECT_EQ(bar.GetPaneText(0), u"Save the setup to a file");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(save, &leave);
    EXPECT_EQ(bar.GetPaneText(0), u"");
}

TEST_F(MainFrameTest, PrintSetupIsAlwaysThereAndLaterJobsKeepItsChoice) {
    CModalScript script(env);
    QAction* setup = frame->GetAction(ID_FILE_PRINT_SETUP);
    ASSERT_TRUE(setup && setup->isEnabled());
    script.ExpectDialog("pageSetup", [](QDialog&) { return int(QDialog::Accepted); });
    setup->trigger();
    EXPECT_GE(env.GetPageChoice().pageSizeId, 0);
}

TEST_F(ShellTest, EveryScreenIsFoundByItsNumberTheFirstIncluded) {
    auto owned = std::make_unique<CMainFrame>(app);
    CMainFrame& frame = *owned;
    app.SetMainFrame(std::move(owned));
    EXPECT_EQ(frame.GetCurrentScreen(), kScreenTrunkDefs);
    ASSERT_NE(frame.GetScreenView(kScreenTrunkDefs), nullptr);
    // The screen is kept, told by its window, never by an address a new screen may take over.
    const QPointer<QWidget> first = frame.GetScreenView(kScreenTrunkDefs)->GetWidget();
    frame.ShowScreen(kScreenIcomGroups);
    ASSERT_EQ(frame.GetCurrentScreen(), kScreenIcomGroups);
    frame.ShowScreen(kScreenTrunkDefs);
    EXPECT_EQ(frame.GetCurrentScreen(), kScreenTrunkDefs);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(frame.GetScreenView(kScreenTrunkDefs)->GetWidget(), first.data());
    EXPECT_EQ(frame.GetScreenView(-1), nullptr);
    EXPECT_EQ(frame.GetScreenView(CMainFrame::kScreens), nullptr);
}

TEST_F(ShellTest, ScreensMadeLaterPollAtTheIntervalsTheWindowIsGiven) {
    auto owned = std::make_unique<CMainFrame>(app);
    CMainFrame& frame = *owned;
    app.SetMainFrame(std::move(owned));
    CScreenTiming timing;
    timing.icomGroupPollMs = 50;
    frame.SetScreenTiming(timing);
    frame.ShowScreen(kScreenIcomGroups);
    const auto* groups = dynamic_cast<CIcomGroupView*>(frame.GetScreenView(kScreenIcomGroups));
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->GetTimer().GetInterval(), 50u);
}

}  // namespace

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/list_control.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_filter_view.h"
#include "screens/base/pane_frame.h"
#include "screens/popups/popup_list.h"

namespace {

// The main window as a pane sees it: a current screen and a main view.
class CFakeFrame : public IPaneFrame {
public:
    CView* GetCurrentMainView() override { return mainView; }
    int GetCurrentViewID() const override { return screen; }
    std::optional<DWORD> GetCurrentGridHelpID() const override { return std::nullopt; }
    void SendCommand(UINT id) override { commands.push_back(id); }
    void WinHelp(DWORD, UINT) override {}
    LogFont GetPaneFont() const override { return {}; }
    CContext& GetViewContext(int screen) override {
        return contexts.at(static_cast<size_t>(screen));
    }
    void PushHistory(const CContext& context) override { pushed.push_back(context); }

    CView* mainView = nullptr;
    int screen = kScreenTrunkDefs;
    std::vector<UINT> commands;
    std::array<CContext, 12> contexts{};
    std::vector<CContext> pushed;
};

// A selector pane that goes back in the history whenever its choice changes, unless it is
// bringing its list up to date itself.
class CHistoryPane : public CKelvardinFilterView {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        if (HIWORD(wParam) == cool_edit::kSelChange && !IsUpdating())
            pushes.push_back(static_cast<int>(m_edit.GetCurSelData()));
        return TRUE;
    }
    std::vector<int> pushes;
};

void Fill(IListControl& list, std::initializer_list<std::pair<const char16_t*, LPARAM>> items) {
    list.DeleteAll();
    if (list.GetColumnCount() == 0) list.AddColumn(u"Icom");
    for (const auto& [text, data] : items)
        list.InsertItem(-1, text, data);
}

class FilterViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        top.resize(500, 300);
        ASSERT_TRUE(pane.Create(&frame, CRect(0, 0, 400, 28), &top, 0xE900));
        pane.GetEdit().SetText(u"Trunk Definitions for:");
        top.show();
    }

    QWidget top;
    CFakeFrame frame;
    CHistoryPane pane;
};

TEST_F(FilterViewTest, ControlFillsThePaneAndItsTextGoesToPrint) {
    CCoolEdit& edit = pane.GetEdit();
    pane.MoveWindow(CRect(0, 0, 300, 31));
    QApplication::processEvents();
    EXPECT_EQ(edit.GetWidget()->geometry(), QRect(0, 0, 300, 31));

    CString text;
    EXPECT_EQ(pane.GetFilterText(text), CString(u"Trunk Definitions for:"));
    edit.SetListMode(TRUE);
    Fill(*edit.GetPopupList(), {{u"MX01", 0}, {u"MX02", 1}});
    edit.SetCurSel(1);
    edit.Expand();
    EXPECT_EQ(pane.GetFilterText(text), CString(u"Trunk Definitions for: MX02"));
    edit.SetText(u"");
    EXPECT_EQ(pane.GetFilterText(text), CString(u"MX02"));
    edit.SetText(u"Trunk Summary for:");
    edit.SetCurSel(-1);
    EXPECT_EQ(pane.GetFilterText(text), CString(u"Trunk Summary for:"));
}

TEST_F(FilterViewTest, CtrlEnterOpensOnlyADropDownThatShows) {
    CCoolEdit& edit = pane.GetEdit();
    edit.SetListMode(TRUE);
    Fill(*edit.GetPopupList(), {{u"MX01", 0}, {u"MX02", 1}});
    // The key is available exactly when it would open something.
    CCmdUI state(ID_OPEN_DROP_DOWN);
    EXPECT_TRUE(pane.OnCmdMsg(ID_OPEN_DROP_DOWN, &state));
    EXPECT_FALSE(state.IsEnabled());
    EXPECT_TRUE(pane.OnCmdMsg(ID_OPEN_DROP_DOWN, nullptr));  // collapsed: no button shows
    EXPECT_FALSE(edit.IsPopupOpen());
    edit.Expand();
    pane.OnCmdMsg(ID_OPEN_DROP_DOWN, &state);
    EXPECT_TRUE(state.IsEnabled());
    pane.OnCmdMsg(ID_OPEN_DROP_DOWN, nullptr);
    EXPECT_TRUE(edit.IsPopupOpen());
    edit.ClosePopup();
    EXPECT_FALSE(pane.OnCmdMsg(ID_FILE_OPEN, nullptr));
}

TEST_F(FilterViewTest, FocusGoesOnToTheConsoleAndTheLog) {
    CView console;
    console.Create(WS_CHILD | WS_VISIBLE, CRect(0, 40, 400, 200), &top, 2);
    frame.mainView = &console;
    QWidget other(&top);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    QApplication::setActiveWindow(&top);
    const std::pair<int, bool> cases[] = {
        {kScreenIcomSetup, false}, {kScreenCommandLine, true}, {kScreenLog, true}};
    for (const auto& [screen, passedOn] : cases) {
        frame.screen = screen;
        other.setFocus();
        pane.SetFocus();
        EXPECT_EQ(CWnd::GetFocus() == &console, passedOn) << screen;
    }
}

TEST_F(FilterViewTest, RefillSelectsTheSameDataAgainWithoutTheUsersChange) {
    CCoolEdit& edit = pane.GetEdit();
    edit.SetListMode(TRUE);
    auto fill = [](std::initializer_list<std::pair<const char16_t*, LPARAM>> items) {
        return [items](IListControl& list) { Fill(list, items); };
    };
    pane.RefillList(fill({{u"MX01", 0}, {u"MX02", 1}, {u"MX03", 2}}), 2);
    EXPECT_EQ(edit.GetCurSel(), 2);
    // Names came in: the same intercom now sits elsewhere.
    pane.RefillList(fill({{u"ALFA", 2}, {u"BRAV", 0}, {u"CHAR", 1}}), 2);
    EXPECT_EQ(edit.GetCurSel(), 0);
    EXPECT_EQ(edit.GetValueText(), CString(u"ALFA"));
    pane.RefillList(fill({{u"BRAV", 0}, {u"CHAR", 1}}), 2);  // gone: the first item
    EXPECT_EQ(edit.GetCurSelData(), 0);
    pane.RefillList(fill({}), 0);
    EXPECT_EQ(edit.GetCurSelData(), -1);
    EXPECT_EQ(edit.GetValueText(), CString());
    EXPECT_TRUE(pane.pushes.empty());
    EXPECT_FALSE(pane.IsUpdating());

    pane.RefillList(fill({{u"BRAV", 0}, {u"CHAR", 1}}), 0);
    edit.StepNext();
    EXPECT_EQ(pane.pushes, std::vector<int>{1});
}

}  // namespace

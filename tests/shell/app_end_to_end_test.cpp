#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include "link/link_timing.h"
#include "platform/base/codepage.h"
#include "platform/ui/ini_profile.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/qt_convert.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_filter_view.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/popups/cool_edit_rules.h"
#include "screens/popups/popup_list.h"
#include "screens/trunks/trunk_defs_view.h"
#include "screens/trunks/trunk_summ_view.h"
#include "shell/app/kelvardin_app.h"
#include "shell/main_frame/main_frame_window.h"
#include "shell/main_frame/zub_status_bar.h"
#include "shell/nav/kelvardin_nav_view.h"
#include "shell/nav/nav_group.h"
#include "shell/nav/nav_list.h"
#include "tests/sim/sim_udp_link.h"
#include "tests/support/modal_script.h"

namespace {

// Generous: a correct program is never this slow, a loaded machine may be slow.
constexpr DWORD kPatienceMs = 30000;

bool Until(const std::function<bool()>& done) {
    return PumpWaitingMessages(done, kPatienceMs) != FALSE;
}

// The real program against the simulated controller on a free UDP port, with its settings in
// a folder of its own and its timers running twenty times faster.
class AppEndToEndTest : public ::testing::Test {
protected:
    AppEndToEndTest() {
        env.SetTimeScale(0.05);
        profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NET:");
        profile.WriteProfileString(u"Settings\\Communication", u"IPAddress", u"127.0.0.1");
        CLinkTiming timing;
        timing.udpReadTimeoutMs = 500;
        timing.engineWaitMs = 100;
        timing.pollIntervalMs = 500;
        app.GetDataMgr().SetTiming(timing);
        app.SetPeerPort(peer.Port());
        // A controller of twelve intercoms, whose summaries come with code 34, without the
        // out-of-service counts.
        sim.ChangeState([](CorvaneState& state) {
            SimSetup setup;
            setup.flags = 0x04 | 0x08 | 0x40;
            setup.capabilities = 0x01000000;
            for (int i = 0; i < setup.intercoms; ++i) {
                const std::string n = std::to_string(10 + i);
                setup.names[i] = {"IC" + n, "ICOM" + n, "INTERC" + n, "INTERCOM" + n};
            }
            state.UseSetup(setup);
        });
    }

    CString CountOf(CMainFrame& frame, int icom) {
        CKelvardinGridCtrl* grid = frame.GetCurrentGridScreen()->GetGrid();
        CCellID cell;
        grid->FindCellForObject(cell, CIcomSpec(-2, 81 + static_cast<DWORD>(icom)), CObjSpec());
        return cell.IsValid() ? grid->GetItemText(cell.row, cell.col) : CString(u"?");
    }

    QTemporaryDir dir;
    CIniProfile profile{FromQString(dir.filePath("Kelvardin.ini"))};
    CSimController sim{true};
    CSimUdpLink peer{sim};
    CKelvardinApp app{profile};
    CUiEnvironment env;
    CModalScript script{env};
};

TEST_F(AppEndToEndTest, TheProgramGoesOnlineShowsTheSummaryNavigatesAndLeavesCleanly) {
    ASSERT_TRUE(app.InitInstance({u"-nologo"}));
    auto* frame = dynamic_cast<CMainFrame*>(app.GetMainFrame());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(Until([&] { return app.GetMode() == CAppState::kModeOnline; }));
    CZubStatusBar& bar = frame->GetStatusBar();
    ASSERT_TRUE(
        Until([&] { return bar.GetPaneText(4) == u"ONLINE" && bar.GetPaneText(5) == u"CV"; }));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Kelvardin - [ONLINE]"));

    // The program opens on the trunk definitions, a row for each of the controller's trunks.
    ASSERT_EQ(frame->GetCurrentScreen(), CTrunkDefsView::kScreen);
    EXPECT_TRUE(
        Until([&] { return frame->GetCurrentGridScreen()->GetGrid()->GetRowCount() == 1 + 96; }));
    frame->OnCommand(ID_VIEW_TRUNK_SUMMARY);

    // The summary of all intercoms, from the controller's answer to the screen's poll.
    ASSERT_EQ(frame->GetCurrentScreen(), CTrunkSummView::kScreen);
    ASSERT_TRUE(Until([&] { return CountOf(*frame, 3) != u"-" && CountOf(*frame, 3) != u"?"; }))
        << ToUtf8(CountOf(*frame, 3));
    EXPECT_EQ(frame->GetCurrentGridScreen()->GetGrid()->GetRowCount(), 1 + 12);

    // The selector chooses intercom 4; the screen asks for its summary.
    auto* pane = dynamic_cast<CKelvardinFilterView*>(frame->GetCurrentPane());
    ASSERT_NE(pane, nullptr);
    // Once the names have come, the pane lists the intercoms.
    ASSERT_TRUE(Until([&] { return pane->GetEdit().GetPopupList()->GetItemCount() > 4; }));
    pane->GetEdit().SetCurSel(4);
    pane->SendMessage(WM_COMMAND, MAKEWPARAM(CKelvardinFilterView::kEditId, cool_edit::kSelChange));
    const DWORD chosen = frame->GetViewContext(CTrunkSummView::kScreen).m_params[0];
    EXPECT_GT(chosen, 0u);
    // The window goes on taking replies meanwhile: the link asks no further ahead of it.
    const auto asked = [&](const std::function<bool(const SimFrame&)>& request) {
        return Until([&] {
            const std::vector<SimFrame> frames = sim.Requests();
            return std::any_of(frames.begin(), frames.end(), request);
        });
    };
    ASSERT_TRUE(asked([&](const SimFrame& f) {
        return (f.command == 34) && !f.payload.empty() && f.payload[0] == chosen;
    }));

    // Back with Ctrl+Left: all intercoms again, in the pane too.
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    frame->UpdateCommandUI();  // as the idle time after the user's choice does
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(frame->GetViewContext(CTrunkSummView::kScreen).m_params[0], 0u);
    EXPECT_EQ(ToUtf8(pane->GetEdit().GetValueText()), "All Intercoms");

    // The navigation bar's Summary item and F3 show the screen again, which re-reads its
    // context: the pane follows.
    frame->GetViewContext(CTrunkSummView::kScreen).m_params[0] = chosen;
    auto* nav = dynamic_cast<CKelvardinNavView*>(frame->GetNavView());
    ASSERT_NE(nav, nullptr);
    auto* trunks = dynamic_cast<CNavList*>(nav->GetGroup(0)->GetStretchChild());
    ASSERT_NE(trunks, nullptr);
    const auto clickNav = [trunks](UINT command) {
        for (int i = 0; i < trunks->GetItemCount(); ++i) {
            if (trunks->GetItem(i).command != command) continue;
            const CPoint on = trunks->GetItem(i).bounds.CenterPoint();
            trunks->OnLButtonDown(0, on);
            trunks->OnLButtonUp(0, on);
        }
    };
    clickNav(ID_VIEW_TRUNK_DEFS);
    EXPECT_EQ(frame->GetCurrentScreen(), CTrunkDefsView::kScreen);
    clickNav(ID_VIEW_TRUNK_SUMMARY);
    EXPECT_NE(ToUtf8(pane->GetEdit().GetValueText()), "All Intercoms");
    frame->GetViewContext(CTrunkSummView::kScreen).m_params[0] = 0;
    QTest::keyClick(frame, Qt::Key_F3);
    EXPECT_EQ(frame->GetCurrentScreen(), CTrunkSummView::kScreen);
    EXPECT_EQ(ToUtf8(pane->GetEdit().GetValueText()), "All Intercoms");

    // The intercom screens that have come are in the table too.
    QTest::keyClick(frame, Qt::Key_F2);
    EXPECT_EQ(frame->GetCurrentScreen(), CTrunkDefsView::kScreen);
    QTest::keyClick(frame, Qt::Key_F7);
    EXPECT_EQ(frame->GetCurrentScreen(), 5);
    EXPECT_EQ(frame->GetCurrentGridScreen()->GetGrid()->GetRowCount(), 1 + 12);
    QTest::keyClick(frame, Qt::Key_F12);
    EXPECT_EQ(frame->GetCurrentScreen(), 11);
    auto* day = dynamic_cast<CKelvardinFilterView*>(frame->GetCurrentPane());
    ASSERT_NE(day, nullptr);
    // The day shown is today's, as no request was logged yet.
    EXPECT_TRUE(day->GetEdit().IsExpanded());
    EXPECT_EQ(ToQString(day->GetEdit().GetValueText()),
              QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    QTest::keyClick(frame, Qt::Key_F3);

    // Clear Allocations asks which intercom; its preset, all of them, goes to the controller.
    script.ExpectDialog("dlg156", [](QDialog&) { return IDOK; });
    frame->OnCommand(ID_CLEAR_ALLOCATIONS);
    EXPECT_TRUE(asked([](const SimFrame& f) {
        return f.command == 83 && f.payload == std::vector<std::uint8_t>{0, 0};
    }));

    // Leaving: the exit question, then the link says goodbye to the controller.
    script.ExpectMessageBox(u"You are about to exit", IDOK);
    EXPECT_TRUE(frame->close());
    app.ExitInstance();
    size_t sessions = 99;
    sim.ChangeState([&](CorvaneState& state) { sessions = state.sessions.size(); });
    EXPECT_EQ(sessions, 0u);
    EXPECT_TRUE(script.AllAnswered());
}

}  // namespace

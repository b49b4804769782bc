#include <QMouseEvent>
#include <QPointer>
#include <QTest>

#include "platform/base/profile.h"
#include "platform/ui/wnd_timer.h"
#include "shell/app/splash.h"
#include "shell/main_frame/wp_saver.h"
#include "tests/shell/shell_fixture.h"

namespace {

// Keeps the timer ids of the ticks it gets.
class CTickCounter : public CWnd {
public:
    void OnTimer(UINT_PTR id) override { ticks.push_back(static_cast<UINT>(id)); }
    std::vector<UINT> ticks;
};

TEST_F(ShellTest, TimersTellTheirOwnerApartByTheirIds) {
    env.SetTimeScale(0.02);
    CTickCounter owner;
    ASSERT_TRUE(owner.Create(0, CRect(0, 0, 10, 10), static_cast<QWidget*>(nullptr), 1));
    CWndTimer fast;
    CWndTimer slow;
    CWndTimer orphan;
    fast.Start(&owner, 1000);
    slow.Start(&owner, 2000);
    orphan.Start(nullptr, 1000);
    EXPECT_NE(fast.m_nCurrentId, slow.m_nCurrentId);
    auto count = [&](UINT id) { return std::count(owner.ticks.begin(), owner.ticks.end(), id); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return count(slow.m_nCurrentId) >= 2; }, 10000));
    EXPECT_GE(count(fast.m_nCurrentId), 2);
    EXPECT_EQ(owner.ticks.size(), size_t(count(fast.m_nCurrentId) + count(slow.m_nCurrentId)));

    const UINT unique = fast.GetUniqueId();
    fast.Start(&owner, 1000);
    EXPECT_EQ(fast.GetUniqueId(), unique);
    fast.Stop();
    EXPECT_EQ(fast.m_nCurrentId, 0u);
}

TEST_F(ShellTest, APlacementComesBackAsItWasSaved) {
    QWidget window;
    window.setGeometry(QRect(60, 50, 320, 240));
    window.show();
    CWPSaver(&window, u"Windows\\Application", profile).Save();
    EXPECT_EQ(profile.GetProfileInt(u"Windows\\Application", u"showCmd", 9), 1u);

    QWidget restored;
    ASSERT_TRUE(CWPSaver(&restored, u"Windows\\Application", profile).Restore());
    EXPECT_TRUE(restored.isVisible());
    EXPECT_EQ(restored.geometry(), window.geometry());

    window.showMaximized();
    CWPSaver(&window, u"Windows\\Application", profile).Save();
    QWidget maximised;
    ASSERT_TRUE(CWPSaver(&maximised, u"Windows\\Application", profile).Restore());
    EXPECT_TRUE(maximised.isMaximized());

    window.hide();
    CWPSaver(&window, u"Windows\\Application", profile).Save();
    EXPECT_EQ(profile.GetProfileInt(u"Windows\\Application", u"showCmd", 9), 0u);

    // Five values of six are no placement.
    profile.WriteProfileString(u"Windows\\Application", u"y2", u"-1");
    QWidget untouched;
    untouched.setGeometry(QRect(5, 5, 100, 100));
    EXPECT_FALSE(CWPSaver(&untouched, u"Windows\\Application", profile).Restore());
    EXPECT_EQ(untouched.geometry(), QRect(5, 5, 100, 100));
}

TEST(WindowPlacement, ARectangleIsFittedIntoTheWorkArea) {
    const CSize area(1920, 1040);
    EXPECT_EQ(CWPSaver::FitToWorkArea(CRect(-200, 10, 2800, 500), area), CRect(0, 10, 1920, 500));
    EXPECT_EQ(CWPSaver::FitToWorkArea(CRect(300, 400, 100, -50), area), CRect(100, 0, 300, 450));
}

TEST(WindowPlacement, APlacementIsTakenOnlyWithItsTitleBarOnAScreen) {
    const std::vector<CRect> screens{CRect(0, 0, 1920, 1050), CRect(1920, 0, 3840, 1050)};
    auto reachable = [&](CRect rect) { return CWPSaver::IsReachable(rect, screens, 20); };
    EXPECT_TRUE(reachable(CRect(100, 100, 900, 700)));
    EXPECT_TRUE(reachable(CRect(1800, 100, 2600, 700)));     // across both screens
    EXPECT_FALSE(reachable(CRect(100, -2000, 900, -1400)));  // far above
    EXPECT_FALSE(reachable(CRect(100, 5000, 900, 5600)));    // far below
    EXPECT_FALSE(reachable(CRect(-780, 100, 20, 700)));      // 20 pixels of its title bar shown
    EXPECT_TRUE(reachable(CRect(-700, 100, 100, 700)));
    EXPECT_TRUE(reachable(CRect(3800, 100, 3850, 700)));  // a narrow window, a third on screen
    EXPECT_FALSE(reachable(CRect(100, -15, 900, 600)));   // the title bar mostly above
    EXPECT_TRUE(reachable(CRect(100, -5, 900, 600)));
    EXPECT_FALSE(CWPSaver::IsReachable(CRect(100, 100, 900, 700), {}, 20));
}

TEST_F(ShellTest, TheSplashWaitsForTheMainWindowOrGoesAtAClick) {
    env.SetTimeScale(0.002);  // 5000 ms become 10, the re-checks 1
    CCommandLineInfoEx plain;
    bool mainWindow = false;
    QPointer<CSplashWnd> splash = CSplash::Start(plain, [&] { return mainWindow; });
    ASSERT_TRUE(splash);
    QTest::qWait(100);
    EXPECT_TRUE(splash);  // never before the main window exists
    mainWindow = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 5000));

    env.SetTimeScale(1);
    mainWindow = false;
    splash = CSplash::Start(plain, [&] { return mainWindow; });
    ASSERT_TRUE(splash);
    QTest::mouseClick(splash, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 5000));

    for (const char16_t* word : {u"-nologo", u"/nologo"}) {
        CCommandLineInfoEx quiet;
        quiet.ParseCommandLine({word});
        EXPECT_EQ(CSplash::Start(quiet, {}), nullptr);
    }
}

}  // namespace

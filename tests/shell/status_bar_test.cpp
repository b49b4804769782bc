#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include "shell/app/help_ids.h"
#include "shell/main_frame/zub_status_bar.h"
#include "tests/shell/shell_fixture.h"

namespace {

// The main window's panes: stretch, spacer, LOG, spacer, mode, CV, spacer, lamps, spacer.
class StatusBarTest : public ShellTest {
protected:
    StatusBarTest() {
        bar.SetIndicators({0, 0, 59264, 0, 59265, 59266, 0, 59267, 0});
        bar.SetPaneInfo(0, 0, SBPS_STRETCH | SBPS_NOBORDERS, 100);
        bar.SetPaneInfo(CZubStatusBar::kLampPane, 59267, SBPS_DISABLED, 31);
        bar.resize(600, 24);
        bar.show();
    }

    // The colour in the middle of each lamp, as the bar shows it.
    std::pair<QColor, QColor> Lamps() {
        const QImage shot = bar.grab().toImage();
        const QRect pane = ToQRect(bar.GetItemRect(CZubStatusBar::kLampPane));
        const QPoint centre = pane.center();
        const qreal ratio = shot.devicePixelRatio();
        auto at = [&](int dx) {
            return shot.pixelColor(QPoint(centre.x() + dx, centre.y()) * ratio);
        };
        return {at(-7), at(7)};
    }

    CZubStatusBar bar;
};

bool IsGreen(const QColor& c) {
    return c.green() - c.red() > 60 && c.green() - c.blue() > 40;
}
bool IsRed(const QColor& c) {
    return c.red() - c.green() > 80 && c.red() - c.blue() > 80;
}
bool IsGrey(const QColor& c) {
    return std::abs(c.red() - c.green()) < 20 && std::abs(c.green() - c.blue()) < 20;
}

TEST_F(StatusBarTest, TheLampsShowWrittenAndReadWithErrorsWinning) {
    struct Row {
        std::array<int, 4> on;
        int image;
    } rows[] = {
        {{0, 0, 0, 0}, 0}, {{1, 0, 0, 0}, 3}, {{0, 1, 0, 0}, 1},
        {{1, 1, 0, 0}, 2}, {{1, 0, 1, 0}, 8}, {{0, 0, 0, 1}, 4},
        {{1, 1, 1, 1}, 5}, {{0, 1, 1, 0}, 6}, {{1, 0, 0, 1}, 7},
    };
    for (const auto& [on, image] : rows) {
        for (int i = 0; i < 4; ++i)
            bar.SetIndicator(i + 1, on[size_t(i)]);
        EXPECT_EQ(bar.GetIndicatorImage(), image);
    }

    bar.SetIndicator(1, 0);
    bar.SetIndicator(2, 1);
    bar.SetIndicator(3, 1);
    bar.SetIndicator(4, 0);
    auto [first, second] = Lamps();
    EXPECT_TRUE(IsRed(first)) << first.name().toStdString();
    EXPECT_TRUE(IsGreen(second)) << second.name().toStdString();
    bar.SetIndicator(2, 0);
    bar.SetIndicator(3, 0);
    std::tie(first, second) = Lamps();
    EXPECT_TRUE(IsGrey(first) && IsGrey(second));
}

TEST_F(StatusBarTest, AnIndicatorKeptBusyStillBlinksOffAndComesBackOnTheNextRequest) {
    env.SetTimeScale(0.2);  // 250 ms become 50
    QElapsedTimer clock;
    clock.start();
    bar.SetIndicator2(1);
    // Requests every 10 ms do not hold the lamp on: it goes off one blink after it came on.
    while (bar.IsIndicator2On() && clock.elapsed() < 5000) {
        bar.SetIndicator2(1);
        QTest::qWait(10);
    }
    EXPECT_EQ(bar.IsIndicator2On(), 0);
    EXPECT_GE(clock.elapsed(), 45);
    bar.SetIndicator2(1);
    EXPECT_EQ(bar.IsIndicator2On(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.IsIndicator2On() == 0; }, 5000));
}

}  // namespace

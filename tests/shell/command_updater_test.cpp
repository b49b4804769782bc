#include <QAction>
#include <QMenu>
#include <QTest>

#include "res/command_ids.h"
#include "shell/app/command_updater.h"
#include "tests/shell/shell_fixture.h"

namespace {

TEST_F(ShellTest, ActionsFollowTheCommandRuleOnMenuShowAndOnOneUpdateForManyRequests) {
    env.SetTimeScale(0.1);
    CCommandUpdater updater([this](UINT id) { return app.IsCommandEnabled(id); });
    QMenu menu;
    QAction* merge = menu.addAction("Merge");
    merge->setData(ID_FILE_MERGE);
    QAction* send = menu.addAction("Send Changes");
    send->setData(ID_SEND_CHANGES);
    updater.AddAction(merge);
    updater.AddAction(send);
    updater.WatchMenu(&menu);
    int panes = 0;
    updater.AddUpdateHandler([&] { ++panes; });
    EXPECT_TRUE(merge->isEnabled());
    EXPECT_FALSE(send->isEnabled());

    app.SetMode(CAppState::kModeOnline);
    emit menu.aboutToShow();
    EXPECT_FALSE(merge->isEnabled());
    EXPECT_TRUE(send->isEnabled());

    app.SetMode(CAppState::kModeFile);
    const int before = updater.GetUpdateCount();
    for (int i = 0; i < 5; ++i)
        updater.RequestUpdate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return updater.GetUpdateCount() > before; }, 5000));
    EXPECT_EQ(updater.GetUpdateCount(), before + 1);
    EXPECT_EQ(panes, 1);
    EXPECT_TRUE(merge->isEnabled());
    EXPECT_FALSE(send->isEnabled());
}

}  // namespace

#include <QWidget>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/ui/wnd_timer.h"
#include "screens/controller_status/cv_status_view.h"
#include "screens/intercoms/icom_alphas_view.h"
#include "screens/intercoms/icom_group_view.h"
#include "screens/intercoms/icom_setup_view.h"
#include "screens/intercoms/icom_status_view.h"
#include "screens/memory/memory_dump_view.h"
#include "screens/trunks/trunk_defs_view.h"
#include "screens/trunks/trunk_inspect_view.h"
#include "screens/trunks/trunk_opts_view.h"
#include "screens/trunks/trunk_summ_view.h"
#include "tests/screens/screen_fixture.h"

namespace {

// The window's running timers.
std::vector<const CWndTimer*> RunningTimers(const CWnd& wnd) {
    std::vector<const CWndTimer*> timers;
    for (QWidget* child : wnd.GetWidget()->findChildren<QWidget*>()) {
        const auto* timer = dynamic_cast<const CWndTimer*>(CWnd::FromWidget(child));
        if (timer && timer->GetWidget() == child && timer->IsRunning()) timers.push_back(timer);
    }
    return timers;
}

// The intervals of the window's running timers, smallest first.
std::vector<UINT> RunningIntervals(const CWnd& wnd) {
    std::vector<UINT> intervals;
    for (const CWndTimer* timer : RunningTimers(wnd))
        intervals.push_back(timer->GetInterval());
    std::sort(intervals.begin(), intervals.end());
    return intervals;
}

class ScreenTimingTest : public ScreenTest {
protected:
    // The intervals the screen polls at once it is shown.
    template <class View>
    std::vector<UINT> PollIntervals() {
        View view(host);
        view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20100);
        host.current = &view;
        view.OnInitialUpdate();
        host.current = nullptr;
        return RunningIntervals(view);
    }
    // The requests the screen's timers queue in one round of ticks, ONLINE, while the screen
    // is current or hidden.
    template <class View>
    int RequestsPolled(bool current) {
        View view(host);
        view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 680, 380), &window, 20100);
        host.current = &view;
        view.OnInitialUpdate();
        host.current = current ? &view : nullptr;
        host.dataMgr.GoOnline();  // forgets the requests of the first showing
        host.dataMgr.ClearPendingRequests();
        const int before = host.dataMgr.GetPendingTotal();
        for (const CWndTimer* timer : RunningTimers(view))
            view.SendMessage(WM_TIMER, timer->m_nCurrentId, 0);
        const int polled = host.dataMgr.GetPendingTotal() - before;
        host.current = nullptr;
        return polled;
    }
};

TEST_F(ScreenTimingTest, EveryScreenPollsAtTheIntervalsItsHostGives) {
    m_doc.SetMemoryPage(&host.dataMgr);
    // Each interval its own, so that a screen that polls at any other shows.
    CScreenTiming& t = host.timing;
    UINT next = 11;
    for (UINT* interval :
         {&t.trunkDefsStatusPollMs, &t.trunkDefsPollMs, &t.trunkDefsRemTrunkingPollMs,
          &t.trunkSummPollMs, &t.trunkInspectPollMs, &t.trunkOptsPollMs, &t.icomSetupPollMs,
          &t.icomStatusPollMs, &t.icomErrorsPollMs, &t.icomRemTrunkingPollMs, &t.icomGroupPollMs,
          &t.icomAlphasPollMs, &t.cvStatusPollMs, &t.cvErrorsPollMs, &t.memoryReadMs})
        *interval = next++;

    using Ms = std::vector<UINT>;
    EXPECT_EQ(PollIntervals<CTrunkDefsView>(), (Ms{11, 12, 13}));
    EXPECT_EQ(PollIntervals<CTrunkSummView>(), (Ms{14}));
    EXPECT_EQ(PollIntervals<CTrunkInspectView>(), (Ms{15}));
    EXPECT_EQ(PollIntervals<CTrunkOptsView>(), (Ms{16}));
    EXPECT_EQ(PollIntervals<CIcomSetupView>(), (Ms{17, 18, 20}));
    EXPECT_EQ(PollIntervals<CIcomStatusView>(), (Ms{17, 18, 19, 20}));
    EXPECT_EQ(PollIntervals<CIcomGroupView>(), (Ms{21}));
    EXPECT_EQ(PollIntervals<CIcomAlphasView>(), (Ms{22}));
    EXPECT_EQ(PollIntervals<CCVStatusView>(), (Ms{23, 24}));
    EXPECT_EQ(PollIntervals<CMemoryDumpView>(), (Ms{25}));
}

TEST_F(ScreenTimingTest, HiddenScreensDoNotPoll) {
    m_app.SetMode(CAppState::kModeOnline);
    EXPECT_GT(RequestsPolled<CTrunkDefsView>(true), 0);
    EXPECT_EQ(RequestsPolled<CTrunkDefsView>(false), 0);
    EXPECT_GT(RequestsPolled<CTrunkOptsView>(true), 0);
    EXPECT_EQ(RequestsPolled<CTrunkOptsView>(false), 0);
    EXPECT_GT(RequestsPolled<CTrunkInspectView>(true), 0);
    EXPECT_EQ(RequestsPolled<CTrunkInspectView>(false), 0);
    EXPECT_GT(RequestsPolled<CIcomAlphasView>(true), 0);
    EXPECT_EQ(RequestsPolled<CIcomAlphasView>(false), 0);
}

}  // namespace

// The upload that follows Connect, from the simulated controller at its largest (255 intercoms,
// 10,000 trunks) into the whole program with Trunk Definitions shown, once painted as usual and
// once with every paint of the screen dropped, so that the two differ only by painting: the
// median time of each from Connect until the document holds the upload and the screen has
// painted what it brought, the median of the rounds' ratios, and the program's processor time
// (the controller, which answers from this process, left out). Every run starts the program
// afresh over the same settings file.
//
// screen_paint_bench [rounds, default 3]

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_stats.h"
#include "bench/upload_program.h"
#include "res/command_ids.h"
#include "screens/base/kelvardin_grid_view.h"
#include "screens/base/screen_ids.h"

namespace {

using namespace upload_bench;

constexpr double kTargetRatio = 1.3;
constexpr DWORD kPaintLimitMs = 10000;

// Drops the paints of a widget and of everything in it, while installed on the application.
class CNoPaint : public QObject {
public:
    explicit CNoPaint(QWidget* screen) : m_screen(screen) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* widget = qobject_cast<QWidget*>(object);
        return widget && (widget == m_screen || m_screen->isAncestorOf(widget));
    }

private:
    QWidget* m_screen;
};

// The processor time of the whole process so far, every thread.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Figures {
    double seconds = 0;
    double cpu = 0;  // the program's alone
};

Figures Run(CLargestController& controller, bool painted) {
    CProgram program(controller.Settings(), controller.Port());
    auto* screen =
        dynamic_cast<CKelvardinGridView*>(program.Frame().GetScreenView(kScreenTrunkDefs));
    if (!screen || !program.Frame().IsCurrentScreen(*screen))
        Fail("Trunk Definitions is not the screen shown");
    CNoPaint noPaint(screen->GetWidget());
    if (!painted) qApp->installEventFilter(&noPaint);

    const double cpuBefore = ProcessCpuSeconds() - controller.CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    program.Frame().OnCommand(ID_CONNECT);
    if (!program.WaitForUpload(controller.Check())) Fail("the upload did not finish");
    // What the last replies changed is painted too.
    if (!PumpWaitingMessages([&] { return !screen->IsPaintPending(); }, kPaintLimitMs))
        Fail("the screen never painted the last replies");
    QApplication::processEvents();
    Figures figures;
    figures.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.cpu = ProcessCpuSeconds() - controller.CpuSeconds() - cpuBefore;
    qApp->removeEventFilter(&noPaint);
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    CLargestController controller;
    controller.Introduce();

    // Rounds of one run of each, each going first every other round.
    std::vector<double> unpainted;
    std::vector<double> painted;
    std::vector<double> unpaintedCpu;
    std::vector<double> paintedCpu;
    std::vector<double> ratios;
    for (int i = 0; i < rounds; ++i) {
        Figures shown;
        if (i % 2) shown = Run(controller, true);
        const Figures hidden = Run(controller, false);
        if (i % 2 == 0) shown = Run(controller, true);
        unpainted.push_back(hidden.seconds);
        painted.push_back(shown.seconds);
        unpaintedCpu.push_back(hidden.cpu);
        paintedCpu.push_back(shown.cpu);
        ratios.push_back(shown.seconds / hidden.seconds);
        std::printf("  round %d: %.2f s (%.2f s CPU) unpainted, %.2f s (%.2f s CPU) painted\n",
                    i + 1, hidden.seconds, hidden.cpu, shown.seconds, shown.cpu);
        std::fflush(stdout);
    }
    std::printf("Connect to %d intercoms and %d trunks with Trunk Definitions shown, %d rounds\n",
                controller.Options().intercoms, controller.Options().trunks, rounds);
    std::printf("  screen not painted: median %.2f s, the program's CPU %.2f s\n",
                Median(unpainted), Median(unpaintedCpu));
    std::printf("  screen painted:     median %.2f s, the program's CPU %.2f s\n", Median(painted),
                Median(paintedCpu));
    return Report("painted against not painted:", Median(ratios), kTargetRatio) ? 0 : 1;
}

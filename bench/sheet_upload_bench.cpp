// The upload that follows Connect, from the simulated controller at its largest (255 intercoms,
// 10,000 trunks, as scripts/simulator serves them) into the whole program, once with the
// Partial Save sheet opened right after Connect and kept open until the upload is in, and once
// without it: the median time of each and the median of the rounds' ratios. The upload is in
// once the document holds every name and trunk end, and every alpha of every kind that the
// controller holds. Every run starts the program afresh over the same settings file, read anew
// as a start reads it, which knows the controller's size and abilities after the first start.
//
// sheet_upload_bench [rounds, default 3]

#include <QApplication>
#include <QDialog>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_stats.h"
#include "bench/upload_program.h"
#include "res/command_ids.h"
#include "shell/sheets/partial_save_sheet.h"

namespace {

using namespace upload_bench;

constexpr double kTargetRatio = 1.5;

// Seconds from Connect until the document holds what the check asks for, the sheet opened
// right after Connect and left open until then, or never opened.
double Run(CLargestController& controller, bool withSheet) {
    CProgram program(controller.Settings(), controller.Port());
    bool finished = false;
    program.Script().whileDialogShows = [&](QDialog& dialog) {
        if (dialog.objectName() == QStringLiteral("sheet2407"))
            finished = program.WaitForUpload(controller.Check());
    };
    const auto start = std::chrono::steady_clock::now();
    program.Frame().OnCommand(ID_CONNECT);
    if (withSheet)
        program.Frame().OnCommand(ID_FILE_PARTIAL_SAVE);
    else
        finished = program.WaitForUpload(controller.Check());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    program.Script().whileDialogShows = nullptr;
    if (!finished) Fail("the upload did not finish");
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    CLargestController controller;
    controller.Introduce();
    CPartialSaveSheet::SetLastPage(0);

    // Rounds of one run of each, each going first every other round.
    std::vector<double> without;
    std::vector<double> with;
    std::vector<double> ratios;
    for (int i = 0; i < rounds; ++i) {
        double open = 0;
        if (i % 2) open = Run(controller, true);
        const double closed = Run(controller, false);
        if (i % 2 == 0) open = Run(controller, true);
        without.push_back(closed);
        with.push_back(open);
        ratios.push_back(open / closed);
        std::printf("  round %d: %.2f s without the sheet, %.2f s with it\n", i + 1, closed, open);
        std::fflush(stdout);
    }
    std::printf("upload after Connect of %d intercoms and %d trunks, %d rounds\n",
                controller.Options().intercoms, controller.Options().trunks, rounds);
    std::printf("  without the Partial Save sheet: median %.2f s\n", Median(without));
    std::printf("  with it open:                   median %.2f s\n", Median(with));
    return Report("with the sheet against without:", Median(ratios), kTargetRatio) ? 0 : 1;
}

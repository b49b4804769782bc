// Opening a setup file of 20,000 alphas with the intercom alphas screen shown, against the same
// with that screen never opened; on the offscreen platform, the posted work and the repaint
// that follow the read included. The first may take at most 1.5 times the second.
//
// alphas_screen_bench [rounds, default 15]

#include <QApplication>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_window.h"
#include "model/partial_save_selection.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "platform/io/binary_file.h"
#include "screens/base/kelvardin_grid_ctrl.h"
#include "screens/intercoms/icom_alphas_view.h"

namespace {

constexpr int kIntercoms = 255;
constexpr int kAlphas = 20000;
constexpr double kTarget = 1.5;

CString TempPath() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvardin_alphas_bench_" + std::to_string(::getpid()) + ".kvd");
    return CString::FromUtf8(path.string());
}

// A setup of 255 named intercoms and 20,000 alphas spread over their lists, saved.
void WriteSetup(CKelvardinDoc& doc, const CString& path) {
    doc.ResetToDefaultSetup();
    for (int i = 0; i < kIntercoms; ++i) {
        doc.SetIcomNameFromController(i, 4, CString::Formatted(u"I%03d", i), FALSE);
    }
    for (int k = 0; k < kAlphas; ++k) {
        const int list = k % (kIntercoms * kAlphaListCount);
        doc.StoreAlpha(CAssign(static_cast<BYTE>(list / kAlphaListCount),
                               static_cast<BYTE>(list % kAlphaListCount),
                               static_cast<WORD>(k / (kIntercoms * kAlphaListCount))),
                       CString::Formatted(u"A%05d", k));
    }
    doc.SetFlagOnAll(CCVObject::kInFile, TRUE);
    CBinaryFile file;
    file.Open(path, CBinaryFile::modeCreate);
    doc.WriteSetupFile(file, path, FALSE, TRUE);
    file.Close();
}

// The open command: the pre-read, the reader with reset, then what it posted and the repaint.
double OpenSetup(CKelvardinDoc& doc, const CString& path) {
    // What earlier rounds left to do is not this round's.
    QApplication::processEvents();
    int result = 0;
    const double seconds = Time([&] {
        CBinaryFile file;
        file.Open(path, CBinaryFile::modeRead);
        CPartialSaveSelection selection;
        CKelvardinDoc::ReadFileContents(file, selection);
        result = doc.ReadSetupFile(selection, file, path, TRUE, FALSE);
        QApplication::processEvents();
    });
    if (result != 1 || doc.GetAlphas().size() != kAlphas) {
        std::fprintf(stderr, "the setup file was not read whole\n");
        std::exit(2);
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    CMemoryProfile profile;
    CAppState app(profile);
    app.GetConfig().m_wNumIntercoms = kIntercoms;
    CKelvardinDoc doc;
    CBenchWindow window(&doc);
    const CString path = TempPath();
    WriteSetup(doc, path);

    // Every intercom and type chosen, so that every row shows.
    CContext& choice = window.GetViewContext(CIcomAlphasView::kScreen);
    choice.m_params[0] = choice.m_params[1] = static_cast<DWORD>(-1);
    QWidget top;
    top.resize(800, 600);
    top.show();
    std::vector<double> closed;
    std::vector<double> shown;
    // Measured in turn first and second, so that neither gains from the order.
    const auto measureClosed = [&] {
        window.screen = nullptr;
        return OpenSetup(doc, path);
    };
    const auto measureShown = [&] {
        CIcomAlphasView screen(window);
        screen.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &top, 20106);
        window.screen = &screen;
        screen.OnInitialUpdate();
        QApplication::processEvents();
        const double seconds = OpenSetup(doc, path);
        window.screen = nullptr;
        if (screen.GetGrid()->GetRowCount() != kAlphas + 1) {
            std::fprintf(stderr, "the screen does not show every alpha\n");
            std::exit(2);
        }
        return seconds;
    };
    for (int round = -2; round < rounds; ++round) {
        double without = 0;
        double with = 0;
        if (round % 2 == 0) {
            without = measureClosed();
            with = measureShown();
        } else {
            with = measureShown();
            without = measureClosed();
        }
        if (round < 0) continue;  // warming up
        closed.push_back(without);
        shown.push_back(with);
    }
    std::filesystem::remove(ToUtf8(path));

    const double closedMedian = Median(closed);
    const double shownMedian = Median(shown);
    std::printf("open a setup file of %d alphas; %d rounds\n", kAlphas, rounds);
    std::printf("  alphas screen never opened:  median %7.2f ms\n", closedMedian * 1e3);
    std::printf("  alphas screen shown:         median %7.2f ms\n", shownMedian * 1e3);
    return Report("shown / never opened:", shownMedian / closedMedian, kTarget) ? 0 : 1;
}

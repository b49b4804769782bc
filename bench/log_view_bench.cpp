// The request log viewer over a day file of 1,000,000 records, on the offscreen platform:
// opening it (the view made, the file counted and its first lines read, one paint), then
// paging through it a page at a time, each page painted, at the file's start and at its end.
// Paging at the end may cost at most 1.2 times paging at the start; opening at most 50 ms.
//
// log_view_bench [rounds, default 15]

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "bench/bench_window.h"
#include "platform/base/codepage.h"
#include "platform/base/profile.h"
#include "platform/ui/qt_convert.h"
#include "screens/base/screen_ids.h"
#include "screens/base/screen_services.h"
#include "screens/log_viewer/log_view.h"
#include "screens/log_viewer/log_view_rules.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRecords = 1000000;
constexpr int kPages = 40;
constexpr double kEndTarget = 1.2;
constexpr double kOpenTargetMs = 50.0;
constexpr CLogDate kDay{2024, 5, 17};

class CBenchServices : public IScreenServices {
public:
    explicit CBenchServices(CString folder) : m_folder(std::move(folder)) {}
    CString GetSetupDirectory() const override { return m_folder; }
    void SetSetupDirectory(const CString&) override {}
    CString GetLogDirectory() const override { return m_folder; }
    CString GetLastLogFile() const override { return {}; }
    std::optional<SaveChoice> PickSaveFile(UINT, UINT, const CString&, const CString&) override {
        return std::nullopt;
    }

private:
    CString m_folder;
};

// A request log line as the controller writes it, 72 units.
void WriteDayFile(const CString& path) {
    std::ofstream out(ToUtf8(path), std::ios::binary);
    std::vector<BYTE> block(kLogRecordBytes * 1000);
    for (int first = 0; first < kRecords; first += 1000) {
        for (int i = 0; i < 1000; ++i) {
            const CString line = CString::Formatted(
                u"240517 12:%02d:%02d.%02d I Icom %03d PP %02d 0%03d -> Icom 0%02d PP %02d "
                u"0%03d Ask",
                (first + i) / 6000 % 60, (first + i) / 100 % 60, (first + i) % 100, i % 31, i % 64,
                i, (i + 7) % 31, i % 32, (i * 3) % 1000);
            PutUtf16LE(
                block.data() + static_cast<size_t>(i) * kLogRecordBytes,
                (line.str() + std::u16string(kLogRecordUnits, u' ')).substr(0, kLogRecordUnits),
                kLogRecordUnits);
        }
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(block.size()));
    }
}

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// kPages pages down from the record given, each painted at once.
double PageDown(CLogView& view, std::int64_t from) {
    view.OnVScroll(
        SB_THUMBPOSITION,
        static_cast<UINT>(
            log_rules::MakeVerticalBar(view.GetRecordCount(), view.GetLinesPerPage(), from).pos));
    view.GetClientWidget()->repaint();
    const auto start = Clock::now();
    for (int page = 0; page < kPages; ++page) {
        view.OnVScroll(SB_PAGEDOWN, 0);
        view.GetClientWidget()->repaint();
    }
    return Milliseconds(start);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qt(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    CMemoryProfile profile;
    CAppState app(profile);
    QTemporaryDir dir;
    const CString folder = FromQString(dir.path()) + u"/";
    WriteDayFile(folder + LogDayFileName(kDay));
    CBenchWindow host;
    host.GetViewContext(kScreenLog).m_params[0] = log_rules::EncodeDay(kDay);
    CBenchServices services(folder);
    QWidget window;
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();

    std::vector<double> opens;
    std::vector<double> starts;
    std::vector<double> ends;
    std::int64_t lines = 0;
    int linesPerPage = 0;
    for (int round = -2; round < rounds; ++round) {
        const auto start = Clock::now();
        CLogView view(host, services);
        host.screen = &view;
        view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &window, 1);
        view.OnInitialUpdate();
        view.GetClientWidget()->repaint();
        const double open = Milliseconds(start);
        QApplication::processEvents();
        linesPerPage = view.GetLinesPerPage();
        lines = view.GetRecordCount();
        const double atStart = PageDown(view, 0);
        const double atEnd =
            PageDown(view, lines - static_cast<std::int64_t>(kPages + 1) * (linesPerPage - 1) -
                               linesPerPage);
        if (round < 0) continue;  // warming up
        opens.push_back(open);
        starts.push_back(atStart);
        ends.push_back(atEnd);
    }
    const double open = Median(opens);
    const double atStart = Median(starts);
    const double atEnd = Median(ends);
    std::printf("request log day file of %lld records, %d lines a page; %d rounds\n",
                static_cast<long long>(lines), linesPerPage, rounds);
    std::printf("  open and first paint:            median %7.2f ms (target at most %.0f) %s\n",
                open, kOpenTargetMs, open <= kOpenTargetMs ? "ok" : "TOO SLOW");
    std::printf("  %d pages down at the start:      median %7.2f ms (%.3f ms a page)\n", kPages,
                atStart, atStart / kPages);
    std::printf("  %d pages down at the end:        median %7.2f ms (%.3f ms a page)\n", kPages,
                atEnd, atEnd / kPages);
    const bool endOk = Report("end / start:", atEnd / atStart, kEndTarget);
    return open <= kOpenTargetMs && endOk ? 0 : 1;
}

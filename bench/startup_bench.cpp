// The program's start against a bare Qt program, and its memory: the time from the start of
// the process to the first paint of Kelvardin's main window (no splash, no link) against that
// of a QMainWindow with a QTableView of 999 rows, each the median of several starts in one run;
// then the resident memory after start with the default setup and with the largest setup the
// model allows (255 intercoms, 10,000 trunks, 255 groups).
//
// startup_bench [starts, default 7]

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_stats.h"
#include "platform/ui/ini_profile.h"
#include "platform/ui/qt_convert.h"
#include "shell/app/kelvardin_app.h"

namespace {

constexpr double kStartTarget = 1.5;
constexpr double kMemoryTargetMb = 10.0;

long long Now() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Notes the moment of the first paint of any widget.
class CFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_at == 0) m_at = Now();
        return QObject::eventFilter(watched, event);
    }
    long long m_at = 0;
};

long long WaitForPaint(const CFirstPaint& paint) {
    QElapsedTimer timer;
    timer.start();
    while (paint.m_at == 0 && timer.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return paint.m_at;
}

long long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
    }
    return -1;
}

class CRows : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& = {}) const override { return 999; }
    int columnCount(const QModelIndex& = {}) const override { return 7; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return QStringLiteral("%1/%2").arg(index.row()).arg(index.column());
    }
};

int RunBare(int argc, char** argv) {
    QApplication qt(argc, argv);
    CFirstPaint paint;
    qt.installEventFilter(&paint);
    QMainWindow window;
    CRows rows;
    auto* table = new QTableView;
    table->setModel(&rows);
    window.setCentralWidget(table);
    window.resize(1024, 768);
    window.show();
    std::printf("%lld\n", WaitForPaint(paint));
    return 0;
}

// Kelvardin as main.cpp starts it, over the settings file given.
int RunKelvardin(int argc, char** argv, const char* ini, bool memory) {
    QApplication qt(argc, argv);
    CFirstPaint paint;
    qt.installEventFilter(&paint);
    CIniProfile profile(CString::FromUtf8(ini));
    CKelvardinApp app(profile);
    if (!app.InitInstance({u"-nologo"})) return 1;
    const long long painted = WaitForPaint(paint);
    if (!memory) {
        std::printf("%lld\n", painted);
    } else {
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 500)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::printf("%lld\n", ResidentKb());
    }
    app.ExitInstance();
    return 0;
}

// Runs this program in a mode; its answer, or -1.
long long Child(const QStringList& arguments, long long* started = nullptr) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (started) *started = Now();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(60000) || child.exitCode() != 0) return -1;
    return child.readAllStandardOutput().trimmed().toLongLong();
}

void WriteIni(const QString& path, bool largest) {
    CIniProfile profile(FromQString(path));
    profile.WriteProfileString(u"Settings\\Communication", u"ComPort", u"NUL:");
    if (largest) {
        profile.WriteProfileInt(u"Corvane\\Configuration", u"NumIntercoms",
                                CCVConfig::kMaxIntercoms);
        profile.WriteProfileInt(u"Corvane\\Configuration", u"NumTrunks", CCVConfig::kMaxTrunks);
        profile.WriteProfileInt(u"Corvane\\Configuration", u"NumGroups", 255);
    }
    profile.Flush();
}

int RunAll(int argc, char** argv) {
    QCoreApplication qt(argc, argv);
    const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("default.ini"));
    const QString large = dir.filePath(QStringLiteral("largest.ini"));
    WriteIni(ini, false);
    WriteIni(large, true);

    std::vector<long long> bare;
    std::vector<long long> ours;
    for (int i = 0; i < starts; ++i) {
        long long started = 0;
        const long long barePaint = Child({QStringLiteral("bare")}, &started);
        if (barePaint > 0) bare.push_back(barePaint - started);
        const long long oursPaint = Child({QStringLiteral("kelvardin"), ini}, &started);
        if (oursPaint > 0) ours.push_back(oursPaint - started);
    }
    const double bareMs = static_cast<double>(Median(bare)) / 1000.0;
    const double oursMs = static_cast<double>(Median(ours)) / 1000.0;
    std::printf("start to first paint, median of %d starts:\n", starts);
    std::printf("  bare QMainWindow with a 999-row QTableView  %8.1f ms\n", bareMs);
    std::printf("  Kelvardin main window                       %8.1f ms\n", oursMs);
    std::printf("  ratio %.2f (target at most %.1f)\n", oursMs / bareMs, kStartTarget);

    const long long defaultKb = Child({QStringLiteral("memory"), ini});
    const long long largestKb = Child({QStringLiteral("memory"), large});
    const double difference = static_cast<double>(largestKb - defaultKb) / 1024.0;
    std::printf("resident memory after start:\n");
    std::printf("  default setup   %8.1f MB\n", static_cast<double>(defaultKb) / 1024.0);
    std::printf("  largest setup   %8.1f MB\n", static_cast<double>(largestKb) / 1024.0);
    std::printf("  difference %.1f MB (target at most %.0f MB)\n", difference, kMemoryTargetMb);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bare") return RunBare(argc, argv);
    if (mode == "kelvardin" && argc > 2) return RunKelvardin(argc, argv, argv[2], false);
    if (mode == "memory" && argc > 2) return RunKelvardin(argc, argv, argv[2], true);
    return RunAll(argc, argv);
}

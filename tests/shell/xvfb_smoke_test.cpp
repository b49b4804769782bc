// The built program on a real X display: Xvfb, with xdotool for the keys and ImageMagick's
// import for the picture. Skipped, saying why, where they are missing or Xvfb cannot start.
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <set>

namespace {

constexpr int kWaitMs = 20000;

// Runs a tool to its end; its standard output, empty on failure.
QString RunTool(const QString& program, const QStringList& arguments, const QString& display) {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    tool.setProcessEnvironment(env);
    tool.start(program, arguments);
    if (!tool.waitForFinished(kWaitMs) || tool.exitCode() != 0) return {};
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

class XvfbSmokeTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "xdotool", "import"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        }
        // A display number nobody uses.
        for (int n = 91; n < 140 && m_display.isEmpty(); ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) continue;
            m_xvfb.start(QStringLiteral("Xvfb"),
                         {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                          QStringLiteral("0"), QStringLiteral("1024x768x24"),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            m_xvfb.waitForStarted(kWaitMs);
            for (int i = 0; i < 50 && m_xvfb.state() == QProcess::Running; ++i) {
                if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                    m_display = QStringLiteral(":%1").arg(n);
                    break;
                }
                QThread::msleep(100);
            }
            if (m_display.isEmpty()) {
                m_xvfb.kill();
                m_xvfb.waitForFinished();
            }
        }
        if (m_display.isEmpty()) GTEST_SKIP() << "Xvfb could not start a display here";
    }
    void TearDown() override {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.terminate();
            if (!m_program.waitForFinished(5000)) m_program.kill();
            m_program.waitForFinished();
        }
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(5000);
        }
    }

    QString m_display;
    QProcess m_xvfb;
    QProcess m_program;
};

TEST_F(XvfbSmokeTest, TheProgramShowsItsWindowTakesKeysAndDrawsIt) {
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config/Ostrum"));
    QFile ini(home.filePath(QStringLiteral("config/Ostrum/Kelvardin.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Settings]\nCommunication\\ComPort=NUL:\n");
    ini.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    m_program.setProcessEnvironment(env);
    m_program.start(QStringLiteral(KELVARDIN_EXECUTABLE), {QStringLiteral("-nologo")});
    ASSERT_TRUE(m_program.waitForStarted(kWaitMs));

    const auto xdotool = [this](const QString& arguments) {
        return RunTool(QStringLiteral("xdotool"), arguments.split(QLatin1Char(' ')), m_display);
    };
    const QString window = xdotool(QStringLiteral("search --sync --onlyvisible --name ^Kelvardin"))
                               .section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty()) << "the main window never showed";
    xdotool(QStringLiteral("windowfocus --sync ") + window);
    xdotool(QStringLiteral("key F3"));
    xdotool(QStringLiteral("key ctrl+Left"));
    QThread::msleep(500);
    EXPECT_EQ(m_program.state(), QProcess::Running) << "the program ended after the keys";
    EXPECT_FALSE(xdotool(QStringLiteral("search --onlyvisible --name ^Kelvardin")).isEmpty())
        << "the main window is no longer mapped";

    const QString shot = home.filePath(QStringLiteral("shot.png"));
    RunTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot},
            m_display);
    QImage picture(shot);
    ASSERT_FALSE(picture.isNull()) << "no screenshot";
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 7)
            colours.insert(picture.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 8u) << "the picture is blank";
}

}  // namespace

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

#include <gtest/gtest.h>

// Widget tests run without a display unless the environment chose a platform.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt keeps the state of its dialogs under the user's configuration folder; each run keeps
    // its own, so that no earlier run decides how a file picker's columns open.
    const QTemporaryDir config;
    if (config.isValid()) setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

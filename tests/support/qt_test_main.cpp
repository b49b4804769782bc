#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

#include <gtest/gtest.h>

// Widget tests run without a display unless the environment chose a platform. What Qt saves
// for itself (the file dialogs' column widths and history) goes to a folder of the run's own,
// so that no test reads what an earlier one, or the user, left there.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const QTemporaryDir config;
    if (config.isValid()) setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

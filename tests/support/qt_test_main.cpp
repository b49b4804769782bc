#include <QApplication>

#include <cstdlib>

#include <gtest/gtest.h>

// Widget tests run without a display unless the environment chose a platform.
int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// GoogleTest main for suites that use Qt widgets: one QApplication on the
// offscreen platform, with Qt's test-mode standard paths.
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

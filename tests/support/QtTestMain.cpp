// Entry point of the widget test executables: one QApplication for all tests,
// on the offscreen platform unless the caller chose another one.
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // The day's log lives in the state folder; tests that run side by side each get
    // their own, so one test's conversions never land in the log another one reads.
    const pelmora::test::TempFolder state;
    ::setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

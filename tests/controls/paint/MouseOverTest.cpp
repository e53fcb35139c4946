#include "controls/paint/MouseOver.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(IsMouseOverWindow, OnlyTheWindowUnderThePointItself) {
    QWidget window;
    window.setGeometry(100, 100, 60, 40);
    auto* child = new QWidget(&window);
    child->setGeometry(30, 0, 30, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(10, 10)), &window));
    EXPECT_FALSE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(40, 10)), &window));
    EXPECT_TRUE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(40, 10)), child));
    EXPECT_FALSE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(70, 10)), &window));
    EXPECT_FALSE(IsMouseOverWindowAt(QPoint(110, 110), nullptr));
}

} // namespace
} // namespace pelmora

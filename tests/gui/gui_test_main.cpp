// Entry of every window test: a QApplication (on the offscreen platform under CTest),
// then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <gtest/gtest.h>

#include <QCoreApplication>

// The link and the simulator's process need a Qt application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

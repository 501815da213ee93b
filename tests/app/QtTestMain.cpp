// The window tests run inside one application object that lives as long as
// main(), so that Qt's own objects are gone before the program's statics.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[])
{
    // The window tests never need a display, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

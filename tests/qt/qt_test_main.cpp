#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for the widget tests of the Qt platform layer and the
// reset window; never a native dialog, which would hang offscreen.
int main(int argc, char* argv[])
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

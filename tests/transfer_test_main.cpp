#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for the widget tests of the import/export tool; never a
// native dialog, which would not show offscreen and would hang the test.
int main(int argc, char* argv[])
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
